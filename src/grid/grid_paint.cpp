// SPDX-License-Identifier: GPL-3.0-or-later
// Painting of the grid on screen: cells, headers, grid lines, selection and focus.

#include <algorithm>

#include <QPagedPaintDevice>
#include <QPaintDevice>
#include <QPaintEvent>
#include <QPainter>

#include "grid/grid_ctrl.h"
#include "grid/grid_internal.h"
#include "platform/qt/text_draw.h"

namespace qzm {

using grid_internal::toIndex;

namespace {

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

}  // namespace qzm
