// SPDX-License-Identifier: GPL-3.0-or-later
// What the window tells without being asked: the open file and its state, a
// note for each finished command, a warning for damaged values, and names a
// screen reader can read on the toolbar buttons.

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QToolBar>

#include "app/main_frame.h"
#include "app_fixture.h"
#include "editor/qt/zavo_view.h"
#include "grid/grid_ctrl.h"
#include "platform/command_ids.h"
#include "radio/data_file.h"
#include "radio/file_header.h"
#include "radio/radio_image.h"
#include "radio/zavo_doc.h"

namespace qzm::test {
namespace {

class StatusPanesTest : public AppTest {
  protected:
    void SetUp() override {
        writeSettings("[setup]\nlanguage=english\n");
        writeEnglish(
            "IDS_UNTITLED=Nameless\n"
            "IDS_PANE_MODIFIED=%1 (changed)\n"
            "IDS_DONE_OPEN=Opened %1.\nIDS_DONE_SAVE=Saved %1.\n"
            "IDS_DAMAGED_CELL=(!) bad\nIDS_DAMAGED_MARK=(!)\n"
            "IDS_DAMAGED_VALUES=%1 bad values in channel %2\n"
            "IDS_DAMAGED_LINE=Channel %1, %2: %3\n"
            "IDS_TIP_57601=Open a file\n");
        ASSERT_TRUE(start());
    }
    CZavoDoc& doc() { return *app().document(); }
    CMainFrame& frame() { return *app().mainFrame(); }
    QString pane() {
        app().updateDocumentPane();
        return frame().documentPane()->text();
    }
    QString note() { return frame().messagePane()->text(); }

    // A data file whose channel 2 holds a receive frequency with hex digits.
    std::filesystem::path writeDamagedFile(const std::string& name) const {
        FileHeader header;
        header.writeMagic();
        RadioImage image = RadioImage::fresh();
        image.setFrequency(2, ChannelSide::Receive, {0x81, 0x45, 0xe4, 0x3d});
        image.setFrequency(2, ChannelSide::Transmit, {0x00, 0x00, 0x60, 0x44});
        EXPECT_TRUE(storeDataFile(file(name), header, image).ok()) << name;
        return file(name);
    }
};

TEST_F(StatusPanesTest, PaneFollowsTheFileAndItsStateThroughOpenEditAndSave) {
    EXPECT_EQ(pane(), "Nameless");
    const auto data = writeDamagedFile("damaged.836");
    const auto before = readBytes(data);

    // Opening warns once and changes nothing.
    messages_.expect(MessageResult::Ok, "1 bad values in channel 2");
    ASSERT_TRUE(app().openDocumentFile(data));
    ASSERT_EQ(messages_.asked().size(), 1u);
    EXPECT_NE(messages_.asked()[0].text.find("Channel 2, "), std::string::npos);
    EXPECT_NE(messages_.asked()[0].text.find("81 45 E4 3D"), std::string::npos);
    EXPECT_FALSE(doc().IsModified());
    EXPECT_EQ(pane(), "damaged.836");
    EXPECT_EQ(note(), "Opened damaged.836.");
    EXPECT_EQ(app().view()->grid()->cellText(2, 1), "(!) bad");
    EXPECT_EQ(std::vector<std::uint8_t>(doc().image().bytes.begin(), doc().image().bytes.end()),
              std::vector<std::uint8_t>(before.begin() + 48, before.end()));

    doc().image().setFrequencyText(3, ChannelSide::Receive, "446.1");
    doc().SetModifiedFlag(true);
    EXPECT_EQ(pane(), "damaged.836 (changed)");

    dialogs_.expect(FileDialogMode::Save, file("kept.836"));
    EXPECT_TRUE(frame().runCommand(ID_FILE_SAVE_AS));
    EXPECT_EQ(pane(), "kept.836");
    EXPECT_EQ(note(), "Saved kept.836.");
    // The damaged bytes travel into the new file unchanged.
    const auto saved = readBytes(file("kept.836"));
    ASSERT_EQ(saved.size(), 4144u);
    EXPECT_EQ(saved[48 + 32 + 3], 0x3d);
    EXPECT_EQ(saved[48 + 32 + 2], 0xe4);
}

TEST_F(StatusPanesTest, ToolbarButtonsCarryNamesAScreenReaderReads) {
    QAction* open = frame().toolbarAction(ID_FILE_OPEN);
    ASSERT_NE(open, nullptr);
    QWidget* button = frame().toolBar()->widgetForAction(open);
    ASSERT_NE(button, nullptr);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Open a file");
    for (QAction* action : frame().toolBar()->actions()) {
        if (action->isSeparator()) {
            continue;
        }
        QWidget* each = frame().toolBar()->widgetForAction(action);
        ASSERT_NE(each, nullptr);
        EXPECT_FALSE(
            QAccessible::queryAccessibleInterface(each)->text(QAccessible::Name).isEmpty());
    }
    // The note pane is a label whose name is its text.
    app().showStatusMessage("500 is above the band: 470.00000 kept");
    QAccessibleInterface* notePane = QAccessible::queryAccessibleInterface(frame().messagePane());
    ASSERT_NE(notePane, nullptr);
    EXPECT_EQ(notePane->text(QAccessible::Name), "500 is above the band: 470.00000 kept");
}

TEST_F(StatusPanesTest, TheTitleBarStaysOnAScreenSmallerThanTheWindow) {
    CMainFrame& window = *app().mainFrame();
    const QRect available = window.screen()->availableGeometry();
    // Taller than the screen, as the classic 900 by 650 is on a 1024 by 600
    // netbook: the window hangs off the bottom only.
    window.resize(window.width(), available.height() + 100);
    window.centreOnScreen();
    EXPECT_GT(window.frameGeometry().height(), available.height());
    EXPECT_GE(window.frameGeometry().top(), available.top());
}

}  // namespace
}  // namespace qzm::test
