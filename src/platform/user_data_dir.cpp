// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/user_data_dir.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace qzm {

std::optional<std::filesystem::path> userDataDirFrom(std::string_view xdgDataHome,
                                                     std::string_view home) {
    const std::filesystem::path xdg(xdgDataHome);
    if (!xdgDataHome.empty() && xdg.is_absolute()) {
        return xdg / "qzm836";
    }
    const std::filesystem::path homeDir(home);
    if (home.empty() || !homeDir.is_absolute()) {
        return std::nullopt;
    }
    return homeDir / ".local" / "share" / "qzm836";
}

std::filesystem::path homeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return home;
    }
    const long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::string buffer(size > 0 ? static_cast<std::size_t>(size) : 16384, '\0');
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] == '/') {
        return found->pw_dir;
    }
    return {};
}

std::optional<std::filesystem::path> userDataDir() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    return userDataDirFrom(xdg != nullptr ? xdg : "", homeFolder().string());
}

}  // namespace qzm
