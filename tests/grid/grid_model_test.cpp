// SPDX-License-Identifier: GPL-3.0-or-later
// The table model: shape changes and the invariants they must keep.

#include <gtest/gtest.h>

#include <new>

#include <QFontMetrics>

#include "grid_test_support.h"
#include "platform/qt/dialog_builder.h"

namespace qzm::test {
namespace {

// Counts every cell made and released, and can run out of memory on demand.
class CountingGrid : public CGridCtrl {
  public:
    using CGridCtrl::CGridCtrl;
    ~CountingGrid() override { deleteAllCells(); }
    int made = 0;
    int released = 0;
    int failAfter = -1;  // cells still allowed before newCell throws; -1 = never

  protected:
    std::unique_ptr<GridCell> newCell(int row, int col) override {
        if (failAfter == 0) {
            throw std::bad_alloc();
        }
        if (failAfter > 0)
            --failAfter;
        ++made;
        return CGridCtrl::newCell(row, col);
    }
    void releaseCell(GridCell& cell, int row, int col) override {
        ++released;
        CGridCtrl::releaseCell(cell, row, col);
    }
};

// Every invariant the grid promises, checked in one place.
void expectConsistent(const CGridCtrl& grid) {
    ASSERT_GE(grid.rowCount(), grid.fixedRowCount());
    ASSERT_GE(grid.columnCount(), grid.fixedColumnCount());
    int focused = 0;
    std::set<CellId> selectedBits;
    for (int r = 0; r < grid.rowCount(); ++r) {
        EXPECT_GE(grid.rowHeight(r), 0);
        for (int c = 0; c < grid.columnCount(); ++c) {
            ASSERT_NE(grid.cell(r, c), nullptr) << r << "," << c;
            const std::uint32_t state = grid.cellState(r, c);
            if ((state & CELL_FOCUSED) != 0) {
                ++focused;
                EXPECT_EQ(grid.focusCell(), (CellId{r, c}));
            }
            if ((state & CELL_SELECTED) != 0)
                selectedBits.insert(CellId{r, c});
        }
    }
    EXPECT_EQ(grid.rowHeight(grid.rowCount()), -1);
    EXPECT_EQ(grid.columnWidth(grid.columnCount()), -1);
    EXPECT_EQ(focused, grid.isValid(grid.focusCell()) ? 1 : 0);
    const std::vector<CellId> selected = grid.selectedCells();
    EXPECT_EQ(std::set<CellId>(selected.begin(), selected.end()), selectedBits);
}

class GridModel : public ::testing::Test {
  protected:
    GridHost host;
    CountingGrid grid{&host};
};

TEST_F(GridModel, ShapeChangesKeepTheInvariants) {
    struct Step {
        const char* what;
        std::function<bool(CGridCtrl&)> run;
        int rows, cols, fixedRows, fixedCols;
    };
    const std::vector<Step> steps{
        {"rows", [](CGridCtrl& g) { return g.setRowCount(17); }, 17, 0, 0, 0},
        {"columns", [](CGridCtrl& g) { return g.setColumnCount(10); }, 17, 10, 0, 0},
        {"fixed rows", [](CGridCtrl& g) { return g.setFixedRowCount(1); }, 17, 10, 1, 0},
        {"fixed cols", [](CGridCtrl& g) { return g.setFixedColumnCount(2); }, 17, 10, 1, 2},
        {"same rows", [](CGridCtrl& g) { return g.setRowCount(17); }, 17, 10, 1, 2},
        {"fixed beyond rows", [](CGridCtrl& g) { return g.setFixedRowCount(20); }, 20, 10, 20, 2},
        {"shrink below fixed", [](CGridCtrl& g) { return g.setRowCount(5); }, 5, 10, 5, 2},
        {"fixed rows back", [](CGridCtrl& g) { return g.setFixedRowCount(1); }, 5, 10, 1, 2},
        {"cols below fixed", [](CGridCtrl& g) { return g.setColumnCount(1); }, 5, 1, 1, 1},
        {"cols again", [](CGridCtrl& g) { return g.setColumnCount(4); }, 5, 4, 1, 1},
        {"delete fixed col", [](CGridCtrl& g) { return g.deleteColumn(0); }, 5, 3, 1, 0},
        {"delete fixed row", [](CGridCtrl& g) { return g.deleteRow(0); }, 4, 3, 0, 0},
        {"delete bad row", [](CGridCtrl& g) { return !g.deleteRow(4); }, 4, 3, 0, 0},
        {"insert row", [](CGridCtrl& g) { return g.insertRow("x", 1) == 1; }, 5, 3, 0, 0},
        {"insert col", [](CGridCtrl& g) { return g.insertColumn("y", 0, -1) == 3; }, 5, 4, 0, 0},
        {"insert past end", [](CGridCtrl& g) { return g.insertColumn("z", 0, 4) == -1; }, 5, 4, 0,
         0},
        {"fixed row", [](CGridCtrl& g) { return g.setFixedRowCount(2); }, 5, 4, 2, 0},
        {"scrolling rows", [](CGridCtrl& g) { return g.deleteScrollingRows(); }, 2, 4, 2, 0},
        {"all", [](CGridCtrl& g) { return g.deleteAllCells(); }, 0, 0, 0, 0},
    };
    for (const Step& step : steps) {
        // Focus and a selection in place before every step, so each one must handle them.
        grid.selectRange({grid.fixedRowCount(), grid.fixedColumnCount(), grid.rowCount() - 1,
                          grid.columnCount() - 1});
        grid.moveFocus(grid.rowCount() - 1, grid.columnCount() - 1);
        EXPECT_TRUE(step.run(grid)) << step.what;
        EXPECT_EQ(grid.rowCount(), step.rows) << step.what;
        EXPECT_EQ(grid.columnCount(), step.cols) << step.what;
        EXPECT_EQ(grid.fixedRowCount(), step.fixedRows) << step.what;
        EXPECT_EQ(grid.fixedColumnCount(), step.fixedCols) << step.what;
        SCOPED_TRACE(step.what);
        expectConsistent(grid);
    }
    EXPECT_EQ(grid.made, grid.released);
}

TEST_F(GridModel, InsertAndDeleteLeaveNoFocusOrSelection) {
    const std::vector<std::function<void(CGridCtrl&)>> operations{
        [](CGridCtrl& g) { g.insertRow("r"); }, [](CGridCtrl& g) { g.insertColumn("c", 0); },
        [](CGridCtrl& g) { g.deleteRow(3); }, [](CGridCtrl& g) { g.deleteColumn(3); }};
    for (const auto& operation : operations) {
        grid.setRowCount(6);
        grid.setColumnCount(6);
        grid.selectRange({1, 1, 4, 4});
        grid.moveFocus(2, 2);
        operation(grid);
        EXPECT_FALSE(grid.isValid(grid.focusCell()));
        EXPECT_TRUE(grid.selectedCells().empty());
        expectConsistent(grid);
    }
}

TEST_F(GridModel, NewCellsInheritTheFormatOfTheCellAbove) {
    grid.setRowCount(2);
    grid.setColumnCount(3);
    grid.setCellFormat(1, 0, 0x25);
    grid.setCellFormat(1, 2, 0x25);
    grid.setRowCount(4);
    for (int row = 2; row < 4; ++row) {
        EXPECT_EQ(grid.cellFormat(row, 0), 0u) << "column 0 never inherits";
        EXPECT_EQ(grid.cellFormat(row, 1), 0u);
        EXPECT_EQ(grid.cellFormat(row, 2), 0x25u);
    }
    // New columns inherit down the column from their own new cell in row 0.
    grid.setCellFormat(0, 2, 0x01);
    grid.setColumnCount(5);
    EXPECT_EQ(grid.cellFormat(3, 4), 0u);
    // insertColumn gives every cell of the column the format it was asked for.
    const int col = grid.insertColumn("head", 0x21, 1);
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(grid.cellFormat(row, col), 0x21u);
    EXPECT_EQ(grid.cellText(0, col), "head");
    EXPECT_EQ(grid.columnWidth(col), grid.textExtent("head", true).width());
}

TEST_F(GridModel, InsertRowOnAGridWithoutColumnsMakesOneColumn) {
    EXPECT_EQ(grid.insertRow(QString(), -1), 0);
    EXPECT_EQ(grid.columnCount(), 1);
    EXPECT_EQ(grid.rowCount(), 1);
    QFont bold = grid.font();
    bold.setWeight(QFont::DemiBold);
    EXPECT_EQ(grid.rowHeight(0), QFontMetrics(bold).height() + 2 * grid.margin());
}

TEST_F(GridModel, InvalidCellsGiveTheirDefaultsAndRefuseChanges) {
    grid.setRowCount(2);
    grid.setColumnCount(2);
    for (const CellId id : {CellId{-1, 0}, CellId{0, -1}, CellId{2, 0}, CellId{0, 2}}) {
        EXPECT_EQ(grid.cellText(id.row, id.col), "");
        EXPECT_EQ(grid.cellState(id.row, id.col), 0u);
        EXPECT_EQ(grid.cellFormat(id.row, id.col), 0u);
        EXPECT_EQ(grid.cellImage(id.row, id.col), -1);
        EXPECT_EQ(grid.cellData(id.row, id.col), 0u);
        EXPECT_EQ(grid.cellBackColour(id.row, id.col), 0u);
        EXPECT_EQ(grid.cellTextColour(id.row, id.col), 0u);
        EXPECT_EQ(grid.cellFont(id.row, id.col), nullptr);
        EXPECT_FALSE(grid.setCellText(id.row, id.col, "x"));
        EXPECT_FALSE(grid.setCellState(id.row, id.col, CELL_SELECTED));
        GridItem item;
        item.row = id.row;
        item.col = id.col;
        item.mask = ITEM_ALL;
        EXPECT_FALSE(grid.readItem(&item));
        EXPECT_FALSE(grid.writeItem(&item));
    }
    EXPECT_FALSE(grid.readItem(nullptr));
    EXPECT_FALSE(grid.setRowHeight(0, -1));
    EXPECT_FALSE(grid.setColumnWidth(2, 10));
    EXPECT_TRUE(grid.selectedCells().empty());
    // A fresh cell: no image, default colours.
    EXPECT_EQ(grid.cellImage(0, 0), -1);
    EXPECT_EQ(grid.cellBackColour(0, 0), DEFAULT_COLOUR);
}

TEST_F(GridModel, ItemMaskSelectsTheFields) {
    grid.setRowCount(2);
    grid.setColumnCount(2);
    grid.setCellFormat(1, 1, 0x25);
    GridItem item;
    item.row = 1;
    item.col = 1;
    item.mask = ITEM_TEXT | ITEM_FGCLR;
    item.text = "new";
    item.format = 0;
    item.textColour = rgbColour(1, 2, 3);
    item.state = CELL_READONLY;
    ASSERT_TRUE(grid.writeItem(&item));
    EXPECT_EQ(grid.cellText(1, 1), "new");
    EXPECT_EQ(grid.cellTextColour(1, 1), rgbColour(1, 2, 3));
    EXPECT_EQ(grid.cellFormat(1, 1), 0x25u) << "format was not in the mask";
    EXPECT_EQ(grid.cellState(1, 1), 0u);

    GridItem read;
    read.row = 1;
    read.col = 1;
    read.mask = ITEM_FORMAT;
    ASSERT_TRUE(grid.readItem(&read));
    EXPECT_EQ(read.format, 0x25u);
    EXPECT_TRUE(read.text.isEmpty());
}

TEST_F(GridModel, CellStateKeepsTheSelectedSetInStep) {
    grid.setRowCount(3);
    grid.setColumnCount(3);
    grid.setCellState(1, 1, CELL_SELECTED | CELL_READONLY);
    grid.setCellState(2, 2, CELL_SELECTED);
    expectConsistent(grid);
    grid.setCellState(1, 1, CELL_READONLY);
    EXPECT_EQ(grid.selectedCells(), (std::vector<CellId>{{2, 2}}));
    grid.setRowCount(2);  // the released cell leaves the set
    EXPECT_TRUE(grid.selectedCells().empty());
    expectConsistent(grid);
}

TEST_F(GridModel, RunningOutOfMemoryLeavesTheTableAsItWas) {
    grid.setRowCount(3);
    grid.setColumnCount(4);
    grid.setCellText(2, 3, "kept");
    struct Case {
        const char* what;
        std::function<void(CGridCtrl&)> run;
    };
    const std::vector<Case> cases{
        {"rows", [](CGridCtrl& g) { g.setRowCount(50); }},
        {"columns", [](CGridCtrl& g) { g.setColumnCount(50); }},
        {"fixed rows", [](CGridCtrl& g) { g.setFixedRowCount(50); }},
    };
    for (const Case& c : cases) {
        grid.failAfter = 7;
        EXPECT_THROW(c.run(grid), std::bad_alloc) << c.what;
        grid.failAfter = -1;
        EXPECT_EQ(grid.rowCount(), 3) << c.what;
        EXPECT_EQ(grid.columnCount(), 4) << c.what;
        EXPECT_EQ(grid.fixedRowCount(), 0) << c.what;
        EXPECT_EQ(grid.cellText(2, 3), "kept");
        expectConsistent(grid);
    }
    EXPECT_TRUE(grid.setRowCount(5));
    expectConsistent(grid);
}

TEST_F(GridModel, CellsAreReleasedBeforeDeletion) {
    // (Cells made while the base constructs come from the base's newCell, as C++ has
    // it, so a derived grid is shaped after construction.)
    grid.setRowCount(4);
    grid.setColumnCount(5);
    EXPECT_EQ(grid.made, 20);
    grid.setColumnCount(2);
    EXPECT_EQ(grid.released, 12);
    grid.deleteRow(0);
    EXPECT_EQ(grid.released, 14);
    grid.deleteAllCells();
    EXPECT_EQ(grid.released, grid.made);
}

TEST_F(GridModel, FontSetsMarginAndDefaultSizes) {
    QFont big = grid.font();
    big.setPixelSize(30);
    grid.setFont(big);
    const QFontMetrics metrics(big);
    EXPECT_EQ(grid.margin(), metrics.horizontalAdvance(' '));
    EXPECT_EQ(grid.defaultRowHeight(), metrics.height() + metrics.leading() + 2 * grid.margin());
    EXPECT_EQ(grid.defaultColumnWidth(), 2 * (grid.margin() + 6 * metrics.averageCharWidth()));
    grid.setRowCount(1);
    grid.setColumnCount(1);
    EXPECT_EQ(grid.rowHeight(0), grid.defaultRowHeight());
    EXPECT_EQ(grid.cellFont(0, 0)->pixelSize(), 30);
    EXPECT_EQ(grid.textExtent("", false),
              QSize(2 * grid.margin(), metrics.height() + 2 * grid.margin()));
}

TEST_F(GridModel, WheelLinesComeFromTheApplication) {
    EXPECT_EQ(grid.wheelLines(), QApplication::wheelScrollLines());
}

TEST_F(GridModel, SystemColourChangesSpareOwnerColours) {
    grid.setFixedBackColour(rgbColour(1, 2, 3));
    const Colour window = grid.textBackColour();
    QPalette palette = QApplication::palette();
    const QPalette original = palette;
    palette.setColor(QPalette::Base, QColor(200, 10, 10));
    palette.setColor(QPalette::Button, QColor(10, 200, 10));
    QApplication::setPalette(palette);
    grid.followSystemColours();
    EXPECT_EQ(grid.textBackColour(), rgbColour(200, 10, 10));
    EXPECT_NE(grid.textBackColour(), window);
    EXPECT_EQ(grid.fixedBackColour(), rgbColour(1, 2, 3));
    QApplication::setPalette(original);
    grid.followSystemColours();
    EXPECT_EQ(grid.textBackColour(), window);
}

}  // namespace
}  // namespace qzm::test

namespace qzm::test {
namespace {

TEST(GridWindow, BindingTakesOverAFormControl) {
    GridHost form;
    const DialogTemplate layout{100,
                                "",
                                {200, 150},
                                {{1015, ControlKind::Edit, "", {4, 4, 40, 12}},
                                 {1016, ControlKind::Custom, "", {4, 20, 190, 120}}}};
    buildDialog(form, layout);
    QWidget* placeholder = findControl(&form, 1016);
    ASSERT_NE(placeholder, nullptr);
    const QRect place = placeholder->geometry();

    auto* grid = new CGridCtrl(&form);
    ASSERT_TRUE(grid->bindToControl(&form, 1016));
    EXPECT_EQ(findControl(&form, 1016), grid);
    EXPECT_EQ(grid->controlId(), 1016);
    EXPECT_EQ(grid->geometry(), place);
    EXPECT_EQ(controlsInOrder(&form).back(), grid) << "keeps the placeholder's place";
    EXPECT_FALSE(grid->bindToControl(&form, 1015)) << "a grid binds once";

    grid->setRowCount(3);
    grid->setColumnCount(3);
    grid->moveFocus(1, 1);
    ASSERT_FALSE(form.notifications.empty()) << "the parent form is the owner by default";
    EXPECT_EQ(form.notifications.back().header.controlId, 1016);

    GridHost other;
    grid->setOwner(&other);
    grid->moveFocus(2, 2);
    EXPECT_EQ(other.codes(), (std::vector<int>{GN_FOCUS_LEAVE, GN_FOCUS_ENTER}));
    grid->setOwner(nullptr);
}

TEST(GridWindow, CreateGivesEveryRowAndColumnTheDefaultSize) {
    GridHost form;
    CGridCtrl grid(nullptr, 3, 2, 1, 1);
    grid.setRowHeight(1, 5);
    ASSERT_TRUE(grid.create(QRect(10, 10, 200, 100), &form, 77));
    EXPECT_EQ(grid.parentWidget(), &form);
    EXPECT_EQ(grid.controlId(), 77);
    EXPECT_EQ(grid.rowHeight(1), grid.defaultRowHeight());
    EXPECT_EQ(grid.columnWidth(1), grid.defaultColumnWidth());
    grid.setParent(nullptr);
}

}  // namespace
}  // namespace qzm::test
