// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "editor/tone_tables.h"
#include "radio/value_codecs.h"

namespace qzm {
namespace {

TEST(ToneTables, EveryEntryIsAToneTheCodecsGiveBackUnchanged) {
    const std::vector<std::string> list = toneListEntries("Off");
    ASSERT_EQ(list.size(), kToneListSize);
    EXPECT_EQ(list[0], "Off");
    EXPECT_EQ(list[1], "67.0");
    EXPECT_EQ(list[51], "254.1");
    EXPECT_EQ(list[52], "D023N");
    EXPECT_EQ(list[156], "D777N");
    EXPECT_EQ(list[157], "D023I");
    EXPECT_EQ(list[261], "D777I");
    std::set<std::string> distinct(list.begin(), list.end());
    EXPECT_EQ(distinct.size(), list.size());
    std::set<ToneBytes> tones;
    for (std::size_t i = 1; i < list.size(); ++i) {
        const ToneBytes bytes = parseTone(list[i]);
        EXPECT_EQ(formatTone(bytes, "Off"), list[i]) << i;
        tones.insert(bytes);
    }
    EXPECT_EQ(tones.size(), list.size() - 1);  // no two entries store the same tone
    EXPECT_EQ(formatTone(parseTone(list[0]), "Off"), "Off");
}

TEST(ToneTables, TablesAreZeroPaddedEightByteSlots) {
    struct Case {
        int id;
        std::size_t bytes;
    };
    for (const Case c :
         {Case{kCtcssTableId, 408}, Case{kDcsNormalTableId, 840}, Case{kDcsInvertedTableId, 840}}) {
        const auto data = toneTableData(c.id);
        ASSERT_EQ(data.size(), c.bytes) << c.id;
        for (std::size_t slot = 0; slot < data.size(); slot += kToneSlotSize) {
            const auto* text = reinterpret_cast<const char*>(&data[slot]);
            const std::size_t length = strnlen(text, kToneSlotSize);
            ASSERT_LT(length, kToneSlotSize) << c.id;
            for (std::size_t i = length; i < kToneSlotSize; ++i) {
                EXPECT_EQ(data[slot + i], 0) << c.id;
            }
        }
    }
    EXPECT_TRUE(toneTableData(137).empty());
}

TEST(ToneTables, ReadingSlotsStaysInsideTheData) {
    const std::uint8_t unterminated[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    const auto texts = readToneSlots(unterminated, 5);  // more than the data holds
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "12345678");
}

}  // namespace
}  // namespace qzm
