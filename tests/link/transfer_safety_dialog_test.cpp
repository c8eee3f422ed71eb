// SPDX-License-Identifier: GPL-3.0-or-later
// Backups and the check after a write in the window: the transfer dialog and
// File > Open Backup against the emulator.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "link_dialog_fixture.h"
#include "platform/command_ids.h"
#include "platform/qt/dialog_builder.h"
#include "radio/data_file.h"
#include "safety/backup_settings.h"
#include "safety/backup_store.h"
#include "test_images.h"

namespace qzm::test {
namespace {

constexpr const char* kChecked = "Checked: the radio holds exactly the data written.";

RadioImage patterned() {
    RadioImage image = RadioImage::fresh();
    for (std::size_t i = 0x10; i < 0x100; ++i) {
        image.bytes[i] = static_cast<std::uint8_t>(i * 7);
    }
    return image;
}

class TransferSafetyTest : public LinkDialogTest {
  protected:
    void startOn(const sim::RadioEmulator& emulator, const std::string& more = {}) {
        writePorts("com=1\nsearchcom=0\n" + more, {{1, emulator.slavePath()}});
        writeEnglish(
            "IDS_READDATA=Read from Radio\nIDS_WRITEDATA=Write to Radio\n"
            "IDS_PROMPT_READ=Reading\nIDS_PROMPT_WRITE=Writing\nIDS_ERROR=Error\n"
            "IDS_PROMPT_WRITEFAIL=Writing failed.\n"
            "Menu_File_Open_Backup=Open &Backup...\nIDS_OPEN_BACKUP=Open Backup\n"
            "IDS_NO_BACKUPS=No backup yet in:\\n\n"
            "IDS_BACKUP_NOT_STORED=No backup could be kept, so nothing was written.\\n\n"
            "IDS_BACKUP_READ_NOT_STORED=Read, but no backup:\\n\n"
            "IDS_PROMPT_BACKUP=Keeping a backup\nIDS_PROMPT_VERIFY=Checking\n"
            "IDS_VERIFY_AFTER_WRITE=Check after writing\n"
            "IDS_VERIFY_OK=" +
            std::string(kChecked) +
            "\nIDS_VERIFY_MISMATCH=The check failed.\\nBlocks that differ: %1.\n"
            "IDS_CLOSE=Close\n"
            "IDS_DAMAGED_VALUES=%1 values in channel %2 cannot be used as stored\n");
        ASSERT_TRUE(start());
    }
    std::filesystem::path folder() const { return dir() / "data" / "qzm836" / "backups"; }
    std::vector<BackupEntry> backups() const { return BackupStore(folder()).list(); }

    static QCheckBox* verifyBox(const QWidget& dialog) {
        return findControl<QCheckBox>(&dialog, TransferDialog::kIdcVerifyAfterWrite);
    }
    static QPushButton* button(const QWidget& dialog, int id) {
        return findControl<QPushButton>(&dialog, id);
    }
    static QString textLine(const QWidget& dialog) {
        return findControl<QLabel>(&dialog, 1010)->text();
    }
    static bool waitForText(const QWidget& dialog, const QString& text) {
        return QTest::qWaitFor([&] { return textLine(dialog) == text; }, 20000);
    }
    static bool waitForOk(const QWidget& dialog) {
        return QTest::qWaitFor([&] { return button(dialog, IDOK)->isEnabled(); }, 20000);
    }
};

TEST_F(TransferSafetyTest, ReadKeepsABackupOfWhatArrivedAndItOpensWithoutAPath) {
    auto emulator = radio(fast(patterned()));
    startOn(*emulator);
    messages_.expect(MessageResult::Ok, "No backup yet in:\n" + folder().string());
    ASSERT_TRUE(app().mainFrame()->runCommand(ID_FILE_OPEN_BACKUP));

    auto dialog = transferDialog(kDirectionRead);
    EXPECT_FALSE(verifyBox(*dialog)->isVisible());  // reads have nothing to check
    QTest::mouseClick(button(*dialog, IDOK), Qt::LeftButton);
    ASSERT_TRUE(waitClosed(*dialog));
    const RadioImage read = app().document()->image();
    ASSERT_TRUE(sameSpan(read, patterned()));

    const auto kept = backups();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].kind, BackupKind::Read);
    const LoadedDataFile kept0 = loadDataFile(kept[0].path);
    ASSERT_EQ(kept0.status, LoadStatus::Loaded);
    EXPECT_EQ(kept0.contents.image.bytes, read.bytes);  // the whole image, as the document has it

    // Edit, save elsewhere, then open the backup: it comes back without a file name.
    app().document()->image().setSquelchLevel(1);
    app().document()->SetModifiedFlag();
    ASSERT_TRUE(app().document()->saveAs(file("mine.836")).done());
    dialogs_.expect(FileDialogMode::Open, kept[0].path);
    // The pattern is no sound channel data: the backup says so once, unchanged.
    messages_.expect(MessageResult::Ok, "cannot be used as stored");
    ASSERT_TRUE(app().mainFrame()->runCommand(ID_FILE_OPEN_BACKUP));
    ASSERT_EQ(dialogs_.asked().size(), 1u);
    EXPECT_EQ(dialogs_.asked()[0].initialPath, folder());
    EXPECT_EQ(dialogs_.asked()[0].title, "Open Backup");
    EXPECT_TRUE(dialogs_.asked()[0].newestFirst);
    EXPECT_EQ(app().document()->image().bytes, read.bytes);
    EXPECT_TRUE(app().document()->pathName().empty());
    EXPECT_FALSE(app().document()->IsModified());
}

TEST_F(TransferSafetyTest, CheckedWriteShowsItsResultAndTheBoxIsRemembered) {
    const RadioImage before = patterned();
    auto emulator = radio(fast(before));
    startOn(*emulator);
    app().document()->image().setSquelchLevel(4);

    auto dialog = transferDialog(kDirectionWrite);
    QCheckBox* box = verifyBox(*dialog);
    ASSERT_TRUE(box->isVisible());
    EXPECT_EQ(box->text(), QString("Check after writing"));
    EXPECT_FALSE(box->isChecked());
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    EXPECT_TRUE(readVerifyAfterWrite(settingsPath()));

    QTest::mouseClick(button(*dialog, IDOK), Qt::LeftButton);
    EXPECT_FALSE(box->isEnabled());
    ASSERT_TRUE(waitForText(*dialog, kChecked)) << textLine(*dialog).toStdString();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(button(*dialog, IDOK)->isEnabled());
    EXPECT_EQ(button(*dialog, IDCANCEL)->text(), QString("Close"));
    EXPECT_TRUE(sameSpan(emulator->image(), app().document()->image()));
    EXPECT_FALSE(app().port().isOpen());

    const auto kept = backups();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].kind, BackupKind::BeforeWrite);
    EXPECT_TRUE(sameSpan(loadDataFile(kept[0].path).contents.image, before));

    QTest::mouseClick(button(*dialog, IDCANCEL), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    // The next write dialog starts with the box as it was left.
    EXPECT_TRUE(verifyBox(*transferDialog(kDirectionWrite))->isChecked());
}

TEST_F(TransferSafetyTest, AMismatchShowsAStopBoxAndAllowsAnotherWrite) {
    sim::EmulatorConfig config = fast();
    config.corruptBlock = 9;
    auto emulator = radio(config);
    startOn(*emulator, "[backup]\nverify=1\n");
    app().document()->image() = patterned();

    // Cancel in the box: the radio is left as it is (OK would write again at once).
    messages_.expect(MessageResult::Cancel, "Blocks that differ: 9 (0x048).");
    auto dialog = transferDialog(kDirectionWrite);
    EXPECT_TRUE(verifyBox(*dialog)->isChecked());
    QTest::mouseClick(button(*dialog, IDOK), Qt::LeftButton);
    ASSERT_TRUE(waitForOk(*dialog));
    EXPECT_EQ(textLine(*dialog), QString("The check failed."));
    ASSERT_EQ(messages_.asked().size(), 1u);
    EXPECT_EQ(messages_.asked()[0].style.icon, MessageIcon::Stop);
    EXPECT_TRUE(verifyBox(*dialog)->isEnabled());
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(TransferSafetyTest, NoWriteWhenTheBackupCannotBeKept) {
    auto emulator = radio(fast(patterned()));
    startOn(*emulator);
    writeFile("data", "a file where the data folder would be");
    app().document()->image() = RadioImage::fresh();

    messages_.expect(MessageResult::Ok, "No backup could be kept, so nothing was written.\n");
    auto dialog = transferDialog(kDirectionWrite);
    QTest::mouseClick(button(*dialog, IDOK), Qt::LeftButton);
    ASSERT_TRUE(waitForOk(*dialog));
    EXPECT_EQ(textLine(*dialog), QString("No backup could be kept, so nothing was written."));
    EXPECT_NE(messages_.asked().at(0).text.find("data"), std::string::npos);
    EXPECT_EQ(emulator->completedWrites(), 0);
    EXPECT_EQ(emulator->image().bytes, patterned().bytes);

    // Switched off in the settings, the write goes ahead without one.
    const auto settings = readBytes(settingsPath());
    writeSettings(std::string(settings.begin(), settings.end()) + "[backup]\nenabled=0\n");
    QTest::mouseClick(button(*dialog, IDOK), Qt::LeftButton);
    ASSERT_TRUE(waitClosed(*dialog));
    EXPECT_EQ(emulator->completedWrites(), 1);
}

}  // namespace
}  // namespace qzm::test
