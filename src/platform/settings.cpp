// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings.h"

#include <system_error>

#include "platform/profile.h"
#include "platform/profile_list.h"

namespace qzm {

std::string readLanguageSetting(const std::filesystem::path& settings) {
    return readProfileString(settings, kSetupSection, kLanguageKey, "",
                             kMaxLanguageNameCharacters + 1);
}

bool writeLanguageSetting(std::string_view name, const std::filesystem::path& settings) {
    return writeProfileString(settings, kSetupSection, kLanguageKey, name);
}

int readComPort(const std::filesystem::path& settings) {
    return readProfileInt(settings, kSetupSection, kComKey, kDefaultComPort);
}

bool writeComPort(int port, const std::filesystem::path& settings) {
    return writeProfileString(settings, kSetupSection, kComKey, std::to_string(port));
}

bool readSearchComEnabled(const std::filesystem::path& settings) {
    const auto value = readProfileString(settings, kSetupSection, kSearchComKey, "1", 2);
    return !value.starts_with('0');
}

bool writeSearchComEnabled(bool enabled, const std::filesystem::path& settings) {
    return writeProfileString(settings, kSetupSection, kSearchComKey, enabled ? "1" : "0");
}

std::vector<std::string> readBandNames(const std::filesystem::path& settings) {
    return readProfileList(settings, kModelInfoSection, "Freq", kMaxBandNames,
                           kMaxListEntryCharacters);
}

std::string startupLanguageName(const std::filesystem::path& settings, bool chineseLocale) {
    auto name = readLanguageSetting(settings);
    if (name.empty()) {
        name = chineseLocale ? "chinese" : "english";
    }
    return name;
}

std::filesystem::path languageFileInFolders(std::string_view name,
                                            const std::vector<std::filesystem::path>& folders) {
    const std::string fileName = std::string(name) + ".lang";
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) {
        std::error_code error;
        if (std::filesystem::is_regular_file(*folder / fileName, error)) {
            return *folder / fileName;
        }
    }
    return folders.empty() ? std::filesystem::path(fileName) : folders.front() / fileName;
}

std::filesystem::path startupLanguagePath(const std::filesystem::path& settings,
                                          const std::vector<std::filesystem::path>& folders,
                                          bool chineseLocale) {
    return languageFileInFolders(startupLanguageName(settings, chineseLocale), folders);
}

}  // namespace qzm
