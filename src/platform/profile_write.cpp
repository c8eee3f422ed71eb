// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <optional>
#include <system_error>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/profile.h"
#include "platform/profile_line.h"

namespace qzm {

namespace {

using profile_detail::classifyLine;
using profile_detail::LineKind;
using profile_detail::namesEqual;

constexpr off_t kMaxRewrittenBytes = 64 * 1024 * 1024;

struct Line {
    std::string text;    // without its line end
    bool ended = false;  // had a '\n' after it
};

bool hasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// Names and values that would not read back as written are refused rather
// than silently turned into other lines.
bool writable(std::string_view section, std::string_view key, std::string_view value) {
    return !hasLineBreak(section) && section.find(']') == std::string_view::npos &&
           !hasLineBreak(key) && key.find('=') == std::string_view::npos &&
           !profile_detail::trimBlanks(key).empty() && !key.starts_with(';') &&
           !key.starts_with('[') && !hasLineBreak(value);
}

std::optional<std::string> readWhole(const std::filesystem::path& file, bool& exists) {
    std::error_code ec;
    exists = std::filesystem::exists(file, ec);
    if (!exists) {
        return std::string();
    }
    const int fd = profile_detail::openRegularFile(file.c_str());
    if (fd < 0) {
        return std::nullopt;
    }
    // A file this big is no settings file; rewriting it whole would only
    // exhaust memory.
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_size > kMaxRewrittenBytes) {
        ::close(fd);
        return std::nullopt;
    }
    std::string content;
    char chunk[64 * 1024];
    for (;;) {
        const auto got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            ::close(fd);
            return got == 0 ? std::optional<std::string>(std::move(content)) : std::nullopt;
        }
        content.append(chunk, static_cast<std::size_t>(got));
    }
}

std::vector<Line> splitLines(std::string_view content) {
    std::vector<Line> lines;
    while (!content.empty()) {
        const auto newline = content.find('\n');
        if (newline == std::string_view::npos) {
            lines.push_back({std::string(content), false});
            break;
        }
        lines.push_back({std::string(content.substr(0, newline)), true});
        content.remove_prefix(newline + 1);
    }
    return lines;
}

std::string_view withoutMark(std::string_view text, std::size_t index) {
    if (index == 0 && text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    return text;
}

// New lines follow the file's own line ends.
bool usesCrLf(const std::vector<Line>& lines) {
    return !lines.empty() && lines.front().ended && lines.front().text.ends_with('\r');
}

std::string withKeyValue(std::string_view key, std::string_view value) {
    std::string text(key);
    text += '=';
    text += value;
    return text;
}

void updateLines(std::vector<Line>& lines, std::string_view section, std::string_view key,
                 std::string_view value) {
    const std::string cr = usesCrLf(lines) ? "\r" : "";
    std::optional<std::size_t> sectionLine;
    std::size_t insertAfter = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto parsed = classifyLine(withoutMark(lines[i].text, i));
        if (parsed.kind == LineKind::Section) {
            if (sectionLine) {
                break;
            }
            if (namesEqual(parsed.name, section)) {
                sectionLine = i;
                insertAfter = i;
            }
        } else if (sectionLine && parsed.kind == LineKind::Key) {
            if (namesEqual(parsed.name, key)) {
                const bool mark = i == 0 && lines[i].text.starts_with("\xEF\xBB\xBF");
                const bool endsCr = lines[i].text.ends_with('\r');
                lines[i].text =
                    (mark ? "\xEF\xBB\xBF" : "") + withKeyValue(key, value) + (endsCr ? "\r" : "");
                return;
            }
            insertAfter = i;
        }
    }
    if (!lines.empty() && !lines.back().ended) {
        lines.back().ended = true;
        if (!cr.empty()) {
            lines.back().text += cr;
        }
    }
    if (sectionLine) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAfter) + 1,
                     Line{withKeyValue(key, value) + cr, true});
        return;
    }
    if (!lines.empty() && !profile_detail::trimBlanks(lines.back().text).empty()) {
        lines.push_back({cr, true});
    }
    lines.push_back({"[" + std::string(section) + "]" + cr, true});
    lines.push_back({withKeyValue(key, value) + cr, true});
}

}  // namespace

bool writeProfileString(const std::filesystem::path& file, std::string_view section,
                        std::string_view key, std::string_view value) {
    section = profile_detail::trimBlanks(section);
    key = profile_detail::trimBlanks(key);
    value = profile_detail::trimBlanks(value);
    if (!writable(section, key, value)) {
        return false;
    }
    // Two threads updating the same file would each rewrite the other's
    // change away; within the program, writes take turns.
    static std::mutex writers;
    std::lock_guard lock(writers);
    bool existed = false;
    const auto content = readWhole(file, existed);
    if (!content) {
        return false;
    }
    auto lines = splitLines(*content);
    updateLines(lines, section, key, value);
    std::string updated;
    updated.reserve(content->size() + key.size() + value.size() + section.size() + 8);
    for (const auto& line : lines) {
        updated += line.text;
        if (line.ended) {
            updated += '\n';
        }
    }
    // A read-only settings file keeps its settings, as with an ordinary write.
    return writeFileAtomically(file, updated).ok();
}

}  // namespace qzm
