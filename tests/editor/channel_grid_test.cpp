// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAbstractItemView>
#include <QApplication>
#include <string>
#include <vector>

#include "channel_values.h"
#include "editor/qt/floating_editors.h"
#include "editor_fixture.h"
#include "grid/grid_ctrl.h"
#include "platform/qt/colour.h"
#include "platform/qt/text_draw.h"
#include "radio/channel_record.h"
#include "radio/value_codecs.h"

namespace qzm {
namespace {

using test::CloseBy;
using test::EditorTest;
using test::kRx;
using test::kTx;

class ChannelGridTest : public EditorTest {
  protected:
    CGridCtrl* grid() const { return view->grid(); }
    QString cell(int row, int col) const { return grid()->cellText(row, col); }
    bool readOnly(int row, int col) const {
        return (grid()->cellState(row, col) & CELL_READONLY) != 0;
    }
    bool grey(int row, int col) const {
        return grid()->cellTextColour(row, col) == systemColour(COLOR_GRAYTEXT);
    }

    // Channel 1 and 2 programmed, the rest empty.
    void programImage() {
        image().setFrequencyText(1, kRx, "446.00625");
        image().setFrequencyText(1, kTx, "446.00625");
        image().setToneText(1, kRx, "88.5");
        image().setToneText(1, kTx, "88.5");
        image().setNarrow(1, 1);
        image().setFrequencyText(2, kRx, "430.5");
        image().setFrequencyText(2, kTx, "");
        image().setToneText(2, kTx, "D023N");  // hidden while there is no transmit frequency
        document->onImageReplaced();
    }

    QRect cellOnForm(int row, int col) const {
        QRect rect;
        EXPECT_TRUE(grid()->cellRect(row, col, &rect));
        return QRect(grid()->viewport()->mapTo(view.get(), rect.topLeft()), rect.size());
    }

    void clickCell(int row, int col) {
        showView();
        QRect rect;
        ASSERT_TRUE(grid()->cellRect(row, col, &rect));
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, rect.center());
    }

    QWidget* focused() const { return QApplication::focusWidget(); }

    // Types into the frequency cell and ends the edit with Enter.
    void enterFrequency(int row, int col, const QString& typed) {
        clickCell(row, col);
        ASSERT_EQ(focused(), view->frequencyEdit());
        if (typed.isEmpty()) {
            QTest::keyClick(view->frequencyEdit(), Qt::Key_Backspace);  // the text is selected
        }
        QTest::keyClicks(view->frequencyEdit(), typed);
        QTest::keyClick(view->frequencyEdit(), Qt::Key_Return);
    }

    void pickTone(int row, int col, const QString& entry) {
        clickCell(row, col);
        TonePicker* picker = view->tonePicker();
        ASSERT_EQ(focused(), picker);
        const int at = picker->findText(entry);
        ASSERT_GE(at, 0) << entry.toStdString();
        picker->setCurrentIndex(at);
        QTest::keyClick(picker, Qt::Key_Return);
    }

    // Opens the drop-down of the list picker and chooses an entry.
    void chooseInListPicker(int position) {
        ListPicker* picker = view->listPicker();
        picker->showPopup();
        QAbstractItemView* popup = picker->view();
        popup->setCurrentIndex(picker->model()->index(position, 0));
        QTest::keyClick(popup, Qt::Key_Return);
    }
};

TEST_F(ChannelGridTest, FreshImageShowsNumbersOnlyAndLetsOnlyTheReceiveFrequencyBeEdited) {
    initialUpdate();
    ASSERT_NE(grid(), nullptr);
    EXPECT_EQ(grid()->rowCount(), 17);
    EXPECT_EQ(grid()->columnCount(), 10);
    EXPECT_EQ(grid()->fixedRowCount(), 1);
    EXPECT_EQ(grid()->fixedColumnCount(), 1);
    // Whole channels are selected for the Edit menu.
    EXPECT_TRUE(grid()->selectionAllowed());
    EXPECT_FALSE(grid()->rowResizeAllowed());
    EXPECT_FALSE(grid()->columnResizeAllowed());
    const int widths[] = {40, 100, 100, 100, 100, 70, 70, 70, 70, 70};
    const char* titles[] = {"CH",           "RX Freq (MHz)", "RX CTCSS/DCS", "TX Freq (MHz)",
                            "TX CTCSS/DCS", "Scan Add",      "Width",        "Power",
                            "Busy Lock",    "Scramble"};
    for (int col = 0; col < 10; ++col) {
        EXPECT_EQ(grid()->columnWidth(col), widths[col]) << col;
        EXPECT_EQ(cell(0, col), titles[col]) << col;
    }
    EXPECT_EQ(grid()->rowHeight(0), 28);
    for (int n = 1; n <= 16; ++n) {
        EXPECT_EQ(grid()->rowHeight(n), 21);
        EXPECT_EQ(cell(n, 0), QString::number(n));
        EXPECT_EQ(grid()->cellFormat(n, 0), DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        for (int col = 1; col < 10; ++col) {
            EXPECT_EQ(cell(n, col), "") << n << "," << col;
            EXPECT_EQ(readOnly(n, col), col != 1) << n << "," << col;
            EXPECT_EQ(grey(n, col), col != 1) << n << "," << col;
        }
    }
}

TEST_F(ChannelGridTest, ProgrammedChannelsShowTheirTextsAndTxToneWaitsForATxFrequency) {
    initialUpdate();
    programImage();
    const std::vector<std::string> one = {"446.00625", "88.5", "446.00625", "88.5", "Yes",
                                          "Narrow",    "High", "No",        "No"};
    const std::vector<std::string> two = {"430.50000", "Off",  "",   "",  "Yes",
                                          "Wide",      "High", "No", "No"};
    for (int col = 1; col < 10; ++col) {
        const auto index = static_cast<std::size_t>(col - 1);
        EXPECT_EQ(cell(1, col).toStdString(), one[index]) << col;
        EXPECT_FALSE(readOnly(1, col)) << col;
        EXPECT_EQ(cell(2, col).toStdString(), two[index]) << col;
        EXPECT_EQ(readOnly(2, col), col == 4) << col;
        EXPECT_EQ(grey(2, col), col == 4) << col;
    }
}

TEST_F(ChannelGridTest, ClickOrEnterOpensTheColumnsEditorOverTheCell) {
    initialUpdate();
    programImage();
    struct Case {
        int col;
        QWidget* editor;
        QString text;
    };
    const Case cases[] = {
        {1, view->frequencyEdit(), "446.00625"}, {2, view->tonePicker(), "88.5"},
        {3, view->frequencyEdit(), "446.00625"}, {4, view->tonePicker(), "88.5"},
        {5, view->listPicker(), "Yes"},          {6, view->listPicker(), "Narrow"},
        {7, view->listPicker(), "High"},         {9, view->listPicker(), "No"},
    };
    for (const bool byKey : {false, true}) {
        for (const Case& c : cases) {
            if (byKey) {
                showView();
                grid()->setFocus();
                grid()->moveFocus(1, c.col);
                QTest::keyClick(grid(), Qt::Key_Return);
            } else {
                clickCell(1, c.col);
            }
            EXPECT_EQ(focused(), c.editor) << c.col;
            EXPECT_TRUE(c.editor->isVisible() && c.editor->isEnabled()) << c.col;
            EXPECT_TRUE(grid()->editOverlay()) << c.col;
            EXPECT_EQ(c.editor->pos(), cellOnForm(1, c.col).topLeft()) << c.col;
            EXPECT_EQ(c.editor->width(), cellOnForm(1, c.col).width()) << c.col;
            EXPECT_EQ(controlText(c.editor), c.text) << c.col;
            EXPECT_EQ(view->editRow(), 1);
            EXPECT_EQ(view->editColumn(), c.col);
            QTest::keyClick(c.editor, Qt::Key_Escape);
            EXPECT_FALSE(c.editor->isVisible()) << c.col;
            EXPECT_FALSE(grid()->editOverlay()) << c.col;
            EXPECT_EQ(focused(), grid()) << c.col;
        }
    }
    EXPECT_FALSE(document->IsModified());
    EXPECT_EQ(view->listPicker()->count(), 2);
    EXPECT_EQ(view->listPicker()->itemText(0), "Yes");
}

TEST_F(ChannelGridTest, ReadOnlyCellsOpenNoEditor) {
    initialUpdate();
    programImage();
    for (const auto& [row, col] : std::vector<std::pair<int, int>>{{3, 2}, {3, 9}, {2, 4}}) {
        clickCell(row, col);
        EXPECT_NE(focused(), view->frequencyEdit());
        EXPECT_FALSE(view->tonePicker()->isVisible());
        EXPECT_FALSE(view->listPicker()->isVisible());
        EXPECT_FALSE(grid()->editOverlay());
    }
}

TEST_F(ChannelGridTest, TypedFrequencyIsLimitedSnappedAndStored) {
    initialUpdate();
    struct Case {
        const char* typed;
        const char* stored;
    };
    // The default band is 400 to 470 MHz.
    const Case cases[] = {
        {"500", "470.00000"},      {"3", "400.00000"},         {"446.006", "446.00625"},
        {"446.0031", "446.00500"}, {"4a4b6.1.2", "446.12000"}, {"446.0011", "446.00000"},
        {"470", "470.00000"},
    };
    for (const Case& c : cases) {
        document->SetModifiedFlag(false);
        enterFrequency(5, 1, c.typed);
        EXPECT_EQ(image().frequencyText(5, kRx), c.stored) << c.typed;
        EXPECT_EQ(cell(5, 1).toStdString(), c.stored) << c.typed;
        EXPECT_TRUE(document->IsModified()) << c.typed;
        enterFrequency(5, 1, "");  // empty the channel for the next case
    }
}

TEST_F(ChannelGridTest, CreatingAChannelEnablesItsRowWithTheDefaultFlags) {
    initialUpdate();
    enterFrequency(4, 1, "440");
    EXPECT_TRUE(document->IsModified());
    EXPECT_EQ(image().frequencyText(4, kTx), "440.00000");  // both were empty, so equal
    const char* texts[] = {"440.00000", "Off",  "440.00000", "Off", "Yes",
                           "Wide",      "High", "No",        "No"};
    for (int col = 1; col < 10; ++col) {
        EXPECT_EQ(cell(4, col), texts[col - 1]) << col;
        EXPECT_FALSE(readOnly(4, col)) << col;
        EXPECT_FALSE(grey(4, col)) << col;
    }
}

TEST_F(ChannelGridTest, TransmitFollowsReceiveOnlyWhileTheyAreEqual) {
    initialUpdate();
    programImage();
    enterFrequency(1, 1, "440");  // rx == tx before: tx follows
    EXPECT_EQ(image().frequencyText(1, kTx), "440.00000");
    enterFrequency(1, 3, "441");
    enterFrequency(1, 1, "442");  // now different: tx stays
    EXPECT_EQ(image().frequencyText(1, kRx), "442.00000");
    EXPECT_EQ(image().frequencyText(1, kTx), "441.00000");
    EXPECT_EQ(cell(1, 3), "441.00000");

    pickTone(1, 2, "D023N");  // equal tones before: tx tone follows
    EXPECT_EQ(image().toneText(1, kTx, "Off"), "D023N");
    EXPECT_EQ(cell(1, 4), "D023N");
    pickTone(1, 4, "67.0");
    pickTone(1, 2, "D754I");
    EXPECT_EQ(image().toneText(1, kRx, "Off"), "D754I");
    EXPECT_EQ(image().toneText(1, kTx, "Off"), "67.0");
    pickTone(1, 2, "OFF");  // the off entry is shown in upper case
    EXPECT_EQ(image().toneText(1, kRx, "Off"), "Off");
    EXPECT_EQ(cell(1, 2), "Off");
}

TEST_F(ChannelGridTest, ClearingFrequenciesEmptiesTxToneOrTheWholeChannel) {
    initialUpdate();
    programImage();
    enterFrequency(1, 3, "");
    EXPECT_EQ(image().frequencyText(1, kTx), "");
    EXPECT_EQ(image().toneText(1, kTx, "Off"), "Off");
    EXPECT_EQ(image().frequencyText(1, kRx), "446.00625");
    EXPECT_TRUE(readOnly(1, 4));

    const ChannelRecord emptyChannel = image().channelRecord(3);
    enterFrequency(1, 1, "");
    EXPECT_EQ(image().channelRecord(1), emptyChannel);
    for (int col = 1; col < 10; ++col) {
        EXPECT_EQ(cell(1, col), "") << col;
        EXPECT_EQ(readOnly(1, col), col != 1) << col;
    }
}

TEST_F(ChannelGridTest, UnchangedTextAndEscapeLeaveTheDocumentUnmodified) {
    initialUpdate();
    programImage();
    enterFrequency(1, 1, "446.00625");
    EXPECT_FALSE(document->IsModified());
    clickCell(1, 1);
    QTest::keyClicks(view->frequencyEdit(), "430");
    QTest::keyClick(view->frequencyEdit(), Qt::Key_Escape);
    EXPECT_EQ(image().frequencyText(1, kRx), "446.00625");
    pickTone(1, 2, "88.5");
    EXPECT_FALSE(document->IsModified());
}

TEST_F(ChannelGridTest, FocusMovingElsewhereStoresTheEdit) {
    initialUpdate();
    programImage();
    clickCell(2, 1);
    QTest::keyClicks(view->frequencyEdit(), "433");
    list(IDC_SQUELCH)->setFocus();
    EXPECT_FALSE(view->frequencyEdit()->isVisible());
    EXPECT_EQ(image().frequencyText(2, kRx), "433.00000");
    EXPECT_TRUE(document->IsModified());
}

TEST_F(ChannelGridTest, EachFlagChoiceIsStoredAtOnceAndSurvivesEscape) {
    initialUpdate();
    programImage();
    struct Case {
        int col;
        int position;
        const char* text;
        int (RadioImage::*flag)(int) const;
    };
    const Case cases[] = {
        {5, 1, "No", &RadioImage::col5No},     {6, 0, "Wide", &RadioImage::narrow},
        {7, 0, "Low", &RadioImage::highPower}, {8, 0, "Yes", &RadioImage::col8No},
        {9, 0, "Yes", &RadioImage::col9No},
    };
    for (const Case& c : cases) {
        document->SetModifiedFlag(false);
        clickCell(1, c.col);
        ASSERT_EQ(focused(), view->listPicker()) << c.col;
        chooseInListPicker(c.position);
        EXPECT_EQ((image().*c.flag)(1), c.position) << c.col;
        EXPECT_EQ(cell(1, c.col), c.text) << c.col;
        EXPECT_TRUE(document->IsModified()) << c.col;
        EXPECT_TRUE(view->listPicker()->isVisible()) << c.col;  // stays open
        QTest::keyClick(view->listPicker(), Qt::Key_Escape);
        EXPECT_FALSE(view->listPicker()->isVisible()) << c.col;
        EXPECT_EQ((image().*c.flag)(1), c.position) << c.col;
    }
}

TEST_F(ChannelGridTest, LanguageSwitchRewritesTitlesAndTextsAndKeepsTheShape) {
    initialUpdate();
    programImage();
    setLanguagePath(dir / "chinese.lang");
    document->onImageReplaced();
    EXPECT_EQ(grid()->rowCount(), 17);
    EXPECT_EQ(grid()->columnWidth(1), 100);
    EXPECT_EQ(grid()->rowHeight(0), 28);
    EXPECT_EQ(cell(0, 0), "信道");
    EXPECT_EQ(cell(0, 9), "加密");
    EXPECT_EQ(cell(1, 6), "窄带");
    EXPECT_EQ(cell(2, 2), "关");
    EXPECT_EQ(view->tonePicker()->itemText(0), "关");
    EXPECT_EQ(view->tonePicker()->count(), 262);
}

TEST_F(ChannelGridTest, MissingColumnTitlesRepeatTheOneBefore) {
    const std::filesystem::path file = dir / "short.lang";
    std::filesystem::copy_file(dir / "english.lang", file);
    std::string text = test::readFile(file);
    const auto at = text.find("IDS_ChText5");
    const auto end = text.find("IDS_ChText9");
    text.erase(at, text.find('\n', end) + 1 - at);
    test::writeFile(file, text);
    setLanguagePath(file);
    initialUpdate();
    for (int col = 4; col < 10; ++col) {
        EXPECT_EQ(cell(0, col), "TX CTCSS/DCS") << col;
    }
}

// Ends an open tone picker the three ways a user does.

TEST_F(ChannelGridTest, UnlistedStoredToneIsShownAndSurvivesOpenAndCloseByteForByte) {
    initialUpdate();
    programImage();
    struct Case {
        ToneBytes stored;
        const char* shown;
    };
    const Case cases[] = {
        {parseTone("88.0"), "88.0"},       // a CTCSS tone the list does not hold
        {parseTone("D024N"), "D024N"},     // nor this DCS code
        {ToneBytes{0x5A, 0x0F}, nullptr},  // bytes no text gives back exactly
    };
    for (const Case& c : cases) {
        for (const CloseBy close : {CloseBy::Escape, CloseBy::Enter, CloseBy::ClickElsewhere}) {
            const ToneBytes txBefore = image().tone(1, kTx);
            image().setTone(1, kRx, c.stored);
            document->onImageReplaced();
            document->SetModifiedFlag(false);
            clickCell(1, 2);
            TonePicker* picker = view->tonePicker();
            ASSERT_EQ(focused(), picker);
            EXPECT_EQ(picker->count(), 263);
            const QString stored = QString::fromStdString(document->toneText(1, kRx));
            if (c.shown != nullptr) {
                EXPECT_EQ(stored, c.shown);
            }
            EXPECT_EQ(picker->currentText(), stored.toUpper());
            switch (close) {
                case CloseBy::Escape:
                    QTest::keyClick(picker, Qt::Key_Escape);
                    break;
                case CloseBy::Enter:
                    QTest::keyClick(picker, Qt::Key_Return);
                    break;
                case CloseBy::ClickElsewhere:
                    list(IDC_SQUELCH)->setFocus();
                    break;
            }
            EXPECT_FALSE(picker->isVisible());
            EXPECT_EQ(image().tone(1, kRx), c.stored) << static_cast<int>(close);
            EXPECT_EQ(image().tone(1, kTx), txBefore);
            EXPECT_FALSE(document->IsModified());
            EXPECT_EQ(picker->count(), 262);  // the extra entry goes with the edit
        }
    }
    // A real pick replaces it, and the transmit tone follows only while it was equal.
    image().setTone(1, kTx, parseTone("88.0"));
    image().setTone(1, kRx, parseTone("88.0"));
    document->onImageReplaced();
    pickTone(1, 2, "D023N");
    EXPECT_EQ(image().toneText(1, kRx, "Off"), "D023N");
    EXPECT_EQ(image().toneText(1, kTx, "Off"), "D023N");
    EXPECT_TRUE(document->IsModified());
}

TEST_F(ChannelGridTest, FirstToneEntryIsOffWhateverTheLanguageCallsIt) {
    for (const char* offText : {"Deaktiviert", "Desactivado", "0 (off)", "Выкл"}) {
        const std::filesystem::path file = dir / "other.lang";
        std::string text = test::readFile(dir / "english.lang");
        const auto at = text.find("IDS_OFF=");
        text.replace(at, text.find('\n', at) - at, std::string("IDS_OFF=") + offText);
        test::writeFile(file, text);
        setLanguagePath(file);
        initialUpdate();
        programImage();
        image().setTone(1, kRx, kToneOff);
        image().setTone(1, kTx, kToneOff);
        document->onImageReplaced();
        document->SetModifiedFlag(false);

        // Opening and closing on an off tone changes nothing.
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            clickCell(1, 2);
            EXPECT_EQ(view->tonePicker()->currentIndex(), 0) << offText;
            QTest::keyClick(view->tonePicker(), key);
            EXPECT_EQ(image().tone(1, kRx), kToneOff) << offText;
            EXPECT_FALSE(document->IsModified()) << offText;
        }
        EXPECT_EQ(cell(1, 2).toStdString(), offText);

        // Picking the first entry after a tone turns both tones off.
        pickTone(1, 2, "67.0");
        clickCell(1, 2);
        view->tonePicker()->setCurrentIndex(0);
        QTest::keyClick(view->tonePicker(), Qt::Key_Return);
        EXPECT_EQ(image().tone(1, kRx), kToneOff) << offText;
        EXPECT_EQ(image().tone(1, kTx), kToneOff) << offText;
        setLanguagePath(dir / "english.lang");
    }
}

TEST_F(ChannelGridTest, TabIntoTheGridGivesTheFirstCellTheFocusSoKeysWork) {
    initialUpdate();
    programImage();
    showView();
    // The control before the grid in the reading order, then Tab.
    QWidget* before = grid()->previousInFocusChain();
    while (before != nullptr && !(before->focusPolicy() & Qt::TabFocus)) {
        before = before->previousInFocusChain();
    }
    ASSERT_NE(before, nullptr);
    before->setFocus(Qt::OtherFocusReason);
    grid()->moveFocus(-1, -1);
    QTest::keyClick(before, Qt::Key_Tab);
    ASSERT_EQ(focused(), grid());
    EXPECT_EQ(grid()->focusCell(), (CellId{1, 1}));
    QTest::keyClick(grid(), Qt::Key_Right);
    EXPECT_EQ(grid()->focusCell(), (CellId{1, 2}));
    QTest::keyClick(grid(), Qt::Key_Return);
    EXPECT_EQ(focused(), view->tonePicker());
    QTest::keyClick(view->tonePicker(), Qt::Key_Escape);
    EXPECT_EQ(focused(), grid());
    EXPECT_EQ(grid()->focusCell(), (CellId{1, 2}));  // coming back keeps the cell
}

}  // namespace
}  // namespace qzm
