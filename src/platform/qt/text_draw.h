// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text-format flags with their classic values, and the text drawing that honours them.

#include <cstdint>

#include <QRect>
#include <QString>

class QPainter;

namespace qzm {

inline constexpr std::uint32_t DT_TOP = 0x00000000;
inline constexpr std::uint32_t DT_LEFT = 0x00000000;
inline constexpr std::uint32_t DT_CENTER = 0x00000001;
inline constexpr std::uint32_t DT_RIGHT = 0x00000002;
inline constexpr std::uint32_t DT_VCENTER = 0x00000004;
inline constexpr std::uint32_t DT_BOTTOM = 0x00000008;
inline constexpr std::uint32_t DT_WORDBREAK = 0x00000010;
inline constexpr std::uint32_t DT_SINGLELINE = 0x00000020;
inline constexpr std::uint32_t DT_EXPANDTABS = 0x00000040;
inline constexpr std::uint32_t DT_TABSTOP = 0x00000080;
inline constexpr std::uint32_t DT_NOCLIP = 0x00000100;
inline constexpr std::uint32_t DT_EXTERNALLEADING = 0x00000200;
inline constexpr std::uint32_t DT_CALCRECT = 0x00000400;
inline constexpr std::uint32_t DT_NOPREFIX = 0x00000800;
inline constexpr std::uint32_t DT_INTERNAL = 0x00001000;
inline constexpr std::uint32_t DT_EDITCONTROL = 0x00002000;
inline constexpr std::uint32_t DT_PATH_ELLIPSIS = 0x00004000;
inline constexpr std::uint32_t DT_END_ELLIPSIS = 0x00008000;
inline constexpr std::uint32_t DT_MODIFYSTRING = 0x00010000;
inline constexpr std::uint32_t DT_RTLREADING = 0x00020000;
inline constexpr std::uint32_t DT_WORD_ELLIPSIS = 0x00040000;
inline constexpr std::uint32_t DT_HIDEPREFIX = 0x00100000;

// Draws `text` into `rect` with the painter's font and pen, laid out by `format`.
// As with the classic call, vertical centring and bottom alignment apply to single-line
// text only, '&' marks a mnemonic unless DT_NOPREFIX is given, and the text is clipped to
// the rectangle unless DT_NOCLIP is given.  With DT_CALCRECT nothing is drawn: the
// rectangle's width (unless words are broken) and height become those of the text.
// Returns the height of the text.
int drawText(QPainter& painter, const QString& text, QRect& rect, std::uint32_t format);

// Qt alignment and text flags equivalent to `format` (ellipsis and CALCRECT aside).
int qtTextFlags(std::uint32_t format);

}  // namespace qzm
