// SPDX-License-Identifier: GPL-3.0-or-later
// Scroll bars, scrolling and bringing a cell into view.

#include <algorithm>
#include <cstdlib>
#include <vector>

#include <QApplication>
#include <QResizeEvent>
#include <QScrollBar>

#include "grid/grid_ctrl.h"
#include "grid/grid_internal.h"

namespace qzm {

using grid_internal::toIndex;

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
