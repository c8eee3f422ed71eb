// SPDX-License-Identifier: GPL-3.0-or-later
// qzm836-cli diff between data files.
#include <gtest/gtest.h>

#include <functional>

#include "cli_fixture.h"

namespace qzm::test {
namespace {

using Edit = std::function<void(RadioImage&)>;

RadioImage baseImage() {
    RadioImage image = RadioImage::fresh();
    image.setFrequencyText(3, ChannelSide::Receive, "446.00625");
    image.setFrequencyText(3, ChannelSide::Transmit, "446.00625");
    image.setToneText(3, ChannelSide::Receive, "88.5");
    return image;
}

class CliDiffTest : public CliTest {
  protected:
    ProcessResult diff(const Edit& edit) {
        RadioImage changed = baseImage();
        edit(changed);
        writeDocument("a.836", baseImage());
        writeDocument("b.836", changed);
        return cli({"diff", path("a.836"), path("b.836")});
    }
};

TEST_F(CliDiffTest, ListsEachChangeInTheEditorsTexts) {
    const ChannelSide rx = ChannelSide::Receive;
    const ChannelSide tx = ChannelSide::Transmit;
    struct Case {
        const char* name;
        Edit edit;
        std::string lines;
    };
    const Case cases[] = {
        {"frequency", [&](RadioImage& i) { i.setFrequencyText(3, rx, "446.0125"); },
         "channel 3: RX: 446.00625 -> 446.01250\n"},
        {"a channel emptied shows the empty text",
         [&](RadioImage& i) { i.setFrequency(3, tx, kEmptyFrequency); },
         "channel 3: TX: 446.00625 -> (empty)\n"},
        {"tones",
         [&](RadioImage& i) {
             i.setToneText(3, rx, "");
             i.setToneText(5, tx, "D754I");
         },
         "channel 3: RX tone: 88.5 -> Off\nchannel 5: TX tone: Off -> D754I\n"},
        {"flags",
         [](RadioImage& i) {
             i.setNarrow(3, 1);
             i.setHighPower(3, 0);
             i.setCol9No(16, 0);
         },
         "channel 3: Band: Wide -> Narrow\nchannel 3: Power: High -> Low\n"
         "channel 16: C9: No -> Yes\n"},
        {"settings",
         [](RadioImage& i) {
             i.setSquelchLevel(5);
             i.setTxTimeLimit(0);
             i.setBatterySave(0);
             i.setSideKey1(2);
         },
         "Squelch: 3 -> 5\nTime limit: 180 -> Off\n侧键1: Monitor -> Alarm\n"
         "Battery save: [x] -> [ ]\n"},
        {"band", [](RadioImage& i) { i.bytes[image_offset::kBandCode] = 0xF8; },
         "频率范围: 400-470 -> 136-174\n"},
        {"an unknown band code reads like the default: the stored bytes show",
         [](RadioImage& i) { i.bytes[image_offset::kBandCode] = 0x00; },
         "频率范围: 400-470 [F4] -> 400-470 [00]\n"},
        {"a clamped setting reads alike: the stored bytes show",
         [](RadioImage& i) { i.bytes[image_offset::kSquelchLevel] = 0x09; }, "Squelch: 3 -> 9\n"},
        {"two empty frequencies stored differently",
         [&](RadioImage& i) {
             i.setFrequency(4, rx, {0xFF, 0xFF, 0xFF, 0xAA});
         },
         "channel 4: RX: (empty) [FF FF FF FF] -> (empty) [FF FF FF AA]\n"},
        {"unmapped bytes",
         [](RadioImage& i) {
             i.bytes[0x200] = 0;
             i.bytes[0x201] = 0;
             i.bytes[16 * 3 + 14] = 0;
         },
         "unmapped bytes: 3 differ\n"},
        {"fields and unmapped bytes together",
         [](RadioImage& i) {
             i.setFmFrequency(15);
             i.bytes[0x3DF] = 0;
         },
         "收音机频率: 87M0 -> 88M5\nunmapped bytes: 1 differ\n"},
    };
    for (const Case& c : cases) {
        const ProcessResult result = diff(c.edit);
        EXPECT_EQ(result.exitCode, 1) << c.name << "\n" << result.err;
        EXPECT_EQ(result.out, c.lines) << c.name;
        EXPECT_EQ(result.err, "") << c.name;
    }
}

TEST_F(CliDiffTest, ClampedValuesThatReadAlikeShowTheirBytes) {
    const ProcessResult result =
        diff([](RadioImage& i) { i.bytes[image_offset::kSquelchLevel] = 0xFF; });
    EXPECT_EQ(result.exitCode, 1);
    writeDocument("c.836", [] {
        RadioImage image = baseImage();
        image.bytes[image_offset::kSquelchLevel] = 0x0A;
        return image;
    }());
    const ProcessResult both = cli({"diff", path("b.836"), path("c.836")});
    EXPECT_EQ(both.out, "Squelch: 9 [FF] -> 9 [0A]\n");
}

TEST_F(CliDiffTest, EqualFilesGiveNoLinesAndExitZero) {
    const ProcessResult result = diff([](RadioImage&) {});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "");
}

TEST_F(CliDiffTest, LanguageFileTextsReplaceTheBuiltInOnes) {
    std::string language = readFile(dir_ / "testlang.lang");
    language.insert(language.find("[String]\n") + 9,
                    "IDS_DIFF_CHANNEL=CH%1 >\nIDS_DIFF_EMPTY=nothing\n"
                    "IDS_DIFF_UNMAPPED=%1 other bytes\n");
    writeFile(dir_ / "testlang.lang", language);
    const ProcessResult result = diff([](RadioImage& i) {
        i.setFrequency(3, ChannelSide::Receive, kEmptyFrequency);
        i.bytes[0] = 0;
    });
    EXPECT_EQ(result.out, "CH3 > RX: 446.00625 -> nothing\n1 other bytes\n");
}

TEST_F(CliDiffTest, BadCommandLinesAndFiles) {
    writeDocument("a.836", baseImage());
    writeFile(dir_ / "short.836", "QZM");
    struct Case {
        std::vector<std::string> arguments;
        int exitCode;
        std::string error;
    };
    const Case cases[] = {
        {{"diff", path("a.836")}, 2, "needs two files"},
        {{"diff", path("a.836"), path("a.836"), path("a.836")}, 2, "too many"},
        {{"diff", "--radio", path("a.836"), path("a.836")}, 2, "with one file"},
        {{"diff", "--radio", path("a.836"), "--radio"}, 2, "one side only"},
        {{"diff", path("a.836"), path("a.836"), "--port", "2"}, 2, "need '--radio'"},
        {{"diff", path("a.836"), path("a.836"), "--no-backup"}, 2, "need '--radio'"},
        {{"diff", path("a.836"), path("missing.836")}, 3, "missing.836"},
        {{"diff", path("short.836"), path("a.836")}, 3, "short.836"},
    };
    for (const Case& c : cases) {
        const ProcessResult result = cli(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments.back() << "\n" << result.err;
        EXPECT_NE(result.err.find(c.error), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
    }
}

}  // namespace
}  // namespace qzm::test
