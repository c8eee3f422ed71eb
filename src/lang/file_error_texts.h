// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "platform/result.h"
#include "platform/text_source.h"

namespace qzm {

// The reason for a system error number in the language behind `texts`: a key per
// common error (no such file, permission denied, no space, read-only file system, in
// use, ...); any other number gives IDS_ERRNO_OTHER with the system's own text as its
// detail.  A key the language lacks falls back to English.
std::string errnoReasonText(int error, const TextSource& texts);

// A failed file operation's sentence in that language: "Cannot create "<file>":
// permission denied".  An error without a system error number (or of an operation
// the language has no words for) keeps its own text; success has none.
std::string fileErrorText(const Error& error, const TextSource& texts);
std::string fileErrorText(const Status& status, const TextSource& texts);

}  // namespace qzm
