// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qzm {

// Length limits of settings and language texts count characters, not bytes.
// These helpers count and cut UTF-8 text by code points and never split a
// multi-byte sequence.  Malformed bytes count as one character each, so a
// broken file is cut, never rejected.

std::size_t countCharacters(std::string_view text);

// The first `maxCharacters` characters of `text` (all of it when shorter).
std::string cutToCharacters(std::string_view text, std::size_t maxCharacters);

}  // namespace qzm
