// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace qzm {

// Captions of a built dialog (platform/qt/dialog_builder.h) from section
// Resource of the current language file: the dialog's title from key
// `dialogId`, then each control, in creation order, from the key of its
// control id.  Missing or empty entries leave the template caption.
void applyResourceTexts(QWidget* dialog, int dialogId);

}  // namespace qzm
