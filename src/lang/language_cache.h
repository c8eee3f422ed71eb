// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qzm {

// Reads of language files, with the private-profile reader's rules (first
// matching section and key win, names compare without ASCII case, blanks around
// values removed), but each file is parsed once and kept while its size,
// modification time and identity are unchanged: a file changed on disk is seen
// at the very next read, and a long run of lookups does not re-read it each time.

// Larger language files are refused (a real one is a few dozen kilobytes): they
// read as a missing file, and a message on standard error says why, once per file.
inline constexpr std::uintmax_t kMaxLanguageFileBytes = 16 * 1024 * 1024;

// The value exactly as stored; nothing when the file, the section or the key is
// absent, or the file is refused.
std::optional<std::string> languageValue(const std::filesystem::path& file,
                                         std::string_view section, std::string_view key);

// The value or `defaultValue`, cut to `bufferSize - 1` characters (as
// readProfileString).
std::string languageString(const std::filesystem::path& file, std::string_view section,
                           std::string_view key, std::string_view defaultValue,
                           std::size_t bufferSize);

// Keys "<prefix>0", "<prefix>1", ... until the first missing or empty one (as
// readProfileList).
std::vector<std::string> languageListValues(const std::filesystem::path& file,
                                            std::string_view section, std::string_view keyPrefix,
                                            std::size_t maxEntries, std::size_t maxCharacters);

// Why `file` is not read, for a caller that shows it; nothing when it is read
// (or simply missing).
std::optional<std::string> languageFileRefusal(const std::filesystem::path& file);

// How many times a language file was parsed in this process (for tests).
std::size_t languageFileParseCount();

}  // namespace qzm
