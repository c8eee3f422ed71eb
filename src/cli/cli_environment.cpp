#include "cli/cli_environment.h"

#include <unistd.h>

#include <array>
#include <cstdlib>
#include <system_error>

#include "platform/profile.h"

namespace qzm::cli {
namespace {

constexpr std::size_t kLanguageNameBuffer = 260;
constexpr std::size_t kStringBuffer = 1000;
constexpr std::size_t kResourceBuffer = 1024;
constexpr std::size_t kListEntryBuffer = 30;

std::filesystem::path programDir() {
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return std::filesystem::current_path(error);
    }
    return exe.parent_path();
}

bool localeIsChinese() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            return std::string_view(value).starts_with("zh_CN");
        }
    }
    return false;
}

std::filesystem::path languageFile(const std::string& name,
                                   const std::filesystem::path& settingsPath) {
    if (name.find('/') != std::string::npos) {
        return name;
    }
    std::filesystem::path besideSettings = settingsPath.parent_path() / (name + ".lang");
    std::error_code error;
    if (std::filesystem::exists(besideSettings, error)) {
        return besideSettings;
    }
    return programDir() / (name + ".lang");
}

std::string expandEscapes(std::string text) {
    for (auto [from, to] :
         std::array<std::pair<std::string_view, char>, 2>{{{"\\n", '\n'}, {"\\t", '\t'}}}) {
        std::size_t at = 0;
        while ((at = text.find(from, at)) != std::string::npos) {
            text.replace(at, from.size(), 1, to);
            at += 1;
        }
    }
    return text;
}

}  // namespace

EnvironmentResult findEnvironment(const std::optional<std::string>& settingsFile,
                                  const std::optional<std::string>& languageName) {
    EnvironmentResult result;
    CliEnvironment environment;
    environment.settingsPath =
        settingsFile ? std::filesystem::path(*settingsFile) : programDir() / "setting.ini";
    std::error_code error;
    if (!std::filesystem::is_regular_file(environment.settingsPath, error)) {
        result.error = "Can not find the file " + environment.settingsPath.string() + "!";
        return result;
    }
    std::string name = languageName.value_or(
        readProfileString(environment.settingsPath, "setup", "language", "", kLanguageNameBuffer));
    if (name.empty()) {
        name = localeIsChinese() ? "chinese" : "english";
    }
    environment.languagePath = languageFile(name, environment.settingsPath);
    result.environment = environment;
    return result;
}

std::string LanguageTexts::text(std::string_view key) const {
    return expandEscapes(
        readProfileString(languagePath_, "String", key, "Not Found", kStringBuffer));
}

std::string LanguageTexts::resource(int id, std::string_view fallback) const {
    std::string value =
        readProfileString(languagePath_, "Resource", std::to_string(id), "", kResourceBuffer);
    return value.empty() ? std::string(fallback) : value;
}

std::vector<std::string> LanguageTexts::list(std::string_view section) const {
    std::vector<std::string> entries;
    for (int i = 0;; ++i) {
        std::string entry =
            readProfileString(languagePath_, section, std::to_string(i), "", kListEntryBuffer);
        if (entry.empty()) {
            return entries;
        }
        entries.push_back(std::move(entry));
    }
}

std::vector<std::string> LanguageTexts::columnTitles() const {
    std::vector<std::string> titles;
    std::string previous;
    for (int column = 0; column < 10; ++column) {
        std::string title = readProfileString(
            languagePath_, "ChText", "IDS_ChText" + std::to_string(column), "", kListEntryBuffer);
        if (!title.empty()) {
            previous = title;
        }
        titles.push_back(previous);
    }
    return titles;
}

}  // namespace qzm::cli
