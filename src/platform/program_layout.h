// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

namespace qzm {

// Where the program's files are.  Two layouts, told apart by what lies beside
// the executable:
// - portable (the build folder, or a folder a user unpacked): "setting.ini",
//   the language files and the help pages lie beside the executable;
// - installed (`cmake --install`, the package): the shipped files lie in
//   programDir/../share/qzm836, the settings the user changes in
//   $XDG_CONFIG_HOME/qzm836/setting.ini, and the user may add language files in
//   $XDG_DATA_HOME/qzm836/lang.
// Everything is relative to the executable, so any install prefix works.

enum class ProgramLayout { Portable, Installed };

inline constexpr std::string_view kSettingsFileName = "setting.ini";
inline constexpr std::string_view kProgramFolderName = "qzm836";

// The per-user base folders (XDG); empty when there is no home to put them in.
struct UserFolders {
    std::filesystem::path configHome;
    std::filesystem::path dataHome;
};

// From XDG_CONFIG_HOME and XDG_DATA_HOME when they hold absolute paths (relative
// ones are ignored, as the XDG rules ask), else ~/.config and ~/.local/share.
UserFolders userFoldersFromEnvironment();

struct ProgramLocations {
    ProgramLayout layout = ProgramLayout::Portable;
    std::filesystem::path programDir;
    // The shipped "setting.ini", language files and help pages.
    std::filesystem::path dataDir;
    // The settings file the program reads and writes.
    std::filesystem::path settingsPath;
    // Folders listed for language files; a later folder's file wins over an
    // earlier one's of the same name (the user's folder comes last).
    std::vector<std::filesystem::path> languageFolders;
};

// Decides the layout for an executable in `programDir`: portable when
// "setting.ini" lies beside it or when there is no data folder either (then the
// settings are missing, as before), installed otherwise.  Only looks.
ProgramLocations locateProgramFiles(const std::filesystem::path& programDir,
                                    const UserFolders& user);

enum class SettingsFileState {
    Present,             // settingsPath exists
    CreatedFromShipped,  // the user's copy was made from the shipped file
    UsingShipped,        // no user copy could be made: settingsPath is the shipped file
    Missing,             // neither the user's nor the shipped file exists
};

// Makes sure locations.settingsPath can be read.  In the installed layout a
// missing user file is created as a copy of the shipped one (folders
// included); when that fails the shipped file is used as it is, so the program
// still runs (its settings changes are then not kept).
SettingsFileState prepareSettingsFile(ProgramLocations& locations);

}  // namespace qzm
