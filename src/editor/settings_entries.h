// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qzm {

// The fixed entries of the settings panel's lists, position 0 first.  The
// position of an entry is the value its field stores, so each list has one
// entry per value the field's get operation can return.

// "0" to "9".
std::vector<std::string> squelchEntries();

// The off text, then "30", "60", ... "300": position n is 30 x n seconds.
std::vector<std::string> txTimeLimitEntries(std::string_view offText);

// "1" to "5": position 0 is level 1.
std::vector<std::string> voxLevelEntries();

// "87M0", "87M1", ... "107M9", "108M0": position n is 87.0 MHz + n x 0.1 MHz.
inline constexpr std::size_t kFmFrequencyEntryCount = 211;
std::string fmFrequencyEntry(int position);
std::vector<std::string> fmFrequencyEntries();

}  // namespace qzm
