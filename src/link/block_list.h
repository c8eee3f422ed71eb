// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace qzm {

// "5 (0x028), 77 (0x268)": the first `named` blocks with their image addresses, then
// ", ..." when more differ.  The words around it belong to the caller's language.
std::string blockListText(const std::vector<int>& blocks, std::size_t named = 5);

}  // namespace qzm
