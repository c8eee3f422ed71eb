// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/profile_line.h"
#include "platform/ascii_text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace qzm::profile_detail {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool namesEqual(std::string_view a, std::string_view b) {
    return equalIgnoringAsciiCase(a, b);
}

int openRegularFile(const char* file) {
    const int fd = ::open(file, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

ProfileLine classifyLine(std::string_view line) {
    const std::string_view text = trimBlanks(line);
    if (text.empty() || text.front() == ';') {
        return {};
    }
    if (text.front() == '[') {
        // A header without its closing bracket still opens a section named by
        // the rest of the line, so a damaged header does not merge sections.
        std::string_view name = text.substr(1);
        if (const auto close = name.find(']'); close != std::string_view::npos) {
            name = name.substr(0, close);
        }
        return {LineKind::Section, trimBlanks(name), {}};
    }
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) {
        return {};
    }
    return {LineKind::Key, trimBlanks(text.substr(0, equals)), trimBlanks(text.substr(equals + 1))};
}

}  // namespace qzm::profile_detail
