#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/atomic_file.h"
#include "radio/file_header.h"
#include "radio/radio_image.h"

namespace qzm {

// Why a backup was taken; part of its file name.
enum class BackupKind {
    Read,         // "read": the image of a successful read
    BeforeWrite,  // "before-write": the radio's memory just before a write
};

std::string_view backupKindName(BackupKind kind);

// How many backups the folder keeps (plus the newest one of every older day).
inline constexpr std::size_t kBackupsKept = 200;

// One backup file, as its name describes it.
struct BackupEntry {
    std::filesystem::path path;
    std::string stamp;  // local date and time, "2026-12-08_14-05-33"
    BackupKind kind = BackupKind::Read;
    std::string tag;   // optional, e.g. a port or a radio's identification; may be empty
    int sequence = 1;  // 2, 3, ... for further backups of the same second, kind and tag
    // When the file was written: orders the backups of one second (list() only).
    std::filesystem::file_time_type modified{};

    std::string day() const { return stamp.substr(0, 10); }
    // "2026-12-08 14:05:33"
    std::string displayTime() const;
};

struct StoredBackup {
    FileResult result;
    std::filesystem::path path;  // the new file, when result.ok
};

// The name of a backup file: "<stamp>-<kind>[-<tag>][.<sequence>].836".  The tag keeps
// letters, digits, '-' and '_'; any other character becomes '_'.
std::string backupFileName(std::string_view stamp, BackupKind kind, std::string_view tag,
                           int sequence = 1);
// The parts of a backup file name; nothing for a name of another form.
std::optional<BackupEntry> parseBackupFileName(const std::filesystem::path& file);
// A point in time as the local "YYYY-MM-DD_hh-mm-ss" of backup names.
std::string backupStamp(std::chrono::system_clock::time_point when);

// The folder of automatic backups: complete ".836" files, never replaced, the oldest
// removed beyond kBackupsKept.  Files of other names in the folder are left alone.
// Every call works on the folder as it is now (nothing is cached), so the window, the
// command line and a transfer worker may use stores of the same folder at once.
class BackupStore {
  public:
    explicit BackupStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

    // <user data folder>/backups; nothing when no home folder is known.
    static std::optional<std::filesystem::path> defaultFolder();

    const std::filesystem::path& folder() const { return folder_; }

    // Stores header and image as a new file named by `when` (local time), kind and tag,
    // creating the folder (private to the user) when needed, then prunes.  An existing
    // file is never replaced: a second backup within the same second gets a sequence.
    StoredBackup store(
        const FileHeader& header, const RadioImage& image, BackupKind kind,
        std::string_view tag = {},
        std::chrono::system_clock::time_point when = std::chrono::system_clock::now()) const;
    // The same under the standard header.
    StoredBackup store(const RadioImage& image, BackupKind kind, std::string_view tag = {}) const;

    // The backups, newest first; an empty list when the folder does not exist.
    std::vector<BackupEntry> list() const;

    // Removes backups beyond the newest `keep`, but never the newest one of a day; the
    // files removed.
    std::vector<std::filesystem::path> prune(std::size_t keep = kBackupsKept) const;

  private:
    std::filesystem::path folder_;
};

}  // namespace qzm
