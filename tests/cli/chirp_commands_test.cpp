// SPDX-License-Identifier: GPL-3.0-or-later
// qzm836-cli import and export in CHIRP's CSV, run as a process.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "../exchange/chirp_test_rows.h"
#include "cli_fixture.h"

namespace qzm::test {
namespace {

class CliChirpTest : public CliTest {
  protected:
    void SetUp() override {
        RadioImage base = freshImage();
        base.setFrequencyText(7, ChannelSide::Receive, "433.00000");
        base.setFrequencyText(7, ChannelSide::Transmit, "433.00000");
        writeDocument("base.836", base);
    }
};

TEST_F(CliChirpTest, ImportRecognisesTheHeaderAndReportsEveryRow) {
    writeFile(dir_ / "list.csv", kChirpHeader + chirpRow({{"Location", "1"}, {"Name", "Home"}}) +
                                     chirpRow({{"Location", "2"}, {"Frequency", "446.007000"}}) +
                                     chirpRow({{"Location", "3"}, {"Frequency", "146.520000"}}) +
                                     chirpRow({{"Location", "20"}}));
    ProcessResult result = cli({"import", path("base.836"), path("list.csv"), path("out.836")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string name = path("list.csv");
    EXPECT_EQ(result.out,
              name + ":2: Location 1: taken as channel 1\n" + name +
                  ":3: Location 2: repaired as channel 2: Frequency '446.007000' stored on the "
                  "channel grid as 446.006250\n" +
                  name +
                  ":4: Location 3: skipped: Frequency 146.520000 is outside the band 400.00000 "
                  "to 470.00000\n" +
                  name +
                  ":5: Location 20: skipped: Location 20 is not one of the channels 1 to 16\n" +
                  name + ": names and comments have no place in this radio and were not taken\n" +
                  name + ": 1 taken, 1 repaired, 2 skipped\n");
    const RadioImage out = readDocument("out.836");
    EXPECT_EQ(out.frequencyText(2, ChannelSide::Receive), "446.00625");
    EXPECT_TRUE(out.isRxEmpty(3));  // never clamped to the band edge
    EXPECT_EQ(out.frequencyText(7, ChannelSide::Receive), "433.00000");  // not in the file: kept
}

TEST_F(CliChirpTest, StrictRefusesAFileWithASkippedRow) {
    writeFile(dir_ / "list.csv", kChirpHeader + chirpRow({{"Location", "1"}}) +
                                     chirpRow({{"Location", "2"}, {"Mode", "AM"}}));
    ProcessResult result =
        cli({"import", "--strict", path("base.836"), path("list.csv"), path("out.836")});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.err.find("refused because 1 row was skipped (--strict)"), std::string::npos);
    EXPECT_NE(result.out.find("skipped: Mode: 'AM' has no equivalent"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(path("out.836")));
}

TEST_F(CliChirpTest, RenumberAndStandardInput) {
    const std::string csv = kChirpHeader + chirpRow({{"Location", "101"}}) +
                            chirpRow({{"Location", "57"}, {"Frequency", "440.000000"}});
    ProcessResult result = cli(
        {"import", "--renumber", "--format", "chirp", path("base.836"), "-", path("out.836")}, csv);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("<stdin>:3: Location 57: taken as channel 2"), std::string::npos);
    EXPECT_EQ(readDocument("out.836").frequencyText(2, ChannelSide::Receive), "440.00000");
}

TEST_F(CliChirpTest, ExportThenImportGivesTheSameFile) {
    RadioImage image = freshImage();
    image.setFrequencyText(1, ChannelSide::Receive, "446.00625");
    image.setFrequencyText(1, ChannelSide::Transmit, "441.00625");
    image.setToneText(1, ChannelSide::Receive, "D754I");
    image.setToneText(1, ChannelSide::Transmit, "88.5");
    image.setNarrow(1, 1);
    writeDocument("a.836", image);
    ProcessResult exported = cli({"export", "--format", "chirp", path("a.836"), path("a.csv")});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    const std::string csv = readFile(dir_ / "a.csv");
    EXPECT_TRUE(csv.starts_with(kChirpHeader));
    EXPECT_NE(csv.find("1,,446.006250,-,5.000000,Cross,88.5,88.5,023,NR,754,Tone->DTCS,NFM"),
              std::string::npos);
    writeDocument("fresh.836", freshImage());
    ProcessResult imported = cli({"import", path("fresh.836"), path("a.csv"), path("b.836")});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_EQ(readDocument("b.836").bytes, image.bytes);
}

TEST_F(CliChirpTest, FormatOptionsAreChecked) {
    EXPECT_EQ(cli({"export", path("base.836"), "--format", "xml"}).exitCode, 2);
    EXPECT_EQ(cli({"show", path("base.836"), "--format", "chirp"}).exitCode, 2);
    EXPECT_EQ(cli({"export", path("base.836"), "--strict"}).exitCode, 2);
    EXPECT_EQ(
        cli({"import", "--format=csv", "--renumber", path("base.836"), "x.csv", "o.836"}).exitCode,
        2);
    // Our own table named as CHIRP lacks CHIRP's columns: refused as a whole.
    writeFile(dir_ / "own.csv", "channel,rx_freq\n1,446\n");
    ProcessResult wrong =
        cli({"import", "--format", "chirp", path("base.836"), path("own.csv"), path("o.836")});
    EXPECT_EQ(wrong.exitCode, 3);
    EXPECT_NE(wrong.err.find("own.csv:1: the header lacks the columns Location and Frequency"),
              std::string::npos);
}

TEST_F(CliChirpTest, InputIsBoundedLikeOurOwnTable) {
    // A fifo without a writer is refused at once, never waited on.
    ASSERT_EQ(::mkfifo(path("pipe.csv").c_str(), 0600), 0);
    ProcessResult pipe = cli({"import", path("base.836"), path("pipe.csv"), path("out.836")});
    EXPECT_EQ(pipe.exitCode, 3);
    EXPECT_NE(pipe.err.find("not a regular file"), std::string::npos) << pipe.err;
    // Past the size cap the file is refused as a whole, even with a CHIRP header.
    std::string big = kChirpHeader;
    while (big.size() <= 4 * 1024 * 1024) {
        big += chirpRow({{"Location", "1"}});
    }
    writeFile(dir_ / "big.csv", big);
    ProcessResult large = cli({"import", path("base.836"), path("big.csv"), path("out.836")});
    EXPECT_EQ(large.exitCode, 3);
    EXPECT_NE(large.err.find("too large"), std::string::npos) << large.err;
    EXPECT_FALSE(std::filesystem::exists(path("out.836")));
}

// CHIRP's own stock files end every row with one more empty field than the header
// names, some files end lines in CR only: CHIRP reads both, and so do we.
TEST_F(CliChirpTest, TrailingEmptyFieldsAndEveryLineEnd) {
    for (const std::string end : {"\r", "\n", "\r\n"}) {
        std::string csv = kChirpHeader.substr(0, kChirpHeader.size() - 2) + end;
        for (const char* location : {"1", "2"}) {
            std::string row = chirpRow({{"Location", location}});
            csv += row.substr(0, row.size() - 2) + "," + end;
        }
        ProcessResult result = cli({"import", path("base.836"), "-", path("out.836")}, csv);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_NE(result.out.find("<stdin>: 2 taken, 0 repaired, 0 skipped"), std::string::npos)
            << result.out;
        EXPECT_EQ(readDocument("out.836").frequencyText(2, ChannelSide::Receive), "446.00625");
    }
}

// An import from which nothing at all can be taken fails, listing why, and writes nothing.
TEST_F(CliChirpTest, NothingTakenIsAnErrorThatListsTheReasons) {
    writeFile(dir_ / "out.836", "keep me");
    struct Case {
        std::string csv;
        std::string reasons;
    };
    const Case cases[] = {
        {kChirpHeader + chirpRow({{"Location", "1"}, {"Mode", "AM"}}) +
             chirpRow({{"Location", "2"}, {"Mode", "AM"}}) + chirpRow({{"Location", "20"}}) +
             chirpRow({{"Location", "3"}, {"DVCODE", "x,y"}}),
         "every row was skipped: Mode: 'AM' has no equivalent"},
        {kChirpHeader, "no rows after the header"},
    };
    for (const Case& c : cases) {
        writeFile(dir_ / "list.csv", c.csv);
        ProcessResult result = cli({"import", path("base.836"), path("list.csv"), path("out.836")});
        EXPECT_EQ(result.exitCode, 3) << result.out;
        const std::string start = "qzm836-cli: " + path("list.csv") + ": nothing could be taken: ";
        EXPECT_NE(result.err.find(start + c.reasons), std::string::npos) << result.err;
        EXPECT_EQ(readFile(dir_ / "out.836"), "keep me");
    }
    // Each reason once, with how many rows it stopped.
    writeFile(dir_ / "list.csv", cases[0].csv);
    const std::string err =
        cli({"import", path("base.836"), path("list.csv"), path("out.836")}).err;
    EXPECT_NE(err.find("(2 rows); Location 20 is not one of the channels 1 to 16 (1 row); "),
              std::string::npos)
        << err;
    EXPECT_NE(err.find("22 fields where the header has 21 (1 row)"), std::string::npos) << err;
}

}  // namespace
}  // namespace qzm::test
