// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

#include "link/cable_adapters.h"

namespace qzm {

// The ones a braille display driver is known to claim as well.
inline constexpr UsbId kBrailleClaimedIds[] = {{"1a86", "7523"}, {"10c4", "ea60"}};

// The rule files udev would use, from folders given in falling priority: a file in an
// earlier folder hides one of the same name in a later folder, and an empty file or a
// link to /dev/null switches a rule file off.
std::vector<std::filesystem::path> activeRuleFiles(const std::vector<std::filesystem::path>& dirs);

// The first of `files` whose rules (comments left out) name one of `ids` and hold `word`
// (any case; with `orFileName`, a file whose name holds it counts too).  Rules are often
// written as a block that tests the ids on one line and acts on another, so the whole
// file counts.  Empty when no file does.
std::filesystem::path findRuleFile(const std::vector<std::filesystem::path>& files,
                                   std::string_view word, std::span<const UsbId> ids,
                                   bool orFileName = false);

}  // namespace qzm
