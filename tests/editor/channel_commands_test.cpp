// SPDX-License-Identifier: GPL-3.0-or-later
// The Edit menu's work on the real form: undo and redo, channel selection, the
// clipboard and the channel operations.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "channel_values.h"
#include "editor/channel_clipboard.h"
#include "editor/qt/channel_commands.h"
#include "editor/qt/floating_editors.h"
#include "editor_fixture.h"
#include "grid/grid_ctrl.h"
#include "radio/channel_operations.h"

namespace qzm {
namespace {

using test::EditorTest;
using test::kRx;
using test::kTx;

class ChannelCommandsTest : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        initialUpdate();
        image().setFrequencyText(1, kRx, "446.00625");
        image().setFrequencyText(1, kTx, "446.00625");
        image().setToneText(1, kRx, "88.5");
        image().setNarrow(1, 1);
        image().bytes[16 + 14] = 0x5A;  // a byte without a field
        image().setFrequencyText(2, kRx, "430.50000");
        image().setFrequencyText(2, kTx, "435.50000");
        document->onImageReplaced();
    }

    ChannelCommands& edit() { return *view->channelCommands(); }
    CGridCtrl* grid() const { return view->grid(); }

    void clickCell(int row, int col, Qt::KeyboardModifiers modifiers = {}) {
        showView();
        QRect rect;
        ASSERT_TRUE(grid()->cellRect(row, col, &rect));
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, modifiers, rect.center());
    }
};

TEST_F(ChannelCommandsTest, RowsAreSelectedThroughTheChannelNumbers) {
    clickCell(3, 0);
    EXPECT_EQ(edit().selectedChannels(), (std::vector{3}));
    clickCell(5, 0, Qt::ShiftModifier);
    EXPECT_EQ(edit().selectedChannels(), (std::vector{3, 4, 5}));
    clickCell(9, 0, Qt::ControlModifier);
    EXPECT_EQ(edit().selectedChannels(), (std::vector{3, 4, 5, 9}));
    // Shift with the arrows extends from the current cell.
    clickCell(7, 2);
    grid()->setFocus();
    QTest::keyClick(grid(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(edit().selectedChannels(), (std::vector{7, 8}));
    edit().selectAll();
    EXPECT_EQ(edit().selectedChannels().size(), 16u);
}

TEST_F(ChannelCommandsTest, BandChangeIsUndoneExactly) {
    const DocumentSnapshot before = document->snapshot();
    shell.messages.expect(MessageResult::Ok);
    pick(IDC_BAND_LIST, 4);
    ASSERT_TRUE(document->isRxEmpty(1));
    EXPECT_EQ(edit().undoItemText(), QString("&Undo band change\tCtrl+Z"));
    edit().undo();
    EXPECT_TRUE(document->snapshot() == before);
    EXPECT_EQ(list(IDC_BAND_LIST)->currentIndex(), 3);
    EXPECT_EQ(grid()->cellText(1, 1), QString("446.00625"));
    EXPECT_FALSE(document->IsModified());
    EXPECT_EQ(shell.status, "Undone: band change");
    EXPECT_EQ(edit().redoItemText(), QString("&Redo band change\tCtrl+Y"));
    edit().redo();
    EXPECT_TRUE(document->isRxEmpty(1));
    EXPECT_EQ(list(IDC_BAND_LIST)->currentIndex(), 4);
}

TEST_F(ChannelCommandsTest, UndoClosesAnOpenEditorWhoseCommitIsThenUndone) {
    clickCell(2, 1);
    ASSERT_TRUE(view->frequencyEdit()->isOpen());
    QTest::keyClicks(view->frequencyEdit(), "440");
    // One step for the whole session, taken back by one Undo even while it is open.
    edit().undo();
    EXPECT_FALSE(view->frequencyEdit()->isOpen());
    EXPECT_EQ(image().frequencyText(2, kRx), "430.50000");
    EXPECT_EQ(grid()->cellText(2, 1), QString("430.50000"));
    EXPECT_FALSE(document->canUndo());
    edit().redo();
    EXPECT_EQ(image().frequencyText(2, kRx), "440.00000");
}

TEST_F(ChannelCommandsTest, CopyGivesOwnRecordsAndSpreadsheetTextAndPasteIsOneStep) {
    clickCell(1, 0);
    clickCell(2, 0, Qt::ShiftModifier);
    edit().copy();
    EXPECT_EQ(shell.status, "Channels copied to the clipboard: 2");
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->text().startsWith("446.00625\t88.5\t446.00625\tOff\tYes\tNarrow\tHigh"))
        << data->text().toStdString();
    const std::string text = data->text().toStdString();

    clickCell(15, 0);
    edit().paste();
    EXPECT_EQ(image().channelRecord(15), image().channelRecord(1));  // with the byte 0x5A
    EXPECT_EQ(image().channelRecord(16), image().channelRecord(2));
    EXPECT_EQ(document->undoStep(), (EditStep{EditKind::Paste, 2}));
    EXPECT_EQ(edit().undoItemText(), QString("&Undo paste of 2 channels\tCtrl+Z"));
    EXPECT_EQ(edit().selectedChannels(), (std::vector{15, 16}));

    // What a spreadsheet gives back: the text alone, one column short, one row too many.
    QApplication::clipboard()->setText(QString::fromStdString(text) + "145.5\n");
    clickCell(14, 0);
    edit().paste();
    EXPECT_EQ(image().frequencyText(14, kRx), "446.00625");
    EXPECT_EQ(image().frequencyText(16, kRx), "400.00000");  // to the band limit, as typed
    EXPECT_EQ(image().frequencyText(16, kTx), "400.00000");
    EXPECT_EQ(image().bytes[16 * 14 + 14], 0xFF);  // text carries fields only
    EXPECT_EQ(shell.status,
              "Channels pasted from channel 14 on: 3. Values repaired as typing them would "
              "(band limit, tone): 1.");
    edit().undo();
    EXPECT_EQ(image().channelRecord(16), image().channelRecord(2));
}

TEST_F(ChannelCommandsTest, JunkOnTheClipboardChangesNothingAndSaysWhy) {
    const DocumentSnapshot before = document->snapshot();
    clickCell(3, 0);
    QApplication::clipboard()->setText("Dear diary,\ntoday nothing happened.");
    edit().paste();
    EXPECT_TRUE(document->snapshot() == before);
    EXPECT_FALSE(document->canUndo());
    EXPECT_NE(shell.status.find("Nothing pasted"), std::string::npos);
    clickCell(16, 0);
    QApplication::clipboard()->setText("446.1\n446.2\n446.3\n");
    edit().paste();
    EXPECT_NE(shell.status.find("Rows past channel 16 left out: 2"), std::string::npos)
        << shell.status;
}

TEST_F(ChannelCommandsTest, ChannelOperationsActOnTheSelectionOneStepEach) {
    clickCell(1, 0);
    clickCell(2, 0, Qt::ShiftModifier);
    const ChannelRecord first = image().channelRecord(1);
    const ChannelRecord second = image().channelRecord(2);
    edit().moveDown();
    EXPECT_EQ(image().channelRecord(2), first);
    EXPECT_EQ(image().channelRecord(3), second);
    EXPECT_EQ(edit().selectedChannels(), (std::vector{2, 3}));
    edit().remove();
    EXPECT_TRUE(document->isRxEmpty(2));
    EXPECT_EQ(image().channelRecord(16), emptyChannelRecord());
    edit().undo();
    edit().undo();
    EXPECT_EQ(image().channelRecord(1), first);
    EXPECT_EQ(image().channelRecord(2), second);

    clickCell(1, 0);
    edit().clear();
    EXPECT_EQ(image().channelRecord(1), emptyChannelRecord());
    EXPECT_EQ(document->undoStep(), (EditStep{EditKind::ClearChannels, 1}));
    edit().undo();

    // Insert asks before a programmed channel 16 falls off; Cancel changes nothing.
    image().setFrequencyText(16, kRx, "446.50000");
    document->onImageReplaced();
    const DocumentSnapshot before = document->snapshot();
    clickCell(2, 0);
    shell.messages.expect(MessageResult::Cancel, "fall off");
    edit().insertEmpty();
    EXPECT_TRUE(document->snapshot() == before);
    shell.messages.expect(MessageResult::Ok, "fall off");
    edit().insertEmpty();
    EXPECT_EQ(image().channelRecord(2), emptyChannelRecord());
    EXPECT_EQ(image().channelRecord(3), second);
    EXPECT_EQ(shell.messages.asked().size(), 2u);
}

TEST_F(ChannelCommandsTest, SettingsListKeepsOneStepWhileItHasTheFocus) {
    showView();
    QComboBox* squelch = list(IDC_SQUELCH);
    squelch->setFocus();
    QTest::keyClick(squelch, Qt::Key_Down);
    QTest::keyClick(squelch, Qt::Key_Down);
    EXPECT_EQ(image().squelchLevel(), 5);
    list(IDC_VOX_LEVEL)->setFocus();
    EXPECT_EQ(document->history().undoCount(), 1u);
    EXPECT_EQ(document->undoStep(), (EditStep{EditKind::SettingsList, 1}));
    edit().undo();
    EXPECT_EQ(image().squelchLevel(), 3);
    EXPECT_EQ(shown(IDC_SQUELCH), "3");
}

}  // namespace
}  // namespace qzm
