// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace qzm {

// Tab walks the dialog's controls as the eye reads them: rows top to bottom,
// each row left to right (a template lists its buttons first).  Call once
// the controls have their places.
void orderTabsByPosition(QWidget& dialog);

}  // namespace qzm
