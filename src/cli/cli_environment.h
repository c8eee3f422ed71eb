// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"
#include "platform/text_source.h"

namespace qzm::cli {

// Where the settings and the language texts come from for one run.
struct CliEnvironment {
    std::filesystem::path settingsPath;
    std::filesystem::path languagePath;
    // When the language file is missing: the languages there are, for the warning.
    std::string languageNote;
};

// The settings file of the program's layout (beside the executable, or the
// user's own copy of the installed one, made when missing) unless
// `settingsFile` names another; it must exist, as for the program.  The language is `languageName`
// when given, else "setup"/"language" of the settings, else the one the locale suggests. A name is
// looked up beside a named settings file first, then in the program's language folders (the user's
// files winning over the shipped ones); a name holding a '/' is taken as the path of a language
// file.
Result<CliEnvironment> findEnvironment(const std::optional<std::string>& settingsFile,
                                       const std::optional<std::string>& languageName);

// Texts of the current language file, read afresh at each call.
class LanguageTexts {
  public:
    explicit LanguageTexts(std::filesystem::path languagePath);

    // Section "String" as the TextSource shared text builders take
    // (languageFileTexts of this file): "Not Found" when absent; \n and \t
    // stand for line break and tab.
    TextSource source() const { return source_; }
    // One text of that source.
    std::string text(std::string_view key) const;
    // Section "Resource": the caption of a control, or `fallback` when absent.
    std::string resource(int id, std::string_view fallback) const;
    // Keys "0", "1", ... of `section` until the first missing or empty one.
    std::vector<std::string> list(std::string_view section) const;
    // Column titles "IDS_ChText0".."IDS_ChText9"; a missing title repeats the
    // one before it.
    std::vector<std::string> columnTitles() const;

  private:
    std::filesystem::path languagePath_;
    TextSource source_;
};

}  // namespace qzm::cli
