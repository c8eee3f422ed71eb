// SPDX-License-Identifier: GPL-3.0-or-later
// qzm836-cli read and write against the radio emulator on a pseudo-terminal.
#include <gtest/gtest.h>

#include <signal.h>

#include <map>
#include <memory>

#include "cli_transfer_fixture.h"

namespace qzm::test {
namespace {

TEST_F(CliTransferTest, ReadThenWriteCarryTheImage) {
    const RadioImage radioImage = patternImage();
    writeDocument("radio.836", radioImage);
    writeSettings("com=1\nsearchcom=1\n",
                  {{1, startRadio({"--image", path("radio.836"), "--speed", "0"})}});
    const std::string settingsBefore = settingsText();

    ProcessResult read = cli({"read", path("out.836")});
    ASSERT_EQ(read.exitCode, 0) << read.err;
    EXPECT_EQ(settingsText(), settingsBefore);
    EXPECT_NE(read.err.find("read 100%\nBackup: "), std::string::npos) << read.err;
    EXPECT_EQ(read.err.find("Searching"), std::string::npos);
    const RadioImage fresh = RadioImage::fresh();
    const RadioImage got = readDocument("out.836");
    EXPECT_TRUE(std::equal(got.bytes.begin(), got.bytes.begin() + kRadioTransferSize,
                           radioImage.bytes.begin()));
    EXPECT_TRUE(std::equal(got.bytes.begin() + kRadioTransferSize, got.bytes.end(),
                           fresh.bytes.begin() + kRadioTransferSize));

    RadioImage edited = got;
    edited.setSquelchLevel(7);
    writeDocument("edited.836", edited);
    // One session per emulator: it tells sessions apart only by a pause on the line.
    writeSettings("com=1\nsearchcom=1\n",
                  {{1, startRadio({"--save", path("saved.836"), "--speed", "0"})}});
    const std::string settingsBeforeWrite = settingsText();
    ProcessResult write = cli({"write", path("edited.836")});
    ASSERT_EQ(write.exitCode, 0) << write.err;
    EXPECT_NE(write.err.find("write 100%\n"), std::string::npos) << write.err;
    const RadioImage saved = readDocument("saved.836");
    EXPECT_TRUE(std::equal(saved.bytes.begin(), saved.bytes.begin() + kRadioTransferSize,
                           edited.bytes.begin()));
    // Found on the configured port: nothing stored.
    EXPECT_EQ(settingsText(), settingsBeforeWrite);
}

TEST_F(CliTransferTest, SearchFindsTheRadioAndStoresItsPortButOverridesDoNot) {
    const std::string radio = startRadio({"--speed", "0"});
    writeSettings("com=1\n", {{1, path("no-such-tty")}, {2, radio}});

    ProcessResult pinned = cli({"read", path("a.836"), "--port", "1", "--no-search"});
    EXPECT_EQ(pinned.exitCode, 4);
    EXPECT_NE(pinned.err.find("No radio answered.\nCOM1 (" + path("no-such-tty") + "): not found"),
              std::string::npos)
        << pinned.err;

    ProcessResult direct = cli({"read", path("a.836"), "--device", radio});
    EXPECT_EQ(direct.exitCode, 0) << direct.err;
    EXPECT_NE(settingsText().find("com=1\n"), std::string::npos);  // --device stores nothing

    writeSettings("com=1\n", {{1, path("no-such-tty")}, {2, startRadio({"--speed", "0"})}});
    ProcessResult searched = cli({"read", path("b.836")});
    EXPECT_EQ(searched.exitCode, 0) << searched.err;
    EXPECT_NE(searched.err.find("Searching COM2\n"), std::string::npos) << searched.err;
    EXPECT_NE(settingsText().find("com=2\n"), std::string::npos) << settingsText();
    EXPECT_TRUE(std::filesystem::exists(path("b.836")));
}

TEST_F(CliTransferTest, DiffComparesAFileWithTheRadiosMemory) {
    RadioImage inRadio = RadioImage::fresh();
    inRadio.setSquelchLevel(7);
    inRadio.setFrequencyText(2, ChannelSide::Receive, "446.00625");
    inRadio.bytes[kImageSize - 1] = 0;  // beyond what travels: no radio holds it
    writeDocument("radio.836", inRadio);
    writeDocument("file.836", RadioImage::fresh());

    writeSettings("com=1\nsearchcom=0\n",
                  {{1, startRadio({"--image", path("radio.836"), "--speed", "0"})}});
    ProcessResult radioNew = cli({"diff", path("file.836"), "--radio"});
    EXPECT_EQ(radioNew.exitCode, 1) << radioNew.err;
    EXPECT_EQ(radioNew.out, "Squelch: 3 -> 7\nchannel 2: RX: (empty) -> 446.00625\n");
    EXPECT_NE(radioNew.err.find("read 100%"), std::string::npos) << radioNew.err;
    // The read keeps its backup like any other; where it went is told with the progress.
    EXPECT_NE(radioNew.err.find("Backup: " + path("data/qzm836/backups/")), std::string::npos)
        << radioNew.err;

    writeSettings("com=1\nsearchcom=0\n",
                  {{1, startRadio({"--image", path("radio.836"), "--speed", "0"})}});
    ProcessResult radioOld = cli({"diff", "--radio", path("file.836")});
    EXPECT_EQ(radioOld.exitCode, 1) << radioOld.err;
    EXPECT_EQ(radioOld.out, "Squelch: 7 -> 3\nchannel 2: RX: 446.00625 -> (empty)\n");

    writeSettings("com=1\nsearchcom=0\n",
                  {{1, startRadio({"--image", path("radio.836"), "--speed", "0"})}});
    ProcessResult same = cli({"diff", path("radio.836"), "--radio"});
    EXPECT_EQ(same.exitCode, 0) << same.err;
    EXPECT_EQ(same.out, "");

    // A failed block is not "different": it keeps an exit code of trouble.
    writeSettings("com=1\nsearchcom=0\n",
                  {{1, startRadio({"--bad-address", "7", "--speed", "0"})}});
    ProcessResult failed = cli({"diff", path("file.836"), "--radio"});
    EXPECT_EQ(failed.exitCode, 4) << failed.err;
    EXPECT_EQ(failed.out, "");
    ProcessResult silent = cli({"diff", path("file.836"), "--radio", "--device", path("no-tty")});
    EXPECT_EQ(silent.exitCode, 4) << silent.err;
}

TEST_F(CliTransferTest, FailuresGiveTheirExitCodesAndSayWhatHappened) {
    struct Case {
        std::vector<std::string> radio;
        std::string command;
        bool foundBySearch;  // COM1 has no device; the search finds the radio on COM2
        int exitCode;
        std::string message;  // @ stands for the radio's port and device
    };
    const Case cases[] = {
        {{"--silent"}, "read", false, 4, "No radio answered.\n@: no radio answered"},
        {{"--ident-bytes", "3"},
         "read",
         false,
         5,
         "Wrong radio type.\n@, identification: short answer, 3 of 8 bytes"},
        {{"--ident-bytes", "3"},
         "read",
         true,
         5,
         "Wrong radio type.\n@, identification: short answer, 3 of 8 bytes"},
        {{"--bad-address", "7"},
         "read",
         false,
         1,
         "Reading from the radio failed: @, block 7 (address 0x0038): the answer was for "
         "another address\n" +
             path("out.836") + " was not written."},
        {{"--nak", "3"},
         "write",
         false,
         1,
         "Writing to the radio failed: @, block 3 (address 0x0018): the radio refused it "
         "(NAK)\nThe radio may hold part of the new data; write again."},
    };
    // Every block differs from the radio's (fresh) memory: the write sends all of them.
    writeDocument("doc.836", patternImage());
    for (const auto& c : cases) {
        std::vector<std::string> arguments = c.radio;
        arguments.insert(arguments.end(), {"--speed", "0"});
        const std::string device = startRadio(arguments);
        std::string where = "COM1 (" + device + ")";
        if (c.foundBySearch) {
            writeSettings("com=1\nsearchcom=1\n", {{1, path("no-such-tty")}, {2, device}});
            where = "COM2 (" + device + ")";
        } else {
            writeSettings("com=1\nsearchcom=0\n", {{1, device}});
        }
        std::string message = c.message;
        message.replace(message.find('@'), 1, where);
        writeFile(dir_ / "out.836", "keep me");
        const std::string file = c.command == "read" ? path("out.836") : path("doc.836");
        ProcessResult result = cli({c.command, file});
        EXPECT_EQ(result.exitCode, c.exitCode) << c.message << "\n" << result.err;
        EXPECT_NE(result.err.find("qzm836-cli: " + message), std::string::npos) << result.err;
        // The window's "press OK to try again" means nothing on a terminal.
        EXPECT_EQ(result.err.find("Reading failed."), std::string::npos) << result.err;
        EXPECT_EQ(result.err.find("Writing failed."), std::string::npos) << result.err;
        EXPECT_EQ(readFile(dir_ / "out.836"), "keep me");
    }
    ProcessResult missing = cli({"write", path("doc.836"), "--device", path("no-such-tty")});
    EXPECT_EQ(missing.exitCode, 4);
    EXPECT_NE(missing.err.find("no-such-tty: not found"), std::string::npos) << missing.err;
}

// A stray byte before the handshake answer, at the speed of the real line.
TEST_F(CliTransferTest, AStrayByteBeforeTheHandshakeAnswerDoesNotSpoilTheRead) {
    writeSettings("com=1\nsearchcom=0\n", {{1, startRadio({"--garbage", "1@handshake"})}});
    ProcessResult read = cli({"read", path("out.836")});
    EXPECT_EQ(read.exitCode, 0) << read.err;
    const RadioImage got = readDocument("out.836");
    const RadioImage fresh = RadioImage::fresh();
    EXPECT_TRUE(
        std::equal(got.bytes.begin(), got.bytes.begin() + kRadioTransferSize, fresh.bytes.begin()));
}

TEST_F(CliTransferTest, InterruptStopsTheReadAndWritesNothing) {
    // Slow answers keep the read on the line long enough to be interrupted.
    writeSettings("com=1\nsearchcom=0\n", {{1, startRadio({"--answer-delay", "20"})}});
    writeFile(dir_ / "out.836", "keep me");
    RunningProcess read(cliProgram(), {"--settings", path("setting.ini"), "read", path("out.836")});
    ASSERT_TRUE(read.waitForError("read 1"));
    ::kill(read.pid(), SIGINT);
    ProcessResult result = read.wait();
    EXPECT_EQ(result.exitCode, 130) << result.err;
    EXPECT_NE(result.err.find("cancelled; " + path("out.836") + " was not written"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(result.err.find("read 100%"), std::string::npos);
    EXPECT_EQ(readFile(dir_ / "out.836"), "keep me");
}

}  // namespace
}  // namespace qzm::test
