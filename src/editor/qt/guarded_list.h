// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QComboBox;

namespace qzm {

// A drop-down list whose choice destroys data (the band list) must not change
// by a stray arrow key, a typed letter or the mouse wheel: a closed list then
// ignores those, and Enter, Space or F4 open it; a choice is made only in the
// opened list.
void guardAgainstStrayChoice(QComboBox& list);

}  // namespace qzm
