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

std::optional<std::filesystem::path> backupFolder(std::string& error) {
    auto folder = BackupStore::defaultFolder();
    if (!folder) {
        error = "no folder for backups: neither XDG_DATA_HOME nor a home folder is known";
    }
    return folder;
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

std::optional<BackupStore> runBackupStore(const CliOptions& options,
                                          const CliEnvironment& environment, std::string& error) {
    error.clear();
    if (options.noBackup || !readBackupEnabled(environment.settingsPath)) {
        return std::nullopt;
    }
    auto folder = backupFolder(error);
    if (!folder) {
        return std::nullopt;
    }
    return BackupStore::forRun(*folder);
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

std::optional<std::string> restoreSource(const CliOptions& options, std::string& error) {
    auto folder = backupFolder(error);
    const auto backups = folder ? BackupStore(*folder).list() : std::vector<BackupEntry>{};
    if (options.operands.empty()) {
        if (!folder) {
            return std::nullopt;
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
        error = "there is no backup to restore in " + folder->string() +
                " (copies taken before a restore are restored only by name)";
        return std::nullopt;
    }
    const std::string operand = options.operands[0];
    if (auto named = namedBackup(backups, operand)) {
        if (!named->complete) {
            error = notComplete(*named);
            return std::nullopt;
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
        return std::nullopt;
    }
    if (number < 1 || number > backups.size()) {
        error = backups.empty()
                    ? "there are no backups in " + folder->string()
                    : "there is no backup number " + operand + " (1 to " +
                          std::to_string(backups.size()) + ", see '" + kProgramName + " backups')";
        return std::nullopt;
    }
    const BackupEntry& entry = backups[number - 1];
    // A station writing into the folder moves the numbers with every radio: a number
    // is only taken while the list is the one `backups` showed.
    const std::string shown = shownList(*folder);
    if (shown != namesOf(backups)) {
        const std::string listCommand = "'" + std::string(kProgramName) + " backups'";
        error = (shown.empty()
                     ? "a number is taken only from the list " + listCommand + " shows; "
                     : "the backups have changed since " + listCommand +
                           " listed them, so number " + operand + " may mean another file; ") +
                "restore by name (number " + operand + " is now " + entry.path.filename().string() +
                "), or list them again";
        return std::nullopt;
    }
    if (!entry.complete) {
        error = notComplete(entry);
        return std::nullopt;
    }
    return entry.path.string();
}

int runBackupsCommand(const CliEnvironment& environment) {
    std::string error;
    auto folder = backupFolder(error);
    if (!folder) {
        printError(error);
        return kExitFileError;
    }
    std::error_code statusError;
    const auto status = std::filesystem::status(*folder, statusError);
    if (std::filesystem::exists(status) && !std::filesystem::is_directory(status)) {
        printError(folder->string() + " is not a folder, so no backup can be kept or found there");
        return kExitFileError;
    }
    if (std::filesystem::exists(status) && ::access(folder->c_str(), R_OK | X_OK) != 0) {
        printError(fileFailure("Cannot read the folder", *folder, errno).errorText);
        return kExitFileError;
    }
    const auto backups = BackupStore(*folder).list();
    if (backups.empty()) {
        std::printf("No backups in %s\n", folder->c_str());
    } else {
        const auto bandNames = readBandNames(environment.settingsPath);
        std::printf("Backups in %s, newest first (restore takes the number or the name):\n",
                    folder->c_str());
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
        const FileResult remembered =
            writeFileAtomically(*folder / kShownListName, namesOf(backups));
        if (!remembered.ok) {
            printError("warning: " + remembered.errorText +
                       "; restore the backups by name, their numbers cannot be checked");
        }
    }
    return kExitSuccess;
}

}  // namespace qzm::cli
