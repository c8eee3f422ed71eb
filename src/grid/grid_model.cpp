// SPDX-License-Identifier: GPL-3.0-or-later
// The grid's table: construction, binding to a form, and its shape (rows, columns and
// the cells they hold).

#include <algorithm>
#include <new>
#include <utility>

#include <QApplication>
#include <QFontMetrics>
#include <QLayout>
#include <QScrollBar>
#include <QVariant>

#include "grid/grid_accessible.h"
#include "grid/grid_ctrl.h"
#include "grid/grid_internal.h"
#include "platform/qt/dialog_builder.h"

namespace qzm {

namespace {

int toInt(std::size_t value) {
    return static_cast<int>(value);
}

}  // namespace

using grid_internal::toIndex;

CGridCtrl::CGridCtrl(QWidget* parent, int rows, int cols, int fixedRows, int fixedCols)
    : QAbstractScrollArea(parent),
      m_textColour(systemColour(COLOR_WINDOWTEXT)),
      m_textBackColour(systemColour(COLOR_WINDOW)),
      m_outsideColour(systemColour(COLOR_BTNSHADOW)),
      m_fixedTextColour(systemColour(COLOR_WINDOWTEXT)),
      m_fixedBackColour(systemColour(COLOR_BTNFACE)),
      m_gridLineColour(systemColour(COLOR_BTNSHADOW)),
      m_systemWindowText(systemColour(COLOR_WINDOWTEXT)),
      m_systemWindow(systemColour(COLOR_WINDOW)),
      m_systemBtnFace(systemColour(COLOR_BTNFACE)),
      m_systemBtnShadow(systemColour(COLOR_BTNSHADOW)),
      m_wheelLines(QApplication::wheelScrollLines()) {
    installGridAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    // The paint fills every pixel itself, so the viewport needs no erasing; being opaque
    // also lets line scrolling move the pixels already on screen.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    viewport()->setMouseTracking(true);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { scrollBarAction(Qt::Vertical, action); });
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { scrollBarAction(Qt::Horizontal, action); });
    applyFont(font());
    setRowCount(rows);
    setColumnCount(cols);
    setFixedRowCount(fixedRows);
    setFixedColumnCount(fixedCols);
    m_selectedCells.clear();
    m_keptSelection.clear();
}

CGridCtrl::~CGridCtrl() {
    // The owner (often the parent) may already be half destroyed: no notifications now.
    m_destroying = true;
    m_owner = nullptr;
    deleteAllCells();
    m_selectedCells.clear();
    m_keptSelection.clear();
}

GridOwner* CGridCtrl::owner() const {
    if (m_owner != nullptr) {
        return m_owner;
    }
    return dynamic_cast<GridOwner*>(parentWidget());
}

bool CGridCtrl::create(const QRect& rect, QWidget* parent, int id) {
    try {
        if (parent != parentWidget()) {
            setParent(parent);
        }
        setGeometry(rect);
        setControlId(id);
        m_rowHeights.assign(toIndex(m_rowCount), m_defaultRowHeight);
        m_columnWidths.assign(toIndex(m_columnCount), m_defaultColumnWidth);
        m_attached = true;
        applyFont(font());
        updateScrollBars();
        show();
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool CGridCtrl::bindToControl(QWidget* placeholder) {
    if (m_attached || placeholder == nullptr || placeholder == this) {
        return false;
    }
    QWidget* form = placeholder->parentWidget();
    if (form == nullptr) {
        return false;
    }
    if (parentWidget() != form) {
        setParent(form);
    }
    setGeometry(placeholder->geometry());
    // The control id, creation order and style of a built form travel as properties.
    const auto names = placeholder->dynamicPropertyNames();
    for (const QByteArray& name : names) {
        setProperty(name.constData(), placeholder->property(name.constData()));
    }
    setObjectName(placeholder->objectName());
    setToolTip(placeholder->toolTip());
    setEnabled(placeholder->isEnabled());
    if (QLayout* layout = form->layout()) {
        delete layout->replaceWidget(placeholder, this);
    }
    const bool visible = placeholder->isVisibleTo(form);
    stackUnder(placeholder);
    QWidget::setTabOrder(placeholder, this);
    delete placeholder;
    setVisible(visible);
    m_attached = true;
    applyFont(font());
    updateScrollBars();
    return true;
}

bool CGridCtrl::bindToControl(QWidget* form, int id) {
    return bindToControl(findControl(form, id));
}

void CGridCtrl::setControlId(int id) {
    m_controlId = id;
    m_hasControlId = true;
}

int CGridCtrl::controlId() const {
    if (m_hasControlId) {
        return m_controlId;
    }
    return qzm::controlId(this).value_or(0);
}

bool CGridCtrl::isValid(int row, int col) const {
    return row >= 0 && row < m_rowCount && col >= 0 && col < m_columnCount;
}

bool CGridCtrl::isValid(const CellRange& range) const {
    return range.minRow >= 0 && range.minCol >= 0 && range.maxRow >= 0 && range.maxCol >= 0 &&
           range.maxRow < m_rowCount && range.maxCol < m_columnCount &&
           range.maxRow >= range.minRow && range.maxCol >= range.minCol;
}

GridCell* CGridCtrl::cellAt(int row, int col) const {
    if (!isValid(row, col) || toIndex(row) >= m_rows.size()) {
        return nullptr;
    }
    const Row& cells = m_rows[toIndex(row)];
    if (toIndex(col) >= cells.size()) {
        return nullptr;
    }
    return cells[toIndex(col)].get();
}

GridCell* CGridCtrl::cell(int row, int col) const {
    return cellAt(row, col);
}

std::unique_ptr<GridCell> CGridCtrl::newCell(int row, int col) {
    auto made = std::make_unique<GridCell>();
    made->font = font();
    if (row > 0 && col > 0 && col < m_columnCount) {
        if (const GridCell* above = cellAt(row - 1, col)) {
            made->format = above->format;
        }
    }
    return made;
}

void CGridCtrl::releaseCell(GridCell& released, int row, int col) {
    if (cellAt(row, col) == &released) {
        setCellState(row, col, 0);
    } else {
        released.state = 0;
    }
    released.text.clear();
}

void CGridCtrl::destroyCells(Row& row, int rowIndex, int firstCol) {
    for (std::size_t col = toIndex(firstCol); col < row.size(); ++col) {
        if (row[col]) {
            releaseCell(*row[col], rowIndex, toInt(col));
        }
    }
    row.resize(std::min(row.size(), toIndex(firstCol)));
}

void CGridCtrl::moveFocusIfOutside(int rows, int cols) {
    if (m_focusCell.row >= rows || m_focusCell.col >= cols) {
        moveFocus(-1, -1);
    }
}

bool CGridCtrl::setRowCount(int count) {
    if (count < 0) {
        return false;
    }
    if (count == m_rowCount) {
        return true;
    }
    if (count < m_rowCount) {
        if (count < m_fixedRowCount) {
            m_fixedRowCount = count;
        }
        moveFocusIfOutside(count, m_columnCount);
        for (int row = m_rowCount - 1; row >= count; --row) {
            destroyCells(m_rows[toIndex(row)], row, 0);
        }
        m_rows.resize(toIndex(count));
        m_rowHeights.resize(toIndex(count));
        m_rowCount = count;
    } else {
        // Room first, so that adding the rows below cannot fail half way through
        // anything but the cells themselves.
        m_rows.reserve(toIndex(count));
        m_rowHeights.reserve(toIndex(count));
        const int oldCount = m_rowCount;
        try {
            for (int row = oldCount; row < count; ++row) {
                Row cells;
                cells.reserve(toIndex(m_columnCount));
                for (int col = 0; col < m_columnCount; ++col) {
                    cells.push_back(newCell(row, col));
                }
                m_rows.push_back(std::move(cells));
                m_rowHeights.push_back(m_defaultRowHeight);
                m_rowCount = row + 1;
            }
        } catch (...) {
            for (int row = m_rowCount - 1; row >= oldCount; --row) {
                destroyCells(m_rows[toIndex(row)], row, 0);
            }
            m_rows.resize(toIndex(oldCount));
            m_rowHeights.resize(toIndex(oldCount));
            m_rowCount = oldCount;
            throw;
        }
    }
    invalidateAll();
    return true;
}

bool CGridCtrl::setColumnCount(int count) {
    if (count < 0) {
        return false;
    }
    if (count == m_columnCount) {
        return true;
    }
    if (count < m_columnCount) {
        if (count < m_fixedColumnCount) {
            m_fixedColumnCount = count;
        }
        moveFocusIfOutside(m_rowCount, count);
        for (int row = 0; row < m_rowCount; ++row) {
            destroyCells(m_rows[toIndex(row)], row, count);
        }
        m_columnWidths.resize(toIndex(count));
        m_columnCount = count;
    } else {
        m_columnWidths.reserve(toIndex(count));
        for (Row& cells : m_rows) {
            cells.reserve(toIndex(count));
        }
        const int oldCount = m_columnCount;
        m_columnCount = count;
        m_columnWidths.resize(toIndex(count), m_defaultColumnWidth);
        try {
            for (int row = 0; row < m_rowCount; ++row) {
                for (int col = oldCount; col < count; ++col) {
                    m_rows[toIndex(row)].push_back(newCell(row, col));
                }
            }
        } catch (...) {
            for (int row = 0; row < m_rowCount; ++row) {
                destroyCells(m_rows[toIndex(row)], row, oldCount);
            }
            m_columnWidths.resize(toIndex(oldCount));
            m_columnCount = oldCount;
            throw;
        }
    }
    invalidateAll();
    return true;
}

bool CGridCtrl::setFixedRowCount(int count) {
    if (count < 0) {
        return false;
    }
    if (count > m_rowCount && !setRowCount(count)) {
        return false;
    }
    if (m_focusCell.row < count) {
        moveFocus(-1, -1);
    }
    m_fixedRowCount = count;
    invalidateAll();
    return true;
}

bool CGridCtrl::setFixedColumnCount(int count) {
    if (count < 0) {
        return false;
    }
    if (count > m_columnCount && !setColumnCount(count)) {
        return false;
    }
    if (m_focusCell.col < count) {
        moveFocus(-1, -1);
    }
    m_fixedColumnCount = count;
    invalidateAll();
    return true;
}

int CGridCtrl::insertColumn(const QString& heading, std::uint32_t format, int before) {
    if (before >= 0 && before >= m_columnCount) {
        return -1;
    }
    clearSelection();
    if (m_rowCount <= 0) {
        setRowCount(1);
    }
    const int index = before < 0 ? m_columnCount : before;
    m_columnWidths.reserve(m_columnWidths.size() + 1);
    for (Row& cells : m_rows) {
        cells.reserve(cells.size() + 1);
    }
    std::vector<CellPtr> made;
    made.reserve(toIndex(m_rowCount));
    for (int row = 0; row < m_rowCount; ++row) {
        made.push_back(newCell(row, index));
    }
    m_columnWidths.insert(m_columnWidths.begin() + index, 0);
    for (int row = 0; row < m_rowCount; ++row) {
        Row& cells = m_rows[toIndex(row)];
        cells.insert(cells.begin() + index, std::move(made[toIndex(row)]));
    }
    ++m_columnCount;
    setCellText(0, index, heading);
    for (int row = 0; row < m_rowCount; ++row) {
        setCellFormat(row, index, format);
    }
    m_columnWidths[toIndex(index)] = textExtent(heading, true).width();
    updateScrollBars();
    return index;
}

int CGridCtrl::insertRow(const QString& heading, int before) {
    if (before >= 0 && before >= m_rowCount) {
        return -1;
    }
    clearSelection();
    if (m_columnCount <= 0) {
        setColumnCount(1);
    }
    const int index = before < 0 ? m_rowCount : before;
    m_rows.reserve(m_rows.size() + 1);
    m_rowHeights.reserve(m_rowHeights.size() + 1);
    Row cells;
    cells.reserve(toIndex(m_columnCount));
    for (int col = 0; col < m_columnCount; ++col) {
        cells.push_back(newCell(index, col));
    }
    m_rowHeights.insert(m_rowHeights.begin() + index, 0);
    m_rows.insert(m_rows.begin() + index, std::move(cells));
    ++m_rowCount;
    setCellText(index, 0, heading);
    m_rowHeights[toIndex(index)] = textExtent(heading, true).height();
    updateScrollBars();
    return index;
}

bool CGridCtrl::deleteColumn(int col) {
    if (col < 0 || col >= m_columnCount) {
        return false;
    }
    clearSelection();
    for (int row = 0; row < m_rowCount; ++row) {
        Row& cells = m_rows[toIndex(row)];
        if (toIndex(col) < cells.size() && cells[toIndex(col)]) {
            releaseCell(*cells[toIndex(col)], row, col);
        }
    }
    for (Row& cells : m_rows) {
        if (toIndex(col) < cells.size()) {
            cells.erase(cells.begin() + col);
        }
    }
    m_columnWidths.erase(m_columnWidths.begin() + col);
    --m_columnCount;
    if (col < m_fixedColumnCount) {
        --m_fixedColumnCount;
    }
    updateScrollBars();
    return true;
}

bool CGridCtrl::deleteRow(int row) {
    if (row < 0 || row >= m_rowCount) {
        return false;
    }
    clearSelection();
    destroyCells(m_rows[toIndex(row)], row, 0);
    m_rows.erase(m_rows.begin() + row);
    m_rowHeights.erase(m_rowHeights.begin() + row);
    --m_rowCount;
    if (row < m_fixedRowCount) {
        --m_fixedRowCount;
    }
    updateScrollBars();
    return true;
}

bool CGridCtrl::deleteScrollingRows() {
    for (int row = m_rowCount - 1; row >= m_fixedRowCount; --row) {
        deleteRow(row);
    }
    return true;
}

bool CGridCtrl::deleteAllCells() {
    clearSelection();
    for (int row = m_rowCount - 1; row >= 0; --row) {
        destroyCells(m_rows[toIndex(row)], row, 0);
    }
    m_rows.clear();
    m_rowHeights.clear();
    m_columnWidths.clear();
    m_rowCount = m_columnCount = m_fixedRowCount = m_fixedColumnCount = 0;
    m_focusCell = CellId{};
    updateScrollBars();
    return true;
}

}  // namespace qzm
