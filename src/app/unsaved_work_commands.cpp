// SPDX-License-Identifier: GPL-3.0-or-later
// Unsaved changes of a run that was ended without a close: kept, and offered back.
#include <unistd.h>

#include <cstdio>
#include <system_error>

#include "app/main_frame.h"
#include "app/unsaved_work.h"
#include "app/zavo_app.h"
#include "lang/text_lookup.h"
#include "platform/file_error_text.h"
#include "platform/placeholders.h"
#include "radio/data_file.h"
#include "radio/zavo_doc.h"

namespace qzm {
namespace {

void sayOnStandardError(const std::string& text) {
    std::fprintf(stderr, "qzm836: %s\n", text.c_str());
}

}  // namespace

void CZavoApp::endedWithoutClose() {
    mainFrame_->keepPlacement();
    if (!document_->IsModified()) {
        return;
    }
    // Nobody is left to ask: the changes go where the next start finds them, and the
    // terminal (or the session's log) says where.
    const auto folder = unsavedWorkFolder();
    Status kept = Error{"neither XDG_DATA_HOME nor a home folder is known"};
    std::filesystem::path file;
    if (folder) {
        std::error_code ignored;
        std::filesystem::create_directories(*folder, ignored);
        file = unsavedWorkFile(*folder, ::getpid());
        kept = storeDataFile(file, document_->header(), document_->image());
    }
    if (kept.ok()) {
        sayOnStandardError(fillPlaceholders(
            lookupTextOr("IDS_UNSAVED_WORK_KEPT",
                         "The unsaved changes were kept in %1; the next start offers them."),
            {file.string()}));
    } else {
        sayOnStandardError(fillPlaceholders(
            lookupTextOr("IDS_UNSAVED_WORK_LOST", "The unsaved changes could not be kept: %1"),
            {fileErrorText(kept, currentLanguageTexts())}));
    }
}

void CZavoApp::offerUnsavedWork() {
    const auto folder = unsavedWorkFolder();
    if (!folder) {
        return;
    }
    const auto kept = keptUnsavedWork(*folder);
    if (kept.empty()) {
        return;
    }
    const std::filesystem::path& file = kept.front();
    const MessageResult answer = messageBox_->show(
        fillPlaceholders(lookupText("IDS_ASK_UNSAVED_WORK"), {file.string()}), applicationName(),
        {MessageIcon::Question, MessageButtons::YesNoCancel, MessageOwner::MainWindow});
    if (answer == MessageResult::Cancel) {
        return;  // asked again at the next start
    }
    if (answer == MessageResult::Yes) {
        skipClearPrompt_ = true;
        const CommandResult opened = document_->openDocument(file);
        if (!opened.done()) {
            // Shown why; the file stays for another try.
            skipClearPrompt_ = false;
            if (opened.status == CommandStatus::FileError) {
                showFileError(opened.errorText);
            }
            return;
        }
        // Unsaved work, as it was: no file of its own, and a close asks to save it.
        document_->detachFromFile();
        document_->SetModifiedFlag(true);
        afterDocumentReset();
    }
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
}

}  // namespace qzm
