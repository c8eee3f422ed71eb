// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/language_sections.h"

#include "lang/language_cache.h"
#include "platform/program_paths.h"
#include "platform/utf8_text.h"

namespace qzm {

std::string languageDisplayName(const std::filesystem::path& languageFile) {
    return languageString(languageFile, kFaceSection, kDisplayNameKey, kNoDisplayName,
                          kMaxDisplayNameCharacters + 1);
}

std::string faceLocale(const std::filesystem::path& languageFile) {
    return languageString(languageFile, kFaceSection, kLocaleKey, "", kMaxLocaleCharacters + 1);
}

std::string faceLocale() {
    return faceLocale(languagePath());
}

std::string columnTitleKey(std::size_t column) {
    return "IDS_ChText" + std::to_string(column);
}

std::array<std::string, kChannelColumns> columnTitles(const std::filesystem::path& languageFile) {
    std::array<std::string, kChannelColumns> titles;
    std::string previous;
    for (std::size_t column = 0; column < kChannelColumns; ++column) {
        const auto value = languageValue(languageFile, kColumnTitleSection, columnTitleKey(column));
        if (value && !value->empty()) {
            previous = cutToCharacters(*value, kMaxColumnTitleCharacters);
        }
        titles[column] = previous;
    }
    return titles;
}

std::array<std::string, kChannelColumns> columnTitles() {
    return columnTitles(languagePath());
}

std::vector<std::string> languageList(const std::filesystem::path& languageFile,
                                      std::string_view section) {
    return languageListValues(languageFile, section, "", kMaxLanguageListEntries,
                              kMaxLanguageListCharacters);
}

std::vector<std::string> voiceAnnunciationEntries() {
    return languageList(languagePath(), kVoiceAnnunciationSection);
}

std::vector<std::string> monitorKeyEntries() {
    return languageList(languagePath(), kMonitorKeySection);
}

std::vector<std::string> scanModeEntries() {
    return languageList(languagePath(), kScanModeSection);
}

}  // namespace qzm
