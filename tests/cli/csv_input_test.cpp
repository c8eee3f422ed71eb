// SPDX-License-Identifier: GPL-3.0-or-later
// Channel lists from outside: what is refused before anything is parsed (inputs
// that are no regular file, inputs beyond the caps), and field syntax, run
// through qzm836-cli import as the user meets it.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "cli_fixture.h"
#include "exchange/channel_csv.h"

namespace qzm::test {
namespace {

const std::string kHeader =
    "channel,rx_freq,rx_tone,tx_freq,tx_tone,col5,narrow,high_power,col8,col9\n";
// Generous: a refusal comes at once; only a hang would come near it.
constexpr int kLimitMs = 30000;

class CsvInputTest : public CliTest {
  protected:
    CsvInputTest() { writeDocument("a.836", RadioImage::fresh()); }

    // `import a.836 INPUT b.836` with standard input from `stdinFile`.
    ProcessResult import(const std::string& input, const std::string& stdinFile = "/dev/null") {
        RunningProcess process(
            cliProgram(),
            {"--settings", path("setting.ini"), "import", path("a.836"), input, path("b.836")},
            stdinFile);
        return process.waitWithin(kLimitMs);
    }
};

TEST_F(CsvInputTest, InputsThatAreNoRegularFileAreRefusedWithoutWaiting) {
    ASSERT_EQ(::mkfifo(path("fifo.csv").c_str(), 0600), 0);  // nobody will ever write to it
    std::filesystem::create_directory(dir_ / "folder.csv");
    writeFile(dir_ / "plain", "x");
    struct Case {
        std::string input;
        std::string message;
    };
    const Case cases[] = {
        {"/dev/zero", "/dev/zero: not a regular file"},
        {path("fifo.csv"), path("fifo.csv") + ": not a regular file"},
        {path("folder.csv"), path("folder.csv") + ": Is a directory"},
        {path("plain/in.csv"), path("plain/in.csv") + ": a part of the path is not a folder"},
        {path("missing.csv"), path("missing.csv") + ": No such file or directory"},
    };
    for (const auto& c : cases) {
        ProcessResult result = import(c.input);
        EXPECT_EQ(result.exitCode, 3) << c.input;
        EXPECT_EQ(result.err, c.message + "\n");
        EXPECT_FALSE(std::filesystem::exists(dir_ / "b.836"));
    }
}

TEST_F(CsvInputTest, InputBeyondTheCapsIsTooLarge) {
    const CsvLimits limits;
    std::string manyRows = kHeader;
    for (std::size_t i = 0; i < limits.maxRecords; ++i) {
        manyRows += "\"\",\n";  // not empty lines: each one is a record
    }
    writeFile(dir_ / "commas.csv", std::string(limits.maxBytes + 1, ','));
    writeFile(dir_ / "rows.csv", manyRows);
    writeFile(dir_ / "wide.csv", kHeader + std::string(limits.maxFieldsPerRecord, ',') + "\n");

    struct Case {
        std::string input;
        std::string stdinFile;
        std::string message;
    };
    const Case cases[] = {
        {path("commas.csv"), "/dev/null", path("commas.csv") + ": too large"},
        {"-", "/dev/zero", "<stdin>: too large"},  // endless: refused at the cap
        {"-", path("rows.csv"), "<stdin>: too large"},
        {path("rows.csv"), "/dev/null", path("rows.csv") + ": too large"},
        {path("wide.csv"), "/dev/null", path("wide.csv") + ":2: more than 64 fields in a record"},
    };
    for (const auto& c : cases) {
        ProcessResult result = import(c.input, c.stdinFile);
        EXPECT_EQ(result.exitCode, 3) << c.input << " < " << c.stdinFile;
        EXPECT_EQ(result.err, c.message + "\n");
    }
}

TEST_F(CsvInputTest, LongValuesAreCutInMessages) {
    const std::string junk(100000, 'x');
    writeFile(dir_ / "in.csv", kHeader + "1,446," + junk + ",,,,,,,\n");
    ProcessResult result = import(path("in.csv"));
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.err.rfind(path("in.csv") + ":2: rx_tone: 'xxxx", 0), 0u) << result.err;
    EXPECT_NE(result.err.find("xxx...' is not a tone"), std::string::npos);
    EXPECT_LT(result.err.size(), 400u);
}

// Every field holds exactly what the window's editors let a user enter.
TEST(ChannelFieldSyntaxTest, JunkIsRefusedNamingTheColumn) {
    struct Case {
        std::string row;  // channel 1's fields after the number
        std::string message;
    };
    const Case cases[] = {
        {"\"446,00625\",,,,,,,,", "rx_freq: '446,00625' is not a frequency"},
        {"abc,,,,,,,,", "rx_freq: 'abc' is not a frequency"},
        {"4 4 6,,,,,,,,", "rx_freq: '4 4 6' is not a frequency"},
        {"446..0,,,,,,,,", "rx_freq: '446..0' is not a frequency"},
        {"446.0.0,,,,,,,,", "rx_freq: '446.0.0' is not a frequency"},
        {".,,,,,,,,", "rx_freq: '.' is not a frequency"},
        {"-446,,,,,,,,", "rx_freq: '-446' is not a frequency"},
        {"4.46e2,,,,,,,,", "rx_freq: '4.46e2' is not a frequency"},
        {"446.006250,,,,,,,,", "rx_freq: '446.006250' is longer than 9 characters"},
        {"446,,+446,,,,,,", "tx_freq: '+446' is not a frequency"},
        {"446,999.9,,,,,,,", "rx_tone: '999.9' is outside the CTCSS range"},
        {"446,66.9,,,,,,,", "rx_tone: '66.9' is outside the CTCSS range"},
        {"446,254.2,,,,,,,", "rx_tone: '254.2' is outside the CTCSS range"},
        {"446,0,,,,,,,", "rx_tone: '0' is outside the CTCSS range"},
        {"446,D999N,,,,,,,", "rx_tone: 'D999N' is not a tone"},
        {"446,D023X,,,,,,,", "rx_tone: 'D023X' is not a tone"},
        {"446,D23N,,,,,,,", "rx_tone: 'D23N' is not a tone"},
        {"446,1e3,,,,,,,", "rx_tone: '1e3' is not a tone"},
        {"446,CTCSS,,,,,,,", "rx_tone: 'CTCSS' is not a tone"},
        {"446,-88.5,,,,,,,", "rx_tone: '-88.5' is not a tone"},
        {"446,88.5.5,,,,,,,", "rx_tone: '88.5.5' is not a tone"},
        {"446,88.50,,,,,,,", "rx_tone: '88.50' is not a tone"},
        {"446,88.,,,,,,,", "rx_tone: '88.' is not a tone"},
        {"446,offf,,,,,,,", "rx_tone: 'offf' is not a tone"},
        {"446,,446,D754,,,,,", "tx_tone: 'D754' is not a tone"},
        // Checked even where the editor would not take the field (an empty channel).
        {",1e3,,,,,,,", "rx_tone: '1e3' is not a tone"},
        {"446,\"88\n.5\",,,,,,,", "rx_tone: '88?.5' is not a tone"},
    };
    const RadioImage base = RadioImage::fresh();
    for (const auto& c : cases) {
        const std::string csv = kHeader + "\n1," + c.row + "\n";
        ChannelImportResult result = importChannelsCsv(csv, base);
        ASSERT_TRUE(result.error) << c.row;
        EXPECT_FALSE(result.image);
        EXPECT_EQ(result.error->line, 3u) << c.row;
        EXPECT_EQ(result.error->message.rfind(c.message, 0), 0u)
            << c.row << ": " << result.error->message;
    }
}

TEST(ChannelFieldSyntaxTest, WellFormedValuesAreTakenAsTheEditorStoresThem) {
    struct Case {
        std::string rxTone;
        std::string stored;
    };
    const Case cases[] = {
        {"", ""},           {"off", ""},        {"OFF", ""},        {"67", "67.0"},
        {"67.0", "67.0"},   {"254.1", "254.1"}, {"088.5", "88.5"},  {"88.0", "88.0"},
        {"d024n", "D024N"}, {"D754i", "D754I"}, {"D000N", "D000N"},
    };
    const RadioImage base = RadioImage::fresh();
    for (const auto& c : cases) {
        const std::string csv = kHeader + "1,446.00625," + c.rxTone + ",,,,,,,\n";
        ChannelImportResult result = importChannelsCsv(csv, base);
        ASSERT_TRUE(result.image) << c.rxTone << ": " << result.error->message;
        EXPECT_TRUE(result.notes.empty()) << c.rxTone;
        EXPECT_EQ(result.image->toneText(1, ChannelSide::Receive, ""), c.stored) << c.rxTone;
    }
}

}  // namespace
}  // namespace qzm::test
