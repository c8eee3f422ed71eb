// SPDX-License-Identifier: GPL-3.0-or-later
#include "safety/settings_transfer_safety.h"

#include "lang/text_lookup.h"
#include "platform/file_error_text.h"
#include "safety/backup_settings.h"
#include "safety/backup_store.h"
#include "safety/transfer_backups.h"

namespace qzm {

// Without a source of its own it speaks the current language rather than fail.
SettingsTransferSafety::SettingsTransferSafety(std::filesystem::path settings, TextSource texts)
    : settings_(std::move(settings)), texts_(texts ? std::move(texts) : currentLanguageTexts()) {}

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
        return Error{texts_("IDS_BACKUP_NOT_STORED") + texts_("IDS_BACKUP_NO_FOLDER")};
    }
    beforeWrite_ = backUpBeforeWrite(job, BackupStore(*folder));
    return {};
}

std::string SettingsTransferSafety::beforeWriteProblem() const {
    // The system's own text never stands alone.
    return beforeWrite_ ? fileErrorText(beforeWrite_->result, texts_) : std::string();
}

std::filesystem::path SettingsTransferSafety::beforeWritePath() const {
    return beforeWrite_ && beforeWrite_->result.ok() ? beforeWrite_->path : std::filesystem::path();
}

Status SettingsTransferSafety::keepRead(const FileHeader& header, const RadioImage& image) {
    if (!readBackupEnabled(settings_)) {
        return {};
    }
    const auto folder = BackupStore::defaultFolder();
    if (!folder) {
        return Error{texts_("IDS_BACKUP_NO_FOLDER")};
    }
    const StoredBackup stored = BackupStore(*folder).store(header, image, BackupKind::Read);
    if (!stored.result.ok()) {
        return Error{fileErrorText(stored.result, texts_)};
    }
    return {};
}

}  // namespace qzm
