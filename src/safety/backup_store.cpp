// SPDX-License-Identifier: GPL-3.0-or-later
#include "safety/backup_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <set>

#include "platform/user_data_dir.h"
#include "radio/data_file.h"

namespace qzm {
namespace {

constexpr std::string_view kExtension = ".836";
constexpr std::size_t kStampLength = 19;  // "2026-12-08_14-05-33"
constexpr int kMaxSequence = 1000;
constexpr BackupKind kKinds[] = {BackupKind::Read, BackupKind::BeforeWrite,
                                 BackupKind::BeforeRestore};
// Content on its way into the folder; never a backup's name, so never listed or pruned.
constexpr std::string_view kIncomingPrefix = ".incoming-";
// A temporary file this old was left by a run that was killed; a part-written one
// holds nothing that could be restored.
constexpr auto kStaleIncoming = std::chrono::hours(1);

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
Status makeFolder(const std::filesystem::path& folder) {
    std::error_code error;
    if (std::filesystem::is_directory(folder, error)) {
        return {};
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
    return {};
}

// Writes all of `bytes` to a new temporary file in `folder`, synced; its path.
Status writeIncoming(const std::filesystem::path& folder, const std::vector<std::uint8_t>& bytes,
                     std::filesystem::path& incoming) {
    std::string pattern = (folder / (std::string(kIncomingPrefix) + "XXXXXX")).string();
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        return fileFailure("Cannot create", folder / kIncomingPrefix, errno);
    }
    incoming = pattern;
    std::size_t done = 0;
    int error = 0;
    while (done < bytes.size() && error == 0) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno != EINTR) {
            error = errno;
        } else if (n == 0) {
            error = ENOSPC;
        }
    }
    if (error == 0 && ::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(incoming.c_str());
        return fileFailure("Cannot write", incoming, error);
    }
    return {};
}

// Gives `incoming` the name `target` unless that exists (EEXIST then).  A hard link
// leaves the temporary name to be removed; where the file system has none, a rename
// that refuses to replace moves it.
int nameWithoutReplacing(const std::filesystem::path& incoming, const std::filesystem::path& target,
                         bool& moved) {
    moved = false;
    if (::link(incoming.c_str(), target.c_str()) == 0) {
        return 0;
    }
    const int linkError = errno;
    if (linkError == EEXIST) {
        return EEXIST;
    }
    if (::renameat2(AT_FDCWD, incoming.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
        moved = true;
        return 0;
    }
    return errno == EINVAL || errno == ENOSYS ? linkError : errno;
}

// Part-written temporary files of runs killed before they could remove them.
void removeStaleIncoming(const std::filesystem::path& folder) {
    std::error_code error;
    const auto limit = std::filesystem::file_time_type::clock::now() - kStaleIncoming;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code statError;
        if (!it->path().filename().string().starts_with(kIncomingPrefix) ||
            !it->is_regular_file(statError) || it->is_symlink(statError)) {
            continue;
        }
        struct stat info {};
        // Only a part-written one: a whole one may be the last copy of a radio's memory.
        if (::lstat(it->path().c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            info.st_uid == ::geteuid() && static_cast<std::size_t>(info.st_size) < kDataFileSize &&
            it->last_write_time(statError) < limit && !statError) {
            ::unlink(it->path().c_str());
        }
    }
}

void syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

// The files one run's store and its copies wrote.
struct BackupStore::RunRecord {
    std::mutex mutex;
    std::vector<std::filesystem::path> written;
};

BackupStore BackupStore::forRun(std::filesystem::path folder) {
    BackupStore store(std::move(folder));
    store.run_ = std::make_shared<RunRecord>();
    return store;
}

std::string_view backupKindName(BackupKind kind) {
    switch (kind) {
        case BackupKind::Read:
            return "read";
        case BackupKind::BeforeWrite:
            return "before-write";
        case BackupKind::BeforeRestore:
            return "before-restore";
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
    if (!stored.result.ok()) {
        return stored;
    }
    removeStaleIncoming(folder_);
    // The content is complete on disk before any backup name points at it, so a kill
    // at any moment leaves either no backup or a whole one.
    std::filesystem::path incoming;
    stored.result = writeIncoming(folder_, encodeDataFile(header, image), incoming);
    if (!stored.result.ok()) {
        return stored;
    }
    const std::string stamp = backupStamp(when);
    std::filesystem::path file;
    bool moved = false;
    for (int sequence = 1;; ++sequence) {
        file = folder_ / backupFileName(stamp, kind, tag, sequence);
        const int error = nameWithoutReplacing(incoming, file, moved);
        if (error == 0) {
            break;
        }
        if (error != EEXIST || sequence >= kMaxSequence) {
            ::unlink(incoming.c_str());
            stored.result = fileFailure("Cannot create", file, error);
            return stored;
        }
    }
    if (!moved) {
        ::unlink(incoming.c_str());
    }
    syncFolder(folder_);
    stored.path = file;
    std::vector<std::filesystem::path> spared{file};
    if (run_) {
        std::lock_guard lock(run_->mutex);
        run_->written.push_back(file);
        spared = run_->written;
    }
    prune(kBackupsKept, std::chrono::system_clock::now(), spared);
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
        auto entry = parseBackupFileName(it->path());
        struct stat info {};
        // Links are never backups: neither listed nor followed.
        if (!entry || ::lstat(it->path().c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
            continue;
        }
        std::error_code timeError;
        entry->modified = it->last_write_time(timeError);
        entry->owned = info.st_uid == ::geteuid();
        const FileBytes bytes = readDataFileBytes(it->path());
        entry->complete = bytes.result.ok() && classifyDataFile(bytes.bytes) == DataFileKind::Ours;
        entries.push_back(std::move(*entry));
    }
    std::sort(entries.begin(), entries.end(), newerFirst);
    return entries;
}

std::vector<std::filesystem::path> BackupStore::prune(
    std::size_t keep, std::chrono::system_clock::time_point now,
    const std::vector<std::filesystem::path>& spared) const {
    std::vector<std::filesystem::path> removed;
    std::set<std::string> daysKept;
    // Names compare as times: a name from the window of recent days or later (a clock
    // that was ahead, or went back since) is recent.
    const std::string recentFrom = backupStamp(now - std::chrono::hours(24 * kBackupsKeptDays));
    const auto fileNow = std::filesystem::file_time_type::clock::from_sys(now);
    std::size_t kept = 0;
    for (const BackupEntry& entry : list()) {
        if (!entry.owned || !entry.complete) {
            continue;  // not ours to judge: neither counted nor touched
        }
        const bool firstOfDay = daysKept.insert(entry.day()).second;
        const bool recent = entry.stamp >= recentFrom || entry.modified > fileNow;
        const bool isSpared = std::find(spared.begin(), spared.end(), entry.path) != spared.end();
        if (recent || isSpared || kept < keep || firstOfDay) {
            ++kept;
            continue;
        }
        // Looked at again just before removing: only a regular file, never a link.
        struct stat info {};
        if (::lstat(entry.path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
            info.st_uid != ::geteuid()) {
            continue;
        }
        if (::unlink(entry.path.c_str()) == 0) {
            removed.push_back(entry.path);
        }
    }
    return removed;
}

}  // namespace qzm
