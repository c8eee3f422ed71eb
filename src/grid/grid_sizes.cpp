// SPDX-License-Identifier: GPL-3.0-or-later
// Row heights, column widths, the grid's font and its following of the system colours.

#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QSize>

#include "grid/grid_ctrl.h"
#include "grid/grid_internal.h"

namespace qzm {

using grid_internal::toIndex;

bool CGridCtrl::setRowHeight(int row, int height) {
    if (row < 0 || row >= m_rowCount || height < 0) {
        return false;
    }
    m_rowHeights[toIndex(row)] = height;
    return true;
}

bool CGridCtrl::setColumnWidth(int col, int width) {
    if (col < 0 || col >= m_columnCount || width < 0) {
        return false;
    }
    m_columnWidths[toIndex(col)] = width;
    return true;
}

int CGridCtrl::rowHeight(int row) const {
    if (row < 0 || row >= m_rowCount) {
        return -1;
    }
    return m_rowHeights[toIndex(row)];
}

int CGridCtrl::columnWidth(int col) const {
    if (col < 0 || col >= m_columnCount) {
        return -1;
    }
    return m_columnWidths[toIndex(col)];
}

int CGridCtrl::fixedRowsHeight() const {
    int sum = 0;
    for (int row = 0; row < m_fixedRowCount; ++row) {
        sum += m_rowHeights[toIndex(row)];
    }
    return sum;
}

int CGridCtrl::fixedColumnsWidth() const {
    int sum = 0;
    for (int col = 0; col < m_fixedColumnCount; ++col) {
        sum += m_columnWidths[toIndex(col)];
    }
    return sum;
}

int CGridCtrl::totalHeight() const {
    int sum = 0;
    for (const int height : m_rowHeights) {
        sum += height;
    }
    return sum;
}

int CGridCtrl::totalWidth() const {
    int sum = 0;
    for (const int width : m_columnWidths) {
        sum += width;
    }
    return sum;
}

QSize CGridCtrl::textExtent(const QString& text, bool bold) const {
    QFont measured = font();
    if (bold) {
        measured.setWeight(QFont::DemiBold);
    }
    const QFontMetrics metrics(measured);
    return QSize(metrics.horizontalAdvance(text) + 2 * m_margin, metrics.height() + 2 * m_margin);
}

void CGridCtrl::setResizeAllowed(bool rows, bool columns) {
    m_rowResizeAllowed = rows;
    m_columnResizeAllowed = columns;
}

void CGridCtrl::applyFont(const QFont& applied) {
    for (Row& cells : m_rows) {
        for (CellPtr& each : cells) {
            if (each) {
                each->font = applied;
            }
        }
    }
    const QFontMetrics metrics(applied);
    m_margin = metrics.horizontalAdvance(QLatin1Char(' '));
    m_defaultRowHeight = metrics.height() + metrics.leading() + 2 * m_margin;
    m_defaultColumnWidth = 2 * (m_margin + 6 * metrics.averageCharWidth());
    invalidateAll();
}

void CGridCtrl::followSystemColours() {
    const Colour windowText = systemColour(COLOR_WINDOWTEXT);
    const Colour window = systemColour(COLOR_WINDOW);
    const Colour btnFace = systemColour(COLOR_BTNFACE);
    const Colour btnShadow = systemColour(COLOR_BTNSHADOW);
    if (m_textColour == m_systemWindowText)
        m_textColour = windowText;
    if (m_textBackColour == m_systemWindow)
        m_textBackColour = window;
    if (m_outsideColour == m_systemBtnShadow)
        m_outsideColour = btnShadow;
    if (m_fixedTextColour == m_systemWindowText)
        m_fixedTextColour = windowText;
    if (m_fixedBackColour == m_systemBtnFace)
        m_fixedBackColour = btnFace;
    m_systemWindowText = windowText;
    m_systemWindow = window;
    m_systemBtnFace = btnFace;
    m_systemBtnShadow = btnShadow;
}

void CGridCtrl::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    switch (event->type()) {
        case QEvent::FontChange:
            applyFont(font());
            break;
        case QEvent::PaletteChange:
        case QEvent::ApplicationPaletteChange:
            followSystemColours();
            invalidateAll();
            break;
        case QEvent::StyleChange:
            followSystemColours();
            m_wheelLines = QApplication::wheelScrollLines();
            invalidateAll();
            break;
        default:
            break;
    }
}

}  // namespace qzm
