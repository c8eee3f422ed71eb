// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <string_view>

namespace qzm {

// Every entry the program reads from a language file.  Whoever adds a lookup
// adds its key here; a test then checks that each shipped language file has
// it, so our own files never show "Not Found" or an empty caption.

// Keys of section String (looked up with lookupText).
std::span<const std::string_view> knownStringKeys();

// Dialog and control ids of section Resource (applyResourceTexts).
std::span<const int> knownResourceIds();

// The directly read entries of the other sections.
struct LanguageEntry {
    std::string_view section;
    std::string_view key;
};
std::span<const LanguageEntry> knownOtherEntries();

}  // namespace qzm
