// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qzm {

// The sections of a language file that are read directly rather than through
// lookupText, so a missing entry never shows "Not Found".

inline constexpr std::string_view kFaceSection = "Face";
inline constexpr std::string_view kDisplayNameKey = "disp";
inline constexpr std::string_view kNoDisplayName = "-----";
inline constexpr std::size_t kMaxDisplayNameCharacters = 99;
inline constexpr std::string_view kLocaleKey = "locale";
inline constexpr std::size_t kMaxLocaleCharacters = 63;

inline constexpr std::string_view kColumnTitleSection = "ChText";
inline constexpr std::size_t kChannelColumns = 10;
inline constexpr std::size_t kMaxColumnTitleCharacters = 29;

inline constexpr std::string_view kVoiceAnnunciationSection = "VoiceAnnunciation";
inline constexpr std::string_view kMonitorKeySection = "MonitorKey";
inline constexpr std::string_view kScanModeSection = "ScanMode";
inline constexpr std::size_t kMaxLanguageListEntries = 256;
inline constexpr std::size_t kMaxLanguageListCharacters = 29;

// Face/disp of `languageFile`: "-----" without the key, empty when the key is
// there with an empty value.
std::string languageDisplayName(const std::filesystem::path& languageFile);

// Face/locale of a language file ("en_GB", "zh_CN"): the locale of Qt's own
// texts and of the printed weekday.  Empty without the key: the system locale
// decides then.
std::string faceLocale(const std::filesystem::path& languageFile);
std::string faceLocale();

// The key of a column title: "IDS_ChText" and the column number.
std::string columnTitleKey(std::size_t column);

// The titles of the channel grid's ten columns.  A missing or empty title
// repeats the one before it (empty for column 0), as the grid keeps the last
// heading it was given.
std::array<std::string, kChannelColumns> columnTitles(const std::filesystem::path& languageFile);
std::array<std::string, kChannelColumns> columnTitles();

// Entries "0", "1", ... of a list section until the first missing or empty
// one, each cut to 29 characters.
std::vector<std::string> languageList(const std::filesystem::path& languageFile,
                                      std::string_view section);
std::vector<std::string> voiceAnnunciationEntries();
std::vector<std::string> monitorKeyEntries();
std::vector<std::string> scanModeEntries();

}  // namespace qzm
