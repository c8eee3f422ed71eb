// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qzm {

// The language files in the program folder and the choice among them.

struct LanguageFile {
    std::filesystem::path path;  // full path as the folder listing gives it
    std::string displayName;     // Face/disp, "-----" when the file has none
};

// Whether `name` is a language file name: "<base>.lang" with a non-empty base.
// The suffix is matched exactly, because start-up rebuilds the name from the
// stored base name and ".lang".
bool isLanguageFileName(std::string_view name);

// The regular files "*.lang" in `folder`, in the folder's own order, with their
// display names.  Folders and other non-files are left out, and so are files
// whose display name is present but empty.
std::vector<LanguageFile> listLanguageFiles(const std::filesystem::path& folder);

// The same files without reading any display name, for the next-language step.
std::vector<std::filesystem::path> languageFilePaths(const std::filesystem::path& folder);

// The language files of several folders (the shipped ones, then the user's):
// the first folder's files in its order, a file of a later folder replacing
// one of the same name in its place, the later folders' other files after them.
std::vector<std::filesystem::path> languageFilePaths(
    const std::vector<std::filesystem::path>& folders);
std::vector<LanguageFile> listLanguageFiles(const std::vector<std::filesystem::path>& folders);

// Paths compare without regard to ASCII case, as a language path stored with
// other letter case still names the same language.
bool samePathIgnoringCase(const std::filesystem::path& a, const std::filesystem::path& b);

// The entry of the listing that is the current language, if any.
std::optional<std::size_t> currentLanguageIndex(const std::vector<LanguageFile>& listing,
                                                const std::filesystem::path& current);

// The language dialog's OK: the first file whose display name equals the
// selected text exactly (letter case counts); nothing when none does.
std::optional<std::filesystem::path> chooseLanguageByDisplayName(
    const std::vector<LanguageFile>& listing, std::string_view selectedText);

// The file after `current` in `files`; the first when `current` is the last or
// is not among them; nothing when there are no files.
std::optional<std::filesystem::path> nextLanguageFile(
    const std::vector<std::filesystem::path>& files, const std::filesystem::path& current);

// The base name stored as setup/language: the file name without ".lang".
std::string languageBaseName(const std::filesystem::path& file);

// Makes `file` the current language: languagePath is set and its base name
// written to setup/language.  Returns false when the settings file could not
// be written (the switch still holds for this run).
bool switchLanguage(const std::filesystem::path& file);

enum class LanguageSwitch {
    Switched,
    SwitchedNotSaved,  // in use now, but setup/language could not be written
    NoLanguageFile,    // nothing changed
};

// The next-language command's step, among the files of languageFolders().
LanguageSwitch switchToNextLanguage();

// The language dialog's OK: lists languageFolders() again and switches to the first
// file whose display name is `selectedText`; NoLanguageFile (nothing written,
// languagePath kept) when none is.  The caller refreshes the texts either way.
LanguageSwitch applyLanguageChoice(std::string_view selectedText);

}  // namespace qzm
