// SPDX-License-Identifier: GPL-3.0-or-later
// Every end of a write in the window says what the radio holds, in whole lines that fit,
// in the shipped languages: the transfer dialog against the emulator.
#include <QApplication>
#include <QCheckBox>
#include <QFont>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "lang/text_lookup.h"
#include "link_dialog_fixture.h"
#include "platform/command_ids.h"
#include "platform/qt/dialog_builder.h"
#include "safety/backup_store.h"

namespace qzm::test {
namespace {

constexpr int kTextLine = 1010;

std::filesystem::path shippedLanguage(const char* name) {
    return std::filesystem::path(QZM_TEST_SOURCE_DIR) / "res" / name;
}

QString shipped(const char* key) {
    return QString::fromStdString(lookupText(key));
}

class WriteEndTest : public LinkDialogTest {
  protected:
    // The application on COM1 = `emulator`, with the shipped English texts.
    void startOn(const sim::RadioEmulator& emulator, const std::string& more = {}) {
        setAnswerTimeoutScaleForTests(3);
        writePorts("com=1\nsearchcom=0\n" + more, {{1, emulator.slavePath()}});
        writeEnglish();
        ASSERT_TRUE(start());
        setLanguagePath(shippedLanguage("english.lang"));
    }
    // A document whose channels all differ from what the emulator holds.
    void documentDiffersEverywhere() {
        RadioImage image = RadioImage::fresh();
        for (std::size_t i = 0; i < kRadioTransferSize; ++i) {
            image.bytes[i] = static_cast<std::uint8_t>(i * 7 + 1);
        }
        app().document()->image() = image;
    }
    static QPushButton* button(const QWidget& dialog, int id) {
        return findControl<QPushButton>(&dialog, id);
    }
    static QString textLine(const QWidget& dialog) {
        return findControl<QLabel>(&dialog, kTextLine)->text();
    }
    static bool waitForOk(const QWidget& dialog) {
        return QTest::qWaitFor([&] { return button(dialog, IDOK)->isEnabled(); }, 30000);
    }
    std::vector<BackupEntry> backups() const {
        return BackupStore(dir() / "data" / "qzm836" / "backups").list();
    }
};

TEST_F(WriteEndTest, CancelInEachPhaseSaysWhatTheRadioHoldsBeforeTheDialogCloses) {
    struct Case {
        const char* name;
        const char* phaseKey;  // cancel once this phase's text shows
        bool verify;
        const char* holdsKey;  // what the dialog then says the radio holds
    };
    const Case cases[] = {
        {"backup read", "IDS_PROMPT_BACKUP", false, "IDS_WRITE_NOTHING"},
        {"write", "IDS_PROMPT_WRITE_CHANGED", false, nullptr},  // part of the image
        {"check", "IDS_PROMPT_VERIFY", true, "IDS_WRITE_UNCHECKED"},
    };
    for (const Case& c : cases) {
        sim::EmulatorConfig config = fast();
        config.answerDelayMs = 3;  // long enough to catch every phase
        auto emulator = radio(config);
        startOn(*emulator, c.verify ? "[backup]\nverify=1\n" : "");
        documentDiffersEverywhere();
        auto dialog = transferDialog(kDirectionWrite);
        QTest::mouseClick(button(*dialog, IDOK), Qt::LeftButton);
        // The first words of the phase, without its numbers.
        const QString phase = shipped(c.phaseKey).section('%', 0, 0).trimmed();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return textLine(*dialog).startsWith(phase) && textLine(*dialog).endsWith("%"); },
            30000))
            << c.name << ": " << textLine(*dialog).toStdString();
        QTest::mouseClick(button(*dialog, IDCANCEL), Qt::LeftButton);

        ASSERT_TRUE(dialog->isVisible()) << c.name;
        const QString said = textLine(*dialog);
        EXPECT_TRUE(said.startsWith(shipped("IDS_WRITE_CANCELLED"))) << said.toStdString();
        const auto job = dialog->job();
        ASSERT_TRUE(job->finished.load()) << c.name;
        if (c.holdsKey != nullptr) {
            EXPECT_TRUE(said.contains(shipped(c.holdsKey))) << c.name << ": " << said.toStdString();
            EXPECT_FALSE(button(*dialog, TransferDialog::kIdcOpenBackup)->isVisible()) << c.name;
        } else {
            const int written = job->blocksWritten.load();
            EXPECT_GT(written, 0) << c.name;
            EXPECT_LT(written, 124) << c.name;
            EXPECT_TRUE(said.contains(
                shipped("IDS_WRITE_PARTIAL").arg(written).arg(job->blocksToWrite.load())))
                << said.toStdString();
            // The backup that restores the old memory is named, and a button opens it.
            ASSERT_EQ(backups().size(), 1u) << c.name;
            EXPECT_TRUE(said.contains(QString::fromStdString(backups()[0].path.string())))
                << said.toStdString();
            EXPECT_TRUE(button(*dialog, TransferDialog::kIdcOpenBackup)->isVisible());
        }
        EXPECT_EQ(button(*dialog, IDCANCEL)->text(), shipped("IDS_CLOSE")) << c.name;
        EXPECT_TRUE(button(*dialog, IDOK)->isEnabled()) << c.name;
        // The second press closes.
        QTest::mouseClick(button(*dialog, IDCANCEL), Qt::LeftButton);
        EXPECT_FALSE(dialog->isVisible()) << c.name;
        dialog.reset();
        std::filesystem::remove_all(dir() / "data");
    }
}

TEST_F(WriteEndTest, ABlockFailingHalfWayNamesThePartAndTheBackupThatRestores) {
    struct Case {
        const char* name;
        int nakBlock;
        int hangUpAfter;
    };
    const Case cases[] = {{"refused block", 40, -1}, {"hang-up", -1, 40}};
    for (const Case& c : cases) {
        sim::EmulatorConfig config = fast();
        config.nakBlock = c.nakBlock;
        auto emulator = radio(config);
        startOn(*emulator);
        documentDiffersEverywhere();
        // The backup read passes; the hang-up comes while the blocks are written.
        if (c.hangUpAfter >= 0) {
            sim::EmulatorConfig hanging = fast();
            hanging.hangUpAfterBlock = c.hangUpAfter;
            emulator = radio(hanging);
            writePorts("com=1\nsearchcom=0\n[transfer]\nallblocks=1\n[backup]\nenabled=0\n",
                       {{1, emulator->slavePath()}});
        }
        auto dialog = transferDialog(kDirectionWrite);
        QTest::mouseClick(button(*dialog, IDOK), Qt::LeftButton);
        ASSERT_TRUE(waitForOk(*dialog)) << c.name;
        const QString said = textLine(*dialog);
        EXPECT_TRUE(said.startsWith(shipped("IDS_PROMPT_WRITEFAIL"))) << said.toStdString();
        const auto job = dialog->job();
        EXPECT_EQ(job->status.load(), StatusWriteFailed) << c.name;
        EXPECT_TRUE(said.contains(shipped("IDS_WRITE_PARTIAL").arg(41).arg(124)) ||
                    said.contains(shipped("IDS_WRITE_PARTIAL").arg(40).arg(124)))
            << c.name << ": " << said.toStdString();
        const bool backedUp = c.hangUpAfter < 0;
        EXPECT_EQ(button(*dialog, TransferDialog::kIdcOpenBackup)->isVisible(), backedUp) << c.name;
        if (backedUp) {
            ASSERT_EQ(backups().size(), 1u);
            QTest::mouseClick(button(*dialog, TransferDialog::kIdcOpenBackup), Qt::LeftButton);
            EXPECT_FALSE(dialog->isVisible());
            ASSERT_TRUE(dialog->backupToOpen().has_value());
            EXPECT_EQ(*dialog->backupToOpen(), backups()[0].path);
        }
        dialog.reset();
        std::filesystem::remove_all(dir() / "data");
    }
}

TEST_F(WriteEndTest, PhasesAreSaidAsTheyAreAndSuccessLeavesALine) {
    auto emulator = radio(fast());
    startOn(*emulator);
    documentDiffersEverywhere();
    auto dialog = transferDialog(kDirectionWrite);
    QTest::mouseClick(button(*dialog, IDOK), Qt::LeftButton);
    // The first words of a write are the backup read's, and the bar starts empty.
    EXPECT_EQ(textLine(*dialog), shipped("IDS_PROMPT_BACKUP"));
    EXPECT_EQ(findControl<QProgressBar>(dialog.get(), 1009)->value(), 0);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return textLine(*dialog) == shipped("IDS_WRITE_DONE"); }, 30000))
        << textLine(*dialog).toStdString();
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_TRUE(waitClosed(*dialog));
    EXPECT_EQ(dialog->result(), TransferDialog::kEndedByItself);

    // The same image again: nothing to send, and the dialog says so.
    dialog = transferDialog(kDirectionWrite);
    QTest::mouseClick(button(*dialog, IDOK), Qt::LeftButton);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return textLine(*dialog) == shipped("IDS_WRITE_UNCHANGED"); }, 30000))
        << textLine(*dialog).toStdString();
    EXPECT_EQ(dialog->job()->blocksToWrite.load(), 0);
    ASSERT_TRUE(waitClosed(*dialog));

    // A read says it is done too.
    dialog = transferDialog(kDirectionRead);
    QTest::mouseClick(button(*dialog, IDOK), Qt::LeftButton);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return textLine(*dialog) == shipped("IDS_READ_DONE"); }, 30000))
        << textLine(*dialog).toStdString();
    ASSERT_TRUE(waitClosed(*dialog));
}

TEST_F(WriteEndTest, ASilentRadioSaysNothingWasWritten) {
    sim::EmulatorConfig config = fast();
    config.silent = true;
    auto emulator = radio(config);
    startOn(*emulator);
    messages_.expect(MessageResult::Ok, lookupText("IDS_WRITE_NOTHING"));
    auto dialog = transferDialog(kDirectionWrite);
    QTest::mouseClick(button(*dialog, IDOK), Qt::LeftButton);
    ASSERT_TRUE(waitClosed(*dialog));
    ASSERT_EQ(messages_.asked().size(), 1u);
    EXPECT_NE(messages_.asked()[0].text.find(lookupText("IDS_ERROR_PORTCONN")), std::string::npos);
}

TEST_F(WriteEndTest, TheMismatchBoxOkWritesAgain) {
    sim::EmulatorConfig config = fast();
    config.corruptBlock = 9;
    config.corruptOnce = true;
    auto emulator = radio(config);
    startOn(*emulator, "[backup]\nverify=1\n");
    documentDiffersEverywhere();
    messages_.expect(MessageResult::Ok, "9 (0x048)");
    auto dialog = transferDialog(kDirectionWrite);
    QTest::mouseClick(button(*dialog, IDOK), Qt::LeftButton);
    // OK in the box started the second write, which sends the one block that differs.
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return textLine(*dialog) == shipped("IDS_VERIFY_OK"); }, 30000))
        << textLine(*dialog).toStdString();
    ASSERT_EQ(messages_.asked().size(), 1u);
    EXPECT_EQ(messages_.asked()[0].style.buttons, MessageButtons::OkCancel);
    EXPECT_EQ(dialog->job()->writeList, std::vector<int>{9});
    EXPECT_EQ(emulator->image().bytes[0x48], app().document()->image().bytes[0x48]);
}

TEST_F(WriteEndTest, TheChineseRefusalNamesTheFileErrorInChinese) {
    auto emulator = radio(fast());
    startOn(*emulator);
    setLanguagePath(shippedLanguage("chinese.lang"));
    // A file stands where the backup folder would go.
    writeFile("data", "in the way");
    messages_.expect(MessageResult::Ok);
    auto dialog = transferDialog(kDirectionWrite);
    QTest::mouseClick(button(*dialog, IDOK), Qt::LeftButton);
    ASSERT_TRUE(waitForOk(*dialog));
    ASSERT_EQ(messages_.asked().size(), 1u);
    const std::string& text = messages_.asked()[0].text;
    EXPECT_NE(text.find(lookupText("IDS_BACKUP_NOT_STORED")), std::string::npos) << text;
    EXPECT_NE(text.find("无法创建文件夹“"), std::string::npos) << text;
    EXPECT_NE(text.find(lookupText("IDS_ERRNO_ENOTDIR")), std::string::npos) << text;
    // The system's English words are gone; the path is the only Latin text left.
    EXPECT_EQ(text.find("Cannot"), std::string::npos) << text;
    EXPECT_EQ(text.find("not a folder"), std::string::npos) << text;
    EXPECT_EQ(emulator->completedWrites(), 0);
}

// Every status text of the dialog, in both shipped languages and at twice the font
// size, is shown whole: the text line is as tall as its wrapped text and nothing
// below it overlaps it; the check box's label fits.
TEST_F(WriteEndTest, EveryStatusTextFitsInBothLanguagesAtBothScales) {
    auto emulator = radio(fast());
    startOn(*emulator);
    const char* keys[] = {
        "IDS_PROMPT_BACKUP",        "IDS_BACKUP_READFAIL",  "IDS_BACKUP_NOT_STORED",
        "IDS_PROMPT_WRITE",         "IDS_PROMPT_WRITEFAIL", "IDS_VERIFY_READFAIL",
        "IDS_VERIFY_MISMATCH",      "IDS_VERIFY_OK",        "IDS_WRITE_UNCHANGED",
        "IDS_WRITE_NOTHING",        "IDS_WRITE_PARTIAL",    "IDS_WRITE_BACKUP_HINT",
        "IDS_WRITE_DONE",           "IDS_WRITE_UNCHECKED",  "IDS_PROMPT_VERIFY",
        "IDS_PROMPT_WRITE_CHANGED", "IDS_READ_DONE",
    };
    const QFont normal = QApplication::font();
    for (const char* language : {"english.lang", "chinese.lang"}) {
        setLanguagePath(shippedLanguage(language));
        for (const int scale : {1, 2}) {
            QFont font = normal;
            font.setPointSizeF(normal.pointSizeF() * scale);
            QApplication::setFont(font);
            auto dialog = transferDialog(kDirectionWrite);
            auto* line = findControl<QLabel>(dialog.get(), kTextLine);
            auto* bar = findControl<QProgressBar>(dialog.get(), 1009);
            auto* box = findControl<QCheckBox>(dialog.get(), TransferDialog::kIdcVerifyAfterWrite);
            const std::string where = std::string(language) + " x" + std::to_string(scale);
            EXPECT_LE(box->sizeHint().width(), box->width()) << where;
            EXPECT_LE(box->geometry().right(), dialog->width()) << where;
            for (const char* key : keys) {
                // With long placeholders: a backup path, a block count.
                const QString message = shipped(key)
                                            .replace("%1",
                                                     "/home/someone/.local/share/qzm836/backups/"
                                                     "2026-12-09_12-00-00-before-write.836")
                                            .replace("%2", "124");
                dialog->showText(message);
                const std::string what = where + " " + key;
                EXPECT_GE(line->height(), line->heightForWidth(line->width())) << what;
                EXPECT_LE(line->geometry().bottom(), bar->geometry().top()) << what;
                EXPECT_LE(bar->geometry().bottom(), box->geometry().top()) << what;
                EXPECT_LE(box->geometry().bottom(), button(*dialog, IDOK)->geometry().top())
                    << what;
                EXPECT_LE(button(*dialog, IDCANCEL)->geometry().bottom(), dialog->height()) << what;
                EXPECT_LE(line->geometry().right(), dialog->width()) << what;
            }
            dialog.reset();
        }
        QApplication::setFont(normal);
    }
}

}  // namespace
}  // namespace qzm::test
