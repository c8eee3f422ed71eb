// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/startup_paths.h"

#include "platform/program_paths.h"
#include "platform/settings.h"
#include "platform/system_locale.h"

namespace qzm {

StartupPaths initProgramPaths(const std::filesystem::path& programFolder, const UserFolders& user,
                              bool chineseLocale) {
    ProgramLocations locations = locateProgramFiles(programFolder, user);
    const SettingsFileState settings = prepareSettingsFile(locations);
    setProgramLocations(locations);
    if (settings == SettingsFileState::Missing) {
        return StartupPaths::SettingsMissing;
    }
    setLanguagePath(
        startupLanguagePath(locations.settingsPath, locations.languageFolders, chineseLocale));
    return StartupPaths::Ready;
}

StartupPaths initProgramPaths(const std::filesystem::path& programFolder, bool chineseLocale) {
    return initProgramPaths(programFolder, userFoldersFromEnvironment(), chineseLocale);
}

StartupPaths initProgramPaths() {
    const auto folder = executableDir();
    if (!folder) {
        return StartupPaths::NoProgramDir;
    }
    return initProgramPaths(*folder, systemLocaleIsChinesePrc());
}

}  // namespace qzm
