// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

namespace qzm {

// The toolbar's 16 by 15 images and the program icon, drawn here so that the
// program carries no image files it did not make itself.

inline constexpr int kToolbarImageWidth = 16;
inline constexpr int kToolbarImageHeight = 15;

// The image of a toolbar command; a null icon for commands without one.
QIcon toolbarIcon(int commandId);

// The program icon: a handheld radio, at 16, 32, 48 and 64 pixels.
QIcon programIcon();

}  // namespace qzm
