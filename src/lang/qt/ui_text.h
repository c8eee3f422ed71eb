// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "lang/text_lookup.h"
#include "platform/placeholders.h"

namespace qzm {

// The text of `key` in the current language, for a widget: the window's one way from a key
// to what it shows, the same lookup the std code reaches through currentLanguageTexts().
inline QString uiText(std::string_view key) {
    return QString::fromStdString(lookupText(key));
}

// The same with %1.. filled in one pass, so a value holding "%2" stays as it is.
inline QString uiText(std::string_view key, std::initializer_list<QString> values) {
    std::vector<std::string> filled;
    for (const QString& value : values) {
        filled.push_back(value.toStdString());
    }
    return QString::fromStdString(fillPlaceholders(lookupText(key), filled));
}

}  // namespace qzm
