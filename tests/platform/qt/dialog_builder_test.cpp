// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/dialog_builder.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace qzm {
namespace {

TEST(DialogUnits, ScaleByQuarterWidthAndEighthHeight) {
    const DialogUnits units(6, 13);
    struct Case {
        int units;
        int x;
        int y;
    };
    // Rounded like the classic MulDiv: half a pixel goes up.
    const Case cases[] = {{0, 0, 0}, {4, 6, 7}, {8, 12, 13}, {41, 62, 67}, {569, 854, 925}};
    for (const Case& c : cases) {
        EXPECT_EQ(units.toPixelsX(c.units), c.x) << c.units;
        EXPECT_EQ(units.toPixelsY(c.units), c.y) << c.units;
    }
    EXPECT_EQ(units.toPixels(DialogUnitRect{27, 39, 41, 15}), QRect(41, 63, 62, 24));
}

TEST(DialogUnits, BaseUnitsComeFromTheFont) {
    QFont small;
    small.setPixelSize(10);
    QFont large;
    large.setPixelSize(20);
    const DialogUnits a = DialogUnits::fromFont(small);
    const DialogUnits b = DialogUnits::fromFont(large);
    EXPECT_GT(a.averageCharWidth(), 0);
    EXPECT_GT(b.averageCharWidth(), a.averageCharWidth());
    EXPECT_EQ(a.charHeight(), QFontMetrics(small).height());
}

const DialogTemplate kSample{
    131,
    "语言转换",
    {150, 60},
    {
        {1, ControlKind::PushButton, "确定", {27, 39, 41, 15}, ControlStyle::DefaultButton},
        {2, ControlKind::PushButton, "取消", {84, 39, 41, 15}},
        {1013, ControlKind::Label, "语言&转换", {3, 18, 63, 11}, ControlStyle::RightAligned},
        {1014,
         ControlKind::DropDownList,
         "",
         {68, 15, 79, 63},
         ControlStyle::Sorted | ControlStyle::VerticalScroll},
        {1020, ControlKind::GroupBox, "机型信息", {9, 9, 10, 10}},
        {1027, ControlKind::CheckBox, "声控功能", {71, 70, 63, 10}},
        {1040, ControlKind::Edit, "", {47, 21, 89, 14}, ControlStyle::HiddenAndDisabled},
    }};

TEST(DialogBuilder, BuildsEveryControlWithIdCaptionAndPlace) {
    QDialog dialog;
    buildDialog(dialog, kSample);
    const DialogUnits units = DialogUnits::fromFont(dialog.font());

    EXPECT_EQ(dialog.windowTitle(), QString("语言转换"));
    EXPECT_EQ(dialog.size(), units.toPixels(DialogUnitSize{150, 60}));

    auto* ok = findControl<QPushButton>(&dialog, 1);
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(ok->text(), QString("确定"));
    EXPECT_EQ(ok->geometry(), units.toPixels(DialogUnitRect{27, 39, 41, 15}));
    EXPECT_FALSE(findControl<QPushButton>(&dialog, 2)->isDefault());

    auto* label = findControl<QLabel>(&dialog, 1013);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QString("语言转换"));  // the mnemonic mark is not shown
    EXPECT_TRUE(label->alignment() & Qt::AlignRight);

    ASSERT_NE(findControl<QGroupBox>(&dialog, 1020), nullptr);
    ASSERT_NE(findControl<QCheckBox>(&dialog, 1027), nullptr);
    EXPECT_EQ(findControl(&dialog, 9999), nullptr);
    EXPECT_EQ(findControl<QLabel>(&dialog, 1), nullptr);  // wrong kind
}

TEST(DialogBuilder, DropDownListIsOneLineHighAndKeepsTheRestForTheOpenedList) {
    QDialog dialog;
    buildDialog(dialog, kSample);
    auto* list = findControl<QComboBox>(&dialog, 1014);
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(list->isEditable());
    const DialogUnits units = DialogUnits::fromFont(dialog.font());
    EXPECT_LT(list->height(), units.toPixelsY(63));
    EXPECT_GE(list->maxVisibleItems(), 1);
}

TEST(DialogBuilder, HiddenControlsAreNeitherShownNorEnabled) {
    QDialog dialog;
    buildDialog(dialog, kSample);
    dialog.show();
    auto* hidden = findControl<QLineEdit>(&dialog, 1040);
    ASSERT_NE(hidden, nullptr);
    EXPECT_FALSE(hidden->isVisible());
    EXPECT_FALSE(hidden->isEnabled());
    EXPECT_TRUE(findControl(&dialog, 1027)->isVisible());
    EXPECT_TRUE(findControl(&dialog, 1027)->isEnabled());
}

TEST(DialogBuilder, ChildrenStayInTemplateOrderEvenAfterRaise) {
    QDialog dialog;
    buildDialog(dialog, kSample);
    findControl(&dialog, 1)->raise();
    findControl(&dialog, 1040)->lower();
    std::vector<int> ids;
    for (QWidget* control : controlsInOrder(&dialog)) {
        ids.push_back(controlId(control).value_or(-1));
    }
    EXPECT_EQ(ids, (std::vector<int>{1, 2, 1013, 1014, 1020, 1027, 1040}));
}

TEST(DialogBuilder, FactoryMakesItsOwnControlsAndLeavesTheRest) {
    QWidget form;  // a child form: sized, but no title
    const DialogTemplate formTemplate{
        101,
        "",
        {100, 50},
        {
            {1016, ControlKind::Custom, "", {10, 10, 50, 20}},
            {1017, ControlKind::Edit, "", {10, 35, 30, 12}, ControlStyle::HiddenAndDisabled},
        }};
    QWidget* made = nullptr;
    buildDialog(form, formTemplate, [&made](const ControlTemplate& control, QWidget* parent) {
        if (control.id != 1016) {
            return static_cast<QWidget*>(nullptr);
        }
        made = new QLabel("grid", parent);
        return made;
    });
    EXPECT_EQ(findControl(&form, 1016), made);
    EXPECT_NE(findControl<QLineEdit>(&form, 1017), nullptr);
    EXPECT_EQ(controlId(made), 1016);
    EXPECT_EQ(form.windowTitle(), QString());
    EXPECT_GE(form.width(), DialogUnits::fromFont(form.font()).toPixelsX(100));
}

TEST(DialogBuilder, ControlTextReachesEveryCaptionKind) {
    QDialog dialog;
    buildDialog(dialog, kSample);
    for (int id : {1, 1013, 1020, 1027, 1040}) {
        setControlText(findControl(&dialog, id), "&Neu");
    }
    EXPECT_EQ(controlText(findControl(&dialog, 1)), QString("&Neu"));
    EXPECT_EQ(controlText(findControl(&dialog, 1013)), QString("Neu"));
    EXPECT_EQ(controlText(findControl(&dialog, 1020)), QString("&Neu"));
    EXPECT_EQ(controlText(findControl(&dialog, 1027)), QString("&Neu"));
    EXPECT_EQ(controlText(findControl(&dialog, 1040)), QString("&Neu"));
    // A pick-only list has no caption of its own.
    setControlText(findControl(&dialog, 1014), "x");
    EXPECT_EQ(controlText(findControl(&dialog, 1014)), QString());
}

TEST(DialogBuilder, SortedListInsertsInPlaceUnsortedAppends) {
    QDialog dialog;
    buildDialog(dialog, kSample);
    auto* sorted = findControl<QComboBox>(&dialog, 1014);
    EXPECT_EQ(addListEntry(sorted, "English"), 0);
    EXPECT_EQ(addListEntry(sorted, "-----"), 0);
    EXPECT_EQ(addListEntry(sorted, "chinese"), 1);
    EXPECT_EQ(addListEntry(sorted, "English"), 3);  // equal entries keep their arrival order
    QStringList texts;
    for (int i = 0; i < sorted->count(); ++i) {
        texts << sorted->itemText(i);
    }
    EXPECT_EQ(texts, (QStringList{"-----", "chinese", "English", "English"}));

    QComboBox plain;
    EXPECT_EQ(addListEntry(&plain, "b"), 0);
    EXPECT_EQ(addListEntry(&plain, "a"), 1);
    EXPECT_EQ(addListEntry(nullptr, "a"), -1);
}

}  // namespace
}  // namespace qzm
