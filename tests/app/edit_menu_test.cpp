// SPDX-License-Identifier: GPL-3.0-or-later
// The Edit menu on the real window: its place, its texts, its keys and the grid's
// context menu.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "app/main_frame.h"
#include "app_fixture.h"
#include "editor/form_ids.h"
#include "editor/qt/channel_commands.h"
#include "editor/qt/floating_editors.h"
#include "editor/qt/zavo_view.h"
#include "grid/grid_ctrl.h"
#include "lang/language_files.h"
#include "lang/text_lookup.h"
#include "platform/command_ids.h"
#include "platform/qt/dialog_builder.h"
#include "radio/zavo_doc.h"

namespace qzm::test {
namespace {

class EditMenuTest : public AppTest {
  protected:
    void SetUp() override {
        // The shipped English texts, so the menu reads as a user sees it.
        const std::filesystem::path shipped = std::filesystem::path(QZM_TEST_SOURCE_DIR) / "res";
        std::filesystem::copy_file(shipped / "english.lang", file("english.lang"));
        std::filesystem::copy_file(shipped / "chinese.lang", file("chinese.lang"));
        // Band names, so the band list has its entries.
        writeSettings(
            "[setup]\nlanguage=english\n[ModelInfo]\nFreq0=a\nFreq1=b\nFreq2=c\nFreq3=d\n"
            "Freq4=e\nFreq5=f\nFreq6=g\n");
        ASSERT_TRUE(start());
        frame().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    }
    CMainFrame& frame() { return *app().mainFrame(); }
    CZavoDoc& doc() { return *app().document(); }
    CGridCtrl* grid() { return app().view()->grid(); }
    QString menuTitle(int position) { return frame().menuBar()->actions().at(position)->text(); }
    QAction* item(int id) { return frame().menuAction(id); }
    void clickRowNumber(int row) {
        QRect rect;
        ASSERT_TRUE(grid()->cellRect(row, 0, &rect));
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, rect.center());
    }
};

TEST_F(EditMenuTest, EditSitsBetweenFileAndProgramAndNoOtherMenuShifts) {
    const QStringList english{"&File", "&Edit", "&Program", "&Settings", "&Help"};
    for (int i = 0; i < english.size(); ++i) {
        EXPECT_EQ(menuTitle(i), english[i]) << i;
    }
    EXPECT_EQ(item(ID_EDIT_PASTE)->text(), QString("&Paste\tCtrl+V"));
    EXPECT_EQ(item(ID_PROGRAM_READ)->text(), QString("&Read from Radio\tCtrl+R"));
    ASSERT_TRUE(switchLanguage(file("chinese.lang")));
    app().refreshTextsAndViews();
    const QStringList chinese{"文件(&F)", "编辑(&E)", "编程(&P)", "设置(&S)", "帮助(&H)"};
    for (int i = 0; i < chinese.size(); ++i) {
        EXPECT_EQ(menuTitle(i), chinese[i]) << i;
    }
    EXPECT_EQ(item(ID_EDIT_MOVE_UP)->text(), QString("上移(&V)"));
    EXPECT_EQ(frame().windowTitle(), QString::fromStdString(lookupText("IDS_WINDOWNAME")));
}

TEST_F(EditMenuTest, UndoIsNamedAndGreyedAsTheDocumentStands) {
    app().updateEditMenu();
    EXPECT_FALSE(item(ID_EDIT_UNDO)->isEnabled());
    EXPECT_FALSE(item(ID_EDIT_REDO)->isEnabled());
    EXPECT_TRUE(item(ID_EDIT_SELECT_ALL)->isEnabled());
    auto* band = findControl<QComboBox>(app().view(), IDC_BAND_LIST);
    ASSERT_NE(band, nullptr);
    messages_.expect(MessageResult::Ok);
    band->setCurrentIndex(5);
    emit band->activated(5);
    app().updateEditMenu();
    EXPECT_TRUE(item(ID_EDIT_UNDO)->isEnabled());
    EXPECT_EQ(item(ID_EDIT_UNDO)->text(), QString("&Undo band change\tCtrl+Z"));

    // Ctrl+Z on the grid undoes it; Ctrl+Y does it again, Ctrl+Shift+Z as well.
    grid()->setFocus();
    QTest::keyClick(grid(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(doc().bandIndex(), 3);
    EXPECT_FALSE(doc().IsModified());
    EXPECT_EQ(frame().messagePane()->text(), QString("Undone: band change"));
    QTest::keyClick(grid(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(doc().bandIndex(), 5);
    QTest::keyClick(grid(), Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(doc().bandIndex(), 3);
    QTest::keyClick(grid(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(doc().bandIndex(), 5);
    app().updateEditMenu();
    EXPECT_FALSE(item(ID_EDIT_REDO)->isEnabled());
    EXPECT_EQ(item(ID_EDIT_REDO)->text(), QString("&Redo\tCtrl+Y"));
}

TEST_F(EditMenuTest, AFocusedTextFieldKeepsItsOwnEditKeys) {
    // A step the document could undo, so a stolen Ctrl+Z would show.
    doc().change({EditKind::CheckBox, 1}, [&] { doc().setBeepEnabled(1); });
    QRect rect;
    ASSERT_TRUE(grid()->cellRect(1, 1, &rect));
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, rect.center());
    FrequencyEdit* edit = app().view()->frequencyEdit();
    ASSERT_TRUE(edit->isOpen());
    ASSERT_TRUE(edit->hasFocus());
    QTest::keyClicks(edit, "446");
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(edit->text(), QString("446"));  // the field's own undo
    EXPECT_TRUE(doc().beepEnabled());         // the document's step is still there
    EXPECT_TRUE(edit->isOpen());
    edit->setText("45");
    QTest::keyClick(edit, Qt::Key_Left);
    QTest::keyClick(edit, Qt::Key_Delete);  // a character, not the channel
    EXPECT_EQ(edit->text(), QString("4"));
    // Ctrl+C is still the port dialog, whatever has the focus.
    int portDialogs = 0;
    frame().commands().set(ID_SETTING_PORT, [&portDialogs] { ++portDialogs; });
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(portDialogs, 1);
}

TEST_F(EditMenuTest, KeysCopyAndPasteWholeChannelsInTheGrid) {
    doc().setFrequencyText(1, ChannelSide::Receive, "446.00625");
    doc().setFrequencyText(1, ChannelSide::Transmit, "446.00625");
    doc().onImageReplaced();
    clickRowNumber(1);
    QTest::keyClick(grid(), Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith("446.00625\t"));
    clickRowNumber(4);
    QTest::keyClick(grid(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(doc().image().channelRecord(4), doc().image().channelRecord(1));
    QTest::keyClick(grid(), Qt::Key_Delete);
    EXPECT_TRUE(doc().isRxEmpty(4));
    QTest::keyClick(grid(), Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_FALSE(doc().isRxEmpty(4));
    QTest::keyClick(grid(), Qt::Key_Delete, Qt::ShiftModifier);  // cut
    EXPECT_TRUE(doc().isRxEmpty(4));
    EXPECT_EQ(doc().undoStep(), (EditStep{EditKind::Cut, 1}));
    // Delete in a settings list is no channel command.
    auto* squelch = findControl<QComboBox>(app().view(), IDC_SQUELCH);
    squelch->setFocus();
    clickRowNumber(1);
    squelch->setFocus();
    QTest::keyClick(squelch, Qt::Key_Delete);
    EXPECT_FALSE(doc().isRxEmpty(1));
}

TEST_F(EditMenuTest, RightClickSelectsTheChannelAndOffersTheEditMenu) {
    QRect rect;
    ASSERT_TRUE(grid()->cellRect(6, 3, &rect));
    QMenu* menu = qobject_cast<QMenu*>(item(ID_EDIT_UNDO)->parent());
    ASSERT_NE(menu, nullptr);
    bool shown = false;
    QObject::connect(menu, &QMenu::aboutToShow, [&] {
        shown = true;
        QMetaObject::invokeMethod(
            menu, [menu] { menu->close(); }, Qt::QueuedConnection);
    });
    QTest::mouseClick(grid()->viewport(), Qt::RightButton, {}, rect.center());
    QTRY_VERIFY(shown);
    EXPECT_EQ(app().view()->channelCommands()->selectedChannels(), (std::vector{6}));
    EXPECT_TRUE(item(ID_EDIT_MOVE_UP)->isEnabled());
}

}  // namespace
}  // namespace qzm::test
