// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace qzm {

// What a language file answers for a key it lacks.
inline constexpr std::string_view kNotFoundText = "Not Found";

// A key of section String to its text in some language; "Not Found" or empty
// when the language lacks it.  Shared text builders take one, so the window
// (currentLanguageTexts) and the command line (LanguageTexts::source) build
// the same sentence from the same key.
using TextSource = std::function<std::string(std::string_view key)>;

// The text of `key`, or `fallback` when `texts` is empty or the language lacks
// the key (or has it empty).
std::string textOr(const TextSource& texts, std::string_view key, std::string_view fallback);

}  // namespace qzm
