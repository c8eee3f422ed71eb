// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace qzm {

// The user's home folder: $HOME when absolute, else the password entry (a service or
// a test may run without HOME); empty when neither knows one.
std::filesystem::path homeFolder();

// The program's per-user data folder: $XDG_DATA_HOME/qzm836, or ~/.local/share/qzm836
// when XDG_DATA_HOME is unset, empty or relative (a relative value is to be ignored).
// Nothing when not even a home folder is known.  The folder is not created here.
std::optional<std::filesystem::path> userDataDir();

// The same rule on given values (for tests and callers with their own environment).
std::optional<std::filesystem::path> userDataDirFrom(std::string_view xdgDataHome,
                                                     std::string_view home);

}  // namespace qzm
