// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qzm {

// The program's one reverse-DNS id: the name of its desktop file, icon, metainfo
// and MIME package, and the desktop file name a Wayland compositor matches the
// window to.
inline constexpr const char* kDesktopId = "org.qzm836.qzm836";

// `qzm836 --version` and `qzm836 --help`: answered on the terminal before any
// window exists, so they work without a display.  The text to print when the
// first argument asks for one of them; nothing otherwise (a file to open).
std::optional<std::string> programInfoText(const std::vector<std::string>& arguments);

}  // namespace qzm
