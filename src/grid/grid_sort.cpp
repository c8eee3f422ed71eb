// SPDX-License-Identifier: GPL-3.0-or-later
// Sizing to content, stretching to the client, sorting rows and finding cells by state.

#include <algorithm>
#include <string>
#include <utility>

#include <QFontMetrics>

#include "grid/grid_ctrl.h"
#include "grid/grid_internal.h"

namespace qzm {

using grid_internal::toIndex;

namespace {

// The partition sort the grid has always used: rows with equal keys are never
// exchanged, and the pivot key is taken once per range.
template <typename Key, typename Compare, typename Exchange>
bool partitionSort(std::vector<Key>& keys, int lo, int hi, bool ascending, const Compare& compare,
                   const Exchange& exchange) {
    if (lo >= hi) {
        return false;
    }
    const Key pivot = keys[toIndex((lo + hi) / 2)];
    int i = lo;
    int j = hi;
    while (j >= i) {
        if (ascending) {
            while (i < hi && compare(keys[toIndex(i)], pivot) < 0)
                ++i;
            while (j > lo && compare(keys[toIndex(j)], pivot) > 0)
                --j;
        } else {
            while (i < hi && compare(keys[toIndex(i)], pivot) > 0)
                ++i;
            while (j > lo && compare(keys[toIndex(j)], pivot) < 0)
                --j;
        }
        if (j < i) {
            break;
        }
        if (compare(keys[toIndex(i)], keys[toIndex(j)]) != 0) {
            std::swap(keys[toIndex(i)], keys[toIndex(j)]);
            exchange(i, j);
        }
        ++i;
        --j;
    }
    if (lo < j) {
        partitionSort(keys, lo, j, ascending, compare, exchange);
    }
    if (i < hi) {
        partitionSort(keys, i, hi, ascending, compare, exchange);
    }
    return true;
}

}  // namespace

QSize CGridCtrl::measureCell(int row, int col, QPaintDevice* dc) const {
    const GridCell* source = cellAt(row, col);
    if (source == nullptr) {
        return QSize();
    }
    QFont measured = source->font;
    if (row < m_fixedRowCount || col < m_fixedColumnCount) {
        measured.setWeight(QFont::DemiBold);
    }
    const QFontMetrics metrics =
        dc != nullptr ? QFontMetrics(measured, dc) : QFontMetrics(measured);
    const QStringList lines = cellText(row, col).split(QLatin1Char('\n'));
    int textWidth = 0;
    for (const QString& line : lines) {
        textWidth = std::max(textWidth, metrics.horizontalAdvance(line));
    }
    const int textHeight = metrics.height() * static_cast<int>(lines.size());
    int imageWidth = 0;
    int imageHeight = 0;
    if (m_imageList != nullptr && source->image >= 0 &&
        toIndex(source->image) < m_imageList->size()) {
        const QPixmap& image = (*m_imageList)[toIndex(source->image)];
        imageWidth = image.width();
        imageHeight = image.height();
    }
    return QSize(textWidth + 4 * m_margin + imageWidth,
                 std::max(imageHeight, textHeight + 2 * m_margin));
}

bool CGridCtrl::fitColumn(int col) {
    if (col < 0 || col >= m_columnCount) {
        return false;
    }
    int width = 0;
    for (int row = 0; row < m_rowCount; ++row) {
        width = std::max(width, measureCell(row, col, viewport()).width());
    }
    setColumnWidth(col, width);
    updateScrollBars();
    return true;
}

bool CGridCtrl::fitRow(int row) {
    if (row < 0 || row >= m_rowCount) {
        return false;
    }
    int height = 0;
    for (int col = 0; col < m_columnCount; ++col) {
        height = std::max(height, measureCell(row, col, viewport()).height());
    }
    setRowHeight(row, height);
    updateScrollBars();
    return true;
}

void CGridCtrl::fitAllColumns() {
    for (int col = 0; col < m_columnCount; ++col)
        fitColumn(col);
}

void CGridCtrl::fitAllRows() {
    for (int row = 0; row < m_rowCount; ++row)
        fitRow(row);
}

void CGridCtrl::fitAll() {
    std::fill(m_columnWidths.begin(), m_columnWidths.end(), 0);
    std::fill(m_rowHeights.begin(), m_rowHeights.end(), 0);
    for (int col = 0; col < m_columnCount; ++col) {
        for (int row = 0; row < m_rowCount; ++row) {
            const QSize size = measureCell(row, col, viewport());
            int& width = m_columnWidths[toIndex(col)];
            int& height = m_rowHeights[toIndex(row)];
            width = std::max(width, size.width());
            height = std::max(height, size.height());
        }
    }
    if (m_redrawEnabled) {
        updateScrollBars();
        invalidateAll();
    }
}

namespace {

// Spreads `difference` pixels over the sizes: the same share each, the remainder to the
// first ones.  A size never goes below zero, which a much smaller client would ask for.
void spread(std::vector<int>& sizes, int difference) {
    const int count = static_cast<int>(sizes.size());
    if (count <= 0) {
        return;
    }
    const int share = difference / count;
    for (int& size : sizes)
        size += share;
    if (difference <= 0) {
        const int extra = -difference % count;
        for (int i = 0; i < extra; ++i)
            sizes[toIndex(i)] -= 1;
    } else {
        const int extra = difference % count;
        for (int i = 0; i < extra; ++i)
            sizes[toIndex(i)] += 1;
    }
    for (int& size : sizes)
        size = std::max(size, 0);
}

}  // namespace

void CGridCtrl::stretchColumns() {
    if (m_columnCount <= 0) {
        return;
    }
    spread(m_columnWidths, clientRect().width() - totalWidth());
    invalidateAll();
}

void CGridCtrl::stretchRows() {
    if (m_rowCount <= 0) {
        return;
    }
    spread(m_rowHeights, clientRect().height() - totalHeight());
    invalidateAll();
}

void CGridCtrl::stretchAll() {
    stretchColumns();
    stretchRows();
    stretchColumns();
}

void CGridCtrl::swapRows(int a, int b) {
    std::swap(m_rows[toIndex(a)], m_rows[toIndex(b)]);
    std::swap(m_rowHeights[toIndex(a)], m_rowHeights[toIndex(b)]);
}

bool CGridCtrl::sortByText(int col, bool ascending) {
    if (col < 0 || col >= m_columnCount) {
        return false;
    }
    clearSelection();
    // Keys compare byte by byte in UTF-8, the order of the classic multibyte comparison.
    std::vector<std::string> keys(toIndex(m_rowCount));
    for (int row = m_fixedRowCount; row < m_rowCount; ++row) {
        keys[toIndex(row)] = cellText(row, col).toStdString();
    }
    return partitionSort(
        keys, m_fixedRowCount, m_rowCount - 1, ascending,
        [](const std::string& a, const std::string& b) { return a.compare(b); },
        [this](int a, int b) { swapRows(a, b); });
}

bool CGridCtrl::sortByData(const GridDataCompare& compare, int col, bool ascending,
                           std::uintptr_t userData) {
    if (col < 0 || col >= m_columnCount || !compare) {
        return false;
    }
    clearSelection();
    std::vector<std::uint32_t> keys(toIndex(m_rowCount));
    for (int row = m_fixedRowCount; row < m_rowCount; ++row) {
        keys[toIndex(row)] = cellData(row, col);
    }
    return partitionSort(
        keys, m_fixedRowCount, m_rowCount - 1, ascending,
        [&](std::uint32_t a, std::uint32_t b) { return compare(a, b, userData); },
        [this](int a, int b) { swapRows(a, b); });
}

CellId CGridCtrl::findCell(CellId start, std::uint32_t flags) const {
    const std::uint32_t wanted = flags & 0x0Fu;
    auto matches = [&](int row, int col) { return (cellState(row, col) & wanted) != 0; };
    if ((flags & FIND_BELOW) != 0 && (flags & FIND_RIGHT) != 0) {
        const int firstRow = start.row <= 0 ? m_fixedRowCount : start.row;
        const int firstCol = start.col + 1 <= 0 ? m_fixedColumnCount : start.col + 1;
        for (int row = firstRow; row < m_rowCount; ++row) {
            for (int col = firstCol; col < m_columnCount; ++col) {
                if (matches(row, col)) {
                    return CellId{row, col};
                }
            }
        }
    }
    if ((flags & FIND_ABOVE) != 0) {
        for (int row = start.row - 1; row >= m_fixedRowCount; --row) {
            if (matches(row, start.col))
                return CellId{row, start.col};
        }
    } else if ((flags & FIND_BELOW) != 0) {
        for (int row = std::max(start.row + 1, 0); row < m_rowCount; ++row) {
            if (matches(row, start.col))
                return CellId{row, start.col};
        }
    } else if ((flags & FIND_LEFT) != 0) {
        for (int col = start.col - 1; col >= m_fixedColumnCount; --col) {
            if (matches(start.row, col))
                return CellId{start.row, col};
        }
    } else if ((flags & FIND_RIGHT) != 0) {
        for (int col = std::max(start.col + 1, 0); col < m_columnCount; ++col) {
            if (matches(start.row, col))
                return CellId{start.row, col};
        }
    }
    return CellId{};
}

}  // namespace qzm
