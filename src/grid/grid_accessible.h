// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Assistive technology sees a grid as a table: its non-fixed cells are the table's
// cells, its fixed rows and columns the header cells.

namespace qzm {

// Registers the accessibility factory for grids (once; called by every grid).
void installGridAccessibility();

}  // namespace qzm
