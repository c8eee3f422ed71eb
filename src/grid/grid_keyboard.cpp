// SPDX-License-Identifier: GPL-3.0-or-later
// Keyboard handling and keyboard focus.

#include <algorithm>

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>

#include "grid/grid_ctrl.h"

namespace qzm {

void CGridCtrl::takeKeyboardFocus() {
    if (!hasFocus()) {
        setFocus(Qt::OtherFocusReason);
    }
}

bool CGridCtrl::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && m_tabNavigation && (key->modifiers() & Qt::ControlModifier) == 0) {
            // The grid wants Tab for itself instead of moving to the next widget.
            keyPressEvent(key);
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void CGridCtrl::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    // Reached by Tab (or any way but a click, which sets its own cell) without a
    // focus cell, the keys would have nothing to move or edit: start at the
    // first cell that is not a header.
    if (event->reason() != Qt::MouseFocusReason && !isValid(m_focusCell) &&
        m_rowCount > m_fixedRowCount && m_columnCount > m_fixedColumnCount) {
        moveFocus(m_fixedRowCount, m_fixedColumnCount);
    }
    // The focus cell's frame shows whether the grid has the keyboard.
    if (isValid(m_focusCell)) {
        invalidateCell(m_focusCell.row, m_focusCell.col);
    }
}

void CGridCtrl::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    if (isValid(m_focusCell)) {
        invalidateCell(m_focusCell.row, m_focusCell.col);
    }
}

namespace {

int virtualKeyOf(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return VK_TAB;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return VK_RETURN;
        case Qt::Key_PageUp:
            return VK_PRIOR;
        case Qt::Key_PageDown:
            return VK_NEXT;
        case Qt::Key_End:
            return VK_END;
        case Qt::Key_Home:
            return VK_HOME;
        case Qt::Key_Left:
            return VK_LEFT;
        case Qt::Key_Up:
            return VK_UP;
        case Qt::Key_Right:
            return VK_RIGHT;
        case Qt::Key_Down:
            return VK_DOWN;
        default:
            return 0;
    }
}

}  // namespace

void CGridCtrl::keyPressEvent(QKeyEvent* event) {
    const int virtualKey = virtualKeyOf(event->key());
    const bool shift =
        (event->modifiers() & Qt::ShiftModifier) != 0 || event->key() == Qt::Key_Backtab;
    const bool control = (event->modifiers() & Qt::ControlModifier) != 0;
    if (virtualKey == VK_TAB && (control || !m_tabNavigation)) {
        // Tab the grid does not want moves on to the next control, as in a dialog.
        focusNextPrevChild(!shift);
        event->accept();
        return;
    }
    if (virtualKey == VK_RETURN) {
        requestEdit(m_focusCell.row, m_focusCell.col, 1);
    }
    if (virtualKey != 0 && onKeyDown(virtualKey, shift, control)) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool CGridCtrl::onKeyDown(int virtualKey, bool shift, bool control) {
    (void)control;
    if (!isValid(m_focusCell)) {
        return false;
    }
    const CellId focus = m_focusCell;
    CellId next = focus;
    bool wrapped = false;
    switch (virtualKey) {
        case VK_TAB:
            if (shift) {
                if (focus.col > m_fixedColumnCount) {
                    --next.col;
                } else if (focus.col == m_fixedColumnCount && focus.row > m_fixedRowCount) {
                    --next.row;
                    next.col = m_columnCount - 1;
                    wrapped = true;
                } else {
                    return false;
                }
            } else {
                if (focus.col < m_columnCount - 1) {
                    ++next.col;
                } else if (focus.row < m_rowCount - 1) {
                    ++next.row;
                    next.col = m_fixedColumnCount;
                    wrapped = true;
                } else {
                    return false;
                }
            }
            break;
        case VK_PRIOR: {
            const int before = firstScrolledCell().row;
            onVScroll(SB_PAGEUP);
            const int moved = firstScrolledCell().row - before;
            next.row = moved == 0 ? m_fixedRowCount : std::max(focus.row + moved, m_fixedRowCount);
            break;
        }
        case VK_NEXT: {
            const int before = firstScrolledCell().row;
            onVScroll(SB_PAGEDOWN);
            const int moved = firstScrolledCell().row - before;
            next.row = moved == 0 ? m_rowCount - 1 : std::min(focus.row + moved, m_rowCount - 1);
            break;
        }
        case VK_END:
            onVScroll(SB_BOTTOM);
            next.row = m_rowCount - 1;
            break;
        case VK_HOME:
            onVScroll(SB_TOP);
            next.row = m_fixedRowCount;
            break;
        case VK_LEFT:
            if (focus.col > m_fixedColumnCount)
                --next.col;
            break;
        case VK_UP:
            if (focus.row > m_fixedRowCount)
                --next.row;
            break;
        case VK_RIGHT:
            if (focus.col < m_columnCount - 1)
                ++next.col;
            break;
        case VK_DOWN:
            if (focus.row < m_rowCount - 1)
                ++next.row;
            break;
        default:
            return false;
    }
    if (next == focus) {
        return true;
    }
    if (m_mouseMode == MouseMode::None) {
        m_keptSelection.clear();
        m_mouseMode = MouseMode::SelectCells;
        if (!shift || virtualKey == VK_TAB) {
            m_selectionAnchor = next;
        }
        selectionUpdate(next);
        m_mouseMode = MouseMode::None;
    }
    moveFocus(next);
    if (isCellShown(next.row, next.col)) {
        return true;
    }
    scrollIntoView(next.row, next.col);
    switch (virtualKey) {
        case VK_TAB:
            if (shift && wrapped) {
                onVScroll(SB_LINEUP);
                setScrollPosition(Qt::Horizontal, m_hScrollMax);
            } else if (shift) {
                onHScroll(SB_LINELEFT);
            } else if (wrapped) {
                onVScroll(SB_LINEDOWN);
                setScrollPosition(Qt::Horizontal, 0);
            } else {
                onHScroll(SB_LINERIGHT);
            }
            break;
        case VK_LEFT:
            onHScroll(SB_LINELEFT);
            break;
        case VK_RIGHT:
            onHScroll(SB_LINERIGHT);
            break;
        case VK_UP:
            onVScroll(SB_LINEUP);
            break;
        case VK_DOWN:
            onVScroll(SB_LINEDOWN);
            break;
        default:
            break;
    }
    invalidateAll();
    return true;
}

}  // namespace qzm
