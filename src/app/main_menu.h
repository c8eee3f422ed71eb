// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <string_view>

namespace qzm {

// Menu 128 with its template captions ("\t" separates the key hint, "&" marks
// the mnemonic).  The captions stay until the language file retitles the menu.

struct MenuItemTemplate {
    int id;  // 0: separator; ID_FILE_MRU_FILE1: the place of the recent files
    std::string_view caption;
};

struct MenuTemplate {
    std::string_view caption;
    std::span<const MenuItemTemplate> items;
};

std::span<const MenuTemplate> mainMenuTemplate();

// The toolbar: command ids in button order, 0 for a separator.
std::span<const int> toolbarTemplate();

// One key of the accelerator table.
struct AcceleratorTemplate {
    std::string_view keys;  // in the portable form of QKeySequence, e.g. "Ctrl+N"
    int id;
};
std::span<const AcceleratorTemplate> acceleratorTemplate();

// The placeholder of an empty recent-file list.
inline constexpr std::string_view kRecentFilePlaceholder = "Recent File";

}  // namespace qzm
