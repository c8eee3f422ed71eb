// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/qt/settings_list.h"

#include <QWheelEvent>

namespace qzm {

SettingsList::SettingsList(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    setInsertPolicy(QComboBox::NoInsert);
    // Wheel focus would let the wheel itself take the focus and change the entry.
    setFocusPolicy(Qt::StrongFocus);
}

void SettingsList::wheelEvent(QWheelEvent* event) {
    if (!hasFocus()) {
        event->ignore();  // passes on to the window behind
        return;
    }
    QComboBox::wheelEvent(event);
}

}  // namespace qzm
