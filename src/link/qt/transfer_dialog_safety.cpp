// The transfer dialog's part in keeping the radio's memory safe: the backup of a
// read, the backup before a write and the check after it.
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "lang/file_error_texts.h"
#include "lang/text_lookup.h"
#include "link/qt/transfer_dialog.h"
#include "link/write_outcome.h"
#include "platform/qt/app_shell.h"
#include "platform/qt/dialog_builder.h"
#include "radio/zavo_doc.h"
#include "safety/backup_settings.h"
#include "safety/block_list.h"
#include "safety/transfer_backups.h"

namespace qzm {
namespace {

QString text(const char* key) {
    return QString::fromStdString(lookupText(key));
}

// The text line shows a message box's first paragraph: the box has the rest.
QString firstLine(const QString& message) {
    return message.section('\n', 0, 0);
}

constexpr MessageStyle kStopBox{MessageIcon::Stop, MessageButtons::Ok, MessageOwner::MainWindow};

std::string windowText(std::string_view key) {
    return lookupText(key);
}

// A file error in the window's language; the system's own text never stands alone.
std::string fileProblem(const FileResult& result) {
    return fileErrorText(result, windowText);
}

}  // namespace

void TransferDialog::buildVerifyBox() {
    verifyBox_ = findControl<QCheckBox>(this, kIdcVerifyAfterWrite);
    if (direction_ != kDirectionWrite) {
        verifyBox_->hide();
        verifyBox_ = nullptr;
        return;
    }
    verifyBox_->setText(text("IDS_VERIFY_AFTER_WRITE"));
    verifyBox_->setChecked(readVerifyAfterWrite(settings_));
    // Remembered at once, like every other setting of the program.
    connect(verifyBox_, &QCheckBox::clicked, this,
            [this](bool checked) { writeVerifyAfterWrite(checked, settings_); });
}

bool TransferDialog::prepareSafeWrite(TransferJob& job) {
    beforeWrite_.reset();
    if (direction_ != kDirectionWrite) {
        return true;
    }
    job.verifyAfterWrite = verifyBox_ != nullptr && verifyBox_->isChecked();
    if (!readBackupEnabled(settings_)) {
        return true;
    }
    const auto folder = BackupStore::defaultFolder();
    if (!folder) {
        const std::string message =
            lookupText("IDS_BACKUP_NOT_STORED") + lookupText("IDS_BACKUP_NO_FOLDER");
        showText(firstLine(QString::fromStdString(message)));
        shell_.messageBox().show(message, lookupText("IDS_ERROR"), kStopBox);
        return false;
    }
    beforeWrite_ = backUpBeforeWrite(job, BackupStore(*folder));
    return true;
}

std::filesystem::path TransferDialog::backupBeforeWritePath() const {
    // Filled by the worker before the first block is written; once a block went in
    // (the only case that asks), it is there.
    return beforeWrite_ && beforeWrite_->result.ok ? beforeWrite_->path : std::filesystem::path();
}

void TransferDialog::keepReadBackup() {
    if (!readBackupEnabled(settings_)) {
        return;
    }
    std::string problem;
    if (const auto folder = BackupStore::defaultFolder()) {
        const StoredBackup stored =
            BackupStore(*folder).store(document_.header(), document_.image(), BackupKind::Read);
        problem = stored.result.ok ? std::string() : fileProblem(stored.result);
    } else {
        problem = lookupText("IDS_BACKUP_NO_FOLDER");
    }
    if (!problem.empty()) {
        // The read itself stands; the user learns that it has no backup.
        shell_.messageBox().show(
            lookupText("IDS_BACKUP_READ_NOT_STORED") + problem, lookupText("IDS_ERROR"),
            {MessageIcon::Exclamation, MessageButtons::Ok, MessageOwner::MainWindow});
    }
}

void TransferDialog::allowAnotherRun() {
    // OK tries again: Enter must mean OK, not the Cancel button that took the focus
    // while OK was disabled.
    okButton_->setEnabled(true);
    okButton_->setDefault(true);
    okButton_->setFocus(Qt::OtherFocusReason);
    if (verifyBox_ != nullptr) {
        verifyBox_->setEnabled(true);
    }
}

bool TransferDialog::onSafetyStatus(int status, int progress) {
    switch (status) {
        case StatusBackupReading:
        case StatusVerifying:
            progressBar_->setValue(progress * kProgressRange / 100);
            showText(
                text(status == StatusBackupReading ? "IDS_PROMPT_BACKUP" : "IDS_PROMPT_VERIFY") +
                QString(" %1%").arg(progress));
            return true;
        case StatusBackupFailed:
            endRun();
            showText(text("IDS_BACKUP_READFAIL"));
            allowAnotherRun();
            return true;
        case StatusBackupNotStored: {
            endRun();
            const std::string message =
                lookupText("IDS_BACKUP_NOT_STORED") +
                (beforeWrite_ ? fileProblem(beforeWrite_->result) : std::string());
            showText(firstLine(QString::fromStdString(message)));
            shell_.messageBox().show(message, lookupText("IDS_ERROR"), kStopBox);
            allowAnotherRun();
            return true;
        }
        case StatusVerifyFailed:
            endRun();
            showText(text("IDS_VERIFY_READFAIL"));
            allowAnotherRun();
            return true;
        case StatusVerifyMismatch: {
            endRun();
            const QString message =
                text("IDS_VERIFY_MISMATCH")
                    .arg(QString::fromStdString(blockListText(job_->mismatchedBlocks)));
            showText(firstLine(message));
            allowAnotherRun();
            // The box's OK writes again, as its text says; Cancel leaves the radio as it is.
            const MessageResult answer = shell_.messageBox().show(
                message.toStdString(), lookupText("IDS_ERROR"),
                {MessageIcon::Stop, MessageButtons::OkCancel, MessageOwner::MainWindow});
            if (answer == MessageResult::Ok) {
                startRun();
            }
            return true;
        }
        case StatusVerifyDone:
            // The dialog stays open so the result can be read; the only way on is Close.
            endRun();
            progressBar_->setValue(kProgressRange);
            showText(
                QString::fromStdString(radioHoldsText(radioHoldsAfter(*job_), *job_, windowText)));
            cancelButton_->setText(text("IDS_CLOSE"));
            cancelButton_->setDefault(true);
            cancelButton_->setFocus();
            return true;
        default:
            return false;
    }
}

}  // namespace qzm
