// SPDX-License-Identifier: GPL-3.0-or-later
// File > Open Backup: the automatic backups kept by reads and writes.
#include "app/main_frame.h"
#include "app/zavo_app.h"
#include "lang/text_lookup.h"
#include "platform/file_dialog.h"
#include "radio/document_strings.h"
#include "radio/zavo_doc.h"
#include "safety/backup_store.h"

namespace qzm {

void CZavoApp::onFileOpenBackup() {
    const auto folder = BackupStore::defaultFolder();
    if (!folder) {
        messageBox_->show(lookupText("IDS_BACKUP_NO_FOLDER"), lookupText("IDS_ERROR"),
                          {MessageIcon::Stop, MessageButtons::Ok, MessageOwner::MainWindow});
        return;
    }
    if (BackupStore(*folder).list().empty()) {
        messageBox_->show(lookupText("IDS_NO_BACKUPS") + folder->string(),
                          lookupText("IDS_OPEN_BACKUP"),
                          {MessageIcon::Information, MessageButtons::Ok, MessageOwner::MainWindow});
        return;
    }
    FileDialogRequest request;
    request.mode = FileDialogMode::Open;
    request.title = lookupText("IDS_OPEN_BACKUP");
    request.filterName = lookupTextOr("IDS_FILETYPE_DATA", kDocumentFilterName);
    request.filterPattern = std::string(kDocumentFilterPattern);
    request.defaultExtension = std::string(kDocumentFilterExtension);
    request.initialPath = *folder;
    request.newestFirst = true;
    const auto chosen = backupChooser_->choose(request);
    if (chosen) {
        openBackup(*chosen);
    }
}

void CZavoApp::openBackup(const std::filesystem::path& file) {
    skipClearPrompt_ = true;
    const CommandResult opened = document_->openDocument(file);
    switch (opened.status) {
        case CommandStatus::Done:
            break;
        case CommandStatus::FileError:
            showFileError(opened.errorText);
            [[fallthrough]];
        case CommandStatus::Cancelled:
        case CommandStatus::Refused:  // the reason was shown
        case CommandStatus::NeedsPath:
            // The document on screen stays as it was, its file included.
            skipClearPrompt_ = false;
            return;
    }
    // Not in the recent files either: the backup is a source, never a target.
    document_->detachFromFile();
    afterDocumentReset();
}

}  // namespace qzm
