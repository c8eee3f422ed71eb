// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/program_paths.h"

#include <mutex>
#include <system_error>

#include "platform/program_layout.h"

namespace qzm {

namespace {

// The transfer worker takes a copy of settingsPath while the user-interface
// thread may switch language, so the values are guarded.
struct ProgramPaths {
    std::mutex mutex;
    std::filesystem::path programDir;
    std::filesystem::path settingsPath;
    std::filesystem::path languagePath;
    std::vector<std::filesystem::path> languageFolders;
};

ProgramPaths& paths() {
    static ProgramPaths instance;
    return instance;
}

}  // namespace

std::optional<std::filesystem::path> executableDir() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || !exe.has_parent_path()) {
        return std::nullopt;
    }
    return exe.parent_path();
}

std::filesystem::path programDir() {
    std::lock_guard lock(paths().mutex);
    return paths().programDir;
}

std::filesystem::path settingsPath() {
    std::lock_guard lock(paths().mutex);
    return paths().settingsPath;
}

std::filesystem::path languagePath() {
    std::lock_guard lock(paths().mutex);
    return paths().languagePath;
}

std::vector<std::filesystem::path> languageFolders() {
    std::lock_guard lock(paths().mutex);
    return paths().languageFolders;
}

void setProgramDir(const std::filesystem::path& dir) {
    std::lock_guard lock(paths().mutex);
    paths().programDir = dir;
    paths().settingsPath = dir / kSettingsFileName;
    paths().languageFolders = {dir};
}

void setProgramLocations(const ProgramLocations& locations) {
    std::lock_guard lock(paths().mutex);
    paths().programDir = locations.programDir;
    paths().settingsPath = locations.settingsPath;
    paths().languageFolders = locations.languageFolders;
}

void setLanguagePath(const std::filesystem::path& file) {
    std::lock_guard lock(paths().mutex);
    paths().languagePath = file;
}

}  // namespace qzm
