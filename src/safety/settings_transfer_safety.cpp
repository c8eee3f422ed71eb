#include "safety/settings_transfer_safety.h"

#include "lang/text_lookup.h"
#include "safety/backup_settings.h"
#include "safety/backup_store.h"
#include "safety/transfer_backups.h"

namespace qzm {

SettingsTransferSafety::SettingsTransferSafety(std::filesystem::path settings)
    : settings_(std::move(settings)) {}

SettingsTransferSafety::~SettingsTransferSafety() = default;

bool SettingsTransferSafety::verifyAfterWrite() const {
    return readVerifyAfterWrite(settings_);
}

void SettingsTransferSafety::rememberVerifyAfterWrite(bool verify) {
    writeVerifyAfterWrite(verify, settings_);
}

Status SettingsTransferSafety::armWrite(TransferJob& job) {
    beforeWrite_.reset();
    if (!readBackupEnabled(settings_)) {
        return {};
    }
    const auto folder = BackupStore::defaultFolder();
    if (!folder) {
        return Error{lookupText("IDS_BACKUP_NOT_STORED") + lookupText("IDS_BACKUP_NO_FOLDER")};
    }
    beforeWrite_ = backUpBeforeWrite(job, BackupStore(*folder));
    return {};
}

std::string SettingsTransferSafety::beforeWriteProblem() const {
    return beforeWrite_ ? beforeWrite_->result.errorText : std::string();
}

Status SettingsTransferSafety::keepRead(const FileHeader& header, const RadioImage& image) {
    if (!readBackupEnabled(settings_)) {
        return {};
    }
    const auto folder = BackupStore::defaultFolder();
    if (!folder) {
        return Error{lookupText("IDS_BACKUP_NO_FOLDER")};
    }
    const StoredBackup stored = BackupStore(*folder).store(header, image, BackupKind::Read);
    if (!stored.result.ok) {
        return Error{stored.result.errorText};
    }
    return {};
}

}  // namespace qzm
