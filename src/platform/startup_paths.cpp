#include "platform/startup_paths.h"

#include <system_error>

#include "platform/program_paths.h"
#include "platform/settings.h"
#include "platform/system_locale.h"

namespace qzm {

StartupPaths initProgramPaths(const std::filesystem::path& programFolder, bool chineseLocale) {
    setProgramDir(programFolder);
    std::error_code ec;
    if (!std::filesystem::exists(settingsPath(), ec)) {
        return StartupPaths::SettingsMissing;
    }
    setLanguagePath(startupLanguagePath(programFolder, chineseLocale));
    return StartupPaths::Ready;
}

StartupPaths initProgramPaths() {
    const auto folder = executableDir();
    if (!folder) {
        return StartupPaths::NoProgramDir;
    }
    return initProgramPaths(*folder, systemLocaleIsChinesePrc());
}

}  // namespace qzm
