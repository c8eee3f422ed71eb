// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/csv_input.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <new>

#include "exchange/csv_message.h"
#include "platform/file_descriptor.h"

namespace qzm {
namespace {

constexpr std::size_t kPieceSize = 64 * 1024;

CsvParseResult refusedInput(CsvError error) {
    CsvParseResult result;
    result.error = std::move(error);
    return result;
}

CsvParseResult parseDescriptor(int fd, const CsvLimits& limits) {
    CsvStreamParser parser(limits);
    std::array<char, kPieceSize> piece{};
    for (;;) {
        const ssize_t n = ::read(fd, piece.data(), piece.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return refusedInput(csvSystemError(errno));
        }
        if (n == 0 || !parser.feed(std::string_view(piece.data(), static_cast<std::size_t>(n)))) {
            return parser.finish();
        }
    }
}

CsvParseResult readInput(const std::string& path, const CsvLimits& limits) {
    if (path == "-") {
        struct stat info {};
        if (::fstat(STDIN_FILENO, &info) == 0 && S_ISDIR(info.st_mode)) {
            return refusedInput(csvSystemError(EISDIR));
        }
        return parseDescriptor(STDIN_FILENO, limits);
    }
    // Non-blocking: opening a fifo must not wait for a writer; it is refused below.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0) {
        return refusedInput(csvSystemError(errno));
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        return refusedInput(csvSystemError(errno));
    }
    if (S_ISDIR(info.st_mode)) {
        return refusedInput(csvSystemError(EISDIR));
    }
    if (!S_ISREG(info.st_mode)) {
        return refusedInput(csvError(0, csv_message::kNotRegularFile));
    }
    if (static_cast<std::uint64_t>(info.st_size) > limits.maxBytes) {
        return refusedInput(csvError(0, csv_message::kTooLarge));
    }
    return parseDescriptor(fd.get(), limits);
}

}  // namespace

CsvParseResult readCsvInput(const std::string& path, const CsvLimits& limits) {
    try {
        return readInput(path, limits);
    } catch (const std::bad_alloc&) {
        return refusedInput(csvError(0, csv_message::kNoMemory));
    }
}

std::string csvInputName(const std::string& path) {
    return path == "-" ? std::string("<stdin>") : path;
}

namespace {

std::string placed(const std::string& path, std::size_t line, const std::string& message) {
    std::string text = csvInputName(path);
    if (line > 0) {
        text += ":" + std::to_string(line);
    }
    return text + ": " + message;
}

}  // namespace

std::string formatCsvMessage(const std::string& path, const CsvError& error) {
    return placed(path, error.line, error.message);
}

std::string formatCsvMessage(const std::string& path, const CsvError& error,
                             const TextSource& texts) {
    return placed(path, error.line, csvMessageText(error, texts));
}

}  // namespace qzm
