// SPDX-License-Identifier: GPL-3.0-or-later
// qzm836-cli's file commands, run as a process against a folder of its own.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "cli_fixture.h"
#include "radio/channel_record.h"

namespace qzm::test {
namespace {

constexpr std::size_t kHeaderSize = 48;
const std::string kCsvHeaderLine =
    "channel,rx_freq,rx_tone,tx_freq,tx_tone,col5,narrow,high_power,col8,col9";

// An image as the editor leaves it: frequencies on the grid inside the band,
// tones from the list, off tones FF FF, bytes without a field arbitrary.
RadioImage editedImage() {
    RadioImage image = RadioImage::fresh();
    for (std::size_t i = 0; i < kImageSize; ++i) {
        if (i < 0x010 || (i >= 0x110 && i < 0x2B0) || i >= 0x3E0) {
            image.bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
        }
    }
    auto rx = ChannelSide::Receive;
    auto tx = ChannelSide::Transmit;
    image.setFrequencyText(1, rx, "446.00625");
    image.setFrequencyText(1, tx, "446.00625");
    image.setToneText(1, rx, "88.5");
    image.setToneText(1, tx, "88.5");
    image.setFrequencyText(2, rx, "401.50000");
    image.setFrequencyText(2, tx, "469.99500");
    image.setToneText(2, rx, "D754I");
    image.setToneText(2, tx, "D023N");
    image.setNarrow(2, 1);
    image.setHighPower(2, 0);
    image.setCol5No(2, 1);
    image.setCol8No(2, 0);
    image.setCol9No(2, 0);
    image.setFrequencyText(5, rx, "430.01250");  // receive only: no transmit, tone off
    image.setToneText(5, rx, "254.1");
    image.setFrequencyText(16, rx, "470.00000");
    image.setFrequencyText(16, tx, "400.00000");
    image.setToneText(16, tx, "67.0");
    image.bytes[16 * 7 + 12] = 0x4B;  // bits 5..7 of an empty channel stay
    image.setSquelchLevel(5);
    image.setTxTimeLimit(0);
    image.setBatterySave(0);
    return image;
}

// The text with each run of blanks made one, so alignment does not matter.
std::string collapsedBlanks(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c != ' ' || out.empty() || out.back() != ' ') {
            out += c;
        }
    }
    return out;
}

TEST(CliCommandLineTest, UsageErrorsExitTwoWithHint) {
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const Case cases[] = {
        {{}, "no command given"},
        {{"frob"}, "unknown command 'frob'"},
        {{"--frob"}, "unknown option '--frob'"},
        {{"new"}, "'new' needs 1 file name"},
        {{"new", "a.836", "b.836"}, "too many arguments for 'new'"},
        {{"new", "a.836", "--band", "7"}, "band index must be 0 to 6"},
        {{"new", "a.836", "--band"}, "option '--band' needs a value"},
        {{"show", "a.836", "--band", "1"}, "unknown option '--band' for 'show'"},
        {{"import", "a.836", "b.csv"}, "'import' needs 3 file names"},
        {{"read", "a.836", "--port", "256"}, "port must be 1 to 255"},
        {{"write", "a.836", "--port=x"}, "port must be 1 to 255, not 'x'"},
        {{"read", "a.836", "--port", "2", "--device", "/dev/null"}, "exclude each other"},
        {{"read", "a.836", "--no-search=1"}, "takes no value"},
        {{"read", "a.836", "--verify"}, "unknown option '--verify' for 'read'"},
        {{"backups", "x"}, "too many arguments for 'backups'"},
        {{"backups", "--no-backup"}, "unknown option '--no-backup' for 'backups'"},
        {{"restore", "1", "2"}, "too many arguments for 'restore'"},
        {{"restore", "--verify=1"}, "takes no value"},
        {{"--settings"}, "option '--settings' needs a value"},
    };
    for (const auto& c : cases) {
        ProcessResult result = runProcess(cliProgram(), c.arguments);
        EXPECT_EQ(result.exitCode, 2) << c.message;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_NE(result.err.find("--help' for more information"), std::string::npos);
        EXPECT_TRUE(result.out.empty());
    }
}

TEST(CliCommandLineTest, HelpAndVersionAlsoAfterACommand) {
    struct Case {
        std::vector<std::string> arguments;
        std::string expected;
    };
    const Case cases[] = {
        {{"--help"}, "COMMAND"},
        {{"read", "--help"}, "read OUT.836 [--no-backup] [--port N | --device PATH] [--no-search]"},
        {{"restore", "--help"}, "restore [N|NAME|FILE.836] [--verify] [--no-backup]"},
        {{"--help"}, "6 the radio holds other data"},
        {{"import", "x", "-h"}, "import FILE.836 IN.csv OUT.836"},
        {{"--version"}, "qzm836-cli "},
        {{"show", "--version"}, "qzm836-cli "},
        {{"--version"}, "Licence GPL-3.0-or-later"},
    };
    for (const auto& c : cases) {
        ProcessResult result = runProcess(cliProgram(), c.arguments);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_NE(result.out.find(c.expected), std::string::npos) << result.out;
    }
}

using CliFileTest = CliTest;

TEST_F(CliFileTest, MissingSettingsFileIsAFileError) {
    ProcessResult result =
        runProcess(cliProgram(), {"--settings", path("none.ini"), "new", path("a.836")});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.err.find("Can not find the file"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(path("a.836")));
}

TEST_F(CliFileTest, LanguageChosenOnTheCommandLineOrWarnedAbout) {
    writeDocument("a.836", RadioImage::fresh());
    writeFile(dir_ / "other.lang", "[Resource]\n1031=Rauschsperre\n");
    ProcessResult other = cli({"--lang", "other", "show", path("a.836")});
    EXPECT_EQ(other.exitCode, 0);
    EXPECT_NE(other.out.find("Rauschsperre:"), std::string::npos) << other.out;
    EXPECT_TRUE(other.err.empty()) << other.err;

    ProcessResult missing = cli({"show", path("a.836"), "--lang=none"});
    EXPECT_EQ(missing.exitCode, 0);
    EXPECT_NE(missing.err.find("warning: no language file"), std::string::npos);
    EXPECT_NE(missing.out.find("\n7\n"), std::string::npos);
}

TEST_F(CliFileTest, NewWritesAFreshDocumentOfTheChosenBand) {
    for (int band : {3, 4}) {
        std::vector<std::string> arguments{"new", path("a.836")};
        if (band != 3) {
            arguments.insert(arguments.end(), {"--band", std::to_string(band)});
        }
        ASSERT_EQ(cli(arguments).exitCode, 0);
        std::string data = readFile(path("a.836"));
        ASSERT_EQ(data.size(), kHeaderSize + kImageSize);
        EXPECT_EQ(data.substr(0, 32), "QZM-836 Radio Program data v1.04");
        RadioImage expected;
        expected.erase();
        expected.setBandIndex(band);
        EXPECT_EQ(readDocument("a.836").bytes, expected.bytes) << band;
    }
}

TEST_F(CliFileTest, ShowPrintsWhatTheEditorShows) {
    writeDocument("a.836", editedImage());
    ProcessResult result = cli({"show", path("a.836")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string out = "\n" + collapsedBlanks(result.out);
    for (const char* expected :
         {"\n频率范围: 400-470\n",  // template caption where the language has none;
                                    // the band name from the settings file
          "\nSquelch: 5\n", "\nTime limit: Off\n", "\nBattery save: [ ]\n", "\n侧键1: Monitor\n",
          "\n声控电平: 1\n", "\n收音机频率: 87M0\n",
          "\nCH RX RX tone TX TX tone C5 Band Power C8 C9\n",
          "\n1 446.00625 88.5 446.00625 88.5 Yes Wide High No No\n",
          "\n2 401.50000 D754I 469.99500 D023N No Narrow Low Yes Yes\n",
          "\n5 430.01250 254.1 Yes Wide High No No\n",  // no transmit: no transmit tone
          "\n7\n",                                      // an empty channel: its number
          "\n16 470.00000 Off 400.00000 67.0 Yes Wide High No No\n"}) {
        EXPECT_NE(out.find(expected), std::string::npos) << expected << "\n" << out;
    }
}

TEST_F(CliFileTest, ExportThenImportReproducesTheFileByteForByte) {
    RadioImage image = editedImage();
    image.setFrequencyText(4, ChannelSide::Receive, "446.10000");
    image.setFrequencyText(4, ChannelSide::Transmit, "446.10000");
    image.setToneText(4, ChannelSide::Receive, "88.0");  // tones the picker does not list
    image.setToneText(4, ChannelSide::Transmit, "D024N");
    writeDocument("a.836", image);
    ProcessResult exported = cli({"export", path("a.836"), path("a.csv")});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    const std::string csv = readFile(path("a.csv"));
    EXPECT_EQ(csv.substr(0, kCsvHeaderLine.size() + 2), kCsvHeaderLine + "\r\n");
    EXPECT_NE(csv.find("\r\n2,401.50000,D754I,469.99500,D023N,1,1,0,0,0\r\n"), std::string::npos);
    EXPECT_NE(csv.find("\r\n5,430.01250,254.1,,,0,0,1,1,1\r\n"), std::string::npos);
    EXPECT_NE(csv.find("\r\n7,,,,,,,,,\r\n"), std::string::npos);
    EXPECT_EQ(cli({"export", path("a.836")}).out, csv);  // standard output by default

    ProcessResult imported = cli({"import", path("a.836"), path("a.csv"), path("b.836")});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_EQ(readFile(path("b.836")), readFile(path("a.836")));
}

TEST_F(CliFileTest, ImportRepairsWellFormedValuesAsTheEditorDoesWithANote) {
    struct Case {
        std::string row;       // channel 3, in header order after the channel number
        std::string expected;  // the exported row
        std::string note;      // the start of the first note, empty for none
    };
    const Case cases[] = {
        {"600,,600,,,,,,", "470.00000,,470.00000,,0,0,1,1,1", "rx_freq 600 is outside the band"},
        {"1,,.5,,,,,,", "400.00000,,400.00000,,0,0,1,1,1", "rx_freq 1 is outside the band"},
        {"446.007,,446.0055,,,,,,", "446.00625,,446.00500,,0,0,1,1,1",
         "rx_freq 446.007 is not on the channel grid; stored as 446.00625"},
        {"446,,446.00501,,,,,,", "446.00000,,446.00500,,0,0,1,1,1",
         "tx_freq 446.00501 is not on the channel grid; stored as 446.00500"},
        {" 446 ,67,446.,254.1,,,,,", "446.00000,67.0,446.00000,254.1,0,0,1,1,1", ""},
        {"446,d754i,446,D023n,,,,,", "446.00000,D754I,446.00000,D023N,0,0,1,1,1", ""},
        {"446,88.0,446,D024N,,,,,", "446.00000,88.0,446.00000,D024N,0,0,1,1,1", ""},  // off-list
        {"446,Off,,88.5,1,1,0,0,0", "446.00000,,,,1,1,0,0,0", ""},  // no transmit: no tx tone
        {"446,88.5,,,,,,,", "446.00000,88.5,,,0,0,1,1,1", ""},      // empty tx_freq: receive only
        {",88.5,446,88.5,1,1,1,1,1", ",,,,,,,,", ""},               // empty receive: channel empty
    };
    writeDocument("a.836", RadioImage::fresh());
    for (const auto& c : cases) {
        const std::string csv = kCsvHeaderLine + "\n3," + c.row + "\n";
        ProcessResult result = cli({"import", path("a.836"), "-", path("b.836")}, csv);
        ASSERT_EQ(result.exitCode, 0) << c.row << ": " << result.err;
        if (c.note.empty()) {
            EXPECT_EQ(result.err, "") << c.row;
        } else {
            EXPECT_EQ(result.err.rfind("<stdin>:2: note: channel 3: " + c.note, 0), 0u)
                << result.err;
        }
        std::string exported = cli({"export", path("b.836")}).out;
        EXPECT_NE(exported.find("\r\n3," + c.expected + "\r\n"), std::string::npos) << c.row << "\n"
                                                                                    << exported;
    }
}

TEST_F(CliFileTest, ImportSaysWhichFrequenciesBecameTheBandLimit) {
    writeDocument("a.836", RadioImage::fresh());
    const std::string csv = kCsvHeaderLine + "\n3,600,,399.99,,,,,,\n4,446,,446,,,,,,\n";
    ProcessResult result = cli({"import", path("a.836"), "-", path("b.836")}, csv);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err,
              "<stdin>:2: note: channel 3: rx_freq 600 is outside the band 400.00000 to "
              "470.00000; stored as 470.00000\n"
              "<stdin>:2: note: channel 3: tx_freq 399.99 is outside the band 400.00000 to "
              "470.00000; stored as 400.00000\n");
}

TEST_F(CliFileTest, ImportKeepsUnlistedChannelsAndEmptyFlags) {
    RadioImage image = editedImage();
    writeDocument("a.836", image);
    const std::string csv =
        "col9,col8,high_power,narrow,col5,tx_tone,tx_freq,rx_tone,rx_freq,"
        "channel,note\n1,,,,,88.5,446.00625,88.5,446.00625,2,\"a, b\"\n";
    ASSERT_EQ(cli({"import", path("a.836"), "-", path("a.836")}, csv).exitCode, 0);
    RadioImage result = readDocument("a.836");
    image.setFrequencyText(2, ChannelSide::Receive, "446.00625");
    image.setFrequencyText(2, ChannelSide::Transmit, "446.00625");
    image.setToneText(2, ChannelSide::Receive, "88.5");
    image.setToneText(2, ChannelSide::Transmit, "88.5");
    image.setCol9No(2, 1);
    EXPECT_EQ(result.bytes, image.bytes);
}

TEST_F(CliFileTest, RefusedCsvNamesFileAndLineAndWritesNothing) {
    struct Case {
        std::string csv;
        std::size_t line;
        std::string message;
    };
    const std::string row = ",446,,,,,,,,";
    const Case cases[] = {
        {"", 1, "no header line"},
        {"channel,rx_freq,rx_tone,tx_freq,col5,narrow,high_power,col8,col9\n", 1,
         "the header lacks the column 'tx_tone'"},
        {kCsvHeaderLine + ",rx_freq\n", 1, "column 'rx_freq' appears twice"},
        {"channel;rx_freq;rx_tone;tx_freq;tx_tone;col5;narrow;high_power;col8;col9\n", 1,
         "the header lacks the column 'channel' (fields must be separated by commas"},
        {kCsvHeaderLine + "\n1" + row + "\n2,446\n", 3, "2 fields where the header has 10"},
        {kCsvHeaderLine + "\n\n17" + row + "\n", 3, "channel: '17' is not a number from 1 to 16"},
        {kCsvHeaderLine + "\n0" + row + "\n", 2, "channel: '0' is not"},
        {kCsvHeaderLine + "\nx" + row + "\n", 2, "channel: 'x' is not"},
        {kCsvHeaderLine + "\n4" + row + "\r\n5" + row + "\r\n4" + row + "\r\n", 4,
         "channel 4 appears twice (first on line 2)"},
        {kCsvHeaderLine + "\n4,446,,,,2,,,,\n", 2, "col5: must be 0, 1 or empty, not '2'"},
        {kCsvHeaderLine + "\n4,446,,,,,,,,yes\n", 2, "col9: must be 0, 1 or empty, not 'yes'"},
        {kCsvHeaderLine + "\n4,\"446,,,,,,,,\n5,x\n", 2, "quoted field is not closed"},
        {kCsvHeaderLine + "\n4,\"446\"x,,,,,,,,\n", 2,
         "unexpected character after a closing quote"},
        {kCsvHeaderLine + "\n4,44\"6,,,,,,,,\n", 2, "quote inside an unquoted field"},
        {kCsvHeaderLine + "\n4,446,88.5,446,D023X,,,,,\n", 2, "tx_tone: 'D023X' is not a tone"},
    };
    writeDocument("a.836", RadioImage::fresh());
    writeFile(dir_ / "b.836", "keep me");
    for (const auto& c : cases) {
        writeFile(dir_ / "in.csv", c.csv);
        ProcessResult result = cli({"import", path("a.836"), path("in.csv"), path("b.836")});
        EXPECT_EQ(result.exitCode, 3) << c.message;
        EXPECT_EQ(
            result.err.rfind(path("in.csv") + ":" + std::to_string(c.line) + ": " + c.message, 0),
            0u)
            << c.message << ": " << result.err;
        EXPECT_EQ(readFile(path("b.836")), "keep me");
    }
}

TEST_F(CliFileTest, UnusableDataFilesAreRefused) {
    RadioImage image = RadioImage::fresh();
    writeDocument("good.836", image);
    std::string good = readFile(path("good.836"));
    std::string foreign = good;
    foreign[20] = 'X';  // inside the compared part of the header
    writeFile(dir_ / "foreign.836", foreign);
    writeFile(dir_ / "short.836", good.substr(0, 4000));
    std::string otherVersion = good;
    otherVersion[30] = '9';  // after the compared part: still a data file
    writeFile(dir_ / "version.836", otherVersion + "trailing bytes");
    std::filesystem::create_directory(dir_ / "folder.836");
    ASSERT_EQ(::mkfifo(path("fifo.836").c_str(), 0600), 0);  // never written: must not block

    struct Case {
        std::string file;
        int exitCode;
        std::string message;
    };
    const Case cases[] = {
        {"foreign.836", 3, "foreign.836: This is not a radio data file."},
        {"short.836", 3, "short.836: the file is truncated (4000 of 4144 bytes)"},
        {"missing.836", 3, "missing.836\": No such file or directory"},
        {"folder.836", 3, "folder.836\": Is a directory"},
        {"fifo.836", 3, "fifo.836\": not a regular file"},
        {"version.836", 0, ""},
    };
    for (const auto& c : cases) {
        for (const char* command : {"show", "export"}) {
            ProcessResult result = cli({command, path(c.file)});
            EXPECT_EQ(result.exitCode, c.exitCode) << command << " " << c.file;
            EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        }
    }
}

TEST_F(CliFileTest, UnwritableOutputIsAFileErrorAndLeavesNoTrace) {
    writeDocument("a.836", RadioImage::fresh());
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"new", path("no/such/a.836")},
          std::vector<std::string>{"export", path("a.836"), path("no/such/a.csv")}}) {
        ProcessResult result = cli(arguments);
        EXPECT_EQ(result.exitCode, 3);
        EXPECT_NE(result.err.find("No such file or directory"), std::string::npos) << result.err;
    }
    // A parent that is a file is named as such, before any radio is asked.
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"new", path("a.836/x.836")},
          std::vector<std::string>{"read", path("a.836/x.836"), "--device", "/dev/null"}}) {
        ProcessResult result = cli(arguments);
        EXPECT_EQ(result.exitCode, 3);
        EXPECT_NE(result.err.find("a part of the path is not a folder"), std::string::npos)
            << result.err;
    }
    // An atomic replace keeps the existing file's permissions and leaves no temporary file.
    ::chmod(path("a.836").c_str(), 0640);
    ASSERT_EQ(cli({"new", path("a.836")}).exitCode, 0);
    struct stat info {};
    ASSERT_EQ(::stat(path("a.836").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 3u);  // setting.ini, testlang.lang, a.836
}

// A frequency whose bytes hold no valid value (a hex digit in the BCD) is exported as
// "damaged" with a note, and the import of that file skips it and takes the rest.
TEST_F(CliFileTest, DamagedValuesAreMarkedOnExportAndLeftAloneOnImport) {
    RadioImage image = RadioImage::fresh();
    for (int n : {3, 4}) {
        image.setFrequencyText(n, ChannelSide::Receive, "446.00625");
        image.setFrequencyText(n, ChannelSide::Transmit, "446.00625");
        image.setToneText(n, ChannelSide::Receive, "88.5");
    }
    image.bytes[ChannelRecord::kSize * 3 + ChannelRecord::kRxFrequency + 2] = 0xC0;
    ASSERT_EQ(image.frequencyText(3, ChannelSide::Receive), "44c.00625");
    writeDocument("a.836", image);

    ProcessResult exported = cli({"export", path("a.836"), path("a.csv")});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_EQ(exported.err,
              "qzm836-cli: note: channel 3: rx_freq holds no valid value (its bytes read "
              "'44c.00625'); written as 'damaged'\n");
    const std::string csv = readFile(dir_ / "a.csv");
    EXPECT_NE(csv.find("\r\n3,damaged,88.5,446.00625,"), std::string::npos) << csv;
    EXPECT_EQ(csv.find("44c"), std::string::npos) << csv;

    // Into another image: channel 3 keeps its receive frequency, the rest is taken.
    RadioImage other = RadioImage::fresh();
    other.setFrequencyText(3, ChannelSide::Receive, "440.00000");
    writeDocument("b.836", other);
    ProcessResult imported = cli({"import", path("b.836"), path("a.csv"), path("b.836")});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_NE(imported.err.find(":4: note: channel 3: rx_freq is marked damaged; skipped, "
                                "kept as it was"),
              std::string::npos)
        << imported.err;
    const RadioImage result = readDocument("b.836");
    EXPECT_EQ(result.frequencyText(3, ChannelSide::Receive), "440.00000");
    EXPECT_EQ(result.frequencyText(3, ChannelSide::Transmit), "446.00625");
    EXPECT_EQ(result.toneText(3, ChannelSide::Receive, ""), "88.5");
    EXPECT_EQ(result.frequencyText(4, ChannelSide::Receive), "446.00625");

    // Back into the image it came from: not a byte changes.
    ASSERT_EQ(cli({"import", path("a.836"), path("a.csv"), path("c.836")}).exitCode, 0);
    EXPECT_EQ(readDocument("c.836").bytes, image.bytes);
}

// CR, LF and CR LF line ends alike, and blank fields beyond the header's are ignored;
// a file with nothing after its header is an error, not a silent success.
TEST_F(CliFileTest, LineEndsTrailingFieldsAndNothingToTake) {
    const std::string row3 = "3,446.00625,,446.00625,,,,,,";
    const std::string row4 = "4,446.10000,,446.10000,,,,,,";
    for (const std::string end : {"\r", "\n", "\r\n"}) {
        writeDocument("a.836", RadioImage::fresh());
        const std::string csv = kCsvHeaderLine + end + row3 + end + row4 + ", ," + end;
        ProcessResult result = cli({"import", path("a.836"), "-", path("a.836")}, csv);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        const RadioImage image = readDocument("a.836");
        EXPECT_EQ(image.frequencyText(3, ChannelSide::Receive), "446.00625");
        EXPECT_EQ(image.frequencyText(4, ChannelSide::Receive), "446.10000");
    }
    writeFile(dir_ / "b.836", "keep me");
    for (const std::string& csv : {kCsvHeaderLine + "\r", kCsvHeaderLine + "\n\n,,,,,,,,,\n"}) {
        ProcessResult result = cli({"import", path("a.836"), "-", path("b.836")}, csv);
        EXPECT_EQ(result.exitCode, 3);
        EXPECT_NE(result.err.find("<stdin>: nothing could be taken: no channel rows after the "
                                  "header"),
                  std::string::npos)
            << result.err;
        EXPECT_EQ(readFile(dir_ / "b.836"), "keep me");
    }
}

}  // namespace
}  // namespace qzm::test
