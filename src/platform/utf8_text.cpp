// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/utf8_text.h"

namespace qzm {

namespace {

// Length in bytes of the character that starts at `pos`.  A lead byte whose
// continuation bytes are missing or wrong counts as a single byte.
std::size_t characterLength(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 1;
    if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
    } else if (lead >= 0xE0) {
        length = lead <= 0xEF ? 3 : 1;
    } else if (lead >= 0xC2) {
        length = 2;
    }
    if (pos + length > text.size()) {
        return 1;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            return 1;
        }
    }
    return length;
}

}  // namespace

std::size_t countCharacters(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += characterLength(text, pos)) {
        ++count;
    }
    return count;
}

std::string cutToCharacters(std::string_view text, std::size_t maxCharacters) {
    std::size_t pos = 0;
    for (std::size_t count = 0; pos < text.size() && count < maxCharacters; ++count) {
        pos += characterLength(text, pos);
    }
    return std::string(text.substr(0, pos));
}

}  // namespace qzm
