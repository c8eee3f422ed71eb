// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/language_files.h"

#include <algorithm>
#include <system_error>

#include "lang/language_sections.h"
#include "platform/ascii_text.h"
#include "platform/program_paths.h"
#include "platform/settings.h"

namespace qzm {

namespace {

constexpr std::string_view kLanguageSuffix = ".lang";

}  // namespace

bool isLanguageFileName(std::string_view name) {
    return name.size() > kLanguageSuffix.size() && name.ends_with(kLanguageSuffix);
}

std::vector<std::filesystem::path> languageFilePaths(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const auto& entry = *it;
        if (!isLanguageFileName(entry.path().filename().string())) {
            continue;
        }
        // A folder named like a language file must never become the language:
        // every text would read "Not Found".  A fifo could block the reader.
        std::error_code typeError;
        if (!entry.is_regular_file(typeError)) {
            continue;
        }
        files.push_back(entry.path());
    }
    return files;
}

std::vector<std::filesystem::path> languageFilePaths(
    const std::vector<std::filesystem::path>& folders) {
    std::vector<std::filesystem::path> files;
    for (const auto& folder : folders) {
        for (auto& file : languageFilePaths(folder)) {
            const auto same = std::ranges::find_if(
                files, [&](const auto& known) { return known.filename() == file.filename(); });
            if (same != files.end()) {
                *same = std::move(file);
            } else {
                files.push_back(std::move(file));
            }
        }
    }
    return files;
}

std::vector<LanguageFile> listLanguageFiles(const std::filesystem::path& folder) {
    return listLanguageFiles(std::vector<std::filesystem::path>{folder});
}

std::vector<LanguageFile> listLanguageFiles(const std::vector<std::filesystem::path>& folders) {
    std::vector<LanguageFile> listing;
    for (auto& file : languageFilePaths(folders)) {
        auto name = languageDisplayName(file);
        if (!name.empty()) {
            listing.push_back({std::move(file), std::move(name)});
        }
    }
    return listing;
}

bool samePathIgnoringCase(const std::filesystem::path& a, const std::filesystem::path& b) {
    return equalIgnoringAsciiCase(a.native(), b.native());
}

std::optional<std::size_t> currentLanguageIndex(const std::vector<LanguageFile>& listing,
                                                const std::filesystem::path& current) {
    for (std::size_t i = 0; i < listing.size(); ++i) {
        if (samePathIgnoringCase(listing[i].path, current)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> chooseLanguageByDisplayName(
    const std::vector<LanguageFile>& listing, std::string_view selectedText) {
    for (const auto& file : listing) {
        if (file.displayName == selectedText) {
            return file.path;
        }
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> nextLanguageFile(
    const std::vector<std::filesystem::path>& files, const std::filesystem::path& current) {
    if (files.empty()) {
        return std::nullopt;
    }
    const auto it = std::ranges::find_if(
        files, [&](const auto& file) { return samePathIgnoringCase(file, current); });
    if (it == files.end() || std::next(it) == files.end()) {
        return files.front();
    }
    return *std::next(it);
}

std::string languageBaseName(const std::filesystem::path& file) {
    const auto name = file.filename().string();
    return isLanguageFileName(name) ? name.substr(0, name.size() - kLanguageSuffix.size()) : name;
}

bool switchLanguage(const std::filesystem::path& file) {
    setLanguagePath(file);
    return writeLanguageSetting(languageBaseName(file));
}

LanguageSwitch switchToNextLanguage() {
    const auto next = nextLanguageFile(languageFilePaths(languageFolders()), languagePath());
    if (!next) {
        return LanguageSwitch::NoLanguageFile;
    }
    return switchLanguage(*next) ? LanguageSwitch::Switched : LanguageSwitch::SwitchedNotSaved;
}

LanguageSwitch applyLanguageChoice(std::string_view selectedText) {
    const auto chosen =
        chooseLanguageByDisplayName(listLanguageFiles(languageFolders()), selectedText);
    if (!chosen) {
        return LanguageSwitch::NoLanguageFile;
    }
    return switchLanguage(*chosen) ? LanguageSwitch::Switched : LanguageSwitch::SwitchedNotSaved;
}

}  // namespace qzm
