// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "platform/file_error_text.h"
#include "platform/text_source.h"
#include "safety/backup_store.h"

namespace qzm {

// One backup as the Open Backup list shows it: what its name says and what
// its file holds.
struct BackupListing {
    BackupEntry entry;
    int bandIndex = -1;          // the band list's row; -1 when the file cannot be read
    int programmedChannels = 0;  // channels with a receive frequency
    // Why the file cannot be opened, in the language behind the texts; empty
    // when it can.
    std::string problem;

    bool canOpen() const { return problem.empty(); }
};

// The backups of the store, newest first, each read to say what it holds.  A
// backup that cannot be read stays in the list with its reason.
std::vector<BackupListing> listBackups(const BackupStore& store, const TextSource& texts);

// What one backup file holds (the part of listBackups that reads a file).
BackupListing describeBackup(const BackupEntry& entry, const TextSource& texts);

// The language key that names a backup's kind.
const char* backupKindKey(BackupKind kind);

}  // namespace qzm
