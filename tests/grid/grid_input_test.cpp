// SPDX-License-Identifier: GPL-3.0-or-later
// Mouse, keyboard and wheel, and the notifications the owner sees.

#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "grid_test_support.h"

namespace qzm::test {
namespace {

// 20 rows x 6 columns of 20 x 50 pixels, one fixed row and column, in a 400 x 150 client:
// cell (r, c) lies at x = 50c, y = 20r; the columns end at x = 300, leaving empty space.
// A page is 130 pixels; the vertical bar ends at 250.
class GridInput : public ::testing::Test {
  protected:
    GridFixture f{20, 6, 20, 50, QSize(400, 150)};
    CGridCtrl& grid = *f.grid;
    QWidget* view() { return grid.viewport(); }
    static QPoint centre(int row, int col) { return QPoint(50 * col + 25, 20 * row + 10); }
    void click(QPoint at, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(view(), Qt::LeftButton, modifiers, at);
    }
    void drag(QPoint from, QPoint to) {
        QTest::mousePress(view(), Qt::LeftButton, {}, from);
        QTest::mouseMove(view(), to);
        QTest::mouseRelease(view(), Qt::LeftButton, {}, to);
    }
    void hover(QPoint at) {
        QMouseEvent move(QEvent::MouseMove, at, view()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(view(), &move);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(&grid, k, modifiers);
    }
    std::vector<int> codes() const { return f.host.codes(); }
    void forget() {
        f.host.notifications.clear();
        f.host.commands.clear();
    }
};

TEST_F(GridInput, ClickOnACellFocusesItAndRequestsAnEdit) {
    grid.moveFocus(1, 1);
    forget();
    click(centre(3, 2));
    EXPECT_EQ(codes(), (std::vector<int>{GN_FOCUS_LEAVE, GN_FOCUS_ENTER, GN_EDIT_REQUEST}));
    EXPECT_EQ(grid.focusCell(), (CellId{3, 2}));
    const GridNotify& request = f.host.notifications.back();
    EXPECT_EQ(request.header.grid, &grid);
    EXPECT_EQ(request.header.controlId, 1016);
    EXPECT_EQ(request.item.row, 3);
    EXPECT_EQ(request.item.col, 2);
    EXPECT_EQ(request.item.text, "3,2");
    EXPECT_EQ(request.item.mask, ITEM_ALL);
    EXPECT_EQ(request.rect, QRect(view()->mapToGlobal(QPoint(100, 60)), QSize(50, 20)));
    EXPECT_EQ(grid.overlayRect(), QRect(100, 60, 50, 20));
    // The command is posted: it arrives after the click has returned.
    EXPECT_TRUE(f.host.commands.empty());
    QApplication::processEvents();
    EXPECT_EQ(f.host.commands, (std::vector<int>{1016}));

    forget();
    click(centre(3, 2));  // the focus cell again: only the edit request
    EXPECT_EQ(codes(), (std::vector<int>{GN_EDIT_REQUEST}));
}

TEST_F(GridInput, ClickBeyondTheCellsStillRequestsEditingTheFocusCell) {
    grid.moveFocus(2, 2);
    forget();
    click(QPoint(350, 30));
    QApplication::processEvents();
    EXPECT_EQ(codes(), (std::vector<int>{GN_EDIT_REQUEST}));
    EXPECT_EQ(f.host.notifications.back().item.row, 2);
    EXPECT_TRUE(f.host.commands.empty());
}

TEST_F(GridInput, EditRequestsAreDroppedForReadOnlyCellsAndWhenEditingIsOff) {
    grid.setCellState(4, 4, CELL_READONLY);
    click(centre(4, 4));
    EXPECT_EQ(codes(), (std::vector<int>{GN_FOCUS_ENTER}));
    grid.setEditingAllowed(false);
    forget();
    click(centre(4, 3));
    EXPECT_EQ(codes(), (std::vector<int>{GN_FOCUS_LEAVE, GN_FOCUS_ENTER}));
}

TEST_F(GridInput, DragMovesTheFocusAndSelectsOnlyWhenAllowed) {
    grid.setSelectionAllowed(false);
    drag(centre(1, 1), centre(3, 4));
    EXPECT_EQ(grid.focusCell(), (CellId{3, 4}));
    EXPECT_TRUE(grid.selectedCells().empty());
    EXPECT_EQ(f.host.notifications.back().header.code, GN_EDIT_REQUEST);
    EXPECT_EQ(f.host.notifications.back().item.row, 3);

    grid.setSelectionAllowed(true);
    drag(centre(1, 1), centre(3, 2));
    EXPECT_EQ(grid.selectedCells().size(), 6u);
    EXPECT_NE(grid.cellState(2, 2) & CELL_SELECTED, 0u);
}

TEST_F(GridInput, CtrlClickKeepsTheEarlierSelection) {
    drag(centre(1, 1), centre(2, 2));
    ASSERT_EQ(grid.selectedCells().size(), 4u);
    click(centre(5, 5), Qt::ControlModifier);
    EXPECT_EQ(grid.selectedCells().size(), 5u);
    grid.clearSelection();  // the kept cells come back until the next press or key move
    EXPECT_EQ(grid.selectedCells().size(), 4u);
    click(centre(6, 1));
    EXPECT_EQ(grid.selectedCells(), (std::vector<CellId>{{6, 1}}));
}

TEST_F(GridInput, HeaderPressesSelectAndMoveTheFocus) {
    struct Case {
        QPoint at;
        bool selection;
        CellId focus;
        std::size_t selected;
    };
    const std::vector<Case> cases{
        {centre(0, 3), false, {1, 3}, 0},  // column header, selection off
        {centre(0, 3), true, {1, 3}, 19},  // the whole column
        {centre(4, 0), true, {4, 1}, 5},   // the whole row
        {centre(0, 0), true, {1, 1}, 95},  // the corner: everything
    };
    for (const Case& c : cases) {
        grid.clearSelection();
        grid.setSelectionAllowed(c.selection);
        forget();
        click(c.at);
        EXPECT_EQ(grid.focusCell(), c.focus);
        EXPECT_EQ(grid.selectedCells().size(), c.selected);
        // A header press is no cell press: its release requests no edit.
        const auto sent = codes();
        ASSERT_FALSE(sent.empty());
        EXPECT_EQ(sent.back(), GN_FOCUS_ENTER);
    }
}

TEST_F(GridInput, HeaderDividersResizeWithinThreePixels) {
    struct Case {
        int pressX;
        int releaseX;
        int column;
        int width;
    };
    const std::vector<Case> cases{
        {148, 178, 2, 78},  // right divider of column 2 (x 100..149)
        {101, 131, 1, 81},  // 1 pixel right of column 2's left divider: column 1 resizes
        {148, 148, 2, 50},  // released where it started: unchanged
        {149, 60, 2, 0},    // dragged left of the column's own left edge: held at zero
    };
    for (const Case& c : cases) {
        for (int col = 0; col < 6; ++col)
            grid.setColumnWidth(col, 50);
        grid.updateScrollBars();
        hover(QPoint(c.pressX, 10));
        ASSERT_EQ(grid.mouseMode(), MouseMode::OverColumnDivider) << c.pressX;
        EXPECT_EQ(view()->cursor().shape(), Qt::SizeHorCursor);
        drag(QPoint(c.pressX, 10), QPoint(c.releaseX, 10));
        EXPECT_EQ(grid.columnWidth(c.column), c.width) << c.pressX << " -> " << c.releaseX;
        EXPECT_EQ(grid.mouseMode(), MouseMode::None);
    }
    // On column 0 only the right divider counts; away from a divider the arrow returns.
    hover(QPoint(2, 10));
    EXPECT_EQ(grid.mouseMode(), MouseMode::None);
    EXPECT_EQ(view()->cursor().shape(), Qt::ArrowCursor);
    grid.setResizeAllowed(false, false);
    hover(QPoint(148, 10));
    EXPECT_EQ(grid.mouseMode(), MouseMode::None);
    // Row dividers live in the fixed column.
    grid.setResizeAllowed(true, true);
    hover(QPoint(10, 58));
    EXPECT_EQ(grid.mouseMode(), MouseMode::OverRowDivider);
    drag(QPoint(10, 58), QPoint(10, 70));
    EXPECT_EQ(grid.rowHeight(2), 30);
}

TEST_F(GridInput, KeysMoveTheFocus) {
    struct Case {
        CellId from;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        CellId to;
    };
    const std::vector<Case> cases{
        {{2, 2}, Qt::Key_Right, {}, {2, 3}},
        {{2, 2}, Qt::Key_Left, {}, {2, 1}},
        {{2, 1}, Qt::Key_Left, {}, {2, 1}},  // never into the fixed column
        {{1, 2}, Qt::Key_Up, {}, {1, 2}},    // nor the fixed row
        {{2, 2}, Qt::Key_Down, {}, {3, 2}},
        {{19, 2}, Qt::Key_Down, {}, {19, 2}},
        {{2, 2}, Qt::Key_Tab, {}, {2, 3}},
        {{2, 5}, Qt::Key_Tab, {}, {3, 1}},    // wrap to the next row
        {{19, 5}, Qt::Key_Tab, {}, {19, 5}},  // last cell: nothing
        {{3, 1}, Qt::Key_Backtab, Qt::ShiftModifier, {2, 5}},
        {{1, 1}, Qt::Key_Backtab, Qt::ShiftModifier, {1, 1}},
        {{4, 3}, Qt::Key_Home, {}, {1, 3}},
        {{4, 3}, Qt::Key_End, {}, {19, 3}},
        {{19, 3}, Qt::Key_PageDown, {}, {19, 3}},
        {{1, 3}, Qt::Key_PageUp, {}, {1, 3}},
        {{2, 3}, Qt::Key_PageDown, {}, {9, 3}},  // the page moved the first row by 7
    };
    for (const Case& c : cases) {
        grid.onVScroll(SB_TOP);
        grid.moveFocus(c.from);
        key(c.key, c.modifiers);
        EXPECT_EQ(grid.focusCell(), c.to)
            << c.from.row << "," << c.from.col << " key " << std::hex << c.key;
    }
}

TEST_F(GridInput, CtrlTabLeavesTheGrid) {
    auto* next = new QWidget(&f.host);
    next->setFocusPolicy(Qt::StrongFocus);
    next->show();
    grid.setFocus();
    grid.moveFocus(2, 2);
    key(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(grid.focusCell(), (CellId{2, 2}));
    EXPECT_FALSE(grid.hasFocus());
}

TEST_F(GridInput, EnterRequestsAnEditOfTheFocusCell) {
    grid.moveFocus(3, 3);
    forget();
    key(Qt::Key_Return);
    EXPECT_EQ(codes(), (std::vector<int>{GN_EDIT_REQUEST}));
    grid.moveFocus(-1, -1);
    forget();
    key(Qt::Key_Enter);
    EXPECT_TRUE(codes().empty() || codes() == std::vector<int>{GN_FOCUS_LEAVE});
}

TEST_F(GridInput, ArrowOntoACutRowDoesNotScrollButBeyondItDoes) {
    // Rows 1..6 are shown (row 7 starts at y = 140 and is cut at 150).
    grid.moveFocus(6, 2);
    key(Qt::Key_Down);
    EXPECT_EQ(grid.focusCell(), (CellId{7, 2}));
    EXPECT_EQ(grid.scrollPosition(Qt::Vertical), 0);
    key(Qt::Key_Down);
    EXPECT_EQ(grid.focusCell(), (CellId{8, 2}));
    EXPECT_GT(grid.scrollPosition(Qt::Vertical), 0);
    QRect rect;
    ASSERT_TRUE(grid.cellRect(8, 2, &rect));
    EXPECT_LE(rect.bottom(), 149);
}

TEST_F(GridInput, WheelScrollsAfterTheEventAsConfigured) {
    auto wheel = [&](int delta) {
        QWheelEvent event(QPointF(100, 50), view()->mapToGlobal(QPointF(100, 50)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view(), &event);
    };
    struct Case {
        int lines;
        std::vector<int> deltas;
        int position;
    };
    const std::vector<Case> cases{
        {3, {-120}, 60},                // three lines down
        {3, {-120, 120}, 0},            // and back
        {-1, {-120}, 130},              // one page (client 150 - header 20)
        {3, {-10, -10, -10, -10}, 20},  // fine steps add up to whole lines
        {3, {120}, 0},                  // nothing above the top
    };
    for (const Case& c : cases) {
        grid.onVScroll(SB_TOP);
        grid.setWheelLines(c.lines);
        for (const int delta : c.deltas)
            wheel(delta);
        if (c.deltas.size() == 1 && c.deltas[0] < 0) {
            EXPECT_EQ(grid.scrollPosition(Qt::Vertical), 0) << "posted, not yet run";
        }
        QApplication::processEvents();
        EXPECT_EQ(grid.scrollPosition(Qt::Vertical), c.position) << c.lines;
    }
}

}  // namespace
}  // namespace qzm::test
