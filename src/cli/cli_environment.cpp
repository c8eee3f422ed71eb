// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_environment.h"

#include <system_error>

#include "lang/language_files.h"
#include "lang/language_sections.h"
#include "lang/text_lookup.h"
#include "platform/program_layout.h"
#include "platform/program_paths.h"
#include "platform/settings.h"
#include "platform/system_locale.h"

namespace qzm::cli {
namespace {

std::filesystem::path executableFolder() {
    return executableDir().value_or(std::filesystem::current_path());
}

std::filesystem::path languageFile(const std::string& name,
                                   const std::optional<std::filesystem::path>& ownSettings,
                                   const std::vector<std::filesystem::path>& languageFolders) {
    if (name.find('/') != std::string::npos) {
        return name;
    }
    // A settings file of its own may bring its language files along.
    if (ownSettings) {
        std::filesystem::path besideSettings = ownSettings->parent_path() / (name + ".lang");
        std::error_code error;
        if (std::filesystem::exists(besideSettings, error)) {
            return besideSettings;
        }
    }
    return languageFileInFolders(name, languageFolders);
}

}  // namespace

Result<CliEnvironment> findEnvironment(const std::optional<std::string>& settingsFile,
                                       const std::optional<std::string>& languageName) {
    CliEnvironment environment;
    // The same layouts as the window: portable beside the program, or installed
    // with the user's own copy of the shipped settings.
    ProgramLocations locations =
        locateProgramFiles(executableFolder(), userFoldersFromEnvironment());
    std::optional<std::filesystem::path> ownSettings;
    if (settingsFile) {
        ownSettings = std::filesystem::path(*settingsFile);
        environment.settingsPath = *ownSettings;
        std::error_code error;
        if (!std::filesystem::is_regular_file(environment.settingsPath, error)) {
            return Error{"Can not find the file " + *settingsFile + "!"};
        }
    } else {
        if (prepareSettingsFile(locations) == SettingsFileState::Missing) {
            return Error{std::string(kMissingSettingsMessage)};
        }
        environment.settingsPath = locations.settingsPath;
    }
    const std::string name = languageName.value_or(
        startupLanguageName(environment.settingsPath, systemLocaleIsChinesePrc()));
    environment.languagePath = languageFile(name, ownSettings, locations.languageFolders);
    std::error_code missing;
    if (!std::filesystem::is_regular_file(environment.languagePath, missing)) {
        // A mistyped name: the user learns which names there are.
        std::string known;
        for (const auto& file : languageFilePaths(locations.languageFolders)) {
            known += (known.empty() ? "" : ", ") + file.stem().string();
        }
        if (!known.empty()) {
            environment.languageNote = "the languages are: " + known;
        }
    }
    return environment;
}

LanguageTexts::LanguageTexts(std::filesystem::path languagePath)
    : languagePath_(std::move(languagePath)), source_(languageFileTexts(languagePath_)) {}

std::string LanguageTexts::text(std::string_view key) const {
    return source_(key);
}

std::string LanguageTexts::resource(int id, std::string_view fallback) const {
    std::string value = resourceTextIn(languagePath_, id);
    return value.empty() ? std::string(fallback) : value;
}

std::vector<std::string> LanguageTexts::list(std::string_view section) const {
    return languageList(languagePath_, section);
}

std::vector<std::string> LanguageTexts::columnTitles() const {
    auto titles = qzm::columnTitles(languagePath_);
    return {titles.begin(), titles.end()};
}

}  // namespace qzm::cli
