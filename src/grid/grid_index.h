// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace qzm::grid_detail {

// A row or column number, already checked to be in range, as an index into the
// grid's per-row and per-column vectors.
inline std::size_t toIndex(int value) {
    return static_cast<std::size_t>(value);
}

}  // namespace qzm::grid_detail
