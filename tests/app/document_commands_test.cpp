// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <functional>

#include "app/main_frame.h"
#include "app_fixture.h"
#include "editor/qt/zavo_view.h"
#include "grid/grid_ctrl.h"
#include "platform/command_ids.h"
#include "radio/zavo_doc.h"

namespace qzm::test {
namespace {

class DocumentCommandsTest : public AppTest {
  protected:
    void SetUp() override {
        writeSettings("[setup]\nlanguage=english\n");
        writeEnglish();
        ASSERT_TRUE(start());
    }
    CZavoDoc& doc() { return *app().document(); }
    CMainFrame& frame() { return *app().mainFrame(); }
    void run(int id) { EXPECT_TRUE(frame().runCommand(id)) << id; }
    // An opened file, modified afterwards.
    void openModified(const std::filesystem::path& data) {
        doc().SetModifiedFlag(false);
        ASSERT_TRUE(app().openDocumentFile(data));
        doc().image().bytes[0x3E1] = 0x77;
        doc().SetModifiedFlag(true);
    }
    std::uint8_t storedByte(const std::filesystem::path& data, std::size_t imageOffset) {
        const auto bytes = readBytes(data);
        return bytes.size() == 4144 ? bytes[48 + imageOffset] : 0;
    }
};

TEST_F(DocumentCommandsTest, NewAsksToClearAndCancelKeepsEverything) {
    const auto data = writeDataFile("a.836", 0x11);
    ASSERT_TRUE(app().openDocumentFile(data));
    messages_.expect(MessageResult::Cancel, kWarnClear);
    run(ID_FILE_NEW);
    EXPECT_EQ(doc().pathName(), data);
    EXPECT_EQ(doc().image().bytes[0x3E0], 0x11);

    messages_.expect(MessageResult::Ok, kWarnClear);
    run(ID_FILE_NEW);
    EXPECT_TRUE(doc().pathName().empty());
    EXPECT_EQ(doc().image().bytes[0x3E0], 0xFF);
    EXPECT_EQ(messages_.asked().back().style.icon, MessageIcon::Exclamation);
}

TEST_F(DocumentCommandsTest, NewOfAModifiedDocumentAsksToSaveOnceThenToClear) {
    const auto data = writeDataFile("a.836", 0x11);
    struct Case {
        MessageResult saveAnswer;
        bool clearAsked;
        bool fileSaved;
    };
    const Case cases[] = {
        {MessageResult::Cancel, false, false},
        {MessageResult::No, true, false},
        {MessageResult::Yes, true, true},
    };
    for (const Case& c : cases) {
        writeDataFile("a.836", 0x11);
        openModified(data);
        messages_.expect(c.saveAnswer, kAskSave);
        if (c.clearAsked) {
            messages_.expect(MessageResult::Ok, kWarnClear);
        }
        run(ID_FILE_NEW);
        EXPECT_EQ(storedByte(data, 0x3E1) == 0x77, c.fileSaved) << static_cast<int>(c.saveAnswer);
        EXPECT_EQ(doc().IsModified(), !c.clearAsked);
        EXPECT_EQ(messages_.pending(), 0u);
    }
    // The question names the file.
    EXPECT_NE(messages_.asked().front().text.find("a.836"), std::string::npos);
}

TEST_F(DocumentCommandsTest, SaveChangesYesOnANewDocumentAsksForANameAndCancelThereAbandons) {
    doc().SetModifiedFlag(true);
    messages_.expect(MessageResult::Yes, "Save changes to Untitled?");
    dialogs_.expect(FileDialogMode::Save, std::nullopt);
    run(ID_FILE_NEW);
    EXPECT_TRUE(doc().IsModified());
    EXPECT_EQ(messages_.asked().back().caption, kTitleEnglish);

    messages_.expect(MessageResult::Yes, "Untitled").expect(MessageResult::Ok, kWarnClear);
    dialogs_.expect(FileDialogMode::Save, file("named.836"));
    run(ID_FILE_NEW);
    EXPECT_EQ(readBytes(file("named.836")).size(), 4144u);
    EXPECT_FALSE(doc().IsModified());
}

TEST_F(DocumentCommandsTest, OpenUsesTheDataFileFilterAndAsksNoClearQuestion) {
    const auto data = writeDataFile("a.836", 0x22);
    dialogs_.expect(FileDialogMode::Open, std::nullopt);
    run(ID_FILE_OPEN);
    ASSERT_EQ(dialogs_.asked().size(), 1u);
    EXPECT_EQ(dialogs_.asked()[0].filterName, "Radio Program Data Files(*.836)");
    EXPECT_EQ(dialogs_.asked()[0].filterPattern, "*.836");

    dialogs_.expect(FileDialogMode::Open, data);
    run(ID_FILE_OPEN);
    EXPECT_EQ(doc().pathName(), data);
    EXPECT_EQ(doc().image().bytes[0x3E0], 0x22);
    EXPECT_TRUE(messages_.asked().empty());
}

TEST_F(DocumentCommandsTest, OpenOverAModifiedDocumentAsksOnceAndCancelLeavesItAlone) {
    const auto a = writeDataFile("a.836", 0x11);
    const auto b = writeDataFile("b.836", 0x22);
    openModified(a);
    messages_.expect(MessageResult::Cancel, kAskSave);
    EXPECT_FALSE(app().openDocumentFile(b));
    EXPECT_EQ(doc().pathName(), a);
    EXPECT_TRUE(doc().IsModified());
    // The abandoned open leaves no quiet New behind: the next New asks.
    EXPECT_FALSE(app().skipClearPrompt());
    messages_.expect(MessageResult::No, kAskSave);
    EXPECT_TRUE(app().openDocumentFile(b));
    EXPECT_EQ(doc().image().bytes[0x3E0], 0x22);
    EXPECT_EQ(storedByte(a, 0x3E1), 0xFF);  // No: nothing was saved
}

TEST_F(DocumentCommandsTest, RefusedFilesLeaveTheDocumentAndItsChannelsAsTheyWere) {
    writeFile("foreign.836", std::string(4144, 'x'));
    const auto whole = readBytes(writeDataFile("whole.836", 0x44));
    writeFile("short.836", std::string(whole.begin(), whole.begin() + 3000));
    const auto current = writeDataFile("current.836", 0x11);
    QMimeData foreignDrop;
    foreignDrop.setUrls(
        {QUrl::fromLocalFile(QString::fromStdString(file("foreign.836").string()))});
    struct Case {
        const char* name;
        std::function<void()> open;
        const char* message;
    };
    const Case cases[] = {
        {"menu, foreign",
         [&] {
             dialogs_.expect(FileDialogMode::Open, file("foreign.836"));
             run(ID_FILE_OPEN);
         },
         kWarnLoad},
        {"recent list, cut short",
         [&] {
             app().recentFiles().add(QString::fromStdString(file("short.836").string()));
             frame().setRecentFiles(app().recentFiles().entries());
             frame().menuAction(ID_FILE_MRU_FILE1)->trigger();
         },
         kWarnLoadDamaged},
        {"drop, foreign",
         [&] {
             QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &foreignDrop, Qt::LeftButton,
                             Qt::NoModifier);
             static_cast<QObject&>(frame()).event(&drop);
         },
         kWarnLoad},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        openModified(current);
        // As after a radio read: channel 1 shows a frequency.
        doc().setFrequencyText(1, ChannelSide::Receive, "446.00625");
        doc().UpdateAllViews();
        const auto imageBefore = doc().image().bytes;
        messages_.expect(MessageResult::Ok, c.message);
        c.open();
        EXPECT_EQ(messages_.pending(), 0u);
        EXPECT_EQ(messages_.asked().back().style.icon, MessageIcon::Stop);
        EXPECT_EQ(messages_.asked().back().caption, kTitleEnglish);
        EXPECT_EQ(doc().image().bytes, imageBefore);
        EXPECT_EQ(doc().pathName(), current);
        EXPECT_TRUE(doc().IsModified());
        EXPECT_FALSE(app().skipClearPrompt());
        EXPECT_EQ(app().view()->grid()->cellText(1, 1), "446.00625");
    }
    // The refused file never replaced the current one in the recent list.
    EXPECT_EQ(app().recentFiles().entries().front().toStdString(), current.string());
}

TEST_F(DocumentCommandsTest, UnreadableFileIsReportedAndDroppedFromTheRecentList) {
    const auto current = writeDataFile("current.836", 0x11);
    openModified(current);
    messages_.expect(MessageResult::Ok);
    EXPECT_FALSE(app().openDocumentFile(file("missing.836")));
    EXPECT_EQ(messages_.asked().back().style.icon, MessageIcon::Stop);
    EXPECT_EQ(doc().pathName(), current);
    EXPECT_TRUE(doc().IsModified());
}

TEST_F(DocumentCommandsTest, AFileErrorIsWordedInTheWindowsLanguage) {
    writeEnglish(
        "IDS_FILE_CANNOT_OPEN=No way into %1 (%2)\nIDS_FILE_CANNOT_CREATE=Could not make %1 (%2)\n"
        "IDS_ERRNO_ENOENT=gone\nIDS_ERRNO_ENOTDIR=a file in the way\n");
    restart();
    messages_.expect(MessageResult::Ok);
    EXPECT_FALSE(app().openDocumentFile(file("missing.836")));
    EXPECT_EQ(messages_.asked().back().text,
              "No way into " + file("missing.836").string() + " (gone)");

    writeFile("plain", "not a folder");
    dialogs_.expect(FileDialogMode::Save, file("plain") / "x.836");
    messages_.expect(MessageResult::Ok);
    run(ID_FILE_SAVE_AS);
    EXPECT_EQ(messages_.asked().back().text,
              "Could not make " + (file("plain") / "x.836").string() + " (a file in the way)");
}

TEST_F(DocumentCommandsTest, ABackupThatCannotBeOpenedLeavesTheDocumentWithItsFile) {
    const auto current = writeDataFile("current.836", 0x11);
    openModified(current);
    const std::filesystem::path backups = dir() / "data" / "qzm836" / "backups";
    std::filesystem::create_directories(backups);
    const std::filesystem::path cut = backups / "2020-01-01_10-00-00-read.836";
    writeFile("cut.836", "short");
    std::filesystem::rename(file("cut.836"), cut);
    for (const auto& chosen : {cut, backups / "2020-01-02_10-00-00-read.836"}) {
        SCOPED_TRACE(chosen.string());
        dialogs_.expect(FileDialogMode::Open, chosen);
        messages_.expect(MessageResult::Ok);
        run(ID_FILE_OPEN_BACKUP);
        EXPECT_EQ(messages_.asked().back().style.icon, MessageIcon::Stop);
        EXPECT_EQ(doc().pathName(), current);
        EXPECT_TRUE(doc().IsModified());
    }
}

TEST_F(DocumentCommandsTest, FileDialogsStartInTheDocumentsFolderElseTheLastElseHome) {
    // A new document and nothing used yet: home, and Save As suggests a name there.
    dialogs_.expect(FileDialogMode::Open, std::nullopt);
    run(ID_FILE_OPEN);
    EXPECT_EQ(dialogs_.asked().back().initialPath, QDir::homePath().toStdString());
    dialogs_.expect(FileDialogMode::Save, std::nullopt);
    run(ID_FILE_SAVE_AS);
    EXPECT_EQ(dialogs_.asked().back().initialPath,
              std::filesystem::path(QDir::homePath().toStdString()) / "Untitled.836");

    // An opened document: its folder, and Save As offers its own name.
    std::filesystem::create_directory(file("radios"));
    const auto data = writeDataFile("radios/a.836", 0x11);
    ASSERT_TRUE(app().openDocumentFile(data));
    dialogs_.expect(FileDialogMode::Open, std::nullopt);
    run(ID_FILE_OPEN);
    EXPECT_EQ(dialogs_.asked().back().initialPath, file("radios"));
    dialogs_.expect(FileDialogMode::Save, std::nullopt);
    run(ID_FILE_SAVE_AS);
    EXPECT_EQ(dialogs_.asked().back().initialPath, data);

    // After a New, and after a restart: the folder last used.
    messages_.expect(MessageResult::Ok, kWarnClear);
    run(ID_FILE_NEW);
    restart();
    dialogs_.expect(FileDialogMode::Open, std::nullopt);
    run(ID_FILE_OPEN);
    EXPECT_EQ(dialogs_.asked().back().initialPath, file("radios"));
}

TEST_F(DocumentCommandsTest, SaveConfirmsWithThePathAndCancelWritesNothing) {
    const auto data = writeDataFile("a.836", 0x11);
    openModified(data);
    messages_.expect(MessageResult::Cancel, std::string("Overwrite\n") + data.string());
    run(ID_FILE_SAVE);
    EXPECT_EQ(storedByte(data, 0x3E1), 0xFF);
    EXPECT_TRUE(doc().IsModified());

    messages_.expect(MessageResult::Ok, "Overwrite");
    run(ID_FILE_SAVE);
    EXPECT_EQ(storedByte(data, 0x3E1), 0x77);
    EXPECT_FALSE(doc().IsModified());
}

TEST_F(DocumentCommandsTest, SaveOfANewDocumentAndSaveAsAskForAName) {
    dialogs_.expect(FileDialogMode::Save, std::nullopt);
    run(ID_FILE_SAVE);
    EXPECT_TRUE(doc().pathName().empty());

    dialogs_.expect(FileDialogMode::Save, file("new.836"));
    run(ID_FILE_SAVE);
    EXPECT_EQ(doc().pathName(), file("new.836"));
    const auto bytes = readBytes(file("new.836"));
    ASSERT_EQ(bytes.size(), 4144u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 32), "QZM-836 Radio Program data v1.04");

    // Save As asks no confirmation of its own.
    dialogs_.expect(FileDialogMode::Save, file("copy.836"));
    run(ID_FILE_SAVE_AS);
    EXPECT_EQ(doc().pathName(), file("copy.836"));
    EXPECT_EQ(readBytes(file("copy.836")), bytes);
}

TEST_F(DocumentCommandsTest, SaveIntoAMissingFolderIsReportedAndKeepsTheDocumentModified) {
    doc().SetModifiedFlag(true);
    dialogs_.expect(FileDialogMode::Save, file("no/such/folder/x.836"));
    messages_.expect(MessageResult::Ok);
    run(ID_FILE_SAVE_AS);
    EXPECT_EQ(messages_.asked().back().style.icon, MessageIcon::Stop);
    EXPECT_TRUE(doc().IsModified());
    EXPECT_TRUE(doc().pathName().empty());
}

TEST_F(DocumentCommandsTest, ExitAndCloseButtonAskForAModifiedDocument) {
    const auto data = writeDataFile("a.836", 0x11);
    struct Case {
        MessageResult answer;
        bool closes;
        bool saved;
    };
    const Case cases[] = {
        {MessageResult::Cancel, false, false},
        {MessageResult::No, true, false},
        {MessageResult::Yes, true, true},
    };
    for (const Case& c : cases) {
        writeDataFile("a.836", 0x11);
        frame().show();
        openModified(data);
        messages_.expect(c.answer, kAskSave);
        run(ID_APP_EXIT);
        EXPECT_EQ(frame().isVisible(), !c.closes) << static_cast<int>(c.answer);
        EXPECT_EQ(storedByte(data, 0x3E1) == 0x77, c.saved);
    }
    // An unmodified document closes without a question.
    frame().show();
    doc().SetModifiedFlag(false);
    EXPECT_TRUE(frame().close());
}

TEST_F(DocumentCommandsTest, RecentFilesKeepFourNewestFirstAndSurviveARestart) {
    std::vector<std::filesystem::path> files;
    for (int i = 0; i < 5; ++i) {
        files.push_back(
            writeDataFile("f" + std::to_string(i) + ".836", static_cast<std::uint8_t>(i)));
        ASSERT_TRUE(app().openDocumentFile(files.back()));
    }
    const QStringList expected{
        QString::fromStdString(files[4].string()), QString::fromStdString(files[3].string()),
        QString::fromStdString(files[2].string()), QString::fromStdString(files[1].string())};
    EXPECT_EQ(app().recentFiles().entries(), expected);
    EXPECT_EQ(frame().menuAction(ID_FILE_MRU_FILE1)->text(), "&1 " + expected[0]);
    EXPECT_EQ(frame().menuAction(ID_FILE_MRU_FILE1 + 3)->text(), "&4 " + expected[3]);

    restart();
    EXPECT_EQ(app().recentFiles().entries(), expected);
    // A modified document: the open from the list asks to save, never to clear.
    doc().SetModifiedFlag(true);
    messages_.expect(MessageResult::No, kAskSave);
    frame().menuAction(ID_FILE_MRU_FILE1 + 2)->trigger();
    EXPECT_EQ(doc().pathName(), files[2]);
    EXPECT_EQ(doc().image().bytes[0x3E0], 2);
    EXPECT_EQ(app().recentFiles().entries().front(), expected[2]);
}

TEST_F(DocumentCommandsTest, RecentFileThatVanishedIsReportedAndDropped) {
    const auto data = writeDataFile("gone.836", 1);
    ASSERT_TRUE(app().openDocumentFile(data));
    std::filesystem::remove(data);
    messages_.expect(MessageResult::Ok);
    frame().menuAction(ID_FILE_MRU_FILE1)->trigger();
    EXPECT_TRUE(app().recentFiles().entries().isEmpty());
    QAction* placeholder = frame().menuAction(ID_FILE_MRU_FILE1);
    ASSERT_NE(placeholder, nullptr);
    EXPECT_EQ(placeholder->text(), QString("Recent File"));
    EXPECT_FALSE(placeholder->isEnabled());
}

TEST_F(DocumentCommandsTest, DroppedFileOpensAsTheDocument) {
    const auto data = writeDataFile("dropped.836", 0x33);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(data.string()))});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    // Straight to the window: outside a real drag the application would not
    // deliver a drop.
    static_cast<QObject&>(frame()).event(&drop);
    EXPECT_EQ(doc().pathName(), data);
    EXPECT_EQ(doc().image().bytes[0x3E0], 0x33);
    EXPECT_TRUE(messages_.asked().empty());
}

}  // namespace
}  // namespace qzm::test
