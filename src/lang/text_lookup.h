// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/text_source.h"

namespace qzm {

// Texts of the current language file (languagePath).  Every lookup looks at the
// file anew (parsed once and kept while it is unchanged, language_cache.h), so a
// language switch or an edited file affects the very next text.

inline constexpr std::string_view kStringSection = "String";
inline constexpr std::string_view kResourceSection = "Resource";
inline constexpr std::size_t kMaxStringCharacters = 999;
inline constexpr std::size_t kMaxResourceCharacters = 1023;

// Backslash-n becomes a line break, then backslash-t a tab.
std::string expandTextEscapes(std::string_view text);

// The text of `key` in section String, escapes expanded; "Not Found" when the
// file, the section or the key is missing.  Never fails.
std::string lookupText(std::string_view key);
std::string lookupTextIn(const std::filesystem::path& languageFile, std::string_view key);
// The same, but `builtIn` (never "Not Found") when the key is missing or empty:
// for texts that must read sensibly with any language file.
std::string lookupTextOr(std::string_view key, std::string_view builtIn);

// The two sources shared text builders are given: the window's, lookupText of
// whichever file is the current language at each call; and the command line's,
// lookupTextIn of the one file it was started with.
TextSource currentLanguageTexts();
TextSource languageFileTexts(std::filesystem::path file);

// The caption of a dialog or control id in section Resource, without escapes;
// empty when there is none, and then the template caption stays.
std::string resourceText(int id);
std::string resourceTextIn(const std::filesystem::path& languageFile, int id);

}  // namespace qzm
