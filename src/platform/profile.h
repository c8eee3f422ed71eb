// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace qzm {

// Private-profile (INI) files: the settings file and the language files.
//
// Reading behaves like the classic private-profile reader: the first matching
// section and the first matching key in it win, section and key names compare
// without regard to ASCII case, blanks around a value are removed, and the
// default comes back when the file, the section or the key is absent.  A UTF-8
// byte-order mark and CRLF line ends are accepted.  Files are read afresh on
// every call: nothing is cached, so a value written is seen by the next read.

// The value, cut to `bufferSize - 1` characters (the buffer holds a terminator),
// never splitting a UTF-8 sequence.  A bufferSize of 0 gives the empty text.
std::string readProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::string_view defaultValue,
                              std::size_t bufferSize);

// The value exactly as stored (blanks removed, not cut); nothing when the file,
// the section or the key is absent.  Lists that end at the first missing or
// empty key are read with this.
std::optional<std::string> readProfileValue(const std::filesystem::path& file,
                                            std::string_view section, std::string_view key);

// The leading decimal digits of `text` after blanks, with an optional sign,
// saturated to the int range; nothing when there are no digits.
std::optional<int> parseLeadingInt(std::string_view text);

// The leading decimal digits of the value (with an optional sign); the default
// when the key is absent or the value has no leading digits.
int readProfileInt(const std::filesystem::path& file, std::string_view section,
                   std::string_view key, int defaultValue);

// Sets `key` in `section`, keeping every other line of the file as it was and
// adding the section or key when missing.  The file is replaced atomically
// (temporary file in the same folder, synced, then renamed; the old file's
// permissions are kept).  A section, key or value holding a line break, a key
// holding '=', or a section holding ']' is refused.  Returns false, leaving the
// old file intact, when it cannot be written.
bool writeProfileString(const std::filesystem::path& file, std::string_view section,
                        std::string_view key, std::string_view value);

}  // namespace qzm
