// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace qzm::test {

// Checks every dialog shares: one line per fault found, empty when none.
// The dialog must be shown (layouts settle only then).

// Labels, buttons and check boxes whose caption is wider than the room the
// widget gives it (word-wrapping labels excepted).
std::vector<std::string> cutCaptions(const QWidget& dialog);

// The focusable controls of the dialog in the order Tab visits them from
// the one that has the focus (else from the first), described by class and
// caption or accessible name.
std::vector<std::string> tabChain(QWidget& dialog);

// The same controls in layout order: rows top to bottom, each row left to right.
std::vector<std::string> layoutOrder(QWidget& dialog);

}  // namespace qzm::test
