#include "exchange/channel_list_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace qzm {

ChannelListFile readChannelListFile(const std::filesystem::path& path) {
    ChannelListFile result;
    // Non-blocking, so opening a fifo without a writer returns at once.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        result.error = std::strerror(errno);
        return result;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        result.error = std::strerror(errno);
    } else if (!S_ISREG(info.st_mode)) {
        result.error = "not a regular file";
    } else if (static_cast<std::size_t>(info.st_size) > kChannelListFileLimit) {
        result.error = "larger than " + std::to_string(kChannelListFileLimit / (1024 * 1024)) +
                       " MiB, too large for a channel list";
    }
    if (!result.error.empty()) {
        ::close(fd);
        return result;
    }
    std::string data;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            result.error = std::strerror(errno);
            break;
        }
        if (got == 0) {
            result.contents = std::move(data);
            break;
        }
        data.append(buffer, static_cast<std::size_t>(got));
        if (data.size() > kChannelListFileLimit) {  // it grew while we read
            result.error = "too large for a channel list";
            break;
        }
    }
    ::close(fd);
    return result;
}

}  // namespace qzm
