// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Colour values in the classic 0x00BBGGRR layout, the system colours by their classic
// indices (taken from the application palette) and the conversion to QColor.

#include <cstdint>

#include <QColor>

namespace qzm {

using Colour = std::uint32_t;

// In a cell colour: "use the control's own colour for this kind of cell".
inline constexpr Colour DEFAULT_COLOUR = 0xFF000000u;

constexpr Colour rgbColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<Colour>(red) | (static_cast<Colour>(green) << 8) |
           (static_cast<Colour>(blue) << 16);
}
constexpr std::uint8_t redOf(Colour c) {
    return static_cast<std::uint8_t>(c & 0xFFu);
}
constexpr std::uint8_t greenOf(Colour c) {
    return static_cast<std::uint8_t>((c >> 8) & 0xFFu);
}
constexpr std::uint8_t blueOf(Colour c) {
    return static_cast<std::uint8_t>((c >> 16) & 0xFFu);
}

// Classic system colour indices.
inline constexpr int COLOR_SCROLLBAR = 0;
inline constexpr int COLOR_BACKGROUND = 1;
inline constexpr int COLOR_MENU = 4;
inline constexpr int COLOR_WINDOW = 5;
inline constexpr int COLOR_WINDOWFRAME = 6;
inline constexpr int COLOR_MENUTEXT = 7;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_HIGHLIGHT = 13;
inline constexpr int COLOR_HIGHLIGHTTEXT = 14;
inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int COLOR_BTNSHADOW = 16;
inline constexpr int COLOR_GRAYTEXT = 17;
inline constexpr int COLOR_BTNTEXT = 18;
inline constexpr int COLOR_BTNHIGHLIGHT = 20;
inline constexpr int COLOR_3DDKSHADOW = 21;
inline constexpr int COLOR_3DLIGHT = 22;
inline constexpr int COLOR_INFOTEXT = 23;
inline constexpr int COLOR_INFOBK = 24;

// The colour as Qt sees it; DEFAULT_COLOUR (or any value with a high byte) has no
// colour of its own and yields an invalid QColor.
QColor toQColor(Colour colour);
Colour fromQColor(const QColor& colour);

// The current value of a system colour, read from the application palette; black for
// an unknown index.
Colour systemColour(int index);

}  // namespace qzm
