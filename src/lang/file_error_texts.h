// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/atomic_file.h"

namespace qzm {

// A key of section String to its text; empty or "Not Found" when absent.
using LanguageText = std::function<std::string(std::string_view key)>;

// The reason for a system error number in the language behind `texts`: a key per
// common error (no such file, permission denied, no space, read-only file system, in
// use, ...); any other number gives IDS_ERRNO_OTHER with the system's own text as its
// detail.  A key the language lacks falls back to English.
std::string errnoReasonText(int error, const LanguageText& texts);

// A failed file operation's sentence in that language: "Cannot create "<file>":
// permission denied".  A result without a system error number (or of an operation
// the language has no words for) keeps its own errorText.
std::string fileErrorText(const FileResult& result, const LanguageText& texts);

}  // namespace qzm
