// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/program_paths.h"

namespace qzm {

// The keys of "setting.ini".  Every value is read from the file when it is
// needed and written at once, so one part of the program sees what another
// just stored.  Each function takes the file explicitly (the transfer worker
// works with its own copy of the path) and defaults to settingsPath().

// The one start-up message that no language file supplies: without the
// settings file there is no language to look it up in.
inline constexpr std::string_view kMissingSettingsMessage = "Can not find the file setting.ini!";

inline constexpr std::string_view kSetupSection = "setup";
inline constexpr std::string_view kLanguageKey = "language";
inline constexpr std::string_view kComKey = "com";
inline constexpr std::string_view kSearchComKey = "searchcom";
inline constexpr std::string_view kModelInfoSection = "ModelInfo";

inline constexpr int kDefaultComPort = 1;
inline constexpr std::size_t kMaxLanguageNameCharacters = 259;
inline constexpr std::size_t kMaxBandNames = 16;
inline constexpr std::size_t kMaxListEntryCharacters = 29;

// setup/language: the base name of the language file, empty when not set.
std::string readLanguageSetting(const std::filesystem::path& settings = settingsPath());
bool writeLanguageSetting(std::string_view name,
                          const std::filesystem::path& settings = settingsPath());

// setup/com: the port number, 1 when absent or not a number.
int readComPort(const std::filesystem::path& settings = settingsPath());
bool writeComPort(int port, const std::filesystem::path& settings = settingsPath());

// setup/searchcom: only its first character counts; anything but "0" (an
// absent key included) lets the transfer search other ports.
bool readSearchComEnabled(const std::filesystem::path& settings = settingsPath());
bool writeSearchComEnabled(bool enabled, const std::filesystem::path& settings = settingsPath());

// ModelInfo/Freq0..Freq15: the band names, position i for band index i.
std::vector<std::string> readBandNames(const std::filesystem::path& settings = settingsPath());

// The language the program starts with: setup/language, else "chinese" for a
// Chinese (PRC) locale, else "english".
std::string startupLanguageName(const std::filesystem::path& settings, bool chineseLocale);

// The file "<name>.lang" in the last of `folders` that has one (the user's own
// files win over the shipped ones), else in the first folder; whether that
// exists is not tested further.
std::filesystem::path languageFileInFolders(std::string_view name,
                                            const std::vector<std::filesystem::path>& folders);

// The start-up language file: startupLanguageName of `settings`, found in `folders`.
std::filesystem::path startupLanguagePath(const std::filesystem::path& settings,
                                          const std::vector<std::filesystem::path>& folders,
                                          bool chineseLocale);

}  // namespace qzm
