// SPDX-License-Identifier: GPL-3.0-or-later
// The framework side of the document commands: file dialogs, the
// save-changes question, the recent-file list and the error messages.
#include <QDir>
#include <QFileInfo>

#include "app/main_frame.h"
#include "app/zavo_app.h"
#include "editor/qt/zavo_view.h"
#include "lang/text_lookup.h"
#include "platform/file_dialog.h"
#include "platform/program_paths.h"
#include "radio/document_strings.h"
#include "radio/zavo_doc.h"

namespace qzm {
namespace {

FileDialogRequest dataFileRequest(FileDialogMode mode, const std::filesystem::path& initial) {
    FileDialogRequest request;
    request.mode = mode;
    request.filterName = lookupTextOr("IDS_FILETYPE_DATA", kDocumentFilterName);
    request.filterPattern = std::string(kDocumentFilterPattern);
    request.defaultExtension = std::string(kDocumentFilterExtension);
    request.initialPath = initial;
    return request;
}

QString displayPath(const std::filesystem::path& file) {
    return QDir::toNativeSeparators(QString::fromStdString(file.string()));
}

}  // namespace

bool CZavoApp::openDocumentFile(const std::filesystem::path& file) {
    return openDocumentFileFor(file) == CommandStatus::Done;
}

CommandStatus CZavoApp::openDocumentFileFor(const std::filesystem::path& file) {
    // The New inside the open asks no clear question.
    skipClearPrompt_ = true;
    const CommandResult opened = document_->openDocument(file);
    switch (opened.status) {
        case CommandStatus::Done:
            break;
        case CommandStatus::FileError:
            // Nothing was reset: the document stays as it was.
            showFileError(opened.errorText);
            recentFiles_->remove(displayPath(file));
            updateRecentMenu();
            [[fallthrough]];
        case CommandStatus::Cancelled:
        case CommandStatus::Refused:  // the reason was shown; the document is unchanged
        case CommandStatus::NeedsPath:
            skipClearPrompt_ = false;
            return opened.status;
    }
    afterDocumentReset();
    rememberCurrentFile();
    tellDone("IDS_DONE_OPEN", file);
    return CommandStatus::Done;
}

void CZavoApp::afterDocumentReset() {
    if (view_ != nullptr) {
        view_->OnInitialUpdate();
    }
    if (mainFrame_) {
        mainFrame_->updateTitle();
    }
    updateDocumentPane();
    // An image that arrived with values the radio cannot use says so once.
    if (view_ != nullptr) {
        view_->warnOfDamagedValues();
    }
}

void CZavoApp::onFileNew() {
    if (document_->newDocument().done()) {
        afterDocumentReset();
    }
}

std::filesystem::path CZavoApp::fileDialogFolder() const {
    if (!document_->pathName().empty()) {
        return document_->pathName().parent_path();
    }
    const QString last = recentFiles_->lastFolder();
    if (!last.isEmpty() && QFileInfo(last).isDir()) {
        return last.toStdString();
    }
    return QDir::homePath().toStdString();
}

std::string CZavoApp::untitledName() const {
    return lookupTextOr("IDS_UNTITLED", "Untitled");
}

void CZavoApp::onFileOpen() {
    const auto chosen =
        fileDialog_->choose(dataFileRequest(FileDialogMode::Open, fileDialogFolder()));
    if (chosen) {
        openDocumentFile(*chosen);
    }
}

void CZavoApp::onRecentFile(int index) {
    const QStringList& entries = recentFiles_->entries();
    if (index >= 0 && index < entries.size()) {
        openDocumentFile(entries[index].toStdString());
    }
}

void CZavoApp::onFileSave() {
    const CommandResult saved = document_->save();
    switch (saved.status) {
        case CommandStatus::NeedsPath:
            saveDocumentAs();
            break;
        case CommandStatus::FileError:
            showFileError(saved.errorText);
            break;
        case CommandStatus::Done:
            rememberCurrentFile();
            tellDone("IDS_DONE_SAVE", document_->pathName());
            break;
        case CommandStatus::Cancelled:
        case CommandStatus::Refused:
            break;
    }
}

void CZavoApp::onFileSaveAs() {
    saveDocumentAs();
}

bool CZavoApp::saveDocumentAs() {
    // The document's own name, or a name to start from in the usual folder.
    const std::filesystem::path suggested =
        document_->pathName().empty()
            ? fileDialogFolder() / (untitledName() + std::string(kDocumentFilterExtension))
            : document_->pathName();
    const auto chosen = fileDialog_->choose(dataFileRequest(FileDialogMode::Save, suggested));
    if (!chosen) {
        return false;
    }
    const CommandResult saved = document_->saveAs(*chosen);
    if (!saved.done()) {
        showFileError(saved.errorText);
        return false;
    }
    rememberCurrentFile();
    if (mainFrame_) {
        mainFrame_->updateTitle();
    }
    tellDone("IDS_DONE_SAVE", document_->pathName());
    return true;
}

bool CZavoApp::saveModified(CZavoDoc& document) {
    if (!document.IsModified()) {
        return true;
    }
    const std::string name = document.pathName().empty()
                                 ? untitledName()
                                 : displayPath(document.pathName().filename()).toStdString();
    std::string question = lookupTextOr("IDS_ASK_SAVE_CHANGES", "Save changes to %1?");
    if (const auto at = question.find("%1"); at != std::string::npos) {
        question.replace(at, 2, name);
    }
    const MessageResult answer = messageBox_->show(
        question, applicationName(),
        {MessageIcon::Exclamation, MessageButtons::YesNoCancel, MessageOwner::MainWindow});
    switch (answer) {
        case MessageResult::No:
            return true;
        case MessageResult::Yes:
            break;
        default:
            return false;
    }
    if (document.pathName().empty()) {
        return saveDocumentAs();
    }
    const CommandResult saved = document.saveAs(document.pathName());
    if (!saved.done()) {
        showFileError(saved.errorText);
        return false;
    }
    rememberCurrentFile();
    return true;
}

bool CZavoApp::canCloseDocument() {
    return !document_ || saveModified(*document_);
}

void CZavoApp::showFileError(const std::string& text) {
    messageBox_->show(text, applicationName(),
                      {MessageIcon::Stop, MessageButtons::Ok, MessageOwner::MainWindow});
}

void CZavoApp::rememberCurrentFile() {
    if (!document_->pathName().empty()) {
        recentFiles_->add(displayPath(document_->pathName()));
        recentFiles_->setLastFolder(displayPath(document_->pathName().parent_path()));
        updateRecentMenu();
    }
}

void CZavoApp::updateRecentMenu() {
    if (mainFrame_) {
        mainFrame_->setRecentFiles(recentFiles_->entries());
    }
}

}  // namespace qzm
