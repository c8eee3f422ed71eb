// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/channel_commit.h"

#include <gtest/gtest.h>
#include "channel_values.h"

namespace qzm {
namespace {

using test::kRx;
using test::kTx;
using test::kUhf;

struct ChannelTexts {
    std::string rx, rxTone, tx, txTone;
    friend bool operator==(const ChannelTexts&, const ChannelTexts&) = default;
};

std::ostream& operator<<(std::ostream& out, const ChannelTexts& t) {
    return out << "[" << t.rx << " " << t.rxTone << " " << t.tx << " " << t.txTone << "]";
}

ChannelTexts textsOf(const RadioImage& image, int n) {
    return {image.frequencyText(n, kRx), image.toneText(n, kRx, "off"), image.frequencyText(n, kTx),
            image.toneText(n, kTx, "off")};
}

RadioImage withChannel(const ChannelTexts& t) {
    RadioImage image = RadioImage::fresh();
    image.setFrequencyText(4, kRx, t.rx);
    image.setToneText(4, kRx, t.rxTone);
    image.setFrequencyText(4, kTx, t.tx);
    image.setToneText(4, kTx, t.txTone);
    return image;
}

TEST(ChannelCommitTest, FrequencyCommitsRepairAndFollow) {
    struct Case {
        ChannelTexts before;
        ChannelSide side;
        std::string typed;
        ChannelTexts after;
        bool modified;
    };
    const Case cases[] = {
        // A fresh channel: both frequencies empty count as equal, so transmit follows.
        {{"", "", "", ""}, kRx, "446.007", {"446.00625", "off", "446.00625", "off"}, true},
        {{"", "", "", ""}, kRx, "600", {"470.00000", "off", "470.00000", "off"}, true},
        {{"", "", "", ""}, kRx, "1", {"400.00000", "off", "400.00000", "off"}, true},
        // Equal frequencies move together; different ones do not.
        {{"446", "88.5", "446", "88.5"},
         kRx,
         "440",
         {"440.00000", "88.5", "440.00000", "88.5"},
         true},
        {{"446", "88.5", "450", "88.5"},
         kRx,
         "440",
         {"440.00000", "88.5", "450.00000", "88.5"},
         true},
        // Transmit alone; it never drags receive along.
        {{"446", "88.5", "446", "88.5"},
         kTx,
         "447",
         {"446.00000", "88.5", "447.00000", "88.5"},
         true},
        // The shown text again: not a change (letter case ignored), but still snapped.
        {{"446", "88.5", "446", "88.5"},
         kRx,
         "446.00000",
         {"446.00000", "88.5", "446.00000", "88.5"},
         false},
        // Clearing transmit turns its tone off; clearing receive empties the channel.
        {{"446", "88.5", "450", "D023N"}, kTx, "", {"446.00000", "88.5", "", "off"}, true},
        {{"446", "88.5", "450", "D023N"}, kRx, "", {"", "off", "", "off"}, true},
    };
    for (const auto& c : cases) {
        RadioImage image = withChannel(c.before);
        const RadioImage untouched = image;
        EXPECT_EQ(commitFrequency(image, kUhf, 4, c.side, c.typed), c.modified) << c.typed;
        EXPECT_EQ(textsOf(image, 4), c.after) << c.before << " " << c.typed;
        for (int n : {3, 5}) {
            EXPECT_EQ(image.channelRecord(n), untouched.channelRecord(n));
        }
    }
}

TEST(ChannelCommitTest, OffGridFrequencyIsSnappedWithoutCountingAsAChange) {
    RadioImage image = RadioImage::fresh();
    image.setFrequency(2, kRx, {0x12, 0x00, 0x60, 0x44});  // 446.00012, read from a radio
    const std::string shown = image.frequencyText(2, kRx);
    EXPECT_FALSE(commitFrequency(image, kUhf, 2, kRx, shown));
    EXPECT_EQ(image.frequencyText(2, kRx), "446.00000");
}

TEST(ChannelCommitTest, ClearedReceiveResetsFlagsAndKeepsSpareBits) {
    RadioImage image = withChannel({"446", "88.5", "446", "88.5"});
    image.bytes[16 * 4 + 12] = 0b1010'0100;  // spare bits 5..7, narrow, the rest clear
    commitFrequency(image, kUhf, 4, kRx, "");
    EXPECT_EQ(image.bytes[16 * 4 + 12], 0b1010'1011);  // col8No, col9No, highPower
    EXPECT_TRUE(image.isRxEmpty(4));
}

TEST(ChannelCommitTest, ToneCommitsFollowWhileEqual) {
    struct Case {
        ChannelTexts before;
        ChannelSide side;
        std::string picked;
        std::string rxTone, txTone;
        bool modified;
    };
    const Case cases[] = {
        {{"446", "88.5", "446", "88.5"}, kRx, "D754I", "D754I", "D754I", true},
        {{"446", "", "446", ""}, kRx, "67.0", "67.0", "67.0", true},  // both off are equal
        {{"446", "88.5", "446", "67.0"}, kRx, "D754I", "D754I", "67.0", true},
        {{"446", "88.5", "446", "88.5"}, kTx, "D023N", "88.5", "D023N", true},
        {{"446", "D754I", "446", "D754I"}, kRx, "d754i", "D754I", "D754I", false},
        {{"446", "88.5", "446", "88.5"}, kRx, "OFF", "off", "off", true},
    };
    for (const auto& c : cases) {
        RadioImage image = withChannel(c.before);
        EXPECT_EQ(commitTone(image, 4, c.side, c.picked, "Off"), c.modified) << c.picked;
        EXPECT_EQ(image.toneText(4, kRx, "off"), c.rxTone) << c.before << " " << c.picked;
        EXPECT_EQ(image.toneText(4, kTx, "off"), c.txTone) << c.before << " " << c.picked;
    }
}

TEST(ChannelCommitTest, FlagColumnsMapToTheirBits) {
    RadioImage image;
    image.erase();
    for (int column = 5; column <= 9; ++column) {
        auto flag = channelFlagOfColumn(column);
        ASSERT_TRUE(flag);
        setChannelFlag(image, 1, *flag, 0);
        EXPECT_EQ(channelFlag(image, 1, *flag), 0);
    }
    EXPECT_EQ(image.bytes[16 + 12], 0xE0);  // only the five flag bits cleared
    EXPECT_FALSE(channelFlagOfColumn(4));
    EXPECT_FALSE(channelFlagOfColumn(10));
}

}  // namespace
}  // namespace qzm
