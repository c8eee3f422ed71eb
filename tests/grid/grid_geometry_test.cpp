// SPDX-License-Identifier: GPL-3.0-or-later
// Cell geometry at several scroll positions, scroll codes and their clamping, scroll bars.

#include <gtest/gtest.h>

#include <QScrollBar>

#include "grid_test_support.h"

namespace qzm::test {
namespace {

// 20 rows x 8 columns of 20 x 50 pixels, one fixed row and column, in a 310 x 190 client:
// the last shown row (9) is cut at the bottom, the last shown column (6) at the right.
// Scrolling area 260 x 170; vertical maximum 379, so the bar stops at 379 - 170 + 1 = 210.
class GridGeometry : public ::testing::Test {
  protected:
    GridFixture f{20, 8, 20, 50, QSize(310, 190)};
    CGridCtrl& grid = *f.grid;
    void scrollTo(int lines, int columns) {
        grid.onVScroll(SB_TOP);
        grid.onHScroll(SB_LEFT);
        for (int i = 0; i < lines; ++i)
            grid.onVScroll(SB_LINEDOWN);
        for (int i = 0; i < columns; ++i)
            grid.onHScroll(SB_LINERIGHT);
    }
};

TEST_F(GridGeometry, ScrollBarsCarryPageAndLastReachablePosition) {
    EXPECT_EQ(grid.verticalScrollMax(), 379);
    EXPECT_EQ(grid.horizontalScrollMax(), 349);
    EXPECT_EQ(grid.verticalScrollBar()->pageStep(), 170);
    EXPECT_EQ(grid.verticalScrollBar()->maximum(), 210);
    EXPECT_EQ(grid.horizontalScrollBar()->pageStep(), 260);
    EXPECT_EQ(grid.horizontalScrollBar()->maximum(), 90);

    // Content smaller than the client: both maxima 0.
    grid.setRowCount(5);
    grid.setColumnCount(4);
    grid.updateScrollBars();
    EXPECT_EQ(grid.verticalScrollMax(), 0);
    EXPECT_EQ(grid.horizontalScrollBar()->maximum(), 0);

    // All rows fixed: no fully visible range, the bars keep what they had.
    grid.setRowCount(20);
    for (int r = 0; r < 20; ++r)
        grid.setRowHeight(r, 20);
    grid.updateScrollBars();
    ASSERT_EQ(grid.verticalScrollBar()->maximum(), 210);
    grid.setFixedRowCount(20);
    grid.updateScrollBars();
    EXPECT_EQ(grid.verticalScrollBar()->maximum(), 210);
}

TEST_F(GridGeometry, CellsAtSeveralScrollPositions) {
    struct Case {
        int lines, columns;
        CellId first;
        CellRange visible, fully;
        CellId hiddenAbove;  // a non-fixed cell scrolled out: no origin
        CellId probe;
        QRect probeRect;
    };
    const std::vector<Case> cases{
        {0, 0, {1, 1}, {1, 1, 9, 6}, {1, 1, 8, 5}, {-1, -1}, {2, 3}, QRect(150, 40, 50, 20)},
        {1, 0, {2, 1}, {2, 1, 10, 6}, {2, 1, 9, 5}, {1, 1}, {2, 3}, QRect(150, 20, 50, 20)},
        {3, 2, {4, 3}, {4, 3, 12, 7}, {4, 3, 11, 7}, {3, 4}, {5, 4}, QRect(100, 40, 50, 20)},
    };
    for (const Case& c : cases) {
        scrollTo(c.lines, c.columns);
        SCOPED_TRACE(c.lines * 10 + c.columns);
        EXPECT_EQ(grid.firstScrolledCell(), c.first);
        QRect extent;
        EXPECT_EQ(grid.visibleRange(&extent), c.visible);
        EXPECT_EQ(extent.width(), c.columns == 2 ? 300 : 310);  // the last column ends first
        EXPECT_EQ(extent.height(), 190);
        EXPECT_EQ(grid.fullyVisibleRange(), c.fully);
        QRect rect;
        ASSERT_TRUE(grid.cellRect(c.probe.row, c.probe.col, &rect));
        EXPECT_EQ(rect, c.probeRect);
        EXPECT_EQ(rect.right(), rect.left() + 49);
        QPoint origin;
        EXPECT_FALSE(grid.cellOrigin(c.hiddenAbove.row, c.hiddenAbove.col, &origin));
        // Headers never scroll.
        ASSERT_TRUE(grid.cellOrigin(0, c.first.col, &origin));
        EXPECT_EQ(origin, QPoint(50, 0));
        ASSERT_TRUE(grid.cellOrigin(c.first.row, 0, &origin));
        EXPECT_EQ(origin, QPoint(0, 20));
        // The bottom row and right column cut by the client edge count as shown.
        EXPECT_TRUE(grid.isCellShown(c.visible.maxRow, c.first.col));
        EXPECT_TRUE(grid.isCellShown(c.first.row, c.visible.maxCol));
        EXPECT_FALSE(grid.isCellShown(c.visible.maxRow + 1, c.first.col));
        EXPECT_FALSE(grid.isCellShown(c.hiddenAbove.row, c.hiddenAbove.col));
        EXPECT_TRUE(grid.isCellShown(0, 0));
        // A boundary pixel belongs to the later cell.
        EXPECT_EQ(grid.hitTest(QPoint(49, 19)), (CellId{0, 0}));
        EXPECT_EQ(grid.hitTest(QPoint(50, 20)), c.first);
        EXPECT_EQ(grid.hitTest(QPoint(99, 39)), c.first);
        EXPECT_EQ(grid.hitTest(QPoint(100, 40)), (CellId{c.first.row + 1, c.first.col + 1}));
        EXPECT_EQ(grid.hitTest(QPoint(10, 30), false), (CellId{c.first.row, -1}));
        EXPECT_EQ(grid.hitTest(QPoint(-1, -1)), (CellId{-1, -1}));
    }
}

TEST_F(GridGeometry, RangeRectSpansItsCorners) {
    QRect rect;
    ASSERT_TRUE(grid.rangeRect({1, 1, 2, 3}, &rect));
    EXPECT_EQ(rect, QRect(QPoint(50, 20), QPoint(199, 59)));
    scrollTo(2, 0);
    EXPECT_FALSE(grid.rangeRect({1, 1, 4, 3}, &rect));
}

TEST_F(GridGeometry, ScrollCodesAndTheirClamping) {
    struct Case {
        const char* what;
        std::vector<int> vertical;  // codes sent in order, from the top
        int position;
        int firstRow;
    };
    const std::vector<Case> cases{
        {"line down", {SB_LINEDOWN}, 20, 2},
        {"line up at the top", {SB_LINEUP}, 0, 1},
        {"page down", {SB_PAGEDOWN}, 170, 10},
        {"page down twice stops at the bar's end", {SB_PAGEDOWN, SB_PAGEDOWN}, 210, 12},
        {"bottom", {SB_BOTTOM}, 210, 12},
        {"line down at the bottom", {SB_BOTTOM, SB_LINEDOWN}, 210, 12},
        {"line up from the bottom", {SB_BOTTOM, SB_LINEUP}, 190, 11},
        {"page up", {SB_LINEDOWN, SB_PAGEUP}, 0, 1},
        {"top", {SB_PAGEDOWN, SB_TOP}, 0, 1},
        {"unknown codes", {8, 42, -1}, 0, 1},
    };
    for (const Case& c : cases) {
        grid.onVScroll(SB_TOP);
        for (const int code : c.vertical)
            grid.onVScroll(code);
        EXPECT_EQ(grid.scrollPosition(Qt::Vertical), c.position) << c.what;
        EXPECT_EQ(grid.firstScrolledCell().row, c.firstRow) << c.what;
    }
    grid.onHScroll(SB_RIGHT);
    EXPECT_EQ(grid.scrollPosition(Qt::Horizontal), 90);
    grid.onHScroll(SB_LINELEFT);
    EXPECT_EQ(grid.scrollPosition(Qt::Horizontal), 40);
    grid.onHScroll(SB_PAGELEFT);
    EXPECT_EQ(grid.scrollPosition(Qt::Horizontal), 0);
}

TEST_F(GridGeometry, LineScrollRepaintsOnlyTheUncoveredStrip) {
    f.render();
    QApplication::processEvents();
    grid.resetPaintedArea();
    grid.onVScroll(SB_LINEDOWN);
    QApplication::processEvents();
    EXPECT_EQ(grid.paintedArea(), 310 * 20);
    grid.resetPaintedArea();
    grid.onVScroll(SB_PAGEDOWN);
    QApplication::processEvents();
    EXPECT_EQ(grid.paintedArea(), 310 * 170);
    // At the bar's end a line down moves nothing and paints nothing.
    grid.onVScroll(SB_BOTTOM);
    QApplication::processEvents();
    grid.resetPaintedArea();
    grid.onVScroll(SB_LINEDOWN);
    QApplication::processEvents();
    EXPECT_EQ(grid.paintedArea(), 0);
}

TEST_F(GridGeometry, ScrollIntoViewBringsCellsFullyIn) {
    grid.scrollIntoView(15, 7);
    QRect rect;
    ASSERT_TRUE(grid.cellRect(15, 7, &rect));
    EXPECT_TRUE(QRect(0, 0, 310, 190).contains(rect));

    // The half-cut bottom row counts as visible but is scrolled one more line.
    scrollTo(0, 0);
    grid.scrollIntoView(9, 1);
    EXPECT_EQ(grid.scrollPosition(Qt::Vertical), 20);
    EXPECT_EQ(grid.scrollPosition(Qt::Horizontal), 0);

    // (-1, -1) brings the grid back to its top-left position.
    scrollTo(4, 2);
    grid.scrollIntoView(-1, -1);
    EXPECT_EQ(grid.scrollPosition(Qt::Vertical), 0);
    EXPECT_EQ(grid.scrollPosition(Qt::Horizontal), 0);
}

TEST_F(GridGeometry, InvalidationHelpersReportWhatTheyCouldDo) {
    EXPECT_TRUE(grid.invalidateCell(1, 1));
    EXPECT_FALSE(grid.invalidateCell(15, 1));  // not shown
    EXPECT_FALSE(grid.invalidateCell(20, 1));  // no such cell
    EXPECT_FALSE(grid.invalidateRow(3));       // column 7 lies right of the client
    EXPECT_FALSE(grid.invalidateColumn(2));    // rows below the client are not shown
    grid.setColumnCount(6);
    EXPECT_TRUE(grid.invalidateRow(3));
    EXPECT_TRUE(grid.invalidateRange({1, 1, 30, 30}));
    grid.enableRedraw(false);
    EXPECT_FALSE(grid.invalidateCell(1, 1));
    EXPECT_FALSE(grid.invalidateRange({1, 1, 2, 2}));
    grid.setRowCount(40);
    grid.updateScrollBars();  // not while redraw is off
    EXPECT_EQ(grid.verticalScrollMax(), 379);
    grid.enableRedraw(true, true);
    EXPECT_EQ(grid.verticalScrollMax(), grid.totalHeight() - 20 - 1);
}

}  // namespace
}  // namespace qzm::test
