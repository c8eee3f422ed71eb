// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/settings_entries.h"

#include <gtest/gtest.h>

#include "radio/radio_image.h"

namespace qzm {
namespace {

// Each list needs one entry per value its field can read as, or the largest
// stored values would show no entry.
TEST(SettingsEntries, OneEntryPerReadableValue) {
    struct Case {
        const char* name;
        std::vector<std::string> entries;
        std::size_t count;
        std::string first;
        std::string last;
    };
    const Case cases[] = {
        {"squelch", squelchEntries(), kMaxSquelchLevel + 1, "0", "9"},
        {"time limit", txTimeLimitEntries("Off"), kMaxTxTimeLimit + 1, "Off", "300"},
        {"vox level", voxLevelEntries(), kMaxVoxLevel + 1, "1", "5"},
        {"fm", fmFrequencyEntries(), kMaxFmFrequency + 1, "87M0", "108M0"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(c.entries.size(), c.count) << c.name;
        EXPECT_EQ(c.entries.front(), c.first) << c.name;
        EXPECT_EQ(c.entries.back(), c.last) << c.name;
    }
}

TEST(SettingsEntries, TimeLimitPositionIsThirtySecondSteps) {
    const auto entries = txTimeLimitEntries("关");
    EXPECT_EQ(entries[0], "关");
    EXPECT_EQ(entries[1], "30");
    EXPECT_EQ(entries[6], "180");  // the default, 6
}

TEST(SettingsEntries, FmPositionIsTenthsAbove87MHz) {
    struct Case {
        int position;
        const char* text;
    };
    const Case cases[] = {{0, "87M0"},    {9, "87M9"},    {10, "88M0"},  {129, "99M9"},
                          {130, "100M0"}, {209, "107M9"}, {210, "108M0"}};
    const auto entries = fmFrequencyEntries();
    for (const Case& c : cases) {
        EXPECT_EQ(fmFrequencyEntry(c.position), c.text);
        EXPECT_EQ(entries[static_cast<std::size_t>(c.position)], c.text);
    }
}

}  // namespace
}  // namespace qzm
