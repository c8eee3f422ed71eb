// SPDX-License-Identifier: GPL-3.0-or-later
// The grid as assistive technology sees it.

#include <gtest/gtest.h>

#include <stdexcept>

#include <QAccessible>
#include <QApplication>
#include <QFocusEvent>

#include "grid_test_support.h"

namespace qzm::test {
namespace {

class GridAccessibility : public ::testing::Test {
  protected:
    GridFixture f{5, 4, 20, 50, QSize(300, 200)};
    CGridCtrl& grid = *f.grid;
    QAccessibleInterface* table() { return QAccessible::queryAccessibleInterface(&grid); }
    // The table interface; a test without one stops at its first use.
    QAccessibleTableInterface& tableOf() {
        QAccessibleInterface* iface = table();
        QAccessibleTableInterface* result = iface != nullptr ? iface->tableInterface() : nullptr;
        if (result == nullptr)
            throw std::runtime_error("no table interface");
        return *result;
    }
    // A cell of the table; throws when there is none.
    QAccessibleInterface& cellOf(int row, int col) {
        QAccessibleInterface* result = tableOf().cellAt(row, col);
        if (result == nullptr)
            throw std::runtime_error("no cell");
        return *result;
    }
};

TEST_F(GridAccessibility, GridIsATableWithHeaders) {
    QAccessibleInterface* iface = table();
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::Table);
    QAccessibleTableInterface* tableIface = iface->tableInterface();
    ASSERT_NE(tableIface, nullptr);
    EXPECT_EQ(tableIface->rowCount(), 4);
    EXPECT_EQ(tableIface->columnCount(), 3);
    EXPECT_EQ(iface->childCount(), 20);
    EXPECT_EQ(tableIface->columnDescription(0), "0,1");
    EXPECT_EQ(tableIface->rowDescription(2), "3,0");

    QAccessibleInterface* cell = tableIface->cellAt(1, 2);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->role(), QAccessible::Cell);
    EXPECT_EQ(cell->text(QAccessible::Name), "2,3");
    EXPECT_EQ(iface->indexOfChild(cell), 2 * 4 + 3);
    EXPECT_EQ(iface->child(2 * 4 + 3), cell);
    QAccessibleTableCellInterface* cellIface = cell->tableCellInterface();
    ASSERT_NE(cellIface, nullptr);
    EXPECT_EQ(cellIface->rowIndex(), 1);
    EXPECT_EQ(cellIface->columnIndex(), 2);
    const auto columnHeaders = cellIface->columnHeaderCells();
    ASSERT_EQ(columnHeaders.size(), 1);
    EXPECT_EQ(columnHeaders[0]->text(QAccessible::Name), "0,3");
    EXPECT_EQ(columnHeaders[0]->role(), QAccessible::ColumnHeader);
    const auto rowHeaders = cellIface->rowHeaderCells();
    ASSERT_EQ(rowHeaders.size(), 1);
    EXPECT_EQ(rowHeaders[0]->text(QAccessible::Name), "2,0");
    EXPECT_EQ(rowHeaders[0]->role(), QAccessible::RowHeader);

    // Texts are read live.
    grid.setCellText(2, 3, "145.500");
    EXPECT_EQ(cell->text(QAccessible::Name), "145.500");
    EXPECT_EQ(cell->rect().topLeft(), grid.viewport()->mapToGlobal(QPoint(150, 40)));
}

TEST_F(GridAccessibility, ReadOnlyCellsAreNotEditable) {
    grid.setCellState(1, 1, CELL_READONLY);
    const QAccessible::State readOnly = cellOf(0, 0).state();
    EXPECT_TRUE(readOnly.readOnly);
    EXPECT_FALSE(readOnly.editable);
    const QAccessible::State editable = cellOf(0, 1).state();
    EXPECT_FALSE(editable.readOnly);
    EXPECT_TRUE(editable.editable);
    grid.setEditingAllowed(false);
    EXPECT_FALSE(cellOf(0, 1).state().editable);
}

// (The focus event itself reaches only an active accessibility bridge, which the offscreen
// platform does not have.)
TEST_F(GridAccessibility, FocusCellIsReported) {
    grid.moveFocus(3, 2);
    QAccessibleInterface* focus = table()->focusChild();
    ASSERT_NE(focus, nullptr);
    EXPECT_EQ(focus->text(QAccessible::Name), "3,2");
    EXPECT_TRUE(focus->state().focused);
    grid.moveFocus(-1, -1);
    EXPECT_EQ(table()->focusChild(), nullptr);
}

// Keyboard focus from anywhere but a click starts at the first cell that is no header,
// so the keys and a screen reader have a cell; a grid of headers only gets none.
TEST_F(GridAccessibility, KeyboardFocusWithoutAFocusCellStartsAtTheFirstCell) {
    struct Case {
        Qt::FocusReason reason;
        int fixedRows;
        CellId expected;
    };
    const Case cases[] = {
        {Qt::TabFocusReason, 1, {1, 1}},
        {Qt::BacktabFocusReason, 2, {2, 1}},
        {Qt::ActiveWindowFocusReason, 1, {1, 1}},
        {Qt::MouseFocusReason, 1, {-1, -1}},  // the click chooses the cell itself
        {Qt::TabFocusReason, 5, {-1, -1}},
    };
    for (const Case& c : cases) {
        grid.moveFocus(-1, -1);
        grid.setFixedRowCount(c.fixedRows);
        QFocusEvent in(QEvent::FocusIn, c.reason);
        QApplication::sendEvent(&grid, &in);
        EXPECT_EQ(grid.focusCell(), c.expected) << c.reason;
        QAccessibleInterface* focus = table()->focusChild();
        EXPECT_EQ(focus != nullptr, c.expected.row >= 0) << c.reason;
    }
    // A focus cell the grid already has is kept.
    grid.setFixedRowCount(1);
    grid.moveFocus(3, 2);
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(&grid, &in);
    EXPECT_EQ(grid.focusCell(), (CellId{3, 2}));
}

TEST_F(GridAccessibility, CellsOfAShrunkTableBecomeInvalid) {
    QAccessibleInterface& cell = cellOf(3, 2);
    EXPECT_TRUE(cell.isValid());
    grid.setRowCount(2);
    EXPECT_FALSE(cell.isValid());
    EXPECT_TRUE(cell.text(QAccessible::Name).isEmpty());
    EXPECT_EQ(tableOf().cellAt(3, 2), nullptr);
}

}  // namespace
}  // namespace qzm::test
