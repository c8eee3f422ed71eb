// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace qzm {

// The version of the programs, set once in project() of the top CMakeLists.txt
// (shown by --version, the about box and the package).
std::string_view programVersion();

// The licence every program is distributed under, as an SPDX expression.
inline constexpr std::string_view kProgramLicence = "GPL-3.0-or-later";

// What `--version` prints: "<program> <version>" on the first line, then the
// licence and the absence of warranty, as the GPL asks a program to say.
std::string versionText(std::string_view program);

}  // namespace qzm
