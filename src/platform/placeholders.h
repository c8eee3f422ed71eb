// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qzm {

// `pattern` with %1..%9 replaced by `values` in one pass, in whatever order the language
// puts them, so a "%2" inside a value stays as it is.  A placeholder without a value
// stays as written.
std::string fillPlaceholders(std::string_view pattern, const std::vector<std::string>& values);

}  // namespace qzm
