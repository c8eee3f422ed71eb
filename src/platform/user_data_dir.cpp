#include "platform/user_data_dir.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

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

std::optional<std::filesystem::path> userDataDir() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    std::string homeText = home != nullptr ? home : "";
    if (homeText.empty()) {
        // A service or a sanitised environment may lack HOME; the password entry knows.
        std::vector<char> buffer(16384);
        passwd entry{};
        passwd* found = nullptr;
        if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
            found != nullptr && found->pw_dir != nullptr) {
            homeText = found->pw_dir;
        }
    }
    return userDataDirFrom(xdg != nullptr ? xdg : "", homeText);
}

}  // namespace qzm
