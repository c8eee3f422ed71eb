// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qzm {

// Entries stored under numbered keys: keyPrefix + "0", keyPrefix + "1", ...
// read one after another until the first key that is missing or empty, at
// most maxEntries of them, each cut to maxCharacters characters.
std::vector<std::string> readProfileList(const std::filesystem::path& file,
                                         std::string_view section, std::string_view keyPrefix,
                                         std::size_t maxEntries, std::size_t maxCharacters);

}  // namespace qzm
