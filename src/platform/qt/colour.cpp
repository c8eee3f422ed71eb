// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/colour.h"

#include <QGuiApplication>
#include <QPalette>

namespace qzm {

QColor toQColor(Colour colour) {
    if ((colour & 0xFF000000u) != 0) {
        return QColor();
    }
    return QColor(redOf(colour), greenOf(colour), blueOf(colour));
}

Colour fromQColor(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return rgbColour(static_cast<std::uint8_t>(rgb.red()), static_cast<std::uint8_t>(rgb.green()),
                     static_cast<std::uint8_t>(rgb.blue()));
}

namespace {

struct PaletteSource {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

bool paletteSourceOf(int index, PaletteSource* source) {
    switch (index) {
        case COLOR_SCROLLBAR:
            *source = {QPalette::Active, QPalette::Button};
            return true;
        case COLOR_BACKGROUND:
            *source = {QPalette::Active, QPalette::Window};
            return true;
        case COLOR_MENU:
            *source = {QPalette::Active, QPalette::Window};
            return true;
        case COLOR_WINDOW:
            *source = {QPalette::Active, QPalette::Base};
            return true;
        case COLOR_WINDOWFRAME:
            *source = {QPalette::Active, QPalette::Shadow};
            return true;
        case COLOR_MENUTEXT:
            *source = {QPalette::Active, QPalette::WindowText};
            return true;
        case COLOR_WINDOWTEXT:
            *source = {QPalette::Active, QPalette::Text};
            return true;
        case COLOR_HIGHLIGHT:
            *source = {QPalette::Active, QPalette::Highlight};
            return true;
        case COLOR_HIGHLIGHTTEXT:
            *source = {QPalette::Active, QPalette::HighlightedText};
            return true;
        case COLOR_BTNFACE:
            *source = {QPalette::Active, QPalette::Button};
            return true;
        case COLOR_BTNSHADOW:
            *source = {QPalette::Active, QPalette::Dark};
            return true;
        case COLOR_GRAYTEXT:
            *source = {QPalette::Disabled, QPalette::Text};
            return true;
        case COLOR_BTNTEXT:
            *source = {QPalette::Active, QPalette::ButtonText};
            return true;
        case COLOR_BTNHIGHLIGHT:
            *source = {QPalette::Active, QPalette::Light};
            return true;
        case COLOR_3DDKSHADOW:
            *source = {QPalette::Active, QPalette::Shadow};
            return true;
        case COLOR_3DLIGHT:
            *source = {QPalette::Active, QPalette::Midlight};
            return true;
        case COLOR_INFOTEXT:
            *source = {QPalette::Active, QPalette::ToolTipText};
            return true;
        case COLOR_INFOBK:
            *source = {QPalette::Active, QPalette::ToolTipBase};
            return true;
        default:
            return false;
    }
}

}  // namespace

Colour systemColour(int index) {
    PaletteSource source{};
    if (!paletteSourceOf(index, &source)) {
        return 0;
    }
    return fromQColor(QGuiApplication::palette().color(source.group, source.role));
}

}  // namespace qzm
