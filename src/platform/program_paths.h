#pragma once

#include <filesystem>
#include <optional>

namespace qzm {

// The program-wide paths.  "setting.ini" and the language files lie beside the
// executable.  They are set at start-up; languagePath also changes when the
// user switches language, and tests point all of them at folders of their own.

// The folder of the running executable (from /proc/self/exe); nothing when the
// link cannot be read.
std::optional<std::filesystem::path> executableDir();

std::filesystem::path programDir();
std::filesystem::path settingsPath();
std::filesystem::path languagePath();

// Sets programDir and with it settingsPath (programDir / "setting.ini").
void setProgramDir(const std::filesystem::path& dir);
void setLanguagePath(const std::filesystem::path& file);

}  // namespace qzm
