// SPDX-License-Identifier: GPL-3.0-or-later
// Notifications: to the owner (edit requests and the rest) and to assistive technology.

#include <QAccessible>
#include <QRect>

#include "grid/grid_ctrl.h"

namespace qzm {

int CGridCtrl::notifyOwner(int row, int col, int code) {
    if (m_destroying) {
        return 0;
    }
    GridOwner* destination = owner();
    if (destination == nullptr) {
        return 0;
    }
    GridNotify notify;
    notify.header = NotifyHeader{this, controlId(), code};
    notify.item.row = row;
    notify.item.col = col;
    notify.item.mask = ITEM_ALL;
    readItem(&notify.item);
    QRect rect;
    if (cellRect(row, col, &rect)) {
        m_overlayRect = rect;
        notify.rect = QRect(viewport()->mapToGlobal(rect.topLeft()), rect.size());
    }
    return destination->onGridNotify(notify);
}

void CGridCtrl::announceFocus() {
    if (!QAccessible::isActive() || !isValid(m_focusCell)) {
        return;
    }
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(m_focusCell.row * m_columnCount + m_focusCell.col);
    QAccessible::updateAccessibility(&event);
}

void CGridCtrl::requestEdit(int row, int col, int key) {
    (void)key;
    scrollIntoView(row, col);
    QRect rect;
    if (isValid(row, col) && m_editingAllowed && (cellState(row, col) & CELL_READONLY) == 0 &&
        isCellShown(row, col) && cellRect(row, col, &rect)) {
        notifyOwner(row, col, GN_EDIT_REQUEST);
    }
}

}  // namespace qzm
