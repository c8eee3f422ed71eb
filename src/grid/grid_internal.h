// SPDX-License-Identifier: GPL-3.0-or-later
// Small helpers shared by the grid's own source files; not part of its interface.
#pragma once

#include <cstddef>

namespace qzm::grid_internal {

// Row and column numbers are ints in the interface, vector indices inside.
inline std::size_t toIndex(int value) {
    return static_cast<std::size_t>(value);
}

}  // namespace qzm::grid_internal
