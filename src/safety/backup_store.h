// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <memory>
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
    // "before-restore": the radio's memory just before a restore wrote a backup back.  A
    // plain restore never picks one, so a retried restore writes what the first meant to.
    BeforeRestore,
};

std::string_view backupKindName(BackupKind kind);

// How many backups the folder keeps (plus the newest one of every older day, and every
// backup of the last kBackupsKeptDays days, however many).
inline constexpr std::size_t kBackupsKept = 200;
inline constexpr int kBackupsKeptDays = 7;

// One backup file, as its name describes it.
struct BackupEntry {
    std::filesystem::path path;
    std::string stamp;  // local date and time, "2026-12-08_14-05-33"
    BackupKind kind = BackupKind::Read;
    std::string tag;   // optional, e.g. a port or a radio's identification; may be empty
    int sequence = 1;  // 2, 3, ... for further backups of the same second, kind and tag
    // When the file was written: orders the backups of one second (list() only).
    std::filesystem::file_time_type modified{};
    // list() only: the whole of a data file is there (a restore may use it), and the
    // file belongs to the user (pruning may remove it).
    bool complete = false;
    bool owned = false;

    std::string day() const { return stamp.substr(0, 10); }
    // "2026-12-08 14:05:33"
    std::string displayTime() const;
};

struct StoredBackup {
    Status result;
    std::filesystem::path path;  // the new file, when result.ok()
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
// removed beyond kBackupsKept.  Files of other names in the folder, links, other users'
// files and files that do not hold a data file are left alone.  A backup appears under
// its name only once all of it is on disk.  Every call works on the folder as it is now
// (nothing is cached), so the window, the command line and a transfer worker may use
// stores of the same folder at once.
class BackupStore {
  public:
    explicit BackupStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

    // A store for one run of the program (a clone, a station): the pruning after each
    // backup never removes a file that this store or a copy of it wrote, whatever the
    // clock says.
    static BackupStore forRun(std::filesystem::path folder);

    // <user data folder>/backups; nothing when no home folder is known.
    static std::optional<std::filesystem::path> defaultFolder();

    const std::filesystem::path& folder() const { return folder_; }

    // Stores header and image as a new file named by `when` (local time), kind and tag,
    // creating the folder (private to the user) when needed, then prunes (never the new
    // file).  The content is written and synced under a temporary name first, then
    // given its final name without replacing: an existing file is never replaced, a
    // second backup within the same second gets a sequence, and a run killed half-way
    // leaves no file under a backup's name.
    StoredBackup store(
        const FileHeader& header, const RadioImage& image, BackupKind kind,
        std::string_view tag = {},
        std::chrono::system_clock::time_point when = std::chrono::system_clock::now()) const;
    // The same under the standard header.
    StoredBackup store(const RadioImage& image, BackupKind kind, std::string_view tag = {}) const;

    // The backups, newest first; an empty list when the folder does not exist.
    std::vector<BackupEntry> list() const;

    // Removes backups beyond the newest `keep`, but never the newest one of a day, one
    // named within the last kBackupsKeptDays days or later than `now`, one modified
    // later than `now` (a clock that went back), one of `spared`, nor anything but a
    // complete data file that is a regular file of the user's own; the files removed.
    std::vector<std::filesystem::path> prune(
        std::size_t keep = kBackupsKept,
        std::chrono::system_clock::time_point now = std::chrono::system_clock::now(),
        const std::vector<std::filesystem::path>& spared = {}) const;

  private:
    struct RunRecord;

    std::filesystem::path folder_;
    std::shared_ptr<RunRecord> run_;  // forRun() only
};

}  // namespace qzm
