// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

#include "platform/program_layout.h"

namespace qzm {

enum class StartupPaths {
    Ready,
    NoProgramDir,     // the executable's own path could not be read
    SettingsMissing,  // show kMissingSettingsMessage and end
};

// The start-up order: the layout (platform/program_layout.h) gives programDir
// and settingsPath; in the installed layout the user's "setting.ini" is made
// from the shipped one when missing; then languagePath by the start-up
// language rule.  languagePath is set only when a settings file exists.
StartupPaths initProgramPaths(const std::filesystem::path& programFolder, const UserFolders& user,
                              bool chineseLocale);

// The same with the user's folders from the environment.
StartupPaths initProgramPaths(const std::filesystem::path& programFolder, bool chineseLocale);

// The same for the running executable and the process's locale.
StartupPaths initProgramPaths();

}  // namespace qzm
