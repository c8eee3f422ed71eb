// SPDX-License-Identifier: GPL-3.0-or-later
// The focus cell and the selection, and what a header click selects.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "grid/grid_ctrl.h"

namespace qzm {

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

}  // namespace qzm
