// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Dialogs and forms are described as data and turned into widgets by one
// builder, so every dialog of the program is laid out the same way and every
// control can be found (and retitled from the language file) by its id.
//
// Usage:
//
//     const DialogTemplate kAbout{100, "关于 Zavo", {180, 70}, {
//         {1, ControlKind::PushButton, "确定", {120, 48, 50, 14}, ControlStyle::DefaultButton},
//         {1013, ControlKind::Label, "QZM-5260 1.01", {40, 10, 119, 8}},
//     }};
//     QDialog dialog;
//     buildDialog(dialog, kAbout);                  // size, title, children in template order
//     auto* ok = findControl<QPushButton>(&dialog, 1);
//
// Rectangles are in dialog units: a horizontal unit is a quarter of the dialog
// font's average character width, a vertical unit an eighth of its height.
// Controls that need a class of their own (the grid, the floating editors) are
// made by a ControlFactory passed to the builder; it returns nullptr for every
// control it leaves to the builder.

#include <cstdint>
#include <string>
#include <vector>

namespace qzm {

enum class ControlKind {
    PushButton,
    Label,         // static text
    GroupBox,      // a frame drawn around its siblings; it does not own them
    CheckBox,      // automatic check box
    RadioButton,   // automatic radio button; siblings form one exclusive group
    DropDownList,  // pick an entry, no typing
    DropDown,      // an editable combo (typing allowed)
    Edit,          // single-line edit field with a border, scrolling horizontally
    ProgressBar,
    Icon,    // the program icon
    Custom,  // a plain widget unless the factory makes something else
};

// Bits of ControlTemplate::style.
namespace ControlStyle {
inline constexpr std::uint32_t None = 0;
inline constexpr std::uint32_t Hidden = 1u << 0;    // created neither visible ...
inline constexpr std::uint32_t Disabled = 1u << 1;  // ... nor (with this bit) enabled
inline constexpr std::uint32_t DefaultButton = 1u << 2;
inline constexpr std::uint32_t RightAligned = 1u << 3;
inline constexpr std::uint32_t Centered = 1u << 4;
inline constexpr std::uint32_t Sorted = 1u << 5;          // list keeps its entries sorted
inline constexpr std::uint32_t VerticalScroll = 1u << 6;  // list scrolls vertically
inline constexpr std::uint32_t UpperCase = 1u << 7;       // list or edit shows upper case
// Hidden controls of a form are neither visible nor enabled.
inline constexpr std::uint32_t HiddenAndDisabled = Hidden | Disabled;
}  // namespace ControlStyle

// A rectangle in dialog units.  For drop-down lists the height includes the
// opened list, as in the templates.
struct DialogUnitRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct ControlTemplate {
    int id = 0;
    ControlKind kind = ControlKind::Custom;
    std::string caption;  // UTF-8; '&' marks the mnemonic letter
    DialogUnitRect rect;
    std::uint32_t style = ControlStyle::None;
};

struct DialogUnitSize {
    int width = 0;
    int height = 0;
};

struct DialogTemplate {
    int id = 0;
    std::string title;  // UTF-8; empty for forms without caption
    DialogUnitSize size;
    std::vector<ControlTemplate> controls;
};

}  // namespace qzm
