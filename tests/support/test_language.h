// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <string>
#include <utility>

#include "platform/text_source.h"

namespace qzm::test {

// A language with the given keys; any other key is "Not Found", as in a language
// file that lacks it.
inline TextSource languageWith(std::map<std::string, std::string, std::less<>> keys) {
    return [keys = std::move(keys)](std::string_view key) {
        const auto found = keys.find(key);
        return found == keys.end() ? std::string(kNotFoundText) : found->second;
    };
}

}  // namespace qzm::test
