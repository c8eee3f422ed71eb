// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing the contents of single cells: text, state, format, image, data,
// colours and font.

#include <cstdint>

#include <QFont>
#include <QString>

#include "grid/grid_ctrl.h"

namespace qzm {

bool CGridCtrl::readItem(GridItem* item) const {
    if (item == nullptr) {
        return false;
    }
    const GridCell* source = cellAt(item->row, item->col);
    if (source == nullptr) {
        return false;
    }
    const std::uint32_t mask = item->mask;
    if ((mask & ITEM_TEXT) != 0)
        item->text = cellText(item->row, item->col);
    if ((mask & ITEM_IMAGE) != 0)
        item->image = source->image;
    if ((mask & ITEM_DATA) != 0)
        item->data = source->data;
    if ((mask & ITEM_STATE) != 0)
        item->state = source->state;
    if ((mask & ITEM_BKCLR) != 0)
        item->backColour = source->backColour;
    if ((mask & ITEM_FGCLR) != 0)
        item->textColour = source->textColour;
    if ((mask & ITEM_FORMAT) != 0)
        item->format = source->format;
    if ((mask & ITEM_FONT) != 0)
        item->font = source->font;
    return true;
}

bool CGridCtrl::writeItem(const GridItem* item) {
    if (item == nullptr) {
        return false;
    }
    GridCell* target = cellAt(item->row, item->col);
    if (target == nullptr) {
        return false;
    }
    const std::uint32_t mask = item->mask;
    if ((mask & ITEM_TEXT) != 0)
        target->text = item->text;
    if ((mask & ITEM_IMAGE) != 0)
        target->image = item->image;
    if ((mask & ITEM_DATA) != 0)
        target->data = item->data;
    if ((mask & ITEM_STATE) != 0)
        target->state = item->state;
    if ((mask & ITEM_BKCLR) != 0)
        target->backColour = item->backColour;
    if ((mask & ITEM_FGCLR) != 0)
        target->textColour = item->textColour;
    if ((mask & ITEM_FORMAT) != 0)
        target->format = item->format;
    if ((mask & ITEM_FONT) != 0)
        target->font = item->font;
    return true;
}

QString CGridCtrl::cellText(int row, int col) const {
    const GridCell* source = cellAt(row, col);
    return source != nullptr ? source->text : QString();
}

bool CGridCtrl::setCellText(int row, int col, const QString& text) {
    GridCell* target = cellAt(row, col);
    if (target == nullptr) {
        return false;
    }
    target->text = text;
    return true;
}

bool CGridCtrl::setCellState(int row, int col, std::uint32_t state) {
    GridCell* target = cellAt(row, col);
    if (target == nullptr) {
        return false;
    }
    if ((state & CELL_SELECTED) != 0) {
        m_selectedCells.insert(CellId{row, col});
    } else {
        m_selectedCells.erase(CellId{row, col});
    }
    target->state = state;
    return true;
}

std::uint32_t CGridCtrl::cellState(int row, int col) const {
    const GridCell* source = cellAt(row, col);
    return source != nullptr ? source->state : 0;
}

bool CGridCtrl::setCellFormat(int row, int col, std::uint32_t format) {
    GridCell* target = cellAt(row, col);
    if (target == nullptr) {
        return false;
    }
    target->format = format;
    return true;
}

std::uint32_t CGridCtrl::cellFormat(int row, int col) const {
    const GridCell* source = cellAt(row, col);
    return source != nullptr ? source->format : 0;
}

bool CGridCtrl::setCellImage(int row, int col, int image) {
    GridCell* target = cellAt(row, col);
    if (target == nullptr) {
        return false;
    }
    target->image = image;
    return true;
}

int CGridCtrl::cellImage(int row, int col) const {
    const GridCell* source = cellAt(row, col);
    return source != nullptr ? source->image : -1;
}

bool CGridCtrl::setCellData(int row, int col, std::uint32_t value) {
    GridCell* target = cellAt(row, col);
    if (target == nullptr) {
        return false;
    }
    target->data = value;
    return true;
}

std::uint32_t CGridCtrl::cellData(int row, int col) const {
    const GridCell* source = cellAt(row, col);
    return source != nullptr ? source->data : 0;
}

bool CGridCtrl::setCellBackColour(int row, int col, Colour colour) {
    GridCell* target = cellAt(row, col);
    if (target == nullptr) {
        return false;
    }
    target->backColour = colour;
    return true;
}

Colour CGridCtrl::cellBackColour(int row, int col) const {
    const GridCell* source = cellAt(row, col);
    return source != nullptr ? source->backColour : 0;
}

bool CGridCtrl::setCellTextColour(int row, int col, Colour colour) {
    GridCell* target = cellAt(row, col);
    if (target == nullptr) {
        return false;
    }
    target->textColour = colour;
    return true;
}

Colour CGridCtrl::cellTextColour(int row, int col) const {
    const GridCell* source = cellAt(row, col);
    return source != nullptr ? source->textColour : 0;
}

bool CGridCtrl::setCellFont(int row, int col, const QFont& cellFontValue) {
    GridCell* target = cellAt(row, col);
    if (target == nullptr) {
        return false;
    }
    target->font = cellFontValue;
    return true;
}

QFont* CGridCtrl::cellFont(int row, int col) {
    GridCell* target = cellAt(row, col);
    return target != nullptr ? &target->font : nullptr;
}

}  // namespace qzm
