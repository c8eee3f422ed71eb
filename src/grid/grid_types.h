// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The grid's exchange types and its numeric codes.  The codes keep the values of the
// classic window messages they stand for, so behaviour described in those terms maps
// one to one.

#include <compare>
#include <cstdint>

#include <QFont>
#include <QString>

#include "platform/qt/colour.h"

namespace qzm {

class CGridCtrl;

struct CellId {
    int row = -1;
    int col = -1;
    friend constexpr auto operator<=>(const CellId&, const CellId&) = default;
};

struct CellRange {
    int minRow = -1;
    int minCol = -1;
    int maxRow = -1;
    int maxCol = -1;
    friend constexpr bool operator==(const CellRange&, const CellRange&) = default;
};

// Cell state bits.
inline constexpr std::uint32_t CELL_FOCUSED = 0x01;
inline constexpr std::uint32_t CELL_SELECTED = 0x02;
inline constexpr std::uint32_t CELL_MARKED = 0x04;
inline constexpr std::uint32_t CELL_READONLY = 0x08;

// GridItem mask bits.
inline constexpr std::uint32_t ITEM_TEXT = 0x01;
inline constexpr std::uint32_t ITEM_IMAGE = 0x02;
inline constexpr std::uint32_t ITEM_DATA = 0x04;
inline constexpr std::uint32_t ITEM_STATE = 0x08;
inline constexpr std::uint32_t ITEM_BKCLR = 0x10;
inline constexpr std::uint32_t ITEM_FGCLR = 0x20;
inline constexpr std::uint32_t ITEM_FORMAT = 0x40;
inline constexpr std::uint32_t ITEM_FONT = 0x80;
inline constexpr std::uint32_t ITEM_ALL = 0xFFFFFFFFu;

// Exchange record of readItem / writeItem and body of a notification.
struct GridItem {
    int row = -1;
    int col = -1;
    std::uint32_t mask = 0;
    std::uint32_t state = 0;
    std::uint32_t format = 0;
    QString text;
    int image = -1;
    Colour backColour = DEFAULT_COLOUR;
    Colour textColour = DEFAULT_COLOUR;
    std::uint32_t data = 0;
    QFont font;
};

enum class GridLines : int { None = 0, Horizontal = 1, Vertical = 2, Both = 3 };

enum class MouseMode : int {
    None = 0,
    SelectAll = 1,
    SelectColumns = 2,
    SelectRows = 3,
    SelectCells = 4,
    OverRowDivider = 5,
    SizingRow = 6,
    OverColumnDivider = 7,
    SizingColumn = 8,
};

// Notification codes sent to the owner.
inline constexpr int GN_FOCUS_ENTER = -103;
inline constexpr int GN_FOCUS_LEAVE = -104;
inline constexpr int GN_EDIT_REQUEST = -105;

// Scroll codes (vertical names; the horizontal ones share the values).
inline constexpr int SB_LINEUP = 0;
inline constexpr int SB_LINEDOWN = 1;
inline constexpr int SB_PAGEUP = 2;
inline constexpr int SB_PAGEDOWN = 3;
inline constexpr int SB_THUMBPOSITION = 4;
inline constexpr int SB_THUMBTRACK = 5;
inline constexpr int SB_TOP = 6;
inline constexpr int SB_BOTTOM = 7;
inline constexpr int SB_LINELEFT = 0;
inline constexpr int SB_LINERIGHT = 1;
inline constexpr int SB_PAGELEFT = 2;
inline constexpr int SB_PAGERIGHT = 3;
inline constexpr int SB_LEFT = 6;
inline constexpr int SB_RIGHT = 7;

// Virtual keys the grid reacts to.
inline constexpr int VK_TAB = 0x09;
inline constexpr int VK_RETURN = 0x0D;
inline constexpr int VK_PRIOR = 0x21;
inline constexpr int VK_NEXT = 0x22;
inline constexpr int VK_END = 0x23;
inline constexpr int VK_HOME = 0x24;
inline constexpr int VK_LEFT = 0x25;
inline constexpr int VK_UP = 0x26;
inline constexpr int VK_RIGHT = 0x27;
inline constexpr int VK_DOWN = 0x28;

// findCell direction flags, combined with state bits.
inline constexpr std::uint32_t FIND_ABOVE = 0x100;
inline constexpr std::uint32_t FIND_BELOW = 0x200;
inline constexpr std::uint32_t FIND_LEFT = 0x400;
inline constexpr std::uint32_t FIND_RIGHT = 0x800;

// Header of a notification: which grid, its control id and the code.
struct NotifyHeader {
    CGridCtrl* grid = nullptr;
    int controlId = 0;
    int code = 0;
};

// The record the owner receives.  `rect` is the cell's rectangle in screen coordinates
// (inclusive, as QRect is); it carries no meaningful value for a cell scrolled out of view.
struct GridNotify {
    NotifyHeader header;
    GridItem item;
    QRect rect;
};

// Implemented by whoever owns a grid (set with setOwner, or the parent widget).
class GridOwner {
  public:
    virtual ~GridOwner() = default;
    // A notification sent synchronously; the result is handed back to the grid.
    virtual int onGridNotify(const GridNotify& notify) = 0;
    // The command posted after a click on a cell (queued, runs after the click returns).
    virtual void onGridCommand(int controlId, CGridCtrl* grid) {
        (void)controlId;
        (void)grid;
    }
};

}  // namespace qzm
