// SPDX-License-Identifier: GPL-3.0-or-later
#include "safety/backup_listing.h"

#include "radio/data_file.h"

namespace qzm {

BackupListing describeBackup(const BackupEntry& entry, const TextSource& texts) {
    BackupListing listing;
    listing.entry = entry;
    const FileBytes read = readDataFileBytes(entry.path);
    if (!read.result.ok()) {
        listing.problem = fileErrorText(read.result, texts);
        return listing;
    }
    switch (classifyDataFile(read.bytes)) {
        case DataFileKind::Incomplete:
            listing.problem = texts("IDS_BACKUP_CUT_SHORT");
            return listing;
        case DataFileKind::Foreign:
            listing.problem = texts("IDS_BACKUP_NOT_DATA");
            return listing;
        case DataFileKind::Ours:
            break;
    }
    const auto contents = decodeDataFile(read.bytes);
    if (!contents) {
        listing.problem = texts("IDS_BACKUP_NOT_DATA");
        return listing;
    }
    listing.bandIndex = contents->image.bandIndex();
    for (int n = 1; n <= kChannelCount; ++n) {
        listing.programmedChannels += contents->image.isRxEmpty(n) ? 0 : 1;
    }
    return listing;
}

std::vector<BackupListing> listBackups(const BackupStore& store, const TextSource& texts) {
    std::vector<BackupListing> listings;
    for (const BackupEntry& entry : store.list()) {
        listings.push_back(describeBackup(entry, texts));
    }
    return listings;
}

const char* backupKindKey(BackupKind kind) {
    switch (kind) {
        case BackupKind::Read:
            return "IDS_BACKUP_KIND_READ";
        case BackupKind::BeforeWrite:
            return "IDS_BACKUP_KIND_BEFORE_WRITE";
        case BackupKind::BeforeRestore:
            return "IDS_BACKUP_KIND_BEFORE_RESTORE";
    }
    return "IDS_BACKUP_KIND_READ";
}

}  // namespace qzm
