// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <memory>
#include <optional>

#include "platform/profile.h"
#include "platform/profile_line.h"
#include "platform/utf8_text.h"

namespace qzm {

namespace {

using profile_detail::classifyLine;
using profile_detail::LineKind;
using profile_detail::namesEqual;

// No value the program reads comes near this; keeping only the start of a
// longer line bounds memory when someone points us at a huge binary file.
constexpr std::size_t kMaxKeptLineBytes = 64 * 1024;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Reads a file line by line in fixed-size chunks.
class LineReader {
  public:
    explicit LineReader(const std::filesystem::path& file) : file_(openStream(file)) {}

    bool isOpen() const { return file_ != nullptr; }

    // The next line without its '\n'; false at the end of the file.
    bool next(std::string& line) {
        line.clear();
        bool any = false;
        for (;;) {
            if (pos_ == size_ && !refill()) {
                stripByteOrderMark(line);
                return any;
            }
            any = true;
            const char* begin = buffer_.get() + pos_;
            const char* end = buffer_.get() + size_;
            const char* newline = std::find(begin, end, '\n');
            const auto room = kMaxKeptLineBytes - line.size();
            const auto take = std::min(static_cast<std::size_t>(newline - begin), room);
            line.append(begin, take);
            pos_ = static_cast<std::size_t>(newline - buffer_.get());
            if (newline != end) {
                ++pos_;
                stripByteOrderMark(line);
                return true;
            }
        }
    }

  private:
    static constexpr std::size_t kChunk = 64 * 1024;

    static std::FILE* openStream(const std::filesystem::path& file) {
        const int fd = profile_detail::openRegularFile(file.c_str());
        if (fd < 0) {
            return nullptr;
        }
        std::FILE* stream = ::fdopen(fd, "rb");
        if (stream == nullptr) {
            ::close(fd);
        }
        return stream;
    }

    bool refill() {
        if (!file_ || std::feof(file_.get()) || std::ferror(file_.get())) {
            return false;
        }
        size_ = std::fread(buffer_.get(), 1, kChunk, file_.get());
        pos_ = 0;
        return size_ > 0;
    }

    void stripByteOrderMark(std::string& line) {
        if (first_) {
            first_ = false;
            if (line.starts_with("\xEF\xBB\xBF")) {
                line.erase(0, 3);
            }
        }
    }

    std::unique_ptr<std::FILE, FileCloser> file_;
    std::unique_ptr<char[]> buffer_ = std::make_unique<char[]>(kChunk);
    std::size_t pos_ = 0;
    std::size_t size_ = 0;
    bool first_ = true;
};

}  // namespace

std::optional<std::string> readProfileValue(const std::filesystem::path& file,
                                            std::string_view section, std::string_view key) {
    LineReader reader(file);
    if (!reader.isOpen()) {
        return std::nullopt;
    }
    std::string line;
    bool sectionSeen = false;
    bool inSection = false;
    while (reader.next(line)) {
        const auto parsed = classifyLine(line);
        if (parsed.kind == LineKind::Section) {
            if (inSection) {
                return std::nullopt;  // only the first matching section counts
            }
            inSection = !sectionSeen && namesEqual(parsed.name, section);
            sectionSeen = sectionSeen || inSection;
        } else if (inSection && parsed.kind == LineKind::Key && namesEqual(parsed.name, key)) {
            return std::string(parsed.value);
        }
    }
    return std::nullopt;
}

std::string readProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::string_view defaultValue,
                              std::size_t bufferSize) {
    if (bufferSize == 0) {
        return {};
    }
    const auto value = readProfileValue(file, section, key);
    return cutToCharacters(value ? std::string_view(*value) : defaultValue, bufferSize - 1);
}

std::optional<int> parseLeadingInt(std::string_view text) {
    text = profile_detail::trimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.front() < '0' || text.front() > '9') {
        return std::nullopt;
    }
    // Accumulate as a negative number so INT_MIN fits; saturate on overflow.
    constexpr int kMin = std::numeric_limits<int>::min();
    int result = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        const int digit = c - '0';
        if (result < (kMin + digit) / 10) {
            result = kMin;
            break;
        }
        result = result * 10 - digit;
    }
    if (negative) {
        return result;
    }
    return result == kMin ? std::numeric_limits<int>::max() : -result;
}

int readProfileInt(const std::filesystem::path& file, std::string_view section,
                   std::string_view key, int defaultValue) {
    const auto value = readProfileValue(file, section, key);
    if (!value) {
        return defaultValue;
    }
    return parseLeadingInt(*value).value_or(defaultValue);
}

}  // namespace qzm
