#pragma once

#include <filesystem>

namespace qzm {

enum class StartupPaths {
    Ready,
    NoProgramDir,     // the executable's own path could not be read
    SettingsMissing,  // show kMissingSettingsMessage and end
};

// The start-up order: programDir (and with it settingsPath), the check that
// "setting.ini" is there, then languagePath by the start-up language rule.
// languagePath is set only when the settings file exists.
StartupPaths initProgramPaths(const std::filesystem::path& programFolder, bool chineseLocale);

// The same for the running executable and the process's locale.
StartupPaths initProgramPaths();

}  // namespace qzm
