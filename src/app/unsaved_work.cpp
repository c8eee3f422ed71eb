// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/unsaved_work.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "platform/user_data_dir.h"

namespace qzm {
namespace {

constexpr std::string_view kPrefix = "unsaved-";
constexpr std::string_view kSuffix = ".836";

}  // namespace

std::optional<std::filesystem::path> unsavedWorkFolder() {
    return userDataDir();
}

std::filesystem::path unsavedWorkFile(const std::filesystem::path& folder, pid_t process) {
    return folder / (std::string(kPrefix) + std::to_string(process) + std::string(kSuffix));
}

std::vector<std::filesystem::path> keptUnsavedWork(const std::filesystem::path& folder) {
    std::vector<std::pair<std::filesystem::file_time_type, std::filesystem::path>> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        std::error_code ignored;
        if (name.size() > kPrefix.size() + kSuffix.size() && name.starts_with(kPrefix) &&
            name.ends_with(kSuffix) && entry.is_regular_file(ignored)) {
            found.emplace_back(entry.last_write_time(ignored), entry.path());
        }
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second > b.second;
    });
    std::vector<std::filesystem::path> files;
    for (auto& [time, path] : found) {
        files.push_back(std::move(path));
    }
    return files;
}

}  // namespace qzm
