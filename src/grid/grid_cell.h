// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One cell of the grid.  Owners can derive their own cells and make them in an
// overridden CGridCtrl::newCell; the grid deletes them through the virtual destructor.

#include <cstdint>

#include <QFont>
#include <QString>

#include "platform/qt/colour.h"

namespace qzm {

class GridCell {
  public:
    GridCell() = default;
    GridCell(const GridCell&) = default;
    GridCell& operator=(const GridCell&) = default;
    virtual ~GridCell() = default;

    std::uint32_t state = 0;
    std::uint32_t format = 0;
    QString text;
    int image = -1;
    Colour backColour = DEFAULT_COLOUR;
    Colour textColour = DEFAULT_COLOUR;
    std::uint32_t data = 0;
    QFont font;
};

}  // namespace qzm
