#include "cli/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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

std::optional<std::string> writeFileAtomically(const std::filesystem::path& path,
                                               std::string_view data) {
    const std::filesystem::path folder = folderOf(path);
    std::string pattern = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        return errnoText(errno);
    }
    const std::string tempPath(name.data());
    auto fail = [&](int error) -> std::optional<std::string> {
        ::close(fd);
        ::unlink(tempPath.c_str());
        return errnoText(error);
    };

    // mkostemp creates the file private; give it the mode the target has, or
    // the mode a newly created file would get.
    struct stat existing {};
    mode_t mode = 0;
    if (::stat(path.c_str(), &existing) == 0) {
        mode = existing.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = static_cast<mode_t>(0666 & ~mask);
    }
    if (::fchmod(fd, mode) != 0) {
        return fail(errno);
    }

    std::size_t written = 0;
    while (written < data.size()) {
        ssize_t put = ::write(fd, data.data() + written, data.size() - written);
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            return fail(errno);
        }
        written += static_cast<std::size_t>(put);
    }
    if (::fsync(fd) != 0) {
        return fail(errno);
    }
    if (::close(fd) != 0) {
        int error = errno;
        ::unlink(tempPath.c_str());
        return errnoText(error);
    }
    if (::rename(tempPath.c_str(), path.c_str()) != 0) {
        int error = errno;
        ::unlink(tempPath.c_str());
        return errnoText(error);
    }
    return std::nullopt;
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
