// SPDX-License-Identifier: GPL-3.0-or-later
// Cell positions and rectangles and the visible range of the grid.

#include <vector>

#include <QPoint>
#include <QRect>
#include <QScrollBar>

#include "grid/grid_ctrl.h"
#include "grid/grid_internal.h"

namespace qzm {

using grid_internal::toIndex;

QRect CGridCtrl::clientRect() const {
    return viewport()->rect();
}

int CGridCtrl::scrollPosition(Qt::Orientation orientation) const {
    return orientation == Qt::Vertical ? verticalScrollBar()->value()
                                       : horizontalScrollBar()->value();
}

CellId CGridCtrl::firstScrolledCell() const {
    CellId first{m_fixedRowCount, m_fixedColumnCount};
    const int vertical = scrollPosition(Qt::Vertical);
    for (int sum = 0; sum < vertical && first.row < m_rowCount - 1; ++first.row) {
        sum += m_rowHeights[toIndex(first.row)];
    }
    const int horizontal = scrollPosition(Qt::Horizontal);
    for (int sum = 0; sum < horizontal && first.col < m_columnCount - 1; ++first.col) {
        sum += m_columnWidths[toIndex(first.col)];
    }
    return first;
}

bool CGridCtrl::cellOrigin(int row, int col, QPoint* origin) const {
    if (!isValid(row, col)) {
        return false;
    }
    const CellId first = firstScrolledCell();
    if ((col >= m_fixedColumnCount && col < first.col) ||
        (row >= m_fixedRowCount && row < first.row)) {
        return false;
    }
    int x = 0;
    if (col < m_fixedColumnCount) {
        for (int c = 0; c < col; ++c)
            x += m_columnWidths[toIndex(c)];
    } else {
        x = fixedColumnsWidth();
        for (int c = first.col; c < col; ++c)
            x += m_columnWidths[toIndex(c)];
    }
    int y = 0;
    if (row < m_fixedRowCount) {
        for (int r = 0; r < row; ++r)
            y += m_rowHeights[toIndex(r)];
    } else {
        y = fixedRowsHeight();
        for (int r = first.row; r < row; ++r)
            y += m_rowHeights[toIndex(r)];
    }
    if (origin != nullptr) {
        *origin = QPoint(x, y);
    }
    return true;
}

bool CGridCtrl::cellRect(int row, int col, QRect* rect) const {
    QPoint origin;
    if (!cellOrigin(row, col, &origin)) {
        return false;
    }
    if (rect != nullptr) {
        *rect =
            QRect(origin.x(), origin.y(), m_columnWidths[toIndex(col)], m_rowHeights[toIndex(row)]);
    }
    return true;
}

bool CGridCtrl::rangeRect(const CellRange& range, QRect* rect) const {
    QPoint origin;
    QRect last;
    if (!cellOrigin(range.minRow, range.minCol, &origin) ||
        !cellRect(range.maxRow, range.maxCol, &last)) {
        return false;
    }
    if (rect != nullptr) {
        *rect = QRect(origin, last.bottomRight());
    }
    return true;
}

CellRange CGridCtrl::visibleRange(QRect* extent) const {
    const QRect client = clientRect();
    const CellId first = firstScrolledCell();
    int row = first.row;
    int y = fixedRowsHeight();
    while (row < m_rowCount) {
        y += m_rowHeights[toIndex(row)];
        if (y >= client.height()) {
            y = client.height();
            break;
        }
        ++row;
    }
    int col = first.col;
    int x = fixedColumnsWidth();
    while (col < m_columnCount) {
        x += m_columnWidths[toIndex(col)];
        if (x >= client.width()) {
            x = client.width();
            break;
        }
        ++col;
    }
    if (extent != nullptr) {
        *extent = QRect(0, 0, x, y);
    }
    return {first.row, first.col, std::min(row, m_rowCount - 1), std::min(col, m_columnCount - 1)};
}

CellRange CGridCtrl::fullyVisibleRange() const {
    const QRect client = clientRect();
    const CellId first = firstScrolledCell();
    int row = first.row;
    int y = fixedRowsHeight();
    while (row < m_rowCount) {
        y += m_rowHeights[toIndex(row)];
        if (y >= client.height()) {
            break;
        }
        ++row;
    }
    int maxRow = std::min(row, m_rowCount - 1);
    if (maxRow > 0 && y > client.height()) {
        --maxRow;
    }
    int col = first.col;
    int x = fixedColumnsWidth();
    while (col < m_columnCount) {
        x += m_columnWidths[toIndex(col)];
        if (x >= client.width()) {
            break;
        }
        ++col;
    }
    int maxCol = std::min(col, m_columnCount - 1);
    if (maxCol > 0 && x > client.width()) {
        --maxCol;
    }
    return {first.row, first.col, maxRow, maxCol};
}

bool CGridCtrl::isCellShown(int row, int col) const {
    QPoint origin;
    if (!cellOrigin(row, col, &origin)) {
        return false;
    }
    const QRect client = clientRect();
    return origin.x() < client.width() && origin.y() < client.height();
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

}  // namespace qzm
