// SPDX-License-Identifier: GPL-3.0-or-later
#include "grid/grid_accessible.h"

#include <map>
#include <utility>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>
#include <QWindow>

#include "grid/grid_ctrl.h"

namespace qzm {

namespace {

class GridAccessible;

// One cell, identified by its place in the grid (what sits there may change).
class GridCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
  public:
    GridCellAccessible(CGridCtrl* grid, int row, int col) : m_grid(grid), m_row(row), m_col(col) {}

    // The grid when it still exists and still has this cell, else nullptr.
    CGridCtrl* liveGrid() const {
        CGridCtrl* grid = m_grid.data();
        return grid != nullptr && grid->isValid(m_row, m_col) ? grid : nullptr;
    }

    bool isValid() const override { return liveGrid() != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        CGridCtrl* grid = m_grid.data();
        return grid != nullptr ? grid->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        CGridCtrl* grid = m_grid.data();
        return grid != nullptr ? QAccessible::queryAccessibleInterface(grid) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text kind) const override {
        CGridCtrl* grid = liveGrid();
        if (grid == nullptr || (kind != QAccessible::Name && kind != QAccessible::Value)) {
            return QString();
        }
        return grid->cellText(m_row, m_col);
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        CGridCtrl* grid = liveGrid();
        QRect cell;
        if (grid == nullptr || !grid->cellRect(m_row, m_col, &cell)) {
            return QRect();
        }
        return QRect(grid->viewport()->mapToGlobal(cell.topLeft()), cell.size());
    }

    QAccessible::Role role() const override {
        CGridCtrl* grid = liveGrid();
        if (grid != nullptr && m_row < grid->fixedRowCount()) {
            return QAccessible::ColumnHeader;
        }
        if (grid != nullptr && m_col < grid->fixedColumnCount()) {
            return QAccessible::RowHeader;
        }
        return QAccessible::Cell;
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        CGridCtrl* grid = liveGrid();
        if (grid == nullptr) {
            state.invalid = true;
            return state;
        }
        const std::uint32_t cellState = grid->cellState(m_row, m_col);
        const bool header = m_row < grid->fixedRowCount() || m_col < grid->fixedColumnCount();
        const bool readOnly = header || (cellState & CELL_READONLY) != 0 || !grid->editingAllowed();
        state.focusable = !header;
        state.focused = (cellState & CELL_FOCUSED) != 0;
        state.selectable = !header && grid->selectionAllowed();
        state.selected = (cellState & CELL_SELECTED) != 0;
        state.readOnly = readOnly;
        state.editable = !readOnly;
        state.invisible = !grid->isCellShown(m_row, m_col);
        state.offscreen = state.invisible;
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableCellInterface) {
            return static_cast<QAccessibleTableCellInterface*>(this);
        }
        return nullptr;
    }

    bool isSelected() const override {
        CGridCtrl* grid = liveGrid();
        return grid != nullptr && (grid->cellState(m_row, m_col) & CELL_SELECTED) != 0;
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override;
    int columnIndex() const override {
        CGridCtrl* grid = m_grid.data();
        return grid != nullptr ? m_col - grid->fixedColumnCount() : -1;
    }
    int rowIndex() const override {
        CGridCtrl* grid = m_grid.data();
        return grid != nullptr ? m_row - grid->fixedRowCount() : -1;
    }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    int row() const { return m_row; }
    int col() const { return m_col; }

  private:
    QPointer<CGridCtrl> m_grid;
    int m_row;
    int m_col;
};

class GridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
  public:
    explicit GridAccessible(CGridCtrl* grid) : QAccessibleWidget(grid, QAccessible::Table) {}
    ~GridAccessible() override {
        for (const auto& entry : m_cells) {
            QAccessible::deleteAccessibleInterface(entry.second);
        }
    }
    GridAccessible(const GridAccessible&) = delete;
    GridAccessible& operator=(const GridAccessible&) = delete;

    CGridCtrl* grid() const { return static_cast<CGridCtrl*>(widget()); }

    // The interface of grid cell (row, col), made once and kept.
    QAccessibleInterface* gridCell(int row, int col) const {
        if (!grid()->isValid(row, col)) {
            return nullptr;
        }
        const auto key = std::make_pair(row, col);
        const auto found = m_cells.find(key);
        if (found != m_cells.end()) {
            return QAccessible::accessibleInterface(found->second);
        }
        auto* made = new GridCellAccessible(grid(), row, col);
        m_cells.emplace(key, QAccessible::registerAccessibleInterface(made));
        return made;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableInterface) {
            return static_cast<QAccessibleTableInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    int childCount() const override { return grid()->rowCount() * grid()->columnCount(); }
    QAccessibleInterface* child(int index) const override {
        const int cols = grid()->columnCount();
        if (index < 0 || cols <= 0 || index >= childCount()) {
            return nullptr;
        }
        return gridCell(index / cols, index % cols);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* cellChild = dynamic_cast<const GridCellAccessible*>(child);
        if (cellChild == nullptr || !grid()->isValid(cellChild->row(), cellChild->col())) {
            return -1;
        }
        return cellChild->row() * grid()->columnCount() + cellChild->col();
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint local = grid()->viewport()->mapFromGlobal(QPoint(x, y));
        const CellId hit = grid()->hitTest(local, true);
        return gridCell(hit.row, hit.col);
    }
    QAccessibleInterface* focusChild() const override {
        const CellId focus = grid()->focusCell();
        return gridCell(focus.row, focus.col);
    }

    // Table coordinates count the non-fixed cells only.
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        return gridCell(row + grid()->fixedRowCount(), column + grid()->fixedColumnCount());
    }
    int rowCount() const override { return grid()->rowCount() - grid()->fixedRowCount(); }
    int columnCount() const override { return grid()->columnCount() - grid()->fixedColumnCount(); }
    int selectedCellCount() const override {
        return static_cast<int>(grid()->selectedCells().size());
    }
    QList<QAccessibleInterface*> selectedCells() const override {
        QList<QAccessibleInterface*> cells;
        for (const CellId& id : grid()->selectedCells()) {
            if (QAccessibleInterface* each = gridCell(id.row, id.col)) {
                cells.append(each);
            }
        }
        return cells;
    }
    QString columnDescription(int column) const override {
        QStringList parts;
        for (int row = 0; row < grid()->fixedRowCount(); ++row) {
            parts.append(grid()->cellText(row, column + grid()->fixedColumnCount()));
        }
        return parts.join(QLatin1Char(' '));
    }
    QString rowDescription(int row) const override {
        QStringList parts;
        for (int col = 0; col < grid()->fixedColumnCount(); ++col) {
            parts.append(grid()->cellText(row + grid()->fixedRowCount(), col));
        }
        return parts.join(QLatin1Char(' '));
    }
    bool isColumnSelected(int column) const override {
        const int col = column + grid()->fixedColumnCount();
        if (rowCount() <= 0) {
            return false;
        }
        for (int row = grid()->fixedRowCount(); row < grid()->rowCount(); ++row) {
            if ((grid()->cellState(row, col) & CELL_SELECTED) == 0)
                return false;
        }
        return true;
    }
    bool isRowSelected(int row) const override {
        const int gridRow = row + grid()->fixedRowCount();
        if (columnCount() <= 0) {
            return false;
        }
        for (int col = grid()->fixedColumnCount(); col < grid()->columnCount(); ++col) {
            if ((grid()->cellState(gridRow, col) & CELL_SELECTED) == 0)
                return false;
        }
        return true;
    }
    QList<int> selectedColumns() const override {
        QList<int> columns;
        for (int column = 0; column < columnCount(); ++column) {
            if (isColumnSelected(column))
                columns.append(column);
        }
        return columns;
    }
    QList<int> selectedRows() const override {
        QList<int> rows;
        for (int row = 0; row < rowCount(); ++row) {
            if (isRowSelected(row))
                rows.append(row);
        }
        return rows;
    }
    int selectedColumnCount() const override { return static_cast<int>(selectedColumns().size()); }
    int selectedRowCount() const override { return static_cast<int>(selectedRows().size()); }
    // Selection belongs to the user's mouse and keys; assistive tools only read it.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

  private:
    mutable std::map<std::pair<int, int>, QAccessible::Id> m_cells;
};

QList<QAccessibleInterface*> GridCellAccessible::columnHeaderCells() const {
    QList<QAccessibleInterface*> headers;
    CGridCtrl* grid = liveGrid();
    auto* table = grid != nullptr ? dynamic_cast<GridAccessible*>(parent()) : nullptr;
    for (int row = 0; table != nullptr && row < grid->fixedRowCount(); ++row) {
        if (QAccessibleInterface* header = table->gridCell(row, m_col))
            headers.append(header);
    }
    return headers;
}

QList<QAccessibleInterface*> GridCellAccessible::rowHeaderCells() const {
    QList<QAccessibleInterface*> headers;
    CGridCtrl* grid = liveGrid();
    auto* table = grid != nullptr ? dynamic_cast<GridAccessible*>(parent()) : nullptr;
    for (int col = 0; table != nullptr && col < grid->fixedColumnCount(); ++col) {
        if (QAccessibleInterface* header = table->gridCell(m_row, col))
            headers.append(header);
    }
    return headers;
}

QAccessibleInterface* gridAccessibleFactory(const QString& className, QObject* object) {
    (void)className;
    if (auto* grid = qobject_cast<CGridCtrl*>(object)) {
        return new GridAccessible(grid);
    }
    return nullptr;
}

}  // namespace

void installGridAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(gridAccessibleFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace qzm
