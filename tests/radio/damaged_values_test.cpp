// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/damaged_values.h"

#include <gtest/gtest.h>

#include "channel_values.h"
#include "radio/entry_repair.h"
#include "radio/value_codecs.h"

namespace qzm {
namespace {

using test::kRx;
using test::kTx;
using test::kUhf;

TEST(DamagedValuesTest, FrequencyBytes) {
    struct Case {
        FrequencyBytes bytes;
        bool damaged;
    };
    const Case cases[] = {
        {{0x25, 0x06, 0x60, 0x44}, false},  // 446.00625
        {kEmptyFrequency, false},
        {{0x00, 0x00, 0x00, 0x00}, false},  // zero is digits, merely out of band
        {{0x81, 0x45, 0xe4, 0x3d}, true},   // "3d5.e4581"
        {{0x25, 0x06, 0x6A, 0x44}, true},   // one nibble above 9
        {{0x00, 0x00, 0x00, 0xFF}, true},   // partly erased
        {{0xFF, 0xFF, 0xFF, 0x44}, true},
        {{0x99, 0x99, 0x99, 0x99}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isDamagedFrequency(c.bytes), c.damaged)
            << hexBytes(c.bytes.data(), c.bytes.size());
    }
}

TEST(DamagedValuesTest, ToneBytes) {
    struct Case {
        ToneBytes bytes;  // low, high
        bool damaged;
    };
    const Case cases[] = {
        {kToneOff, false},     {{0x12, 0xFF}, false},  // off, whatever the low byte
        {{0x85, 0x08}, false},                         // 88.5
        {{0x80, 0x08}, true},                          // 88.0: on no list
        {{0x70, 0x06}, false},                         // 67.0
        {{0x41, 0x25}, false},                         // 254.1
        {{0x4A, 0x25}, true},                          // hexadecimal digit
        {{0x23, 0x80}, false},                         // D023N
        {{0x54, 0xC7}, false},                         // D754I
        {{0x24, 0x80}, true},                          // D024N: no such code
        {{0x23, 0x9F}, true},                          // "Df23N"
        {{0x23, 0x90}, true},                          // stray bit prints like D023N
        {{0x77, 0xC7}, false},                         // D777I
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isDamagedTone(c.bytes), c.damaged) << hexBytes(c.bytes.data(), c.bytes.size());
    }
}

TEST(DamagedValuesTest, FindsOnlyShownFieldsInChannelOrder) {
    RadioImage image = RadioImage::fresh();
    EXPECT_TRUE(findDamagedValues(image).empty());

    // Channel 2: damaged receive frequency and an unknown tone.
    image.setFrequency(2, kRx, {0x81, 0x45, 0xe4, 0x3d});
    image.setFrequency(2, kTx, parseFrequency("446.00625"));
    image.setTone(2, kRx, {0x80, 0x08});
    // Channel 5: half-programmed, a transmit frequency without a receive one;
    // its tones are not shown and so never count.
    image.setFrequency(5, kTx, parseFrequency("446.1"));
    image.setTone(5, kRx, {0x4A, 0x25});
    // Channel 7: a transmit tone on a channel without a transmit frequency.
    image.setFrequencyText(7, kRx, "446.2");
    image.setTone(7, kTx, {0x4A, 0x25});

    const auto found = findDamagedValues(image);
    ASSERT_EQ(found.size(), 3U);
    EXPECT_EQ(found[0].channel, 2);
    EXPECT_EQ(found[0].field, ChannelField::RxFrequency);
    EXPECT_EQ(found[0].storedBytes, "81 45 E4 3D");
    EXPECT_EQ(found[1].channel, 2);
    EXPECT_EQ(found[1].field, ChannelField::RxTone);
    EXPECT_EQ(found[2].channel, 5);
    EXPECT_EQ(found[2].field, ChannelField::TxFrequency);
    EXPECT_EQ(channelsOf(found), (std::vector<int>{2, 5}));
}

TEST(EntryRepairTest, TellsWhatIsKept) {
    struct Case {
        const char* typed;
        FrequencyRepair repair;
        const char* kept;
    };
    const Case cases[] = {
        {"446.00625", FrequencyRepair::None, "446.00625"},
        {"446", FrequencyRepair::None, "446.00000"},
        {"", FrequencyRepair::None, ""},
        {"500", FrequencyRepair::AboveBand, "470.00000"},
        {"99999999", FrequencyRepair::AboveBand, "470.00000"},
        {"1", FrequencyRepair::BelowBand, "400.00000"},
        {"446.007", FrequencyRepair::Snapped, "446.00625"},
        {"abc-4x", FrequencyRepair::NotAFrequency, ""},
        {".", FrequencyRepair::NotAFrequency, ""},
        {"44.6.1", FrequencyRepair::NotAFrequency, ""},
        {" 446", FrequencyRepair::NotAFrequency, ""},
    };
    for (const Case& c : cases) {
        const FrequencyEntry entry = examineFrequencyEntry(c.typed, kUhf);
        EXPECT_EQ(entry.repair, c.repair) << c.typed;
        EXPECT_EQ(entry.kept, c.kept) << c.typed;
    }
}

}  // namespace
}  // namespace qzm
