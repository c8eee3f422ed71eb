#pragma once

#include <string_view>

namespace qzm {

// The version of the programs, set once in project() of the top CMakeLists.txt
// (shown by --version, the about box and the package).
std::string_view programVersion();

}  // namespace qzm
