// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/text_source.h"

namespace qzm {

std::string textOr(const TextSource& texts, std::string_view key, std::string_view fallback) {
    std::string text = texts ? texts(key) : std::string();
    return text.empty() || text == kNotFoundText ? std::string(fallback) : text;
}

}  // namespace qzm
