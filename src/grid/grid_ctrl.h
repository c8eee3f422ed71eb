// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// CGridCtrl: a spreadsheet-like table of cells whose first rows and columns can be fixed
// as headers.  The owner fills it with texts, formats, colours and states and reacts to
// the notifications it sends (GridOwner).  The grid never edits a cell itself: it asks
// its owner with GN_EDIT_REQUEST, and the owner keeps its floating editor from being
// painted over with setEditOverlay.
//
// Client coordinates are those of the viewport.  Cell rectangles are inclusive
// (right = left + width - 1), which is how QRect counts as well.

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <vector>

#include <QAbstractScrollArea>
#include <QFont>
#include <QMenu>
#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>

#include "grid/grid_cell.h"
#include "grid/grid_types.h"
#include "platform/qt/colour.h"

class QPainter;
class QPaintDevice;

namespace qzm {

using GridImageList = std::vector<QPixmap>;
// compare(a, b, userData): negative, zero or positive, as for sortByData.
using GridDataCompare = std::function<int(std::uint32_t, std::uint32_t, std::uintptr_t)>;

class CGridCtrl : public QAbstractScrollArea {
    Q_OBJECT

  public:
    explicit CGridCtrl(QWidget* parent = nullptr, int rows = 0, int cols = 0, int fixedRows = 0,
                       int fixedCols = 0);
    ~CGridCtrl() override;
    CGridCtrl(const CGridCtrl&) = delete;
    CGridCtrl& operator=(const CGridCtrl&) = delete;

    // --- window ---------------------------------------------------------------------
    // Places the grid in `parent` at `rect`, gives every row and column the default size
    // and sets the scroll bars up.  False when memory runs out.
    bool create(const QRect& rect, QWidget* parent, int id);
    // Takes over a placeholder widget of a form: its parent, geometry, visibility, name,
    // layout place and dynamic properties (so the control id of a built form, see
    // platform/qt/dialog_builder.h).  The placeholder is deleted.  False when the grid
    // was already created or bound, or the placeholder has no parent.
    bool bindToControl(QWidget* placeholder);
    // The same for the control of `form` with that control id.
    bool bindToControl(QWidget* form, int id);
    // The id sent in notifications: the one set here, else the id the grid carries as a
    // control of a built form, else 0.
    void setControlId(int id);
    int controlId() const;
    // Who receives notifications; without one, the parent widget if it is a GridOwner.
    void setOwner(GridOwner* owner) { m_owner = owner; }
    GridOwner* owner() const;

    // --- shape ----------------------------------------------------------------------
    // std::bad_alloc from these reaches the caller; the table is then left as it was.
    bool setRowCount(int count);
    bool setColumnCount(int count);
    bool setFixedRowCount(int count);
    bool setFixedColumnCount(int count);
    int insertColumn(const QString& heading, std::uint32_t format, int before = -1);
    int insertRow(const QString& heading, int before = -1);
    bool deleteColumn(int col);
    bool deleteRow(int row);
    bool deleteScrollingRows();
    bool deleteAllCells();
    int rowCount() const { return m_rowCount; }
    int columnCount() const { return m_columnCount; }
    int fixedRowCount() const { return m_fixedRowCount; }
    int fixedColumnCount() const { return m_fixedColumnCount; }
    CellRange wholeRange() const { return {0, 0, m_rowCount - 1, m_columnCount - 1}; }
    bool isValid(int row, int col) const;
    bool isValid(CellId cell) const { return isValid(cell.row, cell.col); }
    bool isValid(const CellRange& range) const;

    // --- cells ----------------------------------------------------------------------
    bool readItem(GridItem* item) const;
    bool writeItem(const GridItem* item);
    virtual QString cellText(int row, int col) const;
    bool setCellText(int row, int col, const QString& text);
    bool setCellState(int row, int col, std::uint32_t state);
    std::uint32_t cellState(int row, int col) const;
    bool setCellFormat(int row, int col, std::uint32_t format);
    std::uint32_t cellFormat(int row, int col) const;
    bool setCellImage(int row, int col, int image);
    int cellImage(int row, int col) const;
    bool setCellData(int row, int col, std::uint32_t value);
    std::uint32_t cellData(int row, int col) const;
    bool setCellBackColour(int row, int col, Colour colour);
    Colour cellBackColour(int row, int col) const;
    bool setCellTextColour(int row, int col, Colour colour);
    Colour cellTextColour(int row, int col) const;
    bool setCellFont(int row, int col, const QFont& font);
    // The cell's own font, or nullptr for an invalid cell.
    QFont* cellFont(int row, int col);
    // The cell object itself, or nullptr.
    GridCell* cell(int row, int col) const;

    // --- sizes ----------------------------------------------------------------------
    bool setRowHeight(int row, int height);
    bool setColumnWidth(int col, int width);
    int rowHeight(int row) const;
    int columnWidth(int col) const;
    int fixedRowsHeight() const;
    int fixedColumnsWidth() const;
    int totalHeight() const;
    int totalWidth() const;
    QSize textExtent(const QString& text, bool bold) const;
    int margin() const { return m_margin; }
    int defaultRowHeight() const { return m_defaultRowHeight; }
    int defaultColumnWidth() const { return m_defaultColumnWidth; }

    // --- options (they store the value and repaint nothing) ---------------------------
    void setSelectionAllowed(bool allow) { m_selectionAllowed = allow; }
    bool selectionAllowed() const { return m_selectionAllowed; }
    void setEditOverlay(bool on) { m_editOverlay = on; }
    bool editOverlay() const { return m_editOverlay; }
    QRect overlayRect() const { return m_overlayRect; }
    void setResizeAllowed(bool rows, bool columns);
    bool rowResizeAllowed() const { return m_rowResizeAllowed; }
    bool columnResizeAllowed() const { return m_columnResizeAllowed; }
    void setEditingAllowed(bool allow) { m_editingAllowed = allow; }
    bool editingAllowed() const { return m_editingAllowed; }
    void setTabNavigation(bool on) { m_tabNavigation = on; }
    bool tabNavigation() const { return m_tabNavigation; }
    void setGridLines(GridLines lines) { m_gridLines = lines; }
    GridLines gridLines() const { return m_gridLines; }
    void setImageList(const GridImageList* images) { m_imageList = images; }
    const GridImageList* imageList() const { return m_imageList; }
    // Lines per wheel notch, -1 for a page per notch.  Read from the application at
    // construction and on a settings change.
    void setWheelLines(int lines) { m_wheelLines = lines; }
    int wheelLines() const { return m_wheelLines; }
    // The menu shown on a right click over a selection; without one, the second menu of
    // the main window's menu bar.
    void setContextMenu(QMenu* menu) { m_contextMenu = menu; }

    // --- colours --------------------------------------------------------------------
    void setTextColour(Colour c) { m_textColour = c; }
    Colour textColour() const { return m_textColour; }
    void setTextBackColour(Colour c) { m_textBackColour = c; }
    Colour textBackColour() const { return m_textBackColour; }
    void setOutsideColour(Colour c) { m_outsideColour = c; }
    Colour outsideColour() const { return m_outsideColour; }
    void setFixedTextColour(Colour c) { m_fixedTextColour = c; }
    Colour fixedTextColour() const { return m_fixedTextColour; }
    void setFixedBackColour(Colour c) { m_fixedBackColour = c; }
    Colour fixedBackColour() const { return m_fixedBackColour; }
    void setGridLineColour(Colour c) { m_gridLineColour = c; }
    Colour gridLineColour() const { return m_gridLineColour; }
    // Follows a change of the system colours where a colour still has its system value.
    void followSystemColours();

    // --- geometry -------------------------------------------------------------------
    CellId firstScrolledCell() const;
    bool cellOrigin(int row, int col, QPoint* origin) const;
    bool cellRect(int row, int col, QRect* rect) const;
    bool rangeRect(const CellRange& range, QRect* rect) const;
    // `extent` receives (0, 0) to the cells' right and bottom ends capped at the client,
    // as exclusive coordinates (extent->right() + 1 is that end).
    CellRange visibleRange(QRect* extent = nullptr) const;
    CellRange fullyVisibleRange() const;
    bool isCellShown(int row, int col) const;
    CellId hitTest(const QPoint& point, bool allowFixed = true) const;
    void scrollIntoView(int row, int col);
    void updateScrollBars();
    int verticalScrollMax() const { return m_vScrollMax; }
    int horizontalScrollMax() const { return m_hScrollMax; }
    int scrollPosition(Qt::Orientation orientation) const;

    // --- redraw ---------------------------------------------------------------------
    void enableRedraw(bool allow, bool updateBars = false);
    bool redrawEnabled() const { return m_redrawEnabled; }
    bool invalidateCell(int row, int col);
    bool invalidateRow(int row);
    bool invalidateColumn(int col);
    bool invalidateRange(const CellRange& range);

    // --- drawing --------------------------------------------------------------------
    // A painter on a printer (or its preview) gets the printing looks.
    virtual void paint(QPainter& dc);
    virtual bool paintFixedCell(QPainter& dc, int row, int col, QRect rect, bool erase);
    virtual bool paintCell(QPainter& dc, int row, int col, QRect rect, bool erase);
    void printFixedRows(QPainter& dc);
    void printRow(QPainter& dc, int row);
    // Printing looks on any device, for previews drawn into images.
    void setForcePrinting(bool on) { m_forcePrinting = on; }
    bool isPrinting(const QPainter& dc) const;
    // Total pixel area painted since the last reset (for measuring repaint work).
    qint64 paintedArea() const { return m_paintedArea; }
    void resetPaintedArea() { m_paintedArea = 0; }

    // --- scrolling (the classic scroll codes) -----------------------------------------
    void onVScroll(int code);
    void onHScroll(int code);

    // --- interaction ----------------------------------------------------------------
    CellId moveFocus(int row, int col);
    CellId moveFocus(CellId cell) { return moveFocus(cell.row, cell.col); }
    CellId focusCell() const { return m_focusCell; }
    void selectRange(const CellRange& range, bool exact = false);
    void clearSelection();
    std::vector<CellId> selectedCells() const;
    virtual void requestEdit(int row, int col, int key);
    virtual void onColumnHeaderClick(CellId cell);
    virtual void onRowHeaderClick(CellId cell);
    int notifyOwner(int row, int col, int code);
    MouseMode mouseMode() const { return m_mouseMode; }
    // Keyboard navigation by virtual key; true when the key was used.
    bool onKeyDown(int virtualKey, bool shift, bool control);
    // Wheel rotation in the classic units (120 per notch); the scrolls are queued.
    void onMouseWheel(int delta);

    // --- sizing, sorting and search ---------------------------------------------------
    virtual QSize measureCell(int row, int col, QPaintDevice* dc) const;
    bool fitColumn(int col);
    bool fitRow(int row);
    void fitAllColumns();
    void fitAllRows();
    void fitAll();
    void stretchColumns();
    void stretchRows();
    void stretchAll();
    bool sortByText(int col, bool ascending);
    bool sortByData(const GridDataCompare& compare, int col, bool ascending,
                    std::uintptr_t userData);
    CellId findCell(CellId start, std::uint32_t flags) const;

  protected:
    virtual std::unique_ptr<GridCell> newCell(int row, int col);
    virtual void releaseCell(GridCell& cell, int row, int col);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    using CellPtr = std::unique_ptr<GridCell>;
    using Row = std::vector<CellPtr>;

    GridCell* cellAt(int row, int col) const;
    bool windowExists() const;
    QRect clientRect() const;
    void invalidateAll();
    void invalidateRect(const QRect& rect);
    void invalidateShownCellEnlarged(int row, int col);
    void applyFont(const QFont& font);
    void moveFocusIfOutside(int rows, int cols);
    void destroyCells(Row& row, int rowIndex, int firstCol);
    void onScroll(Qt::Orientation orientation, int code);
    void setScrollPosition(Qt::Orientation orientation, int position);
    void scrollBarAction(Qt::Orientation orientation, int action);
    void postScroll(Qt::Orientation orientation, int code);
    void selectionUpdate(CellId cell);
    void invertBand(const QRect& band);
    void setViewportCursor(Qt::CursorShape shape);
    void takeKeyboardFocus();
    void onLeftButtonDown(const QPoint& point, bool shift, bool control);
    void onLeftButtonUp(const QPoint& point);
    void onMouseMove(const QPoint& point, bool leftButton);
    void onRightButtonUp(const QPoint& point);
    void paintTextAndImage(QPainter& dc, const GridItem& item, QRect rect);
    // A cell's font for the painter: on paper a font sized in points keeps the
    // size it has on the screen in grid units, as the cells themselves do.
    QFont deviceFont(const QPainter& dc, const QFont& font) const;
    void swapRows(int a, int b);
    void announceFocus();
    QPoint clampToCursorClip(const QPoint& point) const;

    // Colours.
    Colour m_textColour;
    Colour m_textBackColour;
    Colour m_outsideColour;
    Colour m_fixedTextColour;
    Colour m_fixedBackColour;
    Colour m_gridLineColour;
    Colour m_systemWindowText;
    Colour m_systemWindow;
    Colour m_systemBtnFace;
    Colour m_systemBtnShadow;

    GridLines m_gridLines = GridLines::Both;
    bool m_editingAllowed = true;
    bool m_redrawEnabled = true;
    bool m_selectionAllowed = true;
    bool m_tabNavigation = true;
    bool m_rowResizeAllowed = true;
    bool m_columnResizeAllowed = true;
    bool m_editOverlay = false;
    QRect m_overlayRect;

    int m_rowCount = 0;
    int m_fixedRowCount = 0;
    int m_columnCount = 0;
    int m_fixedColumnCount = 0;
    std::vector<int> m_rowHeights;
    std::vector<int> m_columnWidths;
    int m_margin = 0;
    int m_defaultColumnWidth = 64;
    int m_defaultRowHeight = 30;
    int m_vScrollMax = 0;
    int m_hScrollMax = 0;
    const GridImageList* m_imageList = nullptr;
    std::vector<Row> m_rows;

    MouseMode m_mouseMode = MouseMode::None;
    QPoint m_buttonDownPoint;
    QPoint m_lastMousePoint;
    CellId m_clickedCell;
    CellId m_selectionAnchor;
    CellId m_focusCell;
    int m_resizeCaptureWidth = 3;
    int m_wheelLines = 3;
    int m_wheelRemainder = 0;
    std::set<CellId> m_selectedCells;
    std::set<CellId> m_keptSelection;

    int m_controlId = 0;
    bool m_hasControlId = false;
    GridOwner* m_owner = nullptr;
    QPointer<QMenu> m_contextMenu;
    bool m_attached = false;
    bool m_destroying = false;
    int m_scrollBarUpdateDepth = 0;
    bool m_internalScroll = false;
    bool m_forcePrinting = false;
    bool m_cursorClipped = false;
    QRect m_cursorClip;
    QRect m_band;
    Qt::CursorShape m_cursorShape = Qt::ArrowCursor;
    qint64 m_paintedArea = 0;
};

}  // namespace qzm
