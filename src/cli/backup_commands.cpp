// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/backup_commands.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "cli/exit_codes.h"
#include "cli/messages.h"
#include "platform/atomic_file.h"
#include "platform/settings.h"
#include "radio/data_file.h"
#include "safety/backup_settings.h"

namespace qzm::cli {
namespace {

Result<std::filesystem::path> backupFolder() {
    auto folder = BackupStore::defaultFolder();
    if (!folder) {
        return Error{"no folder for backups: neither XDG_DATA_HOME nor a home folder is known"};
    }
    return *folder;
}

// The band as the settings name it ("400-470"), else its limits in MHz.
std::string bandText(const RadioImage& image, const std::vector<std::string>& bandNames) {
    const auto index = static_cast<std::size_t>(image.bandIndex());
    if (index < bandNames.size() && !bandNames[index].empty()) {
        return bandNames[index];
    }
    const BandLimits limits = image.bandLimits();
    return std::to_string(limits.lower / 100'000) + "-" + std::to_string(limits.upper / 100'000) +
           " MHz";
}

int programmedChannels(const RadioImage& image) {
    int count = 0;
    for (int n = 1; n <= kChannelCount; ++n) {
        count += image.isRxEmpty(n) ? 0 : 1;
    }
    return count;
}

}  // namespace

Result<std::optional<BackupStore>> runBackupStore(const CliOptions& options,
                                                  const CliEnvironment& environment) {
    if (options.noBackup || !readBackupEnabled(environment.settingsPath)) {
        return std::optional<BackupStore>();
    }
    auto folder = backupFolder();
    if (!folder) {
        return folder.error();
    }
    return std::optional<BackupStore>(BackupStore::forRun(folder.value()));
}

namespace {

// The names `backups` last showed, in its order: a number means the file it stood
// for then, and only while the list is the same.
constexpr const char* kShownListName = ".shown-list";

std::string namesOf(const std::vector<BackupEntry>& backups) {
    std::string names;
    for (const auto& entry : backups) {
        names += entry.path.filename().string() + "\n";
    }
    return names;
}

// The list as shown; empty when none was (a file of a bounded size: names only).
std::string shownList(const std::filesystem::path& folder) {
    constexpr std::uintmax_t kLimit = 1 << 20;
    std::error_code error;
    const auto file = folder / kShownListName;
    if (!std::filesystem::is_regular_file(file, error) ||
        std::filesystem::file_size(file, error) > kLimit || error) {
        return {};
    }
    std::string text;
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return {};
    }
    char buffer[4096];
    ssize_t n = 0;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0 && text.size() < kLimit) {
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return text;
}

std::string notComplete(const BackupEntry& entry) {
    return entry.path.filename().string() +
           " is not a complete data file (a backup cut short); it is not restored";
}

// A bare backup name ("2026-12-08_14-05-33-read.836") of the folder.
std::optional<BackupEntry> namedBackup(const std::vector<BackupEntry>& backups,
                                       const std::string& name) {
    if (name.find('/') != std::string::npos) {
        return std::nullopt;
    }
    for (const auto& entry : backups) {
        if (entry.path.filename() == name) {
            return entry;
        }
    }
    return std::nullopt;
}

}  // namespace

Result<std::string> restoreSource(const CliOptions& options) {
    const auto folder = backupFolder();
    const auto backups = folder ? BackupStore(folder.value()).list() : std::vector<BackupEntry>{};
    if (options.operands.empty()) {
        if (!folder) {
            return folder.error();
        }
        // The newest backup of a radio's memory that is whole.  Copies taken before a
        // restore are left out: after a failed restore the newest would be the data
        // that restore meant to replace.
        for (const auto& entry : backups) {
            if (entry.kind == BackupKind::BeforeRestore) {
                continue;
            }
            if (!entry.complete) {
                printError("skipping " + notComplete(entry));
                continue;
            }
            return entry.path.string();
        }
        return Error{"there is no backup to restore in " + folder.value().string() +
                     " (copies taken before a restore are restored only by name)"};
    }
    const std::string operand = options.operands[0];
    if (auto named = namedBackup(backups, operand)) {
        if (!named->complete) {
            return Error{notComplete(*named)};
        }
        return named->path.string();
    }
    std::size_t number = 0;
    const auto [end, parseError] =
        std::from_chars(operand.data(), operand.data() + operand.size(), number);
    if (parseError != std::errc{} || end != operand.data() + operand.size()) {
        return operand;  // a file name
    }
    if (!folder) {
        return folder.error();
    }
    if (number < 1 || number > backups.size()) {
        return Error{backups.empty() ? "there are no backups in " + folder.value().string()
                                     : "there is no backup number " + operand + " (1 to " +
                                           std::to_string(backups.size()) + ", see '" +
                                           kProgramName + " backups')"};
    }
    const BackupEntry& entry = backups[number - 1];
    // A station writing into the folder moves the numbers with every radio: a number
    // is only taken while the list is the one `backups` showed.
    const std::string shown = shownList(folder.value());
    if (shown != namesOf(backups)) {
        const std::string listCommand = "'" + std::string(kProgramName) + " backups'";
        return Error{(shown.empty()
                          ? "a number is taken only from the list " + listCommand + " shows; "
                          : "the backups have changed since " + listCommand +
                                " listed them, so number " + operand + " may mean another file; ") +
                     "restore by name (number " + operand + " is now " +
                     entry.path.filename().string() + "), or list them again"};
    }
    if (!entry.complete) {
        return Error{notComplete(entry)};
    }
    return entry.path.string();
}

int runBackupsCommand(const CliEnvironment& environment) {
    const auto found = backupFolder();
    if (!found) {
        printError(found.error().text);
        return kExitFileError;
    }
    const std::filesystem::path& folder = found.value();
    std::error_code statusError;
    const auto status = std::filesystem::status(folder, statusError);
    if (std::filesystem::exists(status) && !std::filesystem::is_directory(status)) {
        printError(folder.string() + " is not a folder, so no backup can be kept or found there");
        return kExitFileError;
    }
    if (std::filesystem::exists(status) && ::access(folder.c_str(), R_OK | X_OK) != 0) {
        printError(fileFailure("Cannot read the folder", folder, errno).text);
        return kExitFileError;
    }
    const auto backups = BackupStore(folder).list();
    if (backups.empty()) {
        std::printf("No backups in %s\n", folder.c_str());
    } else {
        const auto bandNames = readBandNames(environment.settingsPath);
        std::printf("Backups in %s, newest first (restore takes the number or the name):\n",
                    folder.c_str());
        std::printf("%4s  %-19s  %-12s  %-12s  %s\n", "N", "DATE", "KIND", "BAND", "CHANNELS");
        for (std::size_t i = 0; i < backups.size(); ++i) {
            const BackupEntry& entry = backups[i];
            std::string kind(backupKindName(entry.kind));
            if (!entry.tag.empty()) {
                kind += " " + entry.tag;
            }
            const LoadedDataFile loaded = loadDataFile(entry.path);
            std::string band;
            std::string channels;
            if (loaded.status == LoadStatus::Loaded && entry.complete) {
                band = bandText(loaded.contents.image, bandNames);
                channels = std::to_string(programmedChannels(loaded.contents.image));
            } else {
                band = "-";
                channels = loaded.status == LoadStatus::FileError
                               ? "(" + loaded.errorText + ")"
                               : "(incomplete: cannot be restored)";
            }
            std::printf("%4zu  %-19s  %-12s  %-12s  %s\n      %s\n", i + 1,
                        entry.displayTime().c_str(), kind.c_str(), band.c_str(), channels.c_str(),
                        entry.path.filename().c_str());
        }
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        // A reader that went away on purpose (| head) needs no message; a full disk does.
        if (errno != EPIPE) {
            printError(std::string("the list could not be written to standard output: ") +
                       std::strerror(errno));
        }
        return kExitFileError;
    }
    if (!backups.empty()) {
        const Status remembered = writeFileAtomically(folder / kShownListName, namesOf(backups));
        if (!remembered.ok()) {
            printError("warning: " + remembered.error().text +
                       "; restore the backups by name, their numbers cannot be checked");
        }
    }
    return kExitSuccess;
}

}  // namespace qzm::cli
