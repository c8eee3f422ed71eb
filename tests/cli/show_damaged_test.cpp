// SPDX-License-Identifier: GPL-3.0-or-later
// qzm836-cli show on images holding values the radio cannot use.
#include <gtest/gtest.h>

#include "channel_values.h"
#include "cli_fixture.h"

namespace qzm::test {
namespace {

class CliShowDamagedTest : public CliTest {
  protected:
    CliShowDamagedTest() {
        std::string lang = readFile((dir_ / "testlang.lang").string());
        lang.insert(lang.find("[String]\n") + 9,
                    "IDS_DAMAGED_CELL=(!) damaged\nIDS_DAMAGED_MARK=(!)\n"
                    "IDS_DAMAGED_VALUES=%1 bad values in channel %2\n"
                    "IDS_DAMAGED_LINE=Channel %1, %2: stored %3\n");
        writeFile(dir_ / "testlang.lang", lang);
    }
};

// The line of channel n in the table, blanks collapsed.
std::string channelLine(const std::string& out, int n) {
    const std::string start = "\n" + std::to_string(n) + " ";
    std::string collapsed;
    for (char c : "\n" + out) {
        if (c != ' ' || collapsed.empty() || collapsed.back() != ' ') {
            collapsed += c;
        }
    }
    const std::size_t at = collapsed.find(start);
    if (at == std::string::npos) {
        return {};
    }
    return collapsed.substr(at + 1, collapsed.find('\n', at + 1) - at - 1);
}

TEST_F(CliShowDamagedTest, MarksDamagedValuesAndWarnsOnStandardError) {
    struct Case {
        const char* name;
        void (*damage)(RadioImage&);
        int channel;
        std::string line;     // the channel's line on standard output
        std::string warning;  // expected on standard error
        std::string absent;   // never on standard error
    };
    const Case cases[] = {
        {"digits above 9",
         [](RadioImage& image) {
             image.setFrequency(3, kRx, {0x81, 0x45, 0xe4, 0x3d});
         },
         3, "3 (!) damaged 88.5 446.00625 88.5 Yes",
         "1 bad values in channel 3\nChannel 3, RX: stored 81 45 E4 3D", ""},
        {"partly erased transmit frequency",
         [](RadioImage& image) {
             image.setFrequency(3, kTx, {0x00, 0x00, 0x00, 0xFF});
         },
         3, "3 446.00625 88.5 (!) damaged Yes", "Channel 3, TX: stored 00 00 00 FF", ""},
        {"tone on no list, readable",
         [](RadioImage& image) {
             image.setTone(3, kRx, {0x80, 0x08});
         },
         3, "3 446.00625 (!) 88.0 446.00625 88.5 Yes", "Channel 3, RX tone: stored 80 08", ""},
        {"transmit without receive",
         [](RadioImage& image) {
             image.setFrequency(3, kRx, {0xFF, 0xFF, 0xFF, 0xFF});
         },
         3, "3 (!) 446.00625", "Channel 3, TX: stored 25 06 60 44", "RX tone"},
        {"more than a few values",
         [](RadioImage& image) {
             for (int n : {3, 4, 5}) {
                 image.setTone(n, kRx, {0x4A, 0x25});
                 image.setTone(n, kTx, {0x24, 0x80});
             }
         },
         5, "5 446.00625 (!) damaged 446.00625 (!) D024N Yes", "6 bad values in channel 3, 4, 5\n",
         "Channel 5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RadioImage image = RadioImage::fresh();
        for (int n = 3; n <= 5; ++n) {
            image.setFrequencyText(n, kRx, "446.00625");
            image.setFrequencyText(n, kTx, "446.00625");
            image.setToneText(n, kRx, "88.5");
            image.setToneText(n, kTx, "88.5");
        }
        c.damage(image);
        writeDocument("a.836", image);
        ProcessResult result = cli({"show", path("a.836")});
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(channelLine(result.out, c.channel).rfind(c.line, 0), 0u)
            << channelLine(result.out, c.channel);
        EXPECT_NE(result.err.find(c.warning), std::string::npos) << result.err;
        if (!c.absent.empty()) {
            EXPECT_EQ(result.err.find(c.absent), std::string::npos) << result.err;
        }
    }
}

TEST_F(CliShowDamagedTest, SoundImagePrintsNoWarning) {
    RadioImage image = RadioImage::fresh();
    image.setFrequencyText(1, kRx, "446.00625");
    image.setToneText(1, kRx, "D754I");
    writeDocument("a.836", image);
    ProcessResult result = cli({"show", path("a.836")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.err.empty()) << result.err;
    EXPECT_EQ(result.out.find("(!)"), std::string::npos) << result.out;
}

}  // namespace
}  // namespace qzm::test
