#include "safety/backup_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <ctime>
#include <set>

#include "platform/user_data_dir.h"
#include "radio/data_file.h"

namespace qzm {
namespace {

constexpr std::string_view kExtension = ".836";
constexpr std::size_t kStampLength = 19;  // "2026-12-08_14-05-33"
constexpr int kMaxSequence = 1000;
constexpr BackupKind kKinds[] = {BackupKind::Read, BackupKind::BeforeWrite};

bool isStamp(std::string_view text) {
    if (text.size() != kStampLength) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool separator = i == 4 || i == 7 || i == 10 || i == 13 || i == 16;
        const char expected = i == 10 ? '_' : '-';
        if (separator ? c != expected : !std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

std::string cleanTag(std::string_view tag) {
    std::string clean(tag);
    for (char& c : clean) {
        const auto u = static_cast<unsigned char>(c);
        if (!std::isalnum(u) || u >= 0x80) {
            c = c == '-' ? '-' : '_';
        }
    }
    return clean;
}

// Newest first: by the time in the name, then by the moment of writing.
bool newerFirst(const BackupEntry& a, const BackupEntry& b) {
    if (a.stamp != b.stamp) {
        return a.stamp > b.stamp;
    }
    if (a.modified != b.modified) {
        return a.modified > b.modified;
    }
    if (a.sequence != b.sequence) {
        return a.sequence > b.sequence;
    }
    return a.path.filename() > b.path.filename();
}

// Creates the folder and any missing parents; the last level only for the user.
FileResult makeFolder(const std::filesystem::path& folder) {
    std::error_code error;
    if (std::filesystem::is_directory(folder, error)) {
        return {true, {}, {}};
    }
    if (folder.has_parent_path()) {
        std::filesystem::create_directories(folder.parent_path(), error);
        if (error) {
            return fileFailure("Cannot create the folder", folder.parent_path(), error.value());
        }
    }
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return fileFailure("Cannot create the folder", folder, errno);
    }
    if (!std::filesystem::is_directory(folder, error)) {
        return fileFailure("Cannot create the folder", folder, ENOTDIR);
    }
    return {true, {}, {}};
}

}  // namespace

std::string_view backupKindName(BackupKind kind) {
    switch (kind) {
        case BackupKind::Read:
            return "read";
        case BackupKind::BeforeWrite:
            return "before-write";
    }
    return "read";
}

std::string BackupEntry::displayTime() const {
    std::string text = stamp;
    if (text.size() == kStampLength) {
        text[10] = ' ';
        text[13] = ':';
        text[16] = ':';
    }
    return text;
}

std::string backupFileName(std::string_view stamp, BackupKind kind, std::string_view tag,
                           int sequence) {
    std::string name(stamp);
    name += '-';
    name += backupKindName(kind);
    if (!tag.empty()) {
        name += '-';
        name += cleanTag(tag);
    }
    if (sequence > 1) {
        name += '.' + std::to_string(sequence);
    }
    name += kExtension;
    return name;
}

std::optional<BackupEntry> parseBackupFileName(const std::filesystem::path& file) {
    std::string name = file.filename().string();
    if (!name.ends_with(kExtension)) {
        return std::nullopt;
    }
    name.resize(name.size() - kExtension.size());
    BackupEntry entry;
    entry.path = file;
    const auto dot = name.rfind('.');
    if (dot != std::string::npos) {
        const std::string_view digits = std::string_view(name).substr(dot + 1);
        int sequence = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), sequence);
        if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size() ||
            sequence < 2) {
            return std::nullopt;
        }
        entry.sequence = sequence;
        name.resize(dot);
    }
    if (name.size() < kStampLength + 2 ||
        !isStamp(std::string_view(name).substr(0, kStampLength)) || name[kStampLength] != '-') {
        return std::nullopt;
    }
    entry.stamp = name.substr(0, kStampLength);
    const std::string_view rest = std::string_view(name).substr(kStampLength + 1);
    // The longest kind name that fits, so "before-write" is not read as a tag.
    std::optional<BackupKind> kind;
    std::size_t kindLength = 0;
    for (const BackupKind candidate : kKinds) {
        const std::string_view word = backupKindName(candidate);
        if (word.size() > kindLength && rest.starts_with(word) &&
            (rest.size() == word.size() || rest[word.size()] == '-')) {
            kind = candidate;
            kindLength = word.size();
        }
    }
    if (!kind) {
        return std::nullopt;
    }
    entry.kind = *kind;
    if (rest.size() > kindLength) {
        entry.tag = std::string(rest.substr(kindLength + 1));
        if (entry.tag.empty()) {
            return std::nullopt;
        }
    }
    return entry;
}

std::string backupStamp(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    if (::localtime_r(&seconds, &local) == nullptr) {
        return "0000-00-00_00-00-00";
    }
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y-%m-%d_%H-%M-%S", &local);
    return text;
}

std::optional<std::filesystem::path> BackupStore::defaultFolder() {
    auto data = userDataDir();
    if (!data) {
        return std::nullopt;
    }
    return *data / "backups";
}

StoredBackup BackupStore::store(const FileHeader& header, const RadioImage& image, BackupKind kind,
                                std::string_view tag,
                                std::chrono::system_clock::time_point when) const {
    StoredBackup stored;
    stored.result = makeFolder(folder_);
    if (!stored.result.ok) {
        return stored;
    }
    const std::string stamp = backupStamp(when);
    // The name is reserved by creating it exclusively, so two programs storing in the
    // same second never replace each other's file; the content then replaces the
    // empty reservation atomically.
    std::filesystem::path file;
    for (int sequence = 1;; ++sequence) {
        file = folder_ / backupFileName(stamp, kind, tag, sequence);
        const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            break;
        }
        if (errno != EEXIST || sequence >= kMaxSequence) {
            stored.result = fileFailure("Cannot create", file, errno);
            return stored;
        }
    }
    stored.result = storeDataFile(file, header, image);
    if (!stored.result.ok) {
        ::unlink(file.c_str());
        return stored;
    }
    stored.path = file;
    prune();
    return stored;
}

StoredBackup BackupStore::store(const RadioImage& image, BackupKind kind,
                                std::string_view tag) const {
    FileHeader header;
    header.writeMagic();
    return store(header, image, kind, tag);
}

std::vector<BackupEntry> BackupStore::list() const {
    std::vector<BackupEntry> entries;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder_, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) {
            continue;
        }
        if (auto entry = parseBackupFileName(it->path())) {
            entry->modified = it->last_write_time(typeError);
            entries.push_back(std::move(*entry));
        }
    }
    std::sort(entries.begin(), entries.end(), newerFirst);
    return entries;
}

std::vector<std::filesystem::path> BackupStore::prune(std::size_t keep) const {
    std::vector<std::filesystem::path> removed;
    std::set<std::string> daysKept;
    const auto entries = list();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const BackupEntry& entry = entries[i];
        const bool firstOfDay = daysKept.insert(entry.day()).second;
        if (i < keep || firstOfDay) {
            continue;
        }
        std::error_code error;
        if (std::filesystem::remove(entry.path, error)) {
            removed.push_back(entry.path);
        }
    }
    return removed;
}

}  // namespace qzm
