// SPDX-License-Identifier: GPL-3.0-or-later
// Painting header rows and single rows onto a printer's painter.

#include <QPainter>
#include <QRect>

#include "grid/grid_ctrl.h"
#include "grid/grid_internal.h"

namespace qzm {

using grid_internal::toIndex;

void CGridCtrl::printFixedRows(QPainter& dc) {
    const bool horizontal = m_gridLines == GridLines::Horizontal || m_gridLines == GridLines::Both;
    const bool vertical = m_gridLines == GridLines::Vertical || m_gridLines == GridLines::Both;
    int top = 0;
    for (int row = 0; row < m_fixedRowCount; ++row) {
        const int height = m_rowHeights[toIndex(row)];
        int left = 0;
        for (int col = 0; col < m_columnCount; ++col) {
            const int width = m_columnWidths[toIndex(col)];
            const QRect rect(left, top, width, height);
            paintFixedCell(dc, row, col, rect, false);
            if (horizontal) {
                const int from = col == 0 ? rect.left() : rect.left() - 1;
                dc.drawLine(from, rect.bottom(), rect.right(), rect.bottom());
                if (row == 0) {
                    dc.drawLine(from, rect.top(), rect.right(), rect.top());
                }
            }
            if (vertical) {
                const int from = row == 0 ? rect.top() : rect.top() - 1;
                dc.drawLine(rect.right(), from, rect.right(), rect.bottom());
                if (col == 0) {
                    dc.drawLine(rect.left(), from, rect.left(), rect.bottom());
                }
            }
            left += width;
        }
        top += height;
    }
}

void CGridCtrl::printRow(QPainter& dc, int row) {
    if (row < 0 || row >= m_rowCount) {
        return;
    }
    const bool horizontal = m_gridLines == GridLines::Horizontal || m_gridLines == GridLines::Both;
    const bool vertical = m_gridLines == GridLines::Vertical || m_gridLines == GridLines::Both;
    const int height = m_rowHeights[toIndex(row)];
    int left = 0;
    for (int col = 0; col < m_columnCount; ++col) {
        const int width = m_columnWidths[toIndex(col)];
        const QRect rect(left, 0, width, height);
        paintCell(dc, row, col, rect, false);
        if (horizontal) {
            const int from = col == 0 ? rect.left() : rect.left() - 1;
            dc.drawLine(from, rect.bottom(), rect.right(), rect.bottom());
            if (row == 0) {
                dc.drawLine(from, 0, rect.right(), 0);
            }
        }
        if (vertical) {
            const int from = row == 1 ? 0 : -1;
            dc.drawLine(rect.right(), from, rect.right(), rect.bottom());
            if (col == 0) {
                dc.drawLine(rect.left(), from, rect.left(), rect.bottom());
            }
        }
        left += width;
    }
}

}  // namespace qzm
