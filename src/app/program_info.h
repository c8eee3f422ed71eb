#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qzm {

// `qzm836 --version` and `qzm836 --help`: answered on the terminal before any
// window exists, so they work without a display.  The text to print when the
// first argument asks for one of them; nothing otherwise (a file to open).
std::optional<std::string> programInfoText(const std::vector<std::string>& arguments);

}  // namespace qzm
