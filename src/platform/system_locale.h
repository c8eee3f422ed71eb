// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace qzm {

// Whether the locale values select Chinese (People's Republic of China).  The
// first of LC_ALL, LC_MESSAGES and LANG that is set and not empty decides, as
// POSIX ranks them; a value starting with "zh_CN" counts.
bool isChinesePrcLocale(std::string_view lcAll, std::string_view lcMessages, std::string_view lang);

// The same for the process's environment.
bool systemLocaleIsChinesePrc();

}  // namespace qzm
