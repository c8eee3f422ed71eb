// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <vector>

namespace qzm {

struct ProgramLocations;

// The program-wide paths, set at start-up from the layout the program finds
// (platform/program_layout.h); languagePath also changes when the user
// switches language, and tests point all of them at folders of their own.

// The folder of the running executable (from /proc/self/exe); nothing when the
// link cannot be read.
std::optional<std::filesystem::path> executableDir();

std::filesystem::path programDir();
std::filesystem::path settingsPath();
std::filesystem::path languagePath();
// The folders listed for language files, the one whose files win last.
std::vector<std::filesystem::path> languageFolders();

// The portable layout in `dir`: programDir, settingsPath (dir / "setting.ini")
// and the one language folder.
void setProgramDir(const std::filesystem::path& dir);
// programDir, settingsPath and the language folders of `locations`.
void setProgramLocations(const ProgramLocations& locations);
void setLanguagePath(const std::filesystem::path& file);

}  // namespace qzm
