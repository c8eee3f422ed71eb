// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string_view>

#include "lang/text_lookup.h"

namespace qzm {

// The text of `key` in the current language, for a widget: the window's one way from a key
// to what it shows, the same lookup the std code reaches through currentLanguageTexts().
inline QString uiText(std::string_view key) {
    return QString::fromStdString(lookupText(key));
}

}  // namespace qzm
