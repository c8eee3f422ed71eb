// SPDX-License-Identifier: GPL-3.0-or-later
// Geometry, painting, invalidation and scrolling of the grid.

#include <algorithm>
#include <cstdlib>

#include <QApplication>
#include <QPagedPaintDevice>
#include <QPaintDevice>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include "grid/grid_ctrl.h"
#include "platform/qt/text_draw.h"

namespace qzm {

namespace {

std::size_t toIndex(int value) {
    return static_cast<std::size_t>(value);
}

// Fills the rectangle whose right and bottom are exclusive, as the classic fill counts.
void fillExclusive(QPainter& dc, int left, int top, int right, int bottom, const QColor& colour) {
    if (right > left && bottom > top && colour.isValid()) {
        dc.fillRect(QRect(left, top, right - left, bottom - top), colour);
    }
}

// A one-pixel outline of the exclusive rectangle (left..right-1, top..bottom-1).
void frameExclusive(QPainter& dc, int left, int top, int right, int bottom, const QColor& colour) {
    fillExclusive(dc, left, top, right, top + 1, colour);
    fillExclusive(dc, left, bottom - 1, right, bottom, colour);
    fillExclusive(dc, left, top, left + 1, bottom, colour);
    fillExclusive(dc, right - 1, top, right, bottom, colour);
}

// A two-pixel raised edge around the exclusive rectangle.
void drawRaisedEdge(QPainter& dc, int left, int top, int right, int bottom) {
    const QColor outerLight = toQColor(systemColour(COLOR_3DLIGHT));
    const QColor outerDark = toQColor(systemColour(COLOR_3DDKSHADOW));
    const QColor innerLight = toQColor(systemColour(COLOR_BTNHIGHLIGHT));
    const QColor innerDark = toQColor(systemColour(COLOR_BTNSHADOW));
    fillExclusive(dc, left, top, right - 1, top + 1, outerLight);
    fillExclusive(dc, left, top, left + 1, bottom - 1, outerLight);
    fillExclusive(dc, left, bottom - 1, right, bottom, outerDark);
    fillExclusive(dc, right - 1, top, right, bottom, outerDark);
    fillExclusive(dc, left + 1, top + 1, right - 2, top + 2, innerLight);
    fillExclusive(dc, left + 1, top + 1, left + 2, bottom - 2, innerLight);
    fillExclusive(dc, left + 1, bottom - 2, right - 1, bottom - 1, innerDark);
    fillExclusive(dc, right - 2, top + 1, right - 1, bottom - 1, innerDark);
}

QColor resolved(Colour own, Colour fallback) {
    return toQColor(own != DEFAULT_COLOUR ? own : fallback);
}

}  // namespace

QRect CGridCtrl::clientRect() const {
    return viewport()->rect();
}

// --- geometry -------------------------------------------------------------------------

int CGridCtrl::scrollPosition(Qt::Orientation orientation) const {
    return orientation == Qt::Vertical ? verticalScrollBar()->value()
                                       : horizontalScrollBar()->value();
}

CellId CGridCtrl::firstScrolledCell() const {
    CellId first{m_fixedRowCount, m_fixedColumnCount};
    const int vertical = scrollPosition(Qt::Vertical);
    for (int sum = 0; sum < vertical && first.row < m_rowCount - 1; ++first.row) {
        sum += m_rowHeights[toIndex(first.row)];
    }
    const int horizontal = scrollPosition(Qt::Horizontal);
    for (int sum = 0; sum < horizontal && first.col < m_columnCount - 1; ++first.col) {
        sum += m_columnWidths[toIndex(first.col)];
    }
    return first;
}

bool CGridCtrl::cellOrigin(int row, int col, QPoint* origin) const {
    if (!isValid(row, col)) {
        return false;
    }
    const CellId first = firstScrolledCell();
    if ((col >= m_fixedColumnCount && col < first.col) ||
        (row >= m_fixedRowCount && row < first.row)) {
        return false;
    }
    int x = 0;
    if (col < m_fixedColumnCount) {
        for (int c = 0; c < col; ++c)
            x += m_columnWidths[toIndex(c)];
    } else {
        x = fixedColumnsWidth();
        for (int c = first.col; c < col; ++c)
            x += m_columnWidths[toIndex(c)];
    }
    int y = 0;
    if (row < m_fixedRowCount) {
        for (int r = 0; r < row; ++r)
            y += m_rowHeights[toIndex(r)];
    } else {
        y = fixedRowsHeight();
        for (int r = first.row; r < row; ++r)
            y += m_rowHeights[toIndex(r)];
    }
    if (origin != nullptr) {
        *origin = QPoint(x, y);
    }
    return true;
}

bool CGridCtrl::cellRect(int row, int col, QRect* rect) const {
    QPoint origin;
    if (!cellOrigin(row, col, &origin)) {
        return false;
    }
    if (rect != nullptr) {
        *rect =
            QRect(origin.x(), origin.y(), m_columnWidths[toIndex(col)], m_rowHeights[toIndex(row)]);
    }
    return true;
}

bool CGridCtrl::rangeRect(const CellRange& range, QRect* rect) const {
    QPoint origin;
    QRect last;
    if (!cellOrigin(range.minRow, range.minCol, &origin) ||
        !cellRect(range.maxRow, range.maxCol, &last)) {
        return false;
    }
    if (rect != nullptr) {
        *rect = QRect(origin, last.bottomRight());
    }
    return true;
}

CellRange CGridCtrl::visibleRange(QRect* extent) const {
    const QRect client = clientRect();
    const CellId first = firstScrolledCell();
    int row = first.row;
    int y = fixedRowsHeight();
    while (row < m_rowCount) {
        y += m_rowHeights[toIndex(row)];
        if (y >= client.height()) {
            y = client.height();
            break;
        }
        ++row;
    }
    int col = first.col;
    int x = fixedColumnsWidth();
    while (col < m_columnCount) {
        x += m_columnWidths[toIndex(col)];
        if (x >= client.width()) {
            x = client.width();
            break;
        }
        ++col;
    }
    if (extent != nullptr) {
        *extent = QRect(0, 0, x, y);
    }
    return {first.row, first.col, std::min(row, m_rowCount - 1), std::min(col, m_columnCount - 1)};
}

CellRange CGridCtrl::fullyVisibleRange() const {
    const QRect client = clientRect();
    const CellId first = firstScrolledCell();
    int row = first.row;
    int y = fixedRowsHeight();
    while (row < m_rowCount) {
        y += m_rowHeights[toIndex(row)];
        if (y >= client.height()) {
            break;
        }
        ++row;
    }
    int maxRow = std::min(row, m_rowCount - 1);
    if (maxRow > 0 && y > client.height()) {
        --maxRow;
    }
    int col = first.col;
    int x = fixedColumnsWidth();
    while (col < m_columnCount) {
        x += m_columnWidths[toIndex(col)];
        if (x >= client.width()) {
            break;
        }
        ++col;
    }
    int maxCol = std::min(col, m_columnCount - 1);
    if (maxCol > 0 && x > client.width()) {
        --maxCol;
    }
    return {first.row, first.col, maxRow, maxCol};
}

bool CGridCtrl::isCellShown(int row, int col) const {
    QPoint origin;
    if (!cellOrigin(row, col, &origin)) {
        return false;
    }
    const QRect client = clientRect();
    return origin.x() < client.width() && origin.y() < client.height();
}

void CGridCtrl::scrollIntoView(int row, int col) {
    const CellRange shown = visibleRange();
    for (int i = 0; i < col - shown.maxCol; ++i)
        onHScroll(SB_LINERIGHT);
    for (int i = 0; i < shown.minCol - col; ++i)
        onHScroll(SB_LINELEFT);
    for (int i = 0; i < row - shown.maxRow; ++i)
        onVScroll(SB_LINEDOWN);
    for (int i = 0; i < shown.minRow - row; ++i)
        onVScroll(SB_LINEUP);
    // A cell cut by the right or bottom edge counts as visible above; one more line
    // brings all of it in.
    QRect rect;
    if (cellRect(row, col, &rect)) {
        const QRect client = clientRect();
        if (rect.right() >= client.width()) {
            onHScroll(SB_LINERIGHT);
        }
        if (rect.bottom() >= client.height()) {
            onVScroll(SB_LINEDOWN);
        }
    }
}

void CGridCtrl::updateScrollBars() {
    if (!m_redrawEnabled || m_scrollBarUpdateDepth > 2) {
        return;
    }
    const QRect client = clientRect();
    const int fixedHeight = fixedRowsHeight();
    const int fixedWidth = fixedColumnsWidth();
    if (client.width() <= fixedWidth || client.height() <= fixedHeight) {
        return;
    }
    if (!isValid(fullyVisibleRange())) {
        return;
    }
    ++m_scrollBarUpdateDepth;
    const int horizontalPage = client.width() - fixedWidth;
    const int verticalPage = client.height() - fixedHeight;
    const int scrollingHeight = totalHeight() - fixedHeight;
    const int scrollingWidth = totalWidth() - fixedWidth;
    m_vScrollMax = verticalPage < scrollingHeight ? scrollingHeight - 1 : 0;
    m_hScrollMax = horizontalPage < scrollingWidth ? scrollingWidth - 1 : 0;
    const int oldVertical = scrollPosition(Qt::Vertical);
    const int oldHorizontal = scrollPosition(Qt::Horizontal);
    m_internalScroll = true;
    // The bars count the last reachable position (maximum - page + 1), as the classic
    // bars clamp to.
    verticalScrollBar()->setPageStep(verticalPage);
    verticalScrollBar()->setRange(0, m_vScrollMax > 0 ? m_vScrollMax - verticalPage + 1 : 0);
    horizontalScrollBar()->setPageStep(horizontalPage);
    horizontalScrollBar()->setRange(0, m_hScrollMax > 0 ? m_hScrollMax - horizontalPage + 1 : 0);
    m_internalScroll = false;
    if (oldVertical != scrollPosition(Qt::Vertical) ||
        oldHorizontal != scrollPosition(Qt::Horizontal)) {
        invalidateAll();
    }
    --m_scrollBarUpdateDepth;
}

// --- redraw ---------------------------------------------------------------------------

void CGridCtrl::enableRedraw(bool allow, bool updateBars) {
    if (allow && !m_redrawEnabled) {
        viewport()->update();
    }
    m_redrawEnabled = allow;
    if (updateBars) {
        updateScrollBars();
    }
}

void CGridCtrl::invalidateAll() {
    if (m_redrawEnabled) {
        viewport()->update();
    }
}

void CGridCtrl::invalidateRect(const QRect& rect) {
    if (m_redrawEnabled && !rect.isEmpty()) {
        viewport()->update(rect);
    }
}

bool CGridCtrl::invalidateCell(int row, int col) {
    QRect rect;
    if (!m_redrawEnabled || !isCellShown(row, col) || !cellRect(row, col, &rect)) {
        return false;
    }
    invalidateRect(rect);
    return true;
}

void CGridCtrl::invalidateShownCellEnlarged(int row, int col) {
    QRect rect;
    if (m_redrawEnabled && isCellShown(row, col) && cellRect(row, col, &rect)) {
        invalidateRect(rect.adjusted(0, 0, 1, 1));
    }
}

bool CGridCtrl::invalidateRow(int row) {
    if (!m_redrawEnabled) {
        return false;
    }
    bool all = row >= 0 && row < m_rowCount;
    for (int col = 0; col < m_columnCount; ++col) {
        all = invalidateCell(row, col) && all;
    }
    return all;
}

bool CGridCtrl::invalidateColumn(int col) {
    if (!m_redrawEnabled) {
        return false;
    }
    bool all = col >= 0 && col < m_columnCount;
    for (int row = 0; row < m_rowCount; ++row) {
        all = invalidateCell(row, col) && all;
    }
    return all;
}

bool CGridCtrl::invalidateRange(const CellRange& range) {
    if (!m_redrawEnabled) {
        return false;
    }
    const CellRange shown = visibleRange();
    const CellRange clipped{
        std::max(range.minRow, shown.minRow), std::max(range.minCol, shown.minCol),
        std::min(range.maxRow, shown.maxRow), std::min(range.maxCol, shown.maxCol)};
    QRect rect;
    if (!rangeRect(clipped, &rect)) {
        return false;
    }
    invalidateRect(rect.adjusted(0, 0, 1, 1));
    return true;
}

// --- painting -------------------------------------------------------------------------

bool CGridCtrl::isPrinting(const QPainter& dc) const {
    // Paper is a printer, its preview, or any paged device such as a PDF writer.
    const QPaintDevice* device = dc.device();
    return m_forcePrinting ||
           (device != nullptr && (device->devType() == QInternal::Printer ||
                                  dynamic_cast<const QPagedPaintDevice*>(device) != nullptr));
}

QFont CGridCtrl::deviceFont(const QPainter& dc, const QFont& font) const {
    if (!isPrinting(dc) || font.pixelSize() > 0 || font.pointSizeF() <= 0) {
        return font;
    }
    QFont sized = font;
    sized.setPixelSize(std::max(1, qRound(font.pointSizeF() * logicalDpiY() / 72.0)));
    return sized;
}

void CGridCtrl::paintEvent(QPaintEvent* event) {
    QRegion region = event->region();
    if (m_editOverlay && !m_overlayRect.isEmpty()) {
        region -= QRegion(m_overlayRect);
    }
    if (region.isEmpty()) {
        return;
    }
    for (const QRect& rect : region) {
        m_paintedArea += static_cast<qint64>(rect.width()) * rect.height();
    }
    QPainter dc(viewport());
    dc.setClipRegion(region);
    paint(dc);
    if (!m_band.isEmpty()) {
        dc.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        dc.fillRect(m_band, Qt::white);
    }
}

void CGridCtrl::paint(QPainter& dc) {
    QRect clip;
    if (dc.hasClipping()) {
        clip = dc.clipBoundingRect().toAlignedRect();
    } else if (dc.device() != nullptr) {
        clip = QRect(0, 0, dc.device()->width(), dc.device()->height());
    }
    if (clip.isEmpty()) {
        return;
    }
    // Exclusive coordinates of the clip box C and the extent E, as the fills count them.
    const int cl = clip.left();
    const int ct = clip.top();
    const int cr = clip.left() + clip.width();
    const int cb = clip.top() + clip.height();
    QRect extent;
    const CellRange shown = visibleRange(&extent);
    const int er = extent.width();
    const int eb = extent.height();
    const int fixedWidth = fixedColumnsWidth();
    const int fixedHeight = fixedRowsHeight();

    const QColor fixedBack = toQColor(m_fixedBackColour);
    if (cl < fixedWidth && ct < eb) {
        fillExclusive(dc, cl, ct, fixedWidth, eb, fixedBack);
    }
    if (ct < fixedHeight && cr > fixedWidth && cl < er) {
        fillExclusive(dc, fixedWidth - 1, ct, er, fixedHeight, fixedBack);
    }
    const int il = std::max(cl, 0);
    const int it = std::max(ct, 0);
    const int ir = std::min(cr, er);
    const int ib = std::min(cb, eb);
    if (il < ir && it < ib) {
        fillExclusive(dc, std::max(il, fixedWidth), std::max(it, fixedHeight), ir, ib,
                      toQColor(m_textBackColour));
    }
    const QColor outside = toQColor(m_outsideColour);
    if (er < cr) {
        fillExclusive(dc, er, ct, cr, cb, outside);
    }
    if (eb < cb && cl < er) {
        fillExclusive(dc, cl, eb, er, cb, outside);
    }

    // Corner cells.
    int top = 0;
    for (int row = 0; row < m_fixedRowCount; ++row) {
        const int height = m_rowHeights[toIndex(row)];
        int left = 0;
        for (int col = 0; col < m_fixedColumnCount; ++col) {
            const int width = m_columnWidths[toIndex(col)];
            paintFixedCell(dc, row, col, QRect(left, top, width, height), false);
            left += width;
        }
        top += height;
    }

    // Row headers, column headers and cells: scanning stops at the first row or column
    // beyond the clip box.
    auto paintBlock = [&](int firstRow, int lastRow, int firstTop, int firstCol, int lastCol,
                          int firstLeft, bool fixed) {
        int y = firstTop;
        for (int row = firstRow; row <= lastRow; ++row) {
            const int height = m_rowHeights[toIndex(row)];
            if (y >= cb) {
                break;
            }
            if (y + height - 1 >= ct) {
                int x = firstLeft;
                for (int col = firstCol; col <= lastCol; ++col) {
                    const int width = m_columnWidths[toIndex(col)];
                    if (x >= cr) {
                        break;
                    }
                    if (x + width - 1 >= cl) {
                        const QRect rect(x, y, width, height);
                        if (fixed) {
                            paintFixedCell(dc, row, col, rect, false);
                        } else {
                            paintCell(dc, row, col, rect, false);
                        }
                    }
                    x += width;
                }
            }
            y += height;
        }
    };
    paintBlock(shown.minRow, shown.maxRow, fixedHeight, 0, m_fixedColumnCount - 1, 0, true);
    paintBlock(0, m_fixedRowCount - 1, 0, shown.minCol, shown.maxCol, fixedWidth, true);
    paintBlock(shown.minRow, shown.maxRow, fixedHeight, shown.minCol, shown.maxCol, fixedWidth,
               false);

    const QColor lineColour = toQColor(m_gridLineColour);
    if (m_gridLines == GridLines::Vertical || m_gridLines == GridLines::Both) {
        int x = fixedWidth;
        for (int col = shown.minCol; col <= shown.maxCol; ++col) {
            x += m_columnWidths[toIndex(col)];
            fillExclusive(dc, x - 1, fixedHeight, x, eb, lineColour);
        }
    }
    if (m_gridLines == GridLines::Horizontal || m_gridLines == GridLines::Both) {
        int y = fixedHeight;
        for (int row = shown.minRow; row <= shown.maxRow; ++row) {
            y += m_rowHeights[toIndex(row)];
            fillExclusive(dc, fixedWidth, y - 1, er, y, lineColour);
        }
    }
}

void CGridCtrl::paintTextAndImage(QPainter& dc, const GridItem& item, QRect rect) {
    rect.adjust(m_margin, 0, -m_margin, 0);
    if (m_imageList != nullptr && item.image >= 0 && toIndex(item.image) < m_imageList->size()) {
        const QPixmap& image = (*m_imageList)[toIndex(item.image)];
        dc.drawPixmap(rect.left(), rect.top(), image);
        rect.setLeft(rect.left() + image.width() + m_margin);
    }
    // The classic text call takes the inclusive right and bottom as its exclusive ends.
    QRect textArea(rect.left(), rect.top(), rect.right() - rect.left(), rect.bottom() - rect.top());
    if (textArea.width() > 0 && textArea.height() > 0) {
        drawText(dc, item.text, textArea, item.format);
    }
}

bool CGridCtrl::paintFixedCell(QPainter& dc, int row, int col, QRect rect, bool erase) {
    if (!m_redrawEnabled) {
        return false;
    }
    GridItem item;
    item.row = row;
    item.col = col;
    item.mask = ITEM_TEXT | ITEM_IMAGE | ITEM_BKCLR | ITEM_FGCLR | ITEM_FORMAT;
    const GridCell* source = cellAt(row, col);
    if (source == nullptr || !readItem(&item)) {
        return false;
    }
    const bool printing = isPrinting(dc);
    if (!printing && (item.backColour != DEFAULT_COLOUR || erase)) {
        fillExclusive(dc, rect.left(), rect.top(), rect.right(), rect.bottom(),
                      resolved(item.backColour, m_fixedBackColour));
    }
    dc.save();
    dc.setPen(resolved(item.textColour, m_fixedTextColour));
    dc.setFont(deviceFont(dc, source->font));
    const bool focusLine =
        isValid(m_focusCell) && !printing && (row == m_focusCell.row || col == m_focusCell.col);
    if (focusLine) {
        drawRaisedEdge(dc, rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1);
    } else {
        const QColor light = toQColor(systemColour(COLOR_BTNHIGHLIGHT));
        const QColor dark = toQColor(systemColour(COLOR_3DDKSHADOW));
        fillExclusive(dc, rect.left(), rect.top(), rect.right() + 1, rect.top() + 1, light);
        fillExclusive(dc, rect.left(), rect.top(), rect.left() + 1, rect.bottom(), light);
        fillExclusive(dc, rect.right(), rect.top(), rect.right() + 1, rect.bottom(), dark);
        fillExclusive(dc, rect.left() + 1, rect.bottom(), rect.right() + 1, rect.bottom() + 1,
                      dark);
    }
    rect.adjust(1, 1, -1, -1);
    dc.setBackgroundMode(Qt::TransparentMode);
    paintTextAndImage(dc, item, rect);
    dc.restore();
    return true;
}

bool CGridCtrl::paintCell(QPainter& dc, int row, int col, QRect rect, bool erase) {
    if (!m_redrawEnabled) {
        return false;
    }
    GridItem item;
    item.row = row;
    item.col = col;
    item.mask = ITEM_TEXT | ITEM_IMAGE | ITEM_STATE | ITEM_BKCLR | ITEM_FGCLR | ITEM_FORMAT;
    const GridCell* source = cellAt(row, col);
    if (source == nullptr || !readItem(&item)) {
        return false;
    }
    const Colour back = item.backColour != DEFAULT_COLOUR ? item.backColour : m_textBackColour;
    const QColor textColour = resolved(item.textColour, m_textColour);
    const bool fill = back != DEFAULT_COLOUR || erase;
    const bool printing = isPrinting(dc);
    dc.save();
    dc.setBackgroundMode(Qt::TransparentMode);
    const int l = rect.left();
    const int t = rect.top();
    const int r = rect.right();
    const int b = rect.bottom();
    if ((item.state & CELL_FOCUSED) != 0 && !printing) {
        if (fill) {
            fillExclusive(dc, l, t, r + 1, b + 1, toQColor(back));
        }
        frameExclusive(dc, l, t, r, b, Qt::black);
        // While the grid has the keyboard focus a ring in the highlight colour
        // inside the frame makes the cell plain to see on any background.
        if (hasFocus()) {
            frameExclusive(dc, l + 1, t + 1, r - 1, b - 1, toQColor(systemColour(COLOR_HIGHLIGHT)));
        }
        dc.setPen(textColour);
        rect.adjust(1, 1, -1, -1);
    } else if ((item.state & CELL_SELECTED) != 0 && !printing) {
        fillExclusive(dc, l, t, r + 1, b + 1, toQColor(systemColour(COLOR_HIGHLIGHT)));
        dc.setPen(toQColor(systemColour(COLOR_HIGHLIGHTTEXT)));
    } else {
        if (fill) {
            fillExclusive(dc, l, t, r + 1, b + 1, toQColor(back));
        }
        dc.setPen(textColour);
    }
    if ((item.state & CELL_MARKED) != 0 && !printing) {
        frameExclusive(dc, rect.left(), rect.top(), rect.right(), rect.bottom(), Qt::black);
    }
    dc.setFont(deviceFont(dc, source->font));
    paintTextAndImage(dc, item, rect);
    dc.restore();
    return true;
}

void CGridCtrl::printFixedRows(QPainter& dc) {
    const bool horizontal = m_gridLines == GridLines::Horizontal || m_gridLines == GridLines::Both;
    const bool vertical = m_gridLines == GridLines::Vertical || m_gridLines == GridLines::Both;
    int top = 0;
    for (int row = 0; row < m_fixedRowCount; ++row) {
        const int height = m_rowHeights[toIndex(row)];
        int left = 0;
        for (int col = 0; col < m_columnCount; ++col) {
            const int width = m_columnWidths[toIndex(col)];
            const QRect rect(left, top, width, height);
            paintFixedCell(dc, row, col, rect, false);
            if (horizontal) {
                const int from = col == 0 ? rect.left() : rect.left() - 1;
                dc.drawLine(from, rect.bottom(), rect.right(), rect.bottom());
                if (row == 0) {
                    dc.drawLine(from, rect.top(), rect.right(), rect.top());
                }
            }
            if (vertical) {
                const int from = row == 0 ? rect.top() : rect.top() - 1;
                dc.drawLine(rect.right(), from, rect.right(), rect.bottom());
                if (col == 0) {
                    dc.drawLine(rect.left(), from, rect.left(), rect.bottom());
                }
            }
            left += width;
        }
        top += height;
    }
}

void CGridCtrl::printRow(QPainter& dc, int row) {
    if (row < 0 || row >= m_rowCount) {
        return;
    }
    const bool horizontal = m_gridLines == GridLines::Horizontal || m_gridLines == GridLines::Both;
    const bool vertical = m_gridLines == GridLines::Vertical || m_gridLines == GridLines::Both;
    const int height = m_rowHeights[toIndex(row)];
    int left = 0;
    for (int col = 0; col < m_columnCount; ++col) {
        const int width = m_columnWidths[toIndex(col)];
        const QRect rect(left, 0, width, height);
        paintCell(dc, row, col, rect, false);
        if (horizontal) {
            const int from = col == 0 ? rect.left() : rect.left() - 1;
            dc.drawLine(from, rect.bottom(), rect.right(), rect.bottom());
            if (row == 0) {
                dc.drawLine(from, 0, rect.right(), 0);
            }
        }
        if (vertical) {
            const int from = row == 1 ? 0 : -1;
            dc.drawLine(rect.right(), from, rect.right(), rect.bottom());
            if (col == 0) {
                dc.drawLine(rect.left(), from, rect.left(), rect.bottom());
            }
        }
        left += width;
    }
}

// --- scrolling ------------------------------------------------------------------------

void CGridCtrl::onVScroll(int code) {
    onScroll(Qt::Vertical, code);
}
void CGridCtrl::onHScroll(int code) {
    onScroll(Qt::Horizontal, code);
}

void CGridCtrl::setScrollPosition(Qt::Orientation orientation, int position) {
    QScrollBar* bar = orientation == Qt::Vertical ? verticalScrollBar() : horizontalScrollBar();
    const bool wasInternal = m_internalScroll;
    m_internalScroll = true;
    bar->setValue(position);
    m_internalScroll = wasInternal;
}

void CGridCtrl::scrollContentsBy(int dx, int dy) {
    (void)dx;
    (void)dy;
    // Positions set by the grid repaint exactly what they need; any other change of a
    // bar (a program setting its value) repaints everything.
    if (!m_internalScroll) {
        invalidateAll();
    }
}

void CGridCtrl::scrollBarAction(Qt::Orientation orientation, int action) {
    QScrollBar* bar = orientation == Qt::Vertical ? verticalScrollBar() : horizontalScrollBar();
    int code = -1;
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            code = SB_LINEUP;
            break;
        case QAbstractSlider::SliderSingleStepAdd:
            code = SB_LINEDOWN;
            break;
        case QAbstractSlider::SliderPageStepSub:
            code = SB_PAGEUP;
            break;
        case QAbstractSlider::SliderPageStepAdd:
            code = SB_PAGEDOWN;
            break;
        case QAbstractSlider::SliderToMinimum:
            code = SB_TOP;
            break;
        case QAbstractSlider::SliderToMaximum:
            code = SB_BOTTOM;
            break;
        case QAbstractSlider::SliderMove:
            code = SB_THUMBTRACK;
            break;
        default:
            return;
    }
    if (code != SB_THUMBTRACK) {
        // The bar has moved its slider by its own steps; the grid steps by whole lines.
        bar->setSliderPosition(bar->value());
    }
    onScroll(orientation, code);
}

void CGridCtrl::onScroll(Qt::Orientation orientation, int code) {
    if (code < SB_LINEUP || code > SB_BOTTOM) {
        return;
    }
    takeKeyboardFocus();
    const bool vertical = orientation == Qt::Vertical;
    QScrollBar* bar = vertical ? verticalScrollBar() : horizontalScrollBar();
    const QRect client = clientRect();
    const int position = bar->value();
    const int maximum = vertical ? m_vScrollMax : m_hScrollMax;
    const int fixedCount = vertical ? m_fixedRowCount : m_fixedColumnCount;
    const int fixedSize = vertical ? fixedRowsHeight() : fixedColumnsWidth();
    const int clientSize = vertical ? client.height() : client.width();
    const std::vector<int>& sizes = vertical ? m_rowHeights : m_columnWidths;
    auto firstScrolled = [&] {
        const CellId first = firstScrolledCell();
        return vertical ? first.row : first.col;
    };
    auto shownOffset = [&](int first) {
        int sum = 0;
        for (int i = fixedCount; i < first; ++i)
            sum += sizes[toIndex(i)];
        return sum;
    };
    const QRect scrolling = vertical ? QRect(0, fixedSize, client.width(), clientSize - fixedSize)
                                     : QRect(fixedSize, 0, clientSize - fixedSize, client.height());
    // Moves the pixels already shown when the first shown line moved by exactly `by`;
    // anything else repaints the scrolling area.
    auto movePixels = [&](int firstBefore, int by) {
        if (!m_redrawEnabled || scrolling.isEmpty()) {
            return;
        }
        const int moved = shownOffset(firstScrolled()) - shownOffset(firstBefore);
        if (moved != by || std::abs(by) >= clientSize - fixedSize) {
            invalidateRect(scrolling);
        } else if (vertical) {
            viewport()->scroll(0, -by, scrolling);
        } else {
            viewport()->scroll(-by, 0, scrolling);
        }
    };
    const int first = firstScrolled();
    switch (code) {
        case SB_LINEDOWN:
            if (position < maximum && first >= 0 && toIndex(first) < sizes.size()) {
                const int step = sizes[toIndex(first)];
                setScrollPosition(orientation, position + step);
                if (bar->value() != position) {
                    movePixels(first, step);
                }
            }
            break;
        case SB_LINEUP:
            if (position > 0 && first > fixedCount) {
                const int step = sizes[toIndex(first - 1)];
                setScrollPosition(orientation, std::max(position - step, 0));
                if (bar->value() != position) {
                    movePixels(first, -step);
                }
            }
            break;
        case SB_PAGEUP:
            if (position >= 1) {
                setScrollPosition(orientation, std::max(position - (clientSize - fixedSize), 0));
                invalidateRect(scrolling);
            }
            break;
        case SB_PAGEDOWN:
            if (position < maximum) {
                setScrollPosition(orientation,
                                  std::min(position + (clientSize - fixedSize), maximum));
                invalidateRect(scrolling);
            }
            break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            setScrollPosition(orientation, bar->sliderPosition());
            invalidateRect(scrolling);
            break;
        case SB_TOP:
            if (position > 0) {
                setScrollPosition(orientation, 0);
                invalidateAll();
            }
            break;
        case SB_BOTTOM:
            if (position < maximum) {
                setScrollPosition(orientation, maximum);
                invalidateAll();
            }
            break;
        default:
            break;
    }
}

void CGridCtrl::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    // Taking the keyboard focus on every resize would pull it out of whatever the user
    // is typing into; the grid takes it only when nothing in its window has it.
    if (isVisible() && QApplication::focusWidget() == nullptr) {
        setFocus(Qt::OtherFocusReason);
    }
    updateScrollBars();
}

}  // namespace qzm
