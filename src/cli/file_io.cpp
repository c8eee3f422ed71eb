// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/file_io.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/atomic_file.h"
#include "platform/file_error_text.h"

namespace qzm::cli {
namespace {

std::filesystem::path folderOf(const std::filesystem::path& path) {
    std::filesystem::path folder = path.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

}  // namespace

std::optional<std::string> replaceFile(const std::filesystem::path& path, std::string_view data) {
    Status result = writeFileAtomically(path, data);
    if (result.ok()) {
        return std::nullopt;
    }
    return result.error().text;
}

std::optional<std::string> checkWritableTarget(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            return fileErrorReason(EISDIR);
        }
        if (!S_ISREG(info.st_mode)) {
            return std::string(kNotARegularFile);
        }
        // A file we may rewrite is enough, even in a folder we may not write.
        if (::access(path.c_str(), W_OK) != 0) {
            return fileErrorReason(errno);
        }
        return std::nullopt;
    } else if (errno == ENOTDIR || errno == ELOOP) {
        return fileErrorReason(errno);
    }
    const std::filesystem::path folder = folderOf(path);
    if (::stat(folder.c_str(), &info) != 0) {
        return fileErrorReason(errno);
    }
    if (!S_ISDIR(info.st_mode)) {
        return fileErrorReason(ENOTDIR);
    }
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        return fileErrorReason(errno);
    }
    return std::nullopt;
}

}  // namespace qzm::cli
