// SPDX-License-Identifier: GPL-3.0-or-later
// Mouse handling: clicks, dragged selections, resizing of columns and rows, the context
// menu and the wheel.

#include <algorithm>

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QWheelEvent>

#include "grid/grid_ctrl.h"

namespace qzm {

namespace {

constexpr int kWheelDelta = 120;

}  // namespace

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

}  // namespace qzm
