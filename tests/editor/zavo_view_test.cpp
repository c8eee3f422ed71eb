// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAccessible>
#include <QAccessibleInterface>
#include <QWheelEvent>
#include <algorithm>
#include <vector>

#include "editor/qt/dtmf_edit.h"
#include "editor/qt/zavo_form.h"
#include "editor_fixture.h"

namespace qzm {
namespace {

using test::EditorTest;

constexpr int kHiddenControls[] = {
    IDC_FM_FREQUENCY_LABEL, IDC_FM_FREQUENCY, IDC_DTMF_LABEL,     IDC_DTMF,
    IDC_SIDE_KEY2_LABEL,    IDC_SIDE_KEY2,    IDC_FREQUENCY_EDIT, IDC_LIST_PICKER,
    IDC_TONE_PICKER};

TEST_F(EditorTest, EveryControlOfTheTemplateSitsAtItsPlace) {
    const DialogUnits units = DialogUnits::fromFont(view->font());
    EXPECT_EQ(view->size(), units.toPixels(DialogUnitSize{569, 366}));
    for (const ControlTemplate& control : zavoFormTemplate().controls) {
        QWidget* widget = findControl(view.get(), control.id);
        ASSERT_NE(widget, nullptr) << control.id;
        const QRect expected = units.toPixels(control.rect);
        // A closed list is one line high; the template height includes its opened list.
        EXPECT_EQ(widget->pos(), expected.topLeft()) << control.id;
        EXPECT_EQ(widget->width(), expected.width()) << control.id;
        const bool hidden =
            std::ranges::find(kHiddenControls, control.id) != std::end(kHiddenControls);
        EXPECT_EQ(widget->isVisibleTo(view.get()), !hidden) << control.id;
        EXPECT_EQ(widget->isEnabled(), !hidden) << control.id;
    }
}

TEST_F(EditorTest, FreshDocumentShowsTheDefaults) {
    initialUpdate();
    EXPECT_EQ(shell.window.windowTitle(), "QZM-836 Programming Software");
    EXPECT_EQ(shell.retitles, 1);
    EXPECT_EQ(shell.fits, 1);

    EXPECT_EQ(list(IDC_BAND_LIST)->count(), 7);
    EXPECT_EQ(list(IDC_BAND_LIST)->currentIndex(), 3);
    EXPECT_EQ(shown(IDC_SQUELCH), "3");
    EXPECT_EQ(shown(IDC_TX_TIME_LIMIT), "180");
    EXPECT_EQ(list(IDC_TX_TIME_LIMIT)->itemText(0), "Off");
    EXPECT_EQ(list(IDC_VOICE_PROMPT)->currentIndex(), 1);
    EXPECT_EQ(shown(IDC_VOICE_PROMPT), "English");
    EXPECT_EQ(shown(IDC_VOX_LEVEL), "1");
    EXPECT_EQ(shown(IDC_SIDE_KEY1), "Monitor");
    EXPECT_EQ(shown(IDC_SCAN_MODE), "Time operated");
    EXPECT_EQ(shown(IDC_FM_FREQUENCY), "87M0");
    EXPECT_EQ(list(IDC_FM_FREQUENCY)->count(), 211);
    EXPECT_EQ(shown(IDC_DTMF), "");
    EXPECT_TRUE(checkBox(IDC_BATTERY_SAVE)->isChecked());
    EXPECT_EQ(view->checkBoxValue(IDC_BATTERY_SAVE), 1);
    for (const int id : {IDC_BEEP, IDC_SCAN, IDC_VOICE, IDC_VOX, IDC_FM_RADIO}) {
        EXPECT_FALSE(checkBox(id)->isChecked()) << id;
        EXPECT_EQ(view->checkBoxValue(id), 0) << id;
    }
    EXPECT_EQ(shown(IDC_SQUELCH_LABEL), "Squelch level");
    EXPECT_EQ(shown(IDC_BEEP), "Beep");
    EXPECT_FALSE(document->IsModified());
}

TEST_F(EditorTest, ErasedSettingsShowTheirLargestValues) {
    image().erase();
    document->onImageReplaced();
    EXPECT_EQ(shown(IDC_SQUELCH), "9");
    EXPECT_EQ(shown(IDC_TX_TIME_LIMIT), "300");
    EXPECT_EQ(shown(IDC_FM_FREQUENCY), "108M0");
    EXPECT_EQ(shown(IDC_VOX_LEVEL), "5");
    EXPECT_EQ(shown(IDC_SIDE_KEY1), "Alarm");
    EXPECT_EQ(shown(IDC_SIDE_KEY2), "Alarm");
    EXPECT_EQ(shown(IDC_VOICE_PROMPT), "English");
    EXPECT_EQ(shown(IDC_SCAN_MODE), "Carrier operated");
    EXPECT_EQ(list(IDC_BAND_LIST)->currentIndex(), 3);  // code 0xFF
    for (const int id : {IDC_BEEP, IDC_BATTERY_SAVE, IDC_SCAN, IDC_VOICE, IDC_VOX, IDC_FM_RADIO}) {
        EXPECT_TRUE(checkBox(id)->isChecked()) << id;
    }
    // Showing a value never writes it back.
    EXPECT_TRUE(std::ranges::all_of(image().bytes, [](std::uint8_t b) { return b == 0xFF; }));
    EXPECT_FALSE(document->IsModified());
}

// The offsets of the image that differ between two images.
std::vector<std::size_t> changedOffsets(const RadioImage& before, const RadioImage& after) {
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < kImageSize; ++i) {
        if (before.bytes[i] != after.bytes[i]) {
            offsets.push_back(i);
        }
    }
    return offsets;
}

TEST_F(EditorTest, EachListWritesOnlyItsByte) {
    struct Case {
        int id;
        int position;
        std::size_t offset;
        std::uint8_t stored;  // the byte after the pick, from a start byte of 0xA4
    };
    const Case cases[] = {
        {IDC_VOICE_PROMPT, 0, 0x2B1, 0x00},  {IDC_SQUELCH, 7, 0x3C1, 0x07},
        {IDC_SIDE_KEY1, 2, 0x3C2, 0x02},     {IDC_SIDE_KEY2, 1, 0x3C5, 0x01},
        {IDC_TX_TIME_LIMIT, 0, 0x3C3, 0x00}, {IDC_TX_TIME_LIMIT, 10, 0x3C3, 0x0A},
        {IDC_VOX_LEVEL, 4, 0x2B4, 0x04},     {IDC_FM_FREQUENCY, 133, 0x3C6, 133},
        {IDC_SCAN_MODE, 1, 0x3C7, 0xA5},  // bit 0 only; bits 1..7 carried
        {IDC_SCAN_MODE, 0, 0x3C7, 0xA4},
    };
    initialUpdate();
    for (const Case& c : cases) {
        image().bytes[c.offset] = 0xA4;
        document->onImageReplaced();
        document->SetModifiedFlag(false);
        const RadioImage before = image();
        pick(c.id, c.position);
        EXPECT_EQ(image().bytes[c.offset], c.stored) << c.id;
        const auto changed = changedOffsets(before, image());
        EXPECT_LE(changed.size(), 1u) << c.id;
        if (!changed.empty()) {
            EXPECT_EQ(changed.front(), c.offset) << c.id;
        }
        EXPECT_TRUE(document->IsModified()) << c.id;
        EXPECT_EQ(list(c.id)->currentIndex(), c.position) << c.id;
    }
}

TEST_F(EditorTest, EachCheckBoxWritesOnlyItsField) {
    struct Case {
        int id;
        std::size_t offset;
        std::uint8_t mask;
    };
    const Case cases[] = {
        {IDC_BEEP, 0x3C0, 0x01}, {IDC_BATTERY_SAVE, 0x3C0, 0x02}, {IDC_VOICE, 0x2B0, 0xFF},
        {IDC_SCAN, 0x2B2, 0xFF}, {IDC_VOX, 0x2B3, 0xFF},          {IDC_FM_RADIO, 0x2B9, 0xFF},
    };
    initialUpdate();
    // Switches stored as other non-zero values, which a rewrite would turn into 1.
    image().bytes[0x2B0] = 0x05;
    image().bytes[0x2B2] = 0x80;
    image().bytes[0x3C0] = 0xF2;
    document->onImageReplaced();
    for (const Case& c : cases) {
        document->SetModifiedFlag(false);
        const RadioImage before = image();
        const bool wasOn = checkBox(c.id)->isChecked();
        click(c.id);
        EXPECT_NE(checkBox(c.id)->isChecked(), wasOn) << c.id;
        EXPECT_EQ(view->checkBoxValue(c.id), wasOn ? 0 : 1) << c.id;
        EXPECT_EQ(changedOffsets(before, image()), std::vector<std::size_t>{c.offset}) << c.id;
        EXPECT_EQ((image().bytes[c.offset] & c.mask) != 0, !wasOn) << c.id;
        EXPECT_EQ(image().bytes[c.offset] & ~c.mask, before.bytes[c.offset] & ~c.mask) << c.id;
        EXPECT_TRUE(document->IsModified()) << c.id;

        click(c.id);  // back again: the value as it was, the document still modified
        EXPECT_EQ(checkBox(c.id)->isChecked(), wasOn) << c.id;
        EXPECT_EQ((image().bytes[c.offset] & c.mask) != 0, wasOn) << c.id;
        EXPECT_TRUE(document->IsModified()) << c.id;
        image() = before;
    }
}

TEST_F(EditorTest, TheWheelChangesOnlyTheFocusedList) {
    initialUpdate();
    showView();
    QComboBox* squelch = list(IDC_SQUELCH);
    const auto turnWheel = [&] {
        const QPointF at = QRectF(squelch->rect()).center();
        QWheelEvent wheel(at, squelch->mapToGlobal(at), {}, QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(squelch, &wheel);
    };
    list(IDC_BAND_LIST)->setFocus();
    turnWheel();
    EXPECT_EQ(shown(IDC_SQUELCH), "3");
    EXPECT_FALSE(document->IsModified());

    squelch->setFocus();
    turnWheel();
    EXPECT_EQ(shown(IDC_SQUELCH), "4");
    EXPECT_EQ(image().squelchLevel(), 4);
    EXPECT_TRUE(document->IsModified());
}

TEST_F(EditorTest, DtmfIsStoredWhenTheFieldLosesTheFocus) {
    initialUpdate();
    auto* dtmf = findControl<DtmfEdit>(view.get(), IDC_DTMF);
    ASSERT_NE(dtmf, nullptr);
    EXPECT_EQ(dtmf->maxLength(), 5);

    dtmf->setText("1a9");
    emit dtmf->focusLost();
    EXPECT_EQ(document->dtmfCode(), (DtmfBytes{1, 10, 9, 0xFF, 0xFF}));
    EXPECT_TRUE(document->IsModified());
    EXPECT_EQ(dtmf->text(), "1a9");  // rewritten only by the next refill
    document->onImageReplaced();
    EXPECT_EQ(dtmf->text(), "1A9");

    // The same code again changes nothing.
    document->SetModifiedFlag(false);
    dtmf->setText("1A9");
    emit dtmf->focusLost();
    EXPECT_FALSE(document->IsModified());
}

TEST_F(EditorTest, BandChangeAsksAndCancelPutsTheListBack) {
    initialUpdate();
    image().bytes[0x000] = 0x12;
    image().setFrequencyText(1, ChannelSide::Receive, "446.00625");
    const RadioImage before = image();

    shell.messages.expect(MessageResult::Cancel, "frequency range");
    pick(IDC_BAND_LIST, 4);
    ASSERT_EQ(shell.messages.asked().size(), 1u);
    const auto& question = shell.messages.asked().front();
    EXPECT_EQ(question.caption, "Confirm");
    EXPECT_EQ(question.style.icon, MessageIcon::Exclamation);
    // Enter alone must not erase the channels; the question says how many go.
    EXPECT_EQ(question.style.buttons, MessageButtons::OkCancelDefaultCancel);
    EXPECT_NE(question.text.find("1 programmed channels will be erased"), std::string::npos);
    EXPECT_EQ(list(IDC_BAND_LIST)->currentIndex(), 3);
    EXPECT_EQ(image().bytes, before.bytes);
    EXPECT_FALSE(document->IsModified());

    // The current band asks nothing and changes nothing.
    pick(IDC_BAND_LIST, 3);
    EXPECT_EQ(shell.messages.asked().size(), 1u);
    EXPECT_FALSE(document->IsModified());
}

TEST_F(EditorTest, ConfirmedBandChangeEmptiesTheImage) {
    initialUpdate();
    image().bytes[0x000] = 0x12;
    image().setFrequencyText(1, ChannelSide::Receive, "446.00625");
    image().setDtmfCode({1, 2, 3, 0xFF, 0xFF});
    image().setSquelchLevel(8);
    image().setBeepEnabled(1);
    document->onImageReplaced();

    shell.messages.expect(MessageResult::Ok);
    pick(IDC_BAND_LIST, 4);
    EXPECT_EQ(image().bandCode(), 0xF8);
    EXPECT_EQ(document->bandLower(), 13'600'000);
    EXPECT_EQ(image().bytes[0x000], 0xFF);
    EXPECT_TRUE(document->isRxEmpty(1));
    EXPECT_TRUE(document->IsModified());
    EXPECT_EQ(list(IDC_BAND_LIST)->currentIndex(), 4);
    EXPECT_EQ(shown(IDC_SQUELCH), "3");
    EXPECT_EQ(shown(IDC_TX_TIME_LIMIT), "180");
    EXPECT_EQ(list(IDC_VOICE_PROMPT)->currentIndex(), 1);
    EXPECT_TRUE(checkBox(IDC_BATTERY_SAVE)->isChecked());
    EXPECT_FALSE(checkBox(IDC_BEEP)->isChecked());
    EXPECT_EQ(shown(IDC_DTMF), "");
}

TEST_F(EditorTest, EachCaptionNamesItsControl) {
    initialUpdate();
    const std::pair<int, int> pairs[] = {
        {IDC_BAND_LABEL, IDC_BAND_LIST},
        {IDC_VOX_LEVEL_LABEL, IDC_VOX_LEVEL},
        {IDC_SQUELCH_LABEL, IDC_SQUELCH},
        {IDC_TX_TIME_LIMIT_LABEL, IDC_TX_TIME_LIMIT},
        {IDC_VOICE_PROMPT_LABEL, IDC_VOICE_PROMPT},
        {IDC_SIDE_KEY1_LABEL, IDC_SIDE_KEY1},
        {IDC_SCAN_MODE_LABEL, IDC_SCAN_MODE},
        {IDC_FM_FREQUENCY_LABEL, IDC_FM_FREQUENCY},
        {IDC_DTMF_LABEL, IDC_DTMF},
        {IDC_SIDE_KEY2_LABEL, IDC_SIDE_KEY2},
    };
    for (const auto& [labelId, controlId] : pairs) {
        auto* label = findControl<QLabel>(view.get(), labelId);
        QWidget* control = findControl(view.get(), controlId);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->buddy(), control) << labelId;
        // What a screen reader reads before the value.
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(accessible, nullptr);
        QStringList labels;
        for (const auto& [other, relation] : accessible->relations(QAccessible::Label)) {
            labels << other->text(QAccessible::Name);
        }
        EXPECT_EQ(labels, QStringList{label->text()}) << labelId;
    }
}

TEST_F(EditorTest, TabRunsThroughThePanelAsItIsRead) {
    initialUpdate();
    showView();
    list(IDC_BAND_LIST)->setFocus();
    const std::vector<int> expected = {
        IDC_VOX,       IDC_VOX_LEVEL, IDC_SQUELCH,      IDC_TX_TIME_LIMIT, IDC_VOICE_PROMPT,
        IDC_SIDE_KEY1, IDC_SCAN_MODE, IDC_BEEP,         IDC_SCAN,          IDC_BATTERY_SAVE,
        IDC_VOICE,     IDC_FM_RADIO,  IDC_CHANNEL_GRID, IDC_BAND_LIST};
    std::vector<int> visited;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.push_back(controlId(QApplication::focusWidget()).value_or(0));
    }
    EXPECT_EQ(visited, expected);
}

// Translators' texts must fit the template's boxes at the default font: a
// label wraps (and its second line is cut off) when it is too long.
TEST_F(EditorTest, ShippedCaptionsFitTheirControls) {
    for (const char* language : {"english.lang", "chinese.lang"}) {
        setLanguagePath(dir / language);
        initialUpdate();
        for (QWidget* control : controlsInOrder(view.get())) {
            if (!control->isVisibleTo(view.get())) {
                continue;
            }
            const int id = controlId(control).value_or(0);
            if (auto* label = qobject_cast<QLabel*>(control)) {
                EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
                    << language << " " << id;
            } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
                EXPECT_LE(box->sizeHint().width(), box->width()) << language << " " << id;
            } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
                // The longest entry fits the closed list beside its arrow.
                EXPECT_LE(combo->minimumSizeHint().width(), combo->width())
                    << language << " " << id;
            }
        }
    }
}

TEST_F(EditorTest, LanguageSwitchRefillsCaptionsAndEntries) {
    initialUpdate();
    setLanguagePath(dir / "chinese.lang");
    shell.refreshTextsAndViews();
    EXPECT_EQ(shown(IDC_SQUELCH_LABEL), "静噪等级");
    EXPECT_EQ(shown(IDC_BATTERY_SAVE), "电池省电");
    EXPECT_EQ(shown(IDC_VOICE_PROMPT), "英文");
    EXPECT_EQ(list(IDC_VOICE_PROMPT)->itemText(0), "中文");
    EXPECT_EQ(list(IDC_TX_TIME_LIMIT)->itemText(0), QString::fromStdString(lookupText("IDS_OFF")));
    EXPECT_EQ(list(IDC_TX_TIME_LIMIT)->count(), 11);
    EXPECT_EQ(shown(IDC_SIDE_KEY1), "监听");
    EXPECT_EQ(list(IDC_SIDE_KEY1)->count(), 4);
    EXPECT_EQ(shell.window.windowTitle(), QString::fromStdString(lookupText("IDS_WINDOWNAME")));
    EXPECT_FALSE(document->IsModified());
}

}  // namespace
}  // namespace qzm

namespace qzm {
namespace {

// Not a check: pictures of the filled form in both languages and two font
// sizes, for a person to look at.  Run with QZM_SCREENSHOT_DIR set and
// --gtest_also_run_disabled_tests.
TEST_F(EditorTest, DISABLED_SaveScreenshots) {
    const QString folder = qEnvironmentVariable("QZM_SCREENSHOT_DIR");
    ASSERT_FALSE(folder.isEmpty());
    for (const char* language : {"english", "chinese"}) {
        for (const int points : {9, 11}) {
            QFont font = QApplication::font();
            font.setPointSize(points);
            QApplication::setFont(font);
            setLanguagePath(dir / (std::string(language) + ".lang"));
            test::FakeShell shell2;
            shell2.document = document.get();
            document->removeView(*view);
            CZavoView form(shell2, *document);
            form.OnInitialUpdate();
            const QString file = QString("%1/form-%2-%3pt.png").arg(folder, language).arg(points);
            EXPECT_TRUE(form.grab().save(file));
        }
    }
}

}  // namespace
}  // namespace qzm
