#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <optional>
#include <system_error>
#include <vector>

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

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const auto written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The file a symbolic link points at is the one to replace, not the link.
std::filesystem::path resolveTarget(const std::filesystem::path& file) {
    std::error_code ec;
    if (std::filesystem::is_symlink(file, ec)) {
        auto resolved = std::filesystem::weakly_canonical(file, ec);
        if (!ec) {
            return resolved;
        }
    }
    return file;
}

bool replaceAtomically(const std::filesystem::path& file, std::string_view content, bool existed) {
    const auto folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    std::string pattern = (folder / ("." + file.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        return false;
    }
    struct stat old {};
    mode_t mode = 0644;
    if (existed && ::stat(file.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    }
    bool ok = writeAll(fd, content) && ::fchmod(fd, mode) == 0;
    if (ok && existed) {
        // Best effort: only root may hand the file back to another owner.
        [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(pattern.c_str(), file.c_str()) == 0;
    if (!ok) {
        ::unlink(pattern.c_str());
        return false;
    }
    // Make the rename itself durable; failing here loses nothing already written.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
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
    const auto target = resolveTarget(file);
    bool existed = false;
    const auto content = readWhole(target, existed);
    if (!content) {
        return false;
    }
    // The rename would replace even a file the user has made read-only; such
    // a file keeps its settings, as with an ordinary write.
    if (existed && ::access(target.c_str(), W_OK) != 0) {
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
    return replaceAtomically(target, updated, existed);
}

}  // namespace qzm
