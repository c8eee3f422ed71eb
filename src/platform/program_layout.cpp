// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/program_layout.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

#include "platform/atomic_file.h"
#include "platform/user_data_dir.h"

namespace qzm {
namespace {

std::filesystem::path absoluteEnvironmentPath(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') {
        return {};
    }
    return value;
}

bool isFile(const std::filesystem::path& file) {
    std::error_code error;
    return std::filesystem::is_regular_file(file, error);
}

bool isFolder(const std::filesystem::path& folder) {
    std::error_code error;
    return std::filesystem::is_directory(folder, error);
}

bool copySettings(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::ifstream in(from, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) {
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(to.parent_path(), error);
    if (error) {
        return false;
    }
    // Atomic, so a second program starting at the same moment never reads half a file.
    return writeFileAtomically(to, content.str()).ok();
}

}  // namespace

UserFolders userFoldersFromEnvironment() {
    UserFolders folders;
    folders.configHome = absoluteEnvironmentPath("XDG_CONFIG_HOME");
    folders.dataHome = absoluteEnvironmentPath("XDG_DATA_HOME");
    if (folders.configHome.empty() || folders.dataHome.empty()) {
        const auto home = homeFolder();
        if (!home.empty()) {
            if (folders.configHome.empty()) {
                folders.configHome = home / ".config";
            }
            if (folders.dataHome.empty()) {
                folders.dataHome = home / ".local" / "share";
            }
        }
    }
    return folders;
}

ProgramLocations locateProgramFiles(const std::filesystem::path& programDir,
                                    const UserFolders& user) {
    ProgramLocations locations;
    locations.programDir = programDir;
    const auto shareDir = (programDir / ".." / "share" / kProgramFolderName).lexically_normal();
    if (isFile(programDir / kSettingsFileName) || !isFolder(shareDir)) {
        locations.layout = ProgramLayout::Portable;
        locations.dataDir = programDir;
        locations.settingsPath = programDir / kSettingsFileName;
        locations.languageFolders = {programDir};
        return locations;
    }
    locations.layout = ProgramLayout::Installed;
    locations.dataDir = shareDir;
    locations.languageFolders = {shareDir};
    if (user.configHome.empty()) {
        locations.settingsPath = shareDir / kSettingsFileName;
    } else {
        locations.settingsPath = user.configHome / kProgramFolderName / kSettingsFileName;
    }
    if (!user.dataHome.empty()) {
        locations.languageFolders.push_back(user.dataHome / kProgramFolderName / "lang");
    }
    return locations;
}

SettingsFileState prepareSettingsFile(ProgramLocations& locations) {
    if (isFile(locations.settingsPath)) {
        return SettingsFileState::Present;
    }
    if (locations.layout == ProgramLayout::Portable) {
        return SettingsFileState::Missing;
    }
    const auto shipped = locations.dataDir / kSettingsFileName;
    if (!isFile(shipped)) {
        return SettingsFileState::Missing;
    }
    if (copySettings(shipped, locations.settingsPath)) {
        return SettingsFileState::CreatedFromShipped;
    }
    locations.settingsPath = shipped;
    return SettingsFileState::UsingShipped;
}

}  // namespace qzm
