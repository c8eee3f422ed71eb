// SPDX-License-Identifier: GPL-3.0-or-later
// Redraw requests: which parts of the grid's viewport get painted again.

#include <QRect>

#include "grid/grid_ctrl.h"

namespace qzm {

void CGridCtrl::enableRedraw(bool allow, bool updateBars) {
    if (allow && !m_redrawEnabled) {
        viewport()->update();
    }
    m_redrawEnabled = allow;
    if (updateBars) {
        updateScrollBars();
    }
}

void CGridCtrl::invalidateAll() {
    if (m_redrawEnabled) {
        viewport()->update();
    }
}

void CGridCtrl::invalidateRect(const QRect& rect) {
    if (m_redrawEnabled && !rect.isEmpty()) {
        viewport()->update(rect);
    }
}

bool CGridCtrl::invalidateCell(int row, int col) {
    QRect rect;
    if (!m_redrawEnabled || !isCellShown(row, col) || !cellRect(row, col, &rect)) {
        return false;
    }
    invalidateRect(rect);
    return true;
}

void CGridCtrl::invalidateShownCellEnlarged(int row, int col) {
    QRect rect;
    if (m_redrawEnabled && isCellShown(row, col) && cellRect(row, col, &rect)) {
        invalidateRect(rect.adjusted(0, 0, 1, 1));
    }
}

bool CGridCtrl::invalidateRow(int row) {
    if (!m_redrawEnabled) {
        return false;
    }
    bool all = row >= 0 && row < m_rowCount;
    for (int col = 0; col < m_columnCount; ++col) {
        all = invalidateCell(row, col) && all;
    }
    return all;
}

bool CGridCtrl::invalidateColumn(int col) {
    if (!m_redrawEnabled) {
        return false;
    }
    bool all = col >= 0 && col < m_columnCount;
    for (int row = 0; row < m_rowCount; ++row) {
        all = invalidateCell(row, col) && all;
    }
    return all;
}

bool CGridCtrl::invalidateRange(const CellRange& range) {
    if (!m_redrawEnabled) {
        return false;
    }
    const CellRange shown = visibleRange();
    const CellRange clipped{
        std::max(range.minRow, shown.minRow), std::max(range.minCol, shown.minCol),
        std::min(range.maxRow, shown.maxRow), std::min(range.maxCol, shown.maxCol)};
    QRect rect;
    if (!rangeRect(clipped, &rect)) {
        return false;
    }
    invalidateRect(rect.adjusted(0, 0, 1, 1));
    return true;
}

}  // namespace qzm
