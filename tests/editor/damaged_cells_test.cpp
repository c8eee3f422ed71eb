// SPDX-License-Identifier: GPL-3.0-or-later
// Values the radio cannot use, editors left unchanged, repairs told in the
// status bar, and the guarded band list: nothing changes without a word.

#include <QAbstractItemView>
#include <QApplication>
#include <QWheelEvent>
#include <string>
#include <vector>

#include "channel_values.h"
#include "editor/qt/floating_editors.h"
#include "editor_fixture.h"
#include "grid/grid_ctrl.h"
#include "radio/value_codecs.h"

namespace qzm {
namespace {

using test::CloseBy;
using test::EditorTest;
using test::kRx;
using test::kTx;

class DamagedCellsTest : public EditorTest {
  protected:
    CGridCtrl* grid() const { return view->grid(); }
    QString cell(int row, int col) const { return grid()->cellText(row, col); }
    QWidget* focused() const { return QApplication::focusWidget(); }

    void clickCell(int row, int col) {
        showView();
        QRect rect;
        ASSERT_TRUE(grid()->cellRect(row, col, &rect));
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, rect.center());
    }

    void close(QWidget* editor, CloseBy how) {
        switch (how) {
            case CloseBy::Escape:
                QTest::keyClick(editor, Qt::Key_Escape);
                break;
            case CloseBy::Enter:
                QTest::keyClick(editor, Qt::Key_Return);
                break;
            case CloseBy::ClickElsewhere:
                list(IDC_SQUELCH)->setFocus();
                break;
        }
    }

    // Channel 2 damaged digits, 3 off the channel step with an unlisted tone,
    // 4 outside the band, 5 a transmit frequency without a receive one.
    void loadOddImage() {
        image().setFrequency(2, kRx, {0x81, 0x45, 0xe4, 0x3d});
        image().setFrequency(2, kTx, {0x81, 0x45, 0xe4, 0x3d});
        image().setFrequency(3, kRx, {0x00, 0x07, 0x60, 0x44});  // 446.00700
        image().setFrequency(3, kTx, {0x00, 0x07, 0x60, 0x44});
        image().setTone(3, kRx, parseTone("88.0"));
        image().setFrequencyText(4, kRx, "146.5125");
        image().setFrequencyText(4, kTx, "146.5125");
        image().setFrequencyText(5, kTx, "446.1");
        document->onImageReplaced();
        document->SetModifiedFlag(false);
    }

    std::string lastNote() const {
        return shell.statusMessages.empty() ? std::string() : shell.statusMessages.back();
    }
};

TEST_F(DamagedCellsTest, DamagedValuesAreMarkedExplainedAndAnnouncedOnce) {
    initialUpdate();
    loadOddImage();
    EXPECT_EQ(cell(2, 1), "(!) damaged");
    EXPECT_EQ(cell(2, 3), "(!) damaged");
    EXPECT_EQ(cell(3, 1), "446.00700");  // off the step, but a value the radio holds
    EXPECT_EQ(cell(3, 2), "(!) 88.0");
    EXPECT_EQ(cell(4, 1), "146.51250");
    EXPECT_EQ(cell(5, 3), "(!) 446.10000");
    EXPECT_TRUE(view->damagedCellToolTip(2, 1).contains("81 45 E4 3D"));
    EXPECT_TRUE(view->damagedCellToolTip(3, 1).isEmpty());

    shell.messages.expect(MessageResult::Ok, "4 values in channel 2, 3, 5 cannot be used");
    EXPECT_TRUE(view->warnOfDamagedValues());
    ASSERT_EQ(shell.messages.asked().size(), 1u);
    const std::string& text = shell.messages.asked().front().text;
    EXPECT_NE(text.find("Channel 2, RX Freq (MHz): stored 81 45 E4 3D"), std::string::npos);
    EXPECT_EQ(shell.messages.asked().front().style.icon, MessageIcon::Exclamation);

    image() = RadioImage::fresh();
    document->onImageReplaced();
    EXPECT_FALSE(view->warnOfDamagedValues());
    EXPECT_EQ(shell.messages.asked().size(), 1u);
}

TEST_F(DamagedCellsTest, EveryEditorLeftUnchangedKeepsEveryByte) {
    initialUpdate();
    loadOddImage();
    const std::vector<std::pair<int, int>> cells = {
        {2, 1}, {2, 2}, {2, 3}, {3, 1}, {3, 2}, {3, 3}, {4, 1}, {4, 3}, {4, 6}, {5, 1},
    };
    for (const auto& [row, col] : cells) {
        for (const CloseBy how : {CloseBy::Escape, CloseBy::Enter, CloseBy::ClickElsewhere}) {
            const RadioImage before = image();
            const QString shownBefore = cell(row, col);
            clickCell(row, col);
            QWidget* editor = focused();
            ASSERT_TRUE(editor == view->frequencyEdit() || editor == view->tonePicker() ||
                        editor == view->listPicker())
                << row << "," << col;
            close(editor, how);
            EXPECT_FALSE(editor->isVisible());
            EXPECT_EQ(image().bytes, before.bytes) << row << "," << col << " " << int(how);
            EXPECT_FALSE(document->IsModified()) << row << "," << col << " " << int(how);
            EXPECT_EQ(cell(row, col), shownBefore) << row << "," << col;
        }
    }
    // A damaged value opens empty; the value the user types replaces it.
    clickCell(2, 1);
    EXPECT_EQ(view->frequencyEdit()->text(), "");
    QTest::keyClicks(view->frequencyEdit(), "446.5");
    QTest::keyClick(view->frequencyEdit(), Qt::Key_Return);
    EXPECT_EQ(image().frequencyText(2, kRx), "446.50000");
    EXPECT_EQ(cell(2, 1), "446.50000");
    EXPECT_TRUE(document->IsModified());
}

TEST_F(DamagedCellsTest, EveryRepairOfATypedFrequencyIsTold) {
    initialUpdate();
    image().setFrequencyText(1, kRx, "446.00625");
    image().setFrequencyText(1, kTx, "446.00625");
    document->onImageReplaced();
    struct Case {
        const char* typed;
        const char* stored;
        const char* note;  // empty: nothing to tell
    };
    // The default band is 400 to 470 MHz.
    const Case cases[] = {
        {"500", "470.00000", "500 is above the band: 470.00000 kept"},
        {"3", "400.00000", "3 is below the band: 400.00000 kept"},
        {"446.007", "446.00625", "446.007 is off the channel step: 446.00625 kept"},
        {"446.5", "446.50000", ""},
    };
    for (const Case& c : cases) {
        clickCell(1, 1);
        EXPECT_EQ(lastNote(), "");  // the next edit clears the note
        QTest::keyClicks(view->frequencyEdit(), c.typed);
        QTest::keyClick(view->frequencyEdit(), Qt::Key_Return);
        EXPECT_EQ(image().frequencyText(1, kRx), c.stored) << c.typed;
        EXPECT_EQ(lastNote(), c.note) << c.typed;
    }
    // Pasted text bypasses the key filter; text that is no number is refused,
    // not turned into the lower band limit.
    const RadioImage before = image();
    document->SetModifiedFlag(false);
    clickCell(1, 1);
    view->frequencyEdit()->setText("abc-4x");
    QTest::keyClick(view->frequencyEdit(), Qt::Key_Return);
    EXPECT_EQ(image().bytes, before.bytes);
    EXPECT_FALSE(document->IsModified());
    EXPECT_EQ(cell(1, 1), "446.50000");
    EXPECT_EQ(lastNote(), "\"abc-4x\" is not a frequency: the cell is unchanged");
}

TEST_F(DamagedCellsTest, ChoosingTheStoredFlagAgainChangesNothing) {
    initialUpdate();
    image().setFrequencyText(1, kRx, "446.00625");
    document->onImageReplaced();
    document->SetModifiedFlag(false);
    const RadioImage before = image();
    clickCell(1, 6);  // Wide
    ListPicker* picker = view->listPicker();
    picker->showPopup();
    picker->view()->setCurrentIndex(picker->model()->index(0, 0));
    QTest::keyClick(picker->view(), Qt::Key_Return);
    QTest::keyClick(picker, Qt::Key_Escape);
    EXPECT_EQ(image().bytes, before.bytes);
    EXPECT_FALSE(document->IsModified());
}

TEST_F(DamagedCellsTest, StrayKeysAndTheWheelOnTheBandListChangeNothing) {
    initialUpdate();
    image().setFrequencyText(1, kRx, "446.00625");
    document->onImageReplaced();
    showView();
    QComboBox* band = list(IDC_BAND_LIST);
    band->setFocus();
    const int index = band->currentIndex();
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_End, Qt::Key_Home,
                              Qt::Key_4, Qt::Key_U}) {
        QTest::keyClick(band, key);
        EXPECT_EQ(band->currentIndex(), index) << key;
    }
    const QPoint centre = band->rect().center();
    QWheelEvent wheel(centre, band->mapToGlobal(centre), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(band, &wheel);
    EXPECT_EQ(band->currentIndex(), index);
    EXPECT_TRUE(shell.messages.asked().empty());
    EXPECT_FALSE(document->IsModified());
    EXPECT_EQ(image().frequencyText(1, kRx), "446.00625");

    // Enter opens the list; the choice is made there.
    QTest::keyClick(band, Qt::Key_Return);
    EXPECT_TRUE(band->view()->isVisible());
    band->hidePopup();
}

}  // namespace
}  // namespace qzm
