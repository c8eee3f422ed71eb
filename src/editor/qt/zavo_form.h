// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "editor/form_ids.h"
#include "platform/qt/dialog_template.h"

namespace qzm {

// Form template 101: the settings panel above the channel grid, and the
// hidden controls (the three settings the user never changes, the floating
// cell editors).  Controls are listed in the order a person reads the panel,
// which is also the keyboard order.
const DialogTemplate& zavoFormTemplate();

// The factory for the controls of the form that need a class of their own:
// the settings lists, the DTMF field, the floating cell editors and the place
// of the channel grid (a plain frame the view binds the grid control to).
// Everything else is a standard control.
QWidget* makeZavoFormControl(const ControlTemplate& control, QWidget* parent);

}  // namespace qzm
