// SPDX-License-Identifier: GPL-3.0-or-later
// Fitting and stretching sizes, sorting rows and finding cells by state.

#include <gtest/gtest.h>

#include <random>

#include <QFontMetrics>

#include "grid_test_support.h"

namespace qzm::test {
namespace {

class GridSort : public ::testing::Test {
  protected:
    GridFixture f{8, 4, 20, 50, QSize(300, 200)};
    CGridCtrl& grid = *f.grid;

    // Column 1 gets `texts`; every row is tagged in its data and height so its travels
    // can be followed.
    void fillColumn(const std::vector<QString>& texts) {
        grid.setRowCount(static_cast<int>(texts.size()) + 1);
        for (int i = 0; i < static_cast<int>(texts.size()); ++i) {
            grid.setCellText(i + 1, 0, QStringLiteral("%1,0").arg(i + 1));
            grid.setCellText(i + 1, 1, texts[static_cast<std::size_t>(i)]);
            grid.setCellData(i + 1, 2, static_cast<std::uint32_t>(i));
            grid.setRowHeight(i + 1, 10 + i);
        }
    }
    std::vector<QString> column(int col) {
        std::vector<QString> texts;
        for (int r = grid.fixedRowCount(); r < grid.rowCount(); ++r) {
            texts.push_back(grid.cellText(r, col));
        }
        return texts;
    }
};

TEST_F(GridSort, SortByTextOrdersRowsAndCarriesTheirHeights) {
    for (const bool ascending : {true, false}) {
        fillColumn({"delta", "alpha", "charlie", "bravo", "alpha", "echo"});
        grid.setCellText(0, 1, "zzz header");
        grid.moveFocus(2, 2);
        ASSERT_TRUE(grid.sortByText(1, ascending));
        std::vector<QString> expected{"alpha", "alpha", "bravo", "charlie", "delta", "echo"};
        if (!ascending)
            std::reverse(expected.begin(), expected.end());
        EXPECT_EQ(column(1), expected);
        EXPECT_EQ(grid.cellText(0, 1), "zzz header") << "fixed rows never move";
        EXPECT_FALSE(grid.isValid(grid.focusCell()));
        for (int r = 1; r < grid.rowCount(); ++r) {
            EXPECT_EQ(grid.rowHeight(r), 10 + static_cast<int>(grid.cellData(r, 2)));
            EXPECT_EQ(grid.cellText(r, 0), QStringLiteral("%1,0").arg(grid.cellData(r, 2) + 1));
        }
    }
}

TEST_F(GridSort, RowsWithEqualKeysAreNeverExchanged) {
    fillColumn({"same", "same", "same", "same", "same"});
    ASSERT_TRUE(grid.sortByText(1, true));
    for (int r = 1; r < grid.rowCount(); ++r) {
        EXPECT_EQ(grid.cellData(r, 2), static_cast<std::uint32_t>(r - 1));
    }
}

TEST_F(GridSort, SortByTextComparesBytesOfTheText) {
    fillColumn({"b", "B", "\u00e9", "a", "Z"});
    ASSERT_TRUE(grid.sortByText(1, true));
    EXPECT_EQ(column(1), (std::vector<QString>{"B", "Z", "a", "b", "\u00e9"}));
}

TEST_F(GridSort, RandomTablesComeOutSorted) {
    std::mt19937 random(836);
    for (int size : {2, 3, 7, 31, 200}) {
        std::vector<QString> texts;
        for (int i = 0; i < size; ++i) {
            texts.push_back(QString::number(static_cast<int>(random() % 20)));
        }
        fillColumn(texts);
        ASSERT_TRUE(grid.sortByText(1, true));
        std::vector<QString> sorted = texts;
        std::sort(sorted.begin(), sorted.end(),
                  [](const QString& a, const QString& b) { return a.toUtf8() < b.toUtf8(); });
        EXPECT_EQ(column(1), sorted) << size;
    }
}

TEST_F(GridSort, SortByDataUsesTheCallersComparison) {
    fillColumn({"a", "b", "c", "d"});
    for (int r = 1; r <= 4; ++r)
        grid.setCellData(r, 3, static_cast<std::uint32_t>(r % 3));
    std::uintptr_t seen = 0;
    const GridDataCompare compare = [&](std::uint32_t a, std::uint32_t b, std::uintptr_t user) {
        seen = user;
        return a < b ? -1 : (a > b ? 1 : 0);
    };
    ASSERT_TRUE(grid.sortByData(compare, 3, false, 77));
    EXPECT_EQ(seen, 77u);
    std::vector<std::uint32_t> data;
    for (int r = 1; r <= 4; ++r)
        data.push_back(grid.cellData(r, 3));
    EXPECT_EQ(data, (std::vector<std::uint32_t>{2, 1, 1, 0}));
}

TEST_F(GridSort, NothingToSortReturnsFalse) {
    fillColumn({"only"});
    grid.selectRange({1, 1, 1, 2});
    EXPECT_FALSE(grid.sortByText(1, true));
    EXPECT_TRUE(grid.selectedCells().empty()) << "the selection is cleared even so";
    EXPECT_FALSE(grid.sortByText(4, true));
    EXPECT_FALSE(grid.sortByText(-1, true));
    EXPECT_FALSE(grid.sortByData({}, 1, true, 0));
}

TEST_F(GridSort, FindCellSearchesInTheGivenDirection) {
    grid.setRowCount(8);
    grid.setCellState(2, 2, CELL_MARKED);  // left of the start: only FIND_LEFT sees it
    grid.setCellState(3, 3, CELL_MARKED);  // below the start
    grid.setCellState(4, 5, CELL_READONLY);
    grid.setCellState(1, 3, CELL_MARKED);  // above the start
    struct Case {
        std::uint32_t flags;
        CellId found;
    };
    const CellId start{2, 3};
    const std::vector<Case> cases{
        {FIND_BELOW | FIND_RIGHT | CELL_MARKED | CELL_READONLY, {-1, -1}},  // columns > 3 only...
        {FIND_BELOW | FIND_RIGHT | CELL_MARKED, {3, 3}},  // ...then it falls back to below
        {FIND_ABOVE | CELL_MARKED, {1, 3}},
        {FIND_BELOW | CELL_MARKED, {3, 3}},
        {FIND_LEFT | CELL_MARKED, {2, 2}},
        {FIND_RIGHT | CELL_MARKED, {-1, -1}},
        {FIND_BELOW, {-1, -1}},  // no state bits: nothing matches
    };
    // Columns are 0..3 here; widen so (4, 5) exists for the first case.
    grid.setColumnCount(6);
    grid.setCellState(4, 5, CELL_READONLY);
    EXPECT_EQ(grid.findCell(start, cases[0].flags), (CellId{4, 5}));
    for (std::size_t i = 1; i < cases.size(); ++i) {
        EXPECT_EQ(grid.findCell(start, cases[i].flags), cases[i].found) << i;
    }
}

TEST_F(GridSort, FitMeasuresTextWithMarginsAndBoldHeaders) {
    const int m = grid.margin();
    for (int r = 0; r < grid.rowCount(); ++r)
        grid.setCellText(r, 2, QString());
    ASSERT_TRUE(grid.fitColumn(2));
    EXPECT_EQ(grid.columnWidth(2), 4 * m);

    grid.setCellText(0, 3, "WWWWWW");  // header: measured bold
    grid.setCellText(3, 3, "WWW");
    ASSERT_TRUE(grid.fitColumn(3));
    QFont bold = grid.font();
    bold.setWeight(QFont::DemiBold);
    EXPECT_EQ(grid.columnWidth(3), QFontMetrics(bold).horizontalAdvance("WWWWWW") + 4 * m);

    ASSERT_TRUE(grid.fitRow(3));
    EXPECT_EQ(grid.rowHeight(3), QFontMetrics(bold).height() + 2 * m);
    EXPECT_FALSE(grid.fitColumn(9));
    EXPECT_FALSE(grid.fitRow(-1));

    grid.fitAll();
    for (int c = 0; c < grid.columnCount(); ++c) {
        int widest = 0;
        for (int r = 0; r < grid.rowCount(); ++r) {
            widest = std::max(widest, grid.measureCell(r, c, nullptr).width());
        }
        EXPECT_EQ(grid.columnWidth(c), widest);
    }
}

TEST_F(GridSort, StretchSpreadsTheClientOverTheColumns) {
    struct Case {
        int clientWidth;
        std::vector<int> widths;
    };
    const std::vector<Case> cases{
        {143, {47, 48, 48}},  // 7 narrower: the first loses one more
        {157, {53, 52, 52}},  // 7 wider: the first gains one more
        {150, {50, 50, 50}},
        {4, {1, 1, 2}},
    };
    grid.setColumnCount(3);
    for (const Case& c : cases) {
        for (int col = 0; col < 3; ++col)
            grid.setColumnWidth(col, 50);
        grid.setGeometry(0, 0, c.clientWidth, 200);
        grid.stretchColumns();
        EXPECT_EQ((std::vector<int>{grid.columnWidth(0), grid.columnWidth(1), grid.columnWidth(2)}),
                  c.widths)
            << c.clientWidth;
    }
    // Taking more than a column has leaves it at zero, not at a negative width.
    grid.setColumnWidth(0, 0);
    grid.setColumnWidth(1, 0);
    grid.setColumnWidth(2, 150);
    grid.setGeometry(0, 0, 30, 200);
    grid.stretchColumns();
    EXPECT_EQ(grid.columnWidth(0), 0);
    EXPECT_EQ(grid.columnWidth(2), 110);

    grid.setGeometry(0, 0, 300, 200);
    grid.stretchAll();
    EXPECT_EQ(grid.totalWidth(), 300);
    EXPECT_EQ(grid.totalHeight(), 200);
}

}  // namespace
}  // namespace qzm::test
