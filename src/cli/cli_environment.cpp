#include "cli/cli_environment.h"

#include <system_error>

#include "lang/language_sections.h"
#include "lang/text_lookup.h"
#include "platform/program_paths.h"
#include "platform/settings.h"
#include "platform/system_locale.h"

namespace qzm::cli {
namespace {

std::filesystem::path executableFolder() {
    return executableDir().value_or(std::filesystem::current_path());
}

std::filesystem::path languageFile(const std::string& name,
                                   const std::filesystem::path& settingsPath) {
    if (name.find('/') != std::string::npos) {
        return name;
    }
    // A settings file of its own may bring its language files along.
    std::filesystem::path besideSettings = settingsPath.parent_path() / (name + ".lang");
    std::error_code error;
    if (std::filesystem::exists(besideSettings, error)) {
        return besideSettings;
    }
    return executableFolder() / (name + ".lang");
}

}  // namespace

EnvironmentResult findEnvironment(const std::optional<std::string>& settingsFile,
                                  const std::optional<std::string>& languageName) {
    EnvironmentResult result;
    CliEnvironment environment;
    environment.settingsPath =
        settingsFile ? std::filesystem::path(*settingsFile) : executableFolder() / "setting.ini";
    std::error_code error;
    if (!std::filesystem::is_regular_file(environment.settingsPath, error)) {
        result.error = settingsFile ? "Can not find the file " + *settingsFile + "!"
                                    : std::string(kMissingSettingsMessage);
        return result;
    }
    const std::string name = languageName.value_or(
        startupLanguageName(environment.settingsPath, systemLocaleIsChinesePrc()));
    environment.languagePath = languageFile(name, environment.settingsPath);
    result.environment = environment;
    return result;
}

std::string LanguageTexts::text(std::string_view key) const {
    return lookupTextIn(languagePath_, key);
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
