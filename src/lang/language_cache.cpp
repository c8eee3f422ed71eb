// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/language_cache.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/ascii_text.h"
#include "platform/file_descriptor.h"
#include "platform/profile_line.h"
#include "platform/utf8_text.h"

namespace qzm {
namespace {

using profile_detail::classifyLine;
using profile_detail::LineKind;

// As the profile reader: only the start of a longer line is kept.
constexpr std::size_t kMaxKeptLineBytes = 64 * 1024;
// Language files in use at once: the current one and the listing's display names.
constexpr std::size_t kMaxCachedFiles = 32;

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = asciiLower(c);
    }
    return out;
}

// The sections of one file: the first section of a name and, in it, the first
// key of a name.  Names are stored in lower case, as they compare without case.
struct ParsedFile {
    std::unordered_map<std::string, std::unordered_map<std::string, std::string>> sections;
};

ParsedFile parse(std::string_view text) {
    ParsedFile parsed;
    std::unordered_map<std::string, std::string>* current = nullptr;
    bool first = true;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (first) {
            first = false;
            if (line.starts_with("\xEF\xBB\xBF")) {
                line.remove_prefix(3);
            }
        }
        line = line.substr(0, kMaxKeptLineBytes);
        const auto entry = classifyLine(line);
        if (entry.kind == LineKind::Section) {
            // A later section of the same name is not read: its keys go nowhere.
            auto [it, fresh] = parsed.sections.try_emplace(lowered(entry.name));
            current = fresh ? &it->second : nullptr;
        } else if (entry.kind == LineKind::Key && current != nullptr) {
            current->try_emplace(lowered(entry.name), entry.value);
        }
    }
    return parsed;
}

// What identifies one version of a file on disk.
struct Stamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t mtimeSeconds = 0;
    long mtimeNanoseconds = 0;
    friend bool operator==(const Stamp&, const Stamp&) = default;
};

Stamp stampOf(const struct stat& info) {
    return {info.st_dev, info.st_ino, info.st_size, static_cast<std::int64_t>(info.st_mtim.tv_sec),
            info.st_mtim.tv_nsec};
}

struct CacheEntry {
    Stamp stamp;
    std::shared_ptr<const ParsedFile> parsed;  // null: refused
};

// File times advance in coarse steps: a file written twice within one step with
// the same size keeps its stamp.  A file modified shortly before it was parsed
// is therefore parsed again at the next read, until it is older than this.
constexpr std::int64_t kSettledSeconds = 2;

bool settled(const struct stat& info) {
    const auto now = std::chrono::duration_cast<std::chrono::seconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    return static_cast<std::int64_t>(info.st_mtim.tv_sec) + kSettledSeconds < now;
}

class LanguageCache {
  public:
    // The parsed file, or null when it is missing, not a regular file, unreadable
    // or refused.
    std::shared_ptr<const ParsedFile> get(const std::filesystem::path& file) {
        const int fd = profile_detail::openRegularFile(file.c_str());
        if (fd < 0) {
            return nullptr;
        }
        FileDescriptor descriptor(fd);
        struct stat info {};
        if (::fstat(fd, &info) != 0) {
            return nullptr;
        }
        const Stamp stamp = stampOf(info);
        const std::string key = file.string();
        {
            std::lock_guard lock(mutex_);
            const auto cached = entries_.find(key);
            if (cached != entries_.end() && cached->second.stamp == stamp) {
                return cached->second.parsed;
            }
        }
        std::shared_ptr<const ParsedFile> parsed;
        if (static_cast<std::uintmax_t>(info.st_size) > kMaxLanguageFileBytes) {
            std::fprintf(stderr, "%s\n", refusalText(file).c_str());
        } else if (auto text = readAll(fd, info.st_size)) {
            parsed = std::make_shared<const ParsedFile>(parse(*text));
            std::lock_guard lock(mutex_);
            ++parses_;
        } else {
            return nullptr;  // a read error: try again next time
        }
        std::lock_guard lock(mutex_);
        // A refusal depends on the size alone, which the stamp holds: kept either way.
        if (parsed && !settled(info)) {
            entries_.erase(key);
            return parsed;
        }
        if (entries_.size() >= kMaxCachedFiles && entries_.find(key) == entries_.end()) {
            entries_.clear();
        }
        entries_[key] = CacheEntry{stamp, parsed};
        return parsed;
    }

    std::size_t parses() {
        std::lock_guard lock(mutex_);
        return parses_;
    }

    static std::string refusalText(const std::filesystem::path& file) {
        return "the language file " + file.string() + " is larger than " +
               std::to_string(kMaxLanguageFileBytes / (1024 * 1024)) +
               " MB and is not read; the built-in texts are used instead";
    }

  private:
    static std::optional<std::string> readAll(int fd, off_t size) {
        std::string text;
        text.reserve(static_cast<std::size_t>(size));
        char buffer[64 * 1024];
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0) {
                return std::nullopt;
            }
            if (got == 0) {
                return text;
            }
            // A file that grows while read is cut at the limit; the next stamp differs.
            if (text.size() + static_cast<std::size_t>(got) > kMaxLanguageFileBytes) {
                return std::nullopt;
            }
            text.append(buffer, static_cast<std::size_t>(got));
        }
    }

    std::mutex mutex_;
    std::map<std::string, CacheEntry> entries_;
    std::size_t parses_ = 0;
};

LanguageCache& cache() {
    static LanguageCache instance;
    return instance;
}

}  // namespace

std::optional<std::string> languageValue(const std::filesystem::path& file,
                                         std::string_view section, std::string_view key) {
    const auto parsed = cache().get(file);
    if (!parsed) {
        return std::nullopt;
    }
    const auto found = parsed->sections.find(lowered(section));
    if (found == parsed->sections.end()) {
        return std::nullopt;
    }
    const auto value = found->second.find(lowered(key));
    if (value == found->second.end()) {
        return std::nullopt;
    }
    return value->second;
}

std::string languageString(const std::filesystem::path& file, std::string_view section,
                           std::string_view key, std::string_view defaultValue,
                           std::size_t bufferSize) {
    if (bufferSize == 0) {
        return {};
    }
    const auto value = languageValue(file, section, key);
    return cutToCharacters(value ? std::string_view(*value) : defaultValue, bufferSize - 1);
}

std::vector<std::string> languageListValues(const std::filesystem::path& file,
                                            std::string_view section, std::string_view keyPrefix,
                                            std::size_t maxEntries, std::size_t maxCharacters) {
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < maxEntries; ++i) {
        const auto value = languageValue(file, section, std::string(keyPrefix) + std::to_string(i));
        if (!value || value->empty()) {
            break;
        }
        entries.push_back(cutToCharacters(*value, maxCharacters));
    }
    return entries;
}

std::optional<std::string> languageFileRefusal(const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::uintmax_t>(info.st_size) <= kMaxLanguageFileBytes) {
        return std::nullopt;
    }
    return LanguageCache::refusalText(file);
}

std::size_t languageFileParseCount() {
    return cache().parses();
}

}  // namespace qzm
