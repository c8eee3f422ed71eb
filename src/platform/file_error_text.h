// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "platform/result.h"
#include "platform/text_source.h"

namespace qzm {

// Why a file operation failed, in the user's terms where the system's own text
// misleads: a parent that is a file gives "a part of the path is not a folder"
// (not "Permission denied"), a link loop names the loop, a size limit names
// the limit.  Anything else is the system's text.  English: the command line's
// words, and the text an Error carries.
std::string fileErrorReason(int error);

// For something that is there but is no regular file (a fifo, a device).
inline constexpr const char* kNotARegularFile = "not a regular file";

// The reason for a system error number in the language behind `texts`: a key per
// common error (no such file, permission denied, no space, read-only file system, in
// use, a folder, ...); any other number gives IDS_ERRNO_OTHER with the system's own
// text as its detail.  A key the language lacks falls back to English.
std::string errnoReasonText(int error, const TextSource& texts);

// A failed file operation's sentence in that language: "Cannot create "<file>":
// permission denied".  An error of an operation the language has no words for, or
// with a reason that is neither a system error nor kNotARegularFile, keeps its own
// text; success has none.
std::string fileErrorText(const Error& error, const TextSource& texts);
std::string fileErrorText(const Status& status, const TextSource& texts);

}  // namespace qzm
