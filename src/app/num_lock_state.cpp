#include "app/num_lock_state.h"

#include <fstream>
#include <string>
#include <system_error>

namespace qzm {

std::optional<bool> numLockState(const std::filesystem::path& ledsFolder) {
    std::error_code error;
    std::filesystem::directory_iterator entries(ledsFolder, error);
    if (error) {
        return std::nullopt;
    }
    std::optional<bool> state;
    for (const auto& entry : entries) {
        const std::string name = entry.path().filename().string();
        if (!name.ends_with("::numlock")) {
            continue;
        }
        std::ifstream brightness(entry.path() / "brightness");
        int value = 0;
        if (!(brightness >> value)) {
            continue;
        }
        // Several keyboards: any lit LED means on.
        state = state.value_or(false) || value != 0;
    }
    return state;
}

}  // namespace qzm
