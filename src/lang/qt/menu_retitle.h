// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <string_view>

class QMenuBar;

namespace qzm {

// Which language key titles which menu entry.
struct MenuTitleKey {
    std::string_view key;
    int topLevelPosition;  // -1 for an item found by its command id
    int commandId;
};
std::span<const MenuTitleKey> menuTitleKeys();

// Sets the four top-level menus by position and the fourteen items by command
// id to their texts of the current language file; the text replaces the whole
// caption, key hint included.  The recent-file entries keep theirs.
void retitleMenu(QMenuBar& menuBar);

}  // namespace qzm
