// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/text_lookup.h"

#include <utility>

#include "lang/language_cache.h"
#include "platform/program_paths.h"

namespace qzm {

namespace {

std::string replaceAll(std::string_view text, std::string_view from, char to) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        if (text.substr(pos, from.size()) == from) {
            result += to;
            pos += from.size();
        } else {
            result += text[pos++];
        }
    }
    return result;
}

}  // namespace

std::string expandTextEscapes(std::string_view text) {
    return replaceAll(replaceAll(text, "\\n", '\n'), "\\t", '\t');
}

std::string lookupTextIn(const std::filesystem::path& languageFile, std::string_view key) {
    return expandTextEscapes(
        languageString(languageFile, kStringSection, key, kNotFoundText, kMaxStringCharacters + 1));
}

std::string lookupText(std::string_view key) {
    return lookupTextIn(languagePath(), key);
}

std::string lookupTextOr(std::string_view key, std::string_view builtIn) {
    const std::string text =
        languageString(languagePath(), kStringSection, key, "", kMaxStringCharacters + 1);
    return expandTextEscapes(text.empty() ? builtIn : text);
}

TextSource currentLanguageTexts() {
    return [](std::string_view key) { return lookupText(key); };
}

TextSource languageFileTexts(std::filesystem::path file) {
    return [file = std::move(file)](std::string_view key) { return lookupTextIn(file, key); };
}

std::string resourceTextIn(const std::filesystem::path& languageFile, int id) {
    return languageString(languageFile, kResourceSection, std::to_string(id), "",
                          kMaxResourceCharacters + 1);
}

std::string resourceText(int id) {
    return resourceTextIn(languagePath(), id);
}

}  // namespace qzm
