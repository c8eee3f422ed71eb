#include "cli/backup_commands.h"

#include <charconv>
#include <cstdio>

#include "cli/exit_codes.h"
#include "cli/messages.h"
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
    return BackupStore(*folder);
}

std::optional<std::string> restoreSource(const CliOptions& options, std::string& error) {
    const std::string operand = options.operands.empty() ? "1" : options.operands[0];
    std::size_t number = 0;
    const auto [end, parseError] =
        std::from_chars(operand.data(), operand.data() + operand.size(), number);
    if (parseError != std::errc{} || end != operand.data() + operand.size()) {
        return operand;  // a file name
    }
    auto folder = backupFolder(error);
    if (!folder) {
        return std::nullopt;
    }
    const auto backups = BackupStore(*folder).list();
    if (number < 1 || number > backups.size()) {
        error = backups.empty()
                    ? "there are no backups in " + folder->string()
                    : "there is no backup number " + operand + " (1 to " +
                          std::to_string(backups.size()) + ", see '" + kProgramName + " backups')";
        return std::nullopt;
    }
    return backups[number - 1].path.string();
}

int runBackupsCommand(const CliEnvironment& environment) {
    std::string error;
    auto folder = backupFolder(error);
    if (!folder) {
        printError(error);
        return kExitFileError;
    }
    const auto backups = BackupStore(*folder).list();
    if (backups.empty()) {
        std::printf("No backups in %s\n", folder->c_str());
        return kExitSuccess;
    }
    const auto bandNames = readBandNames(environment.settingsPath);
    std::printf("Backups in %s, newest first:\n", folder->c_str());
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
        if (loaded.status == LoadStatus::Loaded) {
            band = bandText(loaded.contents.image, bandNames);
            channels = std::to_string(programmedChannels(loaded.contents.image));
        } else {
            band = "-";
            channels = loaded.status == LoadStatus::NotADataFile ? "(not a data file)"
                                                                 : "(" + loaded.errorText + ")";
        }
        std::printf("%4zu  %-19s  %-12s  %-12s  %s\n", i + 1, entry.displayTime().c_str(),
                    kind.c_str(), band.c_str(), channels.c_str());
    }
    return std::fflush(stdout) == 0 ? kExitSuccess : kExitFileError;
}

}  // namespace qzm::cli
