// SPDX-License-Identifier: GPL-3.0-or-later
// qzm836-cli clone against several radio emulators on pseudo-terminals.
#include <gtest/gtest.h>

#include <signal.h>
#include <stdlib.h>

#include "cli/clone_targets.h"
#include "cli_transfer_fixture.h"

namespace qzm::test {
namespace {

namespace fs = std::filesystem;

class CliCloneTest : public CliTransferTest {
  protected:
    CliCloneTest() { writeDocument("image.836", image_); }

    bool holdsImage(std::string_view savedName) const {
        if (!fs::exists(dir_ / savedName)) {
            return false;
        }
        const RadioImage saved = readDocument(savedName);
        return std::equal(saved.bytes.begin(), saved.bytes.begin() + kRadioTransferSize,
                          image_.bytes.begin());
    }

    std::vector<std::string> backups() const {
        std::vector<std::string> names;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(backupFolder(), error)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    const RadioImage image_ = patternImage();
};

int countOf(const std::string& text, const std::string& part) {
    int found = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++found;
    }
    return found;
}

TEST_F(CliCloneTest, FourRadiosAtOnceGetTheImageByteForByte) {
    std::map<int, std::string> ports;
    for (int n = 1; n <= 4; ++n) {
        ports[n] =
            startRadio({"--speed", "0", "--save", path("saved" + std::to_string(n) + ".836")});
    }
    writeSettings("com=1\nsearchcom=0\n", ports);

    ProcessResult result = cli({"clone", path("image.836"), "--port", "1", "--port", "2", "--port",
                                "3", "--port", "4", "--verify", "--log", path("log.csv")});
    ASSERT_EQ(result.exitCode, 0) << result.err << result.out;
    for (int n = 1; n <= 4; ++n) {
        EXPECT_TRUE(holdsImage("saved" + std::to_string(n) + ".836")) << n;
        // The summary lists the ports in the order given, each verified.
        EXPECT_NE(result.out.find("COM" + std::to_string(n) + "  51 5A 4D"), std::string::npos)
            << result.out;
    }
    EXPECT_LT(result.out.find("COM1 "), result.out.find("COM4 "));
    EXPECT_EQ(countOf(result.out, "done, verified"), 4) << result.out;
    const std::string log = readFile(dir_ / "log.csv");
    EXPECT_TRUE(log.starts_with("time,port,device,identification,result,verified,seconds\r\n"));
    EXPECT_EQ(countLines(log), 5) << log;
    EXPECT_NE(log.find(",COM3," + ports[3] + ",51 5A 4D"), std::string::npos) << log;
    EXPECT_NE(log.find(",done,yes,"), std::string::npos) << log;

    // Each radio's memory was stored before it was overwritten, named by port and
    // identification.
    const auto names = backups();
    ASSERT_EQ(names.size(), 4u);
    for (const auto& name : names) {
        EXPECT_NE(name.find("-before-write-COM"), std::string::npos) << name;
        EXPECT_TRUE(name.ends_with("-515A4D3833360104.836")) << name;
    }
}

TEST_F(CliCloneTest, ARadioThatFailsFailsAloneAndNamesItsReason) {
    struct Case {
        std::vector<std::string> fault;
        int exitCode;
        std::string result;
    };
    const Case cases[] = {
        {{"--nak", "5"}, 1, "write failed"},
        {{"--silent"}, 4, "no radio answered"},
        {{"--ident-bytes", "2"}, 5, "wrong identification"},
        {{"--corrupt", "40"}, 6, "verify failed: the radio holds other data in block 40"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> faulty = c.fault;
        faulty.insert(faulty.end(), {"--speed", "0", "--save", path("saved2.836")});
        writeSettings("searchcom=0\n",
                      {{1, startRadio({"--speed", "0", "--save", path("saved1.836")})},
                       {2, startRadio(faulty)},
                       {3, startRadio({"--speed", "0", "--save", path("saved3.836")})}});
        ProcessResult result = cli({"clone", path("image.836"), "--port", "1", "--port", "2",
                                    "--port", "3", "--no-backup", "--verify"});
        EXPECT_EQ(result.exitCode, c.exitCode) << c.result << "\n" << result.err << result.out;
        EXPECT_TRUE(holdsImage("saved1.836")) << c.result;
        EXPECT_TRUE(holdsImage("saved3.836")) << c.result;
        // A radio that kept a block wrongly did store the write; the others nothing.
        EXPECT_EQ(fs::exists(dir_ / "saved2.836"), c.exitCode == 6) << c.result;
        EXPECT_NE(result.out.find("Failed:\n  COM2 ("), std::string::npos) << result.out;
        EXPECT_NE(result.out.find("): " + c.result), std::string::npos) << result.out;
        EXPECT_TRUE(backups().empty());
        for (const char* name : {"saved1.836", "saved2.836", "saved3.836"}) {
            fs::remove(dir_ / name);
        }
    }
}

TEST_F(CliCloneTest, StopSignalsStopEveryPortAndReportNothingAsDone) {
    for (const int signal : {SIGINT, SIGTERM}) {
        // Slow answers keep the writes on the line long enough to be interrupted.
        writeSettings("searchcom=0\n",
                      {{1, startRadio({"--answer-delay", "20", "--save", path("saved1.836")})},
                       {2, startRadio({"--answer-delay", "20", "--save", path("saved2.836")})}});
        RunningProcess clone(
            cliProgram(), {"--settings", path("setting.ini"), "clone", path("image.836"), "--port",
                           "1", "--port", "2", "--no-backup"});
        ASSERT_TRUE(clone.waitForError("COM2: write 25%")) << signal;
        ::kill(clone.pid(), signal);
        ProcessResult result = clone.wait();
        EXPECT_EQ(result.exitCode, 130) << signal << result.err;
        EXPECT_EQ(result.out.find("done"), std::string::npos) << result.out;
        EXPECT_NE(result.out.find("COM1 ("), std::string::npos) << result.out;
        EXPECT_NE(result.out.find("cancelled"), std::string::npos) << result.out;
        EXPECT_FALSE(fs::exists(dir_ / "saved1.836"));
        EXPECT_FALSE(fs::exists(dir_ / "saved2.836"));
        radios_.clear();
    }
}

TEST_F(CliCloneTest, StationProgramsEachRadioOnceAsRadiosComeAndGo) {
    const std::string link = path("cable");
    startRadio({"--speed", "0", "--link", link, "--save", path("first.836")});
    RunningProcess station(
        cliProgram(), {"--settings", path("setting.ini"), "clone", path("image.836"), "--device",
                       link, "--station", "--log", path("log.csv")});
    ASSERT_TRUE(station.waitForError("radio programmed")) << station.error();
    EXPECT_NE(station.error().find('\a'), std::string::npos);  // the bell announces it
    EXPECT_TRUE(holdsImage("first.836"));
    // The radio stays connected and answering: it is not programmed again.
    EXPECT_FALSE(station.waitForError("radio programmed", 2, std::chrono::seconds(4)));

    // Unplugged (the line hangs up); the next radio appears on the same cable.
    radios_.clear();
    startRadio({"--speed", "0", "--link", link, "--save", path("second.836")});
    ASSERT_TRUE(station.waitForError("radio programmed", 2)) << station.error();
    EXPECT_TRUE(holdsImage("second.836"));

    ::kill(station.pid(), SIGINT);
    ProcessResult result = station.wait();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find(link + "  2 radios programmed"), std::string::npos) << result.out;
    EXPECT_EQ(countLines(readFile(dir_ / "log.csv")), 3);
    EXPECT_EQ(backups().size(), 2u);
}

TEST_F(CliCloneTest, EachRadioGetsOnlyWhatDiffersFromWhatItHeld) {
    // One radio holds the image already, one differs in a channel, one everywhere.
    RadioImage oneChannel = image_;
    oneChannel.setFrequencyText(5, ChannelSide::Receive, "446.00625");
    writeDocument("same.836", image_);
    writeDocument("one.836", oneChannel);
    writeSettings("searchcom=0\n",
                  {{1, startRadio({"--speed", "0", "--image", path("same.836")})},
                   {2, startRadio({"--speed", "0", "--image", path("one.836")})},
                   {3, startRadio({"--speed", "0", "--save", path("saved3.836")})}});
    ProcessResult result =
        cli({"clone", path("image.836"), "--port", "1", "--port", "2", "--port", "3", "--verify"});
    ASSERT_EQ(result.exitCode, 0) << result.err << result.out;
    EXPECT_EQ(countOf(result.out, "done, verified"), 3) << result.out;
    // Only the radio that differed everywhere had a whole write.
    EXPECT_TRUE(holdsImage("saved3.836"));
    EXPECT_EQ(backups().size(), 3u);
    for (const int port : {1, 2}) {
        ProcessResult diff = cli(
            {"diff", "--radio", path("image.836"), "--port", std::to_string(port), "--no-backup"});
        EXPECT_EQ(diff.exitCode, 0) << port << ": " << diff.out << diff.err;
    }
}

TEST_F(CliCloneTest, CommandLineMistakesAreUsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {"clone", path("image.836")},
        {"clone", path("image.836"), "--port", "0"},
        {"clone", path("image.836"), "--port", "256"},
        {"clone", path("image.836"), "--all", "--log"},
        {"clone", path("image.836"), "--station=1", "--all"},
        {"clone", "--all"},
    };
    for (const auto& arguments : cases) {
        ProcessResult result = cli(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.back() << "\n" << result.err;
    }
    ProcessResult missing = cli({"clone", path("image.836"), "--port", "9"});
    EXPECT_EQ(missing.exitCode, 4) << missing.err;
    EXPECT_NE(missing.err.find("COM9: no serial device"), std::string::npos) << missing.err;
}

// --all takes every USB-serial cable once, whatever names it goes by.
TEST(CloneTargets, AllPortsAreTheUsbSerialCablesEachOnce) {
    TempDir root;
    const fs::path dev = root.path() / "dev";
    fs::create_directories(dev);
    for (const char* name : {"ttyUSB1", "ttyUSB0", "ttyACM0", "ttyS0"}) {
        writeFile(dev / name, "");
    }
    fs::create_directories(dev / "serial/by-id");
    fs::create_symlink("../../ttyUSB1", dev / "serial/by-id/usb-cable-if00");
    writeFile(root.path() / "setting.ini",
              "[ports]\nCOM7=" + (dev / "serial/by-id/usb-cable-if00").string() + "\n");
    const PortMap map(root.path() / "setting.ini", dev, root.path() / "sys");

    const auto all = cli::cloneTargets(map, {}, {}, true);
    ASSERT_TRUE(all.ok()) << all.error().text;
    ASSERT_EQ(all.value().size(), 3u);
    EXPECT_EQ(all.value()[0].label, "COM1");
    EXPECT_EQ(all.value()[0].device, dev / "ttyUSB0");
    EXPECT_EQ(all.value()[1].device, dev / "ttyUSB1");
    EXPECT_EQ(all.value()[2].device, dev / "ttyACM0");

    // A device named twice, once by its link, counts once.
    const auto named = cli::cloneTargets(map, {(dev / "ttyUSB1").string()}, {7, 2}, false);
    ASSERT_TRUE(named.ok());
    ASSERT_EQ(named.value().size(), 1u);
    EXPECT_EQ(named.value()[0].label, (dev / "ttyUSB1").string());

    const TempDir empty;
    const auto none = cli::cloneTargets(PortMap({}, empty.path(), empty.path()), {}, {}, true);
    ASSERT_FALSE(none.ok());
    EXPECT_EQ(none.error().text, "no USB-serial cable is plugged in");
}

}  // namespace
}  // namespace qzm::test
