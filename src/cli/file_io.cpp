#include "cli/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/atomic_file.h"

namespace qzm::cli {
namespace {

std::string errnoText(int error) {
    return std::strerror(error);
}

std::filesystem::path folderOf(const std::filesystem::path& path) {
    std::filesystem::path folder = path.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

}  // namespace

FileReadResult readWholeFile(const std::string& path) {
    FileReadResult result;
    int fd = path == "-" ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result.error = errnoText(errno);
        return result;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        result.error = errnoText(EISDIR);
        if (fd != STDIN_FILENO) {
            ::close(fd);
        }
        return result;
    }
    std::string data;
    char buffer[65536];
    for (;;) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            result.error = errnoText(errno);
            break;
        }
        if (got == 0) {
            result.contents = std::move(data);
            break;
        }
        data.append(buffer, static_cast<std::size_t>(got));
    }
    if (fd != STDIN_FILENO) {
        ::close(fd);
    }
    return result;
}

std::optional<std::string> replaceFile(const std::filesystem::path& path, std::string_view data) {
    FileResult result = writeFileAtomically(path, data);
    if (result.ok) {
        return std::nullopt;
    }
    return result.errorText;
}

std::optional<std::string> checkWritableTarget(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        return errnoText(EISDIR);
    }
    const std::filesystem::path folder = folderOf(path);
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        return errnoText(errno);
    }
    return std::nullopt;
}

}  // namespace qzm::cli
