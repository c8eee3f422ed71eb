// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace qzm {

// Why a file operation failed, in the user's terms where the system's own text
// misleads: a parent that is a file gives "a part of the path is not a folder"
// (not "Permission denied"), a link loop names the loop, a size limit names
// the limit.  Anything else is the system's text.
std::string fileErrorReason(int error);

// For something that is there but is no regular file (a fifo, a device).
inline constexpr const char* kNotARegularFile = "not a regular file";

}  // namespace qzm
