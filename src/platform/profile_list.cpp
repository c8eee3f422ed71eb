// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/profile_list.h"

#include "platform/profile.h"
#include "platform/utf8_text.h"

namespace qzm {

std::vector<std::string> readProfileList(const std::filesystem::path& file,
                                         std::string_view section, std::string_view keyPrefix,
                                         std::size_t maxEntries, std::size_t maxCharacters) {
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < maxEntries; ++i) {
        const auto value =
            readProfileValue(file, section, std::string(keyPrefix) + std::to_string(i));
        if (!value || value->empty()) {
            break;
        }
        entries.push_back(cutToCharacters(*value, maxCharacters));
    }
    return entries;
}

}  // namespace qzm
