// SPDX-License-Identifier: GPL-3.0-or-later
// The transfer dialog's part in keeping the radio's memory safe: the backup of a
// read, the backup before a write and the check after it.
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "lang/qt/ui_text.h"
#include "lang/text_lookup.h"
#include "link/block_list.h"
#include "link/qt/transfer_dialog.h"
#include "link/transfer_safety.h"
#include "link/write_outcome.h"
#include "platform/qt/app_shell.h"
#include "platform/qt/dialog_builder.h"
#include "radio/zavo_doc.h"

namespace qzm {
namespace {

// The text line shows a message box's first paragraph: the box has the rest.
QString firstLine(const QString& message) {
    return message.section('\n', 0, 0);
}

constexpr MessageStyle kStopBox{MessageIcon::Stop, MessageButtons::Ok, MessageOwner::MainWindow};

}  // namespace

void TransferDialog::buildVerifyBox() {
    verifyBox_ = findControl<QCheckBox>(this, kIdcVerifyAfterWrite);
    if (direction_ != kDirectionWrite) {
        verifyBox_->hide();
        verifyBox_ = nullptr;
        return;
    }
    verifyBox_->setText(uiText("IDS_VERIFY_AFTER_WRITE"));
    verifyBox_->setChecked(safety_.verifyAfterWrite());
    // Remembered at once, like every other setting of the program.
    connect(verifyBox_, &QCheckBox::clicked, this,
            [this](bool checked) { safety_.rememberVerifyAfterWrite(checked); });
}

bool TransferDialog::prepareSafeWrite(TransferJob& job) {
    if (direction_ != kDirectionWrite) {
        return true;
    }
    job.verifyAfterWrite = verifyBox_ != nullptr && verifyBox_->isChecked();
    const Status armed = safety_.armWrite(job);
    if (!armed) {
        showText(firstLine(QString::fromStdString(armed.error().text)));
        shell_.messageBox().show(armed.error().text, lookupText("IDS_ERROR"), kStopBox);
        return false;
    }
    return true;
}

std::filesystem::path TransferDialog::backupBeforeWritePath() const {
    // Filled by the worker before the first block is written; once a block went in
    // (the only case that asks), it is there.
    return safety_.beforeWritePath();
}

void TransferDialog::keepReadBackup() {
    const Status kept = safety_.keepRead(document_.header(), document_.image());
    if (!kept) {
        // The read itself stands; the user learns that it has no backup.
        shell_.messageBox().show(
            lookupText("IDS_BACKUP_READ_NOT_STORED") + kept.error().text, lookupText("IDS_ERROR"),
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
                uiText(status == StatusBackupReading ? "IDS_PROMPT_BACKUP" : "IDS_PROMPT_VERIFY") +
                QString(" %1%").arg(progress));
            return true;
        case StatusBackupFailed:
            endRun();
            showText(uiText("IDS_BACKUP_READFAIL"));
            allowAnotherRun();
            return true;
        case StatusBackupNotStored: {
            endRun();
            const std::string message =
                lookupText("IDS_BACKUP_NOT_STORED") + safety_.beforeWriteProblem();
            showText(firstLine(QString::fromStdString(message)));
            shell_.messageBox().show(message, lookupText("IDS_ERROR"), kStopBox);
            allowAnotherRun();
            return true;
        }
        case StatusVerifyFailed:
            endRun();
            showText(uiText("IDS_VERIFY_READFAIL"));
            allowAnotherRun();
            return true;
        case StatusVerifyMismatch: {
            endRun();
            const QString message =
                uiText("IDS_VERIFY_MISMATCH")
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
            showText(QString::fromStdString(
                radioHoldsText(radioHoldsAfter(*job_), *job_, currentLanguageTexts())));
            cancelButton_->setText(uiText("IDS_CLOSE"));
            cancelButton_->setDefault(true);
            cancelButton_->setFocus();
            return true;
        default:
            return false;
    }
}

}  // namespace qzm
