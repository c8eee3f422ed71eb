// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/system_locale.h"

#include <cstdlib>

namespace qzm {

bool isChinesePrcLocale(std::string_view lcAll, std::string_view lcMessages,
                        std::string_view lang) {
    for (const auto value : {lcAll, lcMessages, lang}) {
        if (!value.empty()) {
            return value.starts_with("zh_CN");
        }
    }
    return false;
}

bool systemLocaleIsChinesePrc() {
    const auto variable = [](const char* name) -> std::string_view {
        const char* value = std::getenv(name);
        return value != nullptr ? value : "";
    };
    return isChinesePrcLocale(variable("LC_ALL"), variable("LC_MESSAGES"), variable("LANG"));
}

}  // namespace qzm
