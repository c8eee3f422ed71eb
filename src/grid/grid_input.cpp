// SPDX-License-Identifier: GPL-3.0-or-later
// Focus, selection, mouse, keyboard and wheel handling, and the notifications to the owner.

#include <algorithm>

#include <QAccessible>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include "grid/grid_ctrl.h"

namespace qzm {

namespace {

constexpr int kWheelDelta = 120;

}  // namespace

void CGridCtrl::takeKeyboardFocus() {
    if (!hasFocus()) {
        setFocus(Qt::OtherFocusReason);
    }
}

// --- notifications --------------------------------------------------------------------

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

// --- focus and selection --------------------------------------------------------------

CellId CGridCtrl::moveFocus(int row, int col) {
    const CellId target{row, col};
    if (target == m_focusCell) {
        return m_focusCell;
    }
    const CellId old = m_focusCell;
    m_focusCell = target;
    if (isValid(old)) {
        notifyOwner(old.row, old.col, GN_FOCUS_LEAVE);
        // The owner may have reshaped the table while it handled the notification.
        if (isValid(old)) {
            setCellState(old.row, old.col, cellState(old.row, old.col) & ~CELL_FOCUSED);
            invalidateCell(old.row, old.col);
            if (old.col != target.col) {
                for (int r = 0; r < m_fixedRowCount; ++r)
                    invalidateCell(r, old.col);
            }
            if (old.row != target.row) {
                for (int c = 0; c < m_fixedColumnCount; ++c)
                    invalidateCell(old.row, c);
            }
        }
    }
    if (isValid(target) && m_focusCell == target) {
        setCellState(row, col, cellState(row, col) | CELL_FOCUSED);
        invalidateCell(row, col);
        if (old.col != target.col) {
            for (int r = 0; r < m_fixedRowCount; ++r)
                invalidateCell(r, col);
        }
        if (old.row != target.row) {
            for (int c = 0; c < m_fixedColumnCount; ++c)
                invalidateCell(row, c);
        }
        notifyOwner(row, col, GN_FOCUS_ENTER);
        announceFocus();
    }
    return old;
}

void CGridCtrl::announceFocus() {
    if (!QAccessible::isActive() || !isValid(m_focusCell)) {
        return;
    }
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(m_focusCell.row * m_columnCount + m_focusCell.col);
    QAccessible::updateAccessibility(&event);
}

void CGridCtrl::selectRange(const CellRange& range, bool exact) {
    if (!m_selectionAllowed) {
        return;
    }
    auto invalidate = [&](const CellId& id) {
        if (exact) {
            invalidateCell(id.row, id.col);
        } else {
            invalidateShownCellEnlarged(id.row, id.col);
        }
    };
    const bool rangeValid = isValid(range);
    auto inRange = [&](const CellId& id) {
        return rangeValid && id.row >= range.minRow && id.row <= range.maxRow &&
               id.col >= range.minCol && id.col <= range.maxCol;
    };
    const std::vector<CellId> previous(m_selectedCells.begin(), m_selectedCells.end());
    for (const CellId& id : previous) {
        if (!isValid(id)) {
            m_selectedCells.erase(id);
            continue;
        }
        setCellState(id.row, id.col, cellState(id.row, id.col) & ~CELL_SELECTED);
        if (!inRange(id)) {
            invalidate(id);
        }
    }
    for (const CellId& id : m_keptSelection) {
        if (isValid(id)) {
            setCellState(id.row, id.col, cellState(id.row, id.col) | CELL_SELECTED);
            invalidate(id);
        }
    }
    if (rangeValid) {
        for (int row = range.minRow; row <= range.maxRow; ++row) {
            for (int col = range.minCol; col <= range.maxCol; ++col) {
                const std::uint32_t state = cellState(row, col);
                if ((state & CELL_SELECTED) == 0) {
                    setCellState(row, col, state | CELL_SELECTED);
                    invalidate(CellId{row, col});
                }
            }
        }
    }
}

void CGridCtrl::clearSelection() {
    selectRange(CellRange{-1, -1, -1, -1});
    moveFocus(-1, -1);
}

std::vector<CellId> CGridCtrl::selectedCells() const {
    return std::vector<CellId>(m_selectedCells.begin(), m_selectedCells.end());
}

void CGridCtrl::selectionUpdate(CellId cell) {
    if (!m_selectionAllowed) {
        return;
    }
    const CellId anchor = m_selectionAnchor;
    switch (m_mouseMode) {
        case MouseMode::SelectAll:
            selectRange({m_fixedRowCount, m_fixedColumnCount, m_rowCount - 1, m_columnCount - 1});
            break;
        case MouseMode::SelectColumns:
            if (isValid(cell) && cell.col >= m_fixedColumnCount) {
                selectRange({m_fixedRowCount, std::min(anchor.col, cell.col), m_rowCount - 1,
                             std::max(anchor.col, cell.col)});
            }
            break;
        case MouseMode::SelectRows:
            if (isValid(cell) && cell.row >= m_fixedRowCount) {
                selectRange({std::min(anchor.row, cell.row), m_fixedColumnCount,
                             std::max(anchor.row, cell.row), m_columnCount - 1});
            }
            break;
        case MouseMode::SelectCells:
            if (isValid(cell) && cell.row >= m_fixedRowCount && cell.col >= m_fixedColumnCount) {
                selectRange({std::min(anchor.row, cell.row), std::min(anchor.col, cell.col),
                             std::max(anchor.row, cell.row), std::max(anchor.col, cell.col)});
            }
            break;
        default:
            break;
    }
}

void CGridCtrl::onColumnHeaderClick(CellId cell) {
    if (!isValid(cell)) {
        return;
    }
    m_mouseMode = cell.col < m_fixedColumnCount ? MouseMode::SelectAll : MouseMode::SelectColumns;
    selectionUpdate(cell);
}

void CGridCtrl::onRowHeaderClick(CellId cell) {
    if (!isValid(cell)) {
        return;
    }
    m_mouseMode = cell.row < m_fixedRowCount ? MouseMode::SelectAll : MouseMode::SelectRows;
    selectionUpdate(cell);
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

CellId CGridCtrl::hitTest(const QPoint& point, bool allowFixed) const {
    const CellId first = firstScrolledCell();
    auto locate = [allowFixed](int at, int fixedSize, int fixedCount, int firstScrolled, int count,
                               const std::vector<int>& sizes) {
        if (at < 0) {
            return -1;
        }
        if (at < fixedSize) {
            if (!allowFixed) {
                return -1;
            }
            int end = 0;
            for (int i = 0; i < fixedCount; ++i) {
                end += sizes[static_cast<std::size_t>(i)];
                if (end > at) {
                    return i;
                }
            }
            return -1;
        }
        int end = fixedSize;
        for (int i = firstScrolled; i < count; ++i) {
            end += sizes[static_cast<std::size_t>(i)];
            if (end > at) {
                return i;
            }
        }
        return -1;
    };
    return CellId{
        locate(point.y(), fixedRowsHeight(), m_fixedRowCount, first.row, m_rowCount, m_rowHeights),
        locate(point.x(), fixedColumnsWidth(), m_fixedColumnCount, first.col, m_columnCount,
               m_columnWidths)};
}

// --- mouse ----------------------------------------------------------------------------

void CGridCtrl::setViewportCursor(Qt::CursorShape shape) {
    m_cursorShape = shape;
    viewport()->setCursor(shape);
}

void CGridCtrl::invertBand(const QRect& band) {
    if (m_band == band) {
        m_band = QRect();
    } else {
        invalidateRect(m_band);
        m_band = band;
    }
    // The band is drawn whatever the redraw switch says, as an inverted band would be.
    viewport()->update(band);
}

QPoint CGridCtrl::clampToCursorClip(const QPoint& point) const {
    if (!m_cursorClipped) {
        return point;
    }
    return QPoint(std::clamp(point.x(), m_cursorClip.left(), m_cursorClip.right()),
                  std::clamp(point.y(), m_cursorClip.top(), m_cursorClip.bottom()));
}

void CGridCtrl::onLeftButtonDown(const QPoint& point, bool shift, bool control) {
    m_buttonDownPoint = point;
    m_clickedCell = hitTest(point, true);
    if (!isValid(m_clickedCell)) {
        return;
    }
    m_selectionAnchor = shift ? m_focusCell : m_clickedCell;
    takeKeyboardFocus();
    if (m_clickedCell == m_focusCell) {
        return;
    }
    moveFocus(-1, -1);
    moveFocus(std::max(m_clickedCell.row, m_fixedRowCount),
              std::max(m_clickedCell.col, m_fixedColumnCount));
    const QRect client = clientRect();
    if (m_mouseMode == MouseMode::OverColumnDivider) {
        m_mouseMode = MouseMode::SizingColumn;
        QPoint origin;
        if (!cellOrigin(0, m_clickedCell.col, &origin)) {
            return;
        }
        invertBand(QRect(point.x(), 0, 2, client.height()));
        if (point.x() - origin.x() <= m_resizeCaptureWidth) {
            --m_clickedCell.col;
            if (!cellOrigin(0, m_clickedCell.col, &origin)) {
                return;
            }
        }
        m_cursorClip = QRect(QPoint(origin.x(), 0), client.bottomRight());
        m_cursorClipped = true;
    } else if (m_mouseMode == MouseMode::OverRowDivider) {
        m_mouseMode = MouseMode::SizingRow;
        QPoint origin;
        if (!cellOrigin(m_clickedCell.row, m_clickedCell.col, &origin)) {
            return;
        }
        invertBand(QRect(0, point.y(), client.width(), 2));
        if (point.y() - origin.y() <= m_resizeCaptureWidth) {
            --m_clickedCell.row;
            if (!cellOrigin(m_clickedCell.row, 0, &origin)) {
                return;
            }
        }
        m_cursorClip = QRect(QPoint(0, origin.y()), client.bottomRight());
        m_cursorClipped = true;
    } else {
        m_keptSelection.clear();
        if (control) {
            m_keptSelection = m_selectedCells;
        }
        if (m_clickedCell.row < m_fixedRowCount) {
            onColumnHeaderClick(m_clickedCell);
        } else if (m_clickedCell.col < m_fixedColumnCount) {
            onRowHeaderClick(m_clickedCell);
        } else {
            m_mouseMode = MouseMode::SelectCells;
            selectionUpdate(m_clickedCell);
        }
    }
    m_lastMousePoint = point;
}

void CGridCtrl::onMouseMove(const QPoint& rawPoint, bool leftButton) {
    const QPoint point = clampToCursorClip(rawPoint);
    const QRect client = clientRect();
    if (!client.contains(point)) {
        return;
    }
    if (!leftButton) {
        auto hover = [&](bool onDivider, MouseMode dividerMode, Qt::CursorShape shape) {
            if (onDivider) {
                if (m_mouseMode != dividerMode) {
                    setViewportCursor(shape);
                }
                m_mouseMode = dividerMode;
            } else {
                if (m_mouseMode != MouseMode::None) {
                    setViewportCursor(Qt::ArrowCursor);
                }
                m_mouseMode = MouseMode::None;
            }
        };
        if (point.y() < fixedRowsHeight() && m_columnResizeAllowed) {
            const CellId over = hitTest(point, true);
            QRect rect;
            if (!cellRect(over.row, over.col, &rect)) {
                return;
            }
            const int x = point.x();
            const bool onDivider = (x - rect.left() <= m_resizeCaptureWidth && over.col != 0) ||
                                   (rect.left() + rect.width() - x <= m_resizeCaptureWidth);
            hover(onDivider, MouseMode::OverColumnDivider, Qt::SizeHorCursor);
        } else if (point.x() < fixedColumnsWidth() && m_rowResizeAllowed) {
            const CellId over = hitTest(point, true);
            QRect rect;
            if (!cellRect(over.row, over.col, &rect)) {
                return;
            }
            const int y = point.y();
            const bool onDivider = (y - rect.top() <= m_resizeCaptureWidth && over.row != 0) ||
                                   (rect.top() + rect.height() - y <= m_resizeCaptureWidth);
            hover(onDivider, MouseMode::OverRowDivider, Qt::SizeVerCursor);
        } else {
            hover(false, MouseMode::None, Qt::ArrowCursor);
        }
    } else if (isValid(m_clickedCell)) {
        switch (m_mouseMode) {
            case MouseMode::SelectColumns:
            case MouseMode::SelectRows:
            case MouseMode::SelectCells: {
                const CellId over = hitTest(point, true);
                if (!isValid(over)) {
                    return;
                }
                selectionUpdate(over);
                if (over.row >= m_fixedRowCount && over.col >= m_fixedColumnCount) {
                    moveFocus(over);
                }
                break;
            }
            case MouseMode::SizingRow:
                invertBand(QRect(0, m_lastMousePoint.y(), client.width(), 2));
                invertBand(QRect(0, point.y(), client.width(), 2));
                break;
            case MouseMode::SizingColumn:
                invertBand(QRect(m_lastMousePoint.x(), 0, 2, client.height()));
                invertBand(QRect(point.x(), 0, 2, client.height()));
                break;
            default:
                break;
        }
    }
    m_lastMousePoint = point;
}

void CGridCtrl::onLeftButtonUp(const QPoint& rawPoint) {
    const QPoint point = clampToCursorClip(rawPoint);
    m_cursorClipped = false;
    const QRect client = clientRect();
    switch (m_mouseMode) {
        case MouseMode::None:
        case MouseMode::SelectCells:
            requestEdit(m_focusCell.row, m_focusCell.col, 1);
            break;
        case MouseMode::SizingColumn: {
            invertBand(QRect(m_lastMousePoint.x(), 0, 2, client.height()));
            if (point != m_buttonDownPoint) {
                QPoint origin;
                if (!cellOrigin(m_clickedCell.row, m_clickedCell.col, &origin)) {
                    return;
                }
                setColumnWidth(m_clickedCell.col, point.x() - origin.x());
                updateScrollBars();
                invalidateAll();
            }
            break;
        }
        case MouseMode::SizingRow: {
            invertBand(QRect(0, m_lastMousePoint.y(), client.width(), 2));
            if (point != m_buttonDownPoint) {
                QPoint origin;
                if (!cellOrigin(m_clickedCell.row, m_clickedCell.col, &origin)) {
                    return;
                }
                setRowHeight(m_clickedCell.row, point.y() - origin.y());
                updateScrollBars();
                invalidateAll();
            }
            break;
        }
        default:
            break;
    }
    if (!m_band.isEmpty()) {
        // Whatever the drag did, no tracking band outlives the button.
        viewport()->update(m_band);
        m_band = QRect();
    }
    m_mouseMode = MouseMode::None;
    setViewportCursor(Qt::ArrowCursor);
    if (isValid(m_clickedCell) && owner() != nullptr) {
        // Posted: the owner sees the command after the click has been handled.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (GridOwner* destination = owner()) {
                    destination->onGridCommand(controlId(), this);
                }
            },
            Qt::QueuedConnection);
    }
}

void CGridCtrl::onRightButtonUp(const QPoint& point) {
    CellRange bounds{m_rowCount, m_columnCount, -1, -1};
    for (const CellId& id : m_selectedCells) {
        bounds.minRow = std::min(bounds.minRow, id.row);
        bounds.minCol = std::min(bounds.minCol, id.col);
        bounds.maxRow = std::max(bounds.maxRow, id.row);
        bounds.maxCol = std::max(bounds.maxCol, id.col);
    }
    if (!isValid(bounds)) {
        return;
    }
    QMenu* menu = m_contextMenu;
    if (menu == nullptr) {
        if (auto* mainWindow = qobject_cast<QMainWindow*>(window())) {
            const auto menus = mainWindow->menuBar()->actions();
            if (menus.size() > 1) {
                menu = menus[1]->menu();
            }
        }
    }
    if (menu != nullptr) {
        menu->popup(viewport()->mapToGlobal(point));
    }
}

void CGridCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        onLeftButtonDown(event->position().toPoint(), (event->modifiers() & Qt::ShiftModifier) != 0,
                         (event->modifiers() & Qt::ControlModifier) != 0);
    }
    event->accept();
}

void CGridCtrl::mouseMoveEvent(QMouseEvent* event) {
    onMouseMove(event->position().toPoint(), (event->buttons() & Qt::LeftButton) != 0);
    event->accept();
}

void CGridCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        onLeftButtonUp(event->position().toPoint());
    } else if (event->button() == Qt::RightButton) {
        onRightButtonUp(event->position().toPoint());
    }
    event->accept();
}

void CGridCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click does nothing; its release is an ordinary one.
    event->accept();
}

// --- wheel ----------------------------------------------------------------------------

void CGridCtrl::postScroll(Qt::Orientation orientation, int code) {
    QMetaObject::invokeMethod(
        this, [this, orientation, code] { onScroll(orientation, code); }, Qt::QueuedConnection);
}

void CGridCtrl::onMouseWheel(int delta) {
    // Whole notches scroll as the classic rule says; the remainder of a fine-grained
    // wheel or touchpad is kept for the next event instead of being lost.
    int lines = 0;
    int pages = 0;
    if (m_wheelLines == -1) {
        m_wheelRemainder += delta;
        pages = m_wheelRemainder / kWheelDelta;
        m_wheelRemainder -= pages * kWheelDelta;
    } else {
        m_wheelRemainder += delta * m_wheelLines;
        lines = m_wheelRemainder / kWheelDelta;
        m_wheelRemainder -= lines * kWheelDelta;
    }
    for (int i = 0; i < pages; ++i)
        postScroll(Qt::Vertical, SB_PAGEUP);
    for (int i = 0; i < -pages; ++i)
        postScroll(Qt::Vertical, SB_PAGEDOWN);
    for (int i = 0; i < lines; ++i)
        postScroll(Qt::Vertical, SB_LINEUP);
    for (int i = 0; i < -lines; ++i)
        postScroll(Qt::Vertical, SB_LINEDOWN);
}

void CGridCtrl::wheelEvent(QWheelEvent* event) {
    onMouseWheel(event->angleDelta().y());
    event->accept();
}

// --- keyboard -------------------------------------------------------------------------

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
