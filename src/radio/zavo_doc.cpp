// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/zavo_doc.h"

#include <algorithm>
#include <utility>

#include "platform/file_error_text.h"
#include "radio/document_strings.h"

namespace qzm {
namespace {

std::filesystem::path fullPath(const std::filesystem::path& file) {
    std::error_code ec;
    auto full = std::filesystem::absolute(file, ec);
    return ec ? file : full.lexically_normal();
}

}  // namespace

CZavoDoc::CZavoDoc(MessageBoxSeam& messages, TextSource lookupText, DocumentHost& host)
    : messages_(messages), lookupText_(std::move(lookupText)), host_(host) {
    // Never hold a meaningless image, even before the first New.
    resetToNew();
}

std::string CZavoDoc::text(std::string_view key) const {
    return lookupText_ ? lookupText_(key) : std::string(key);
}

// --- views ---

void CZavoDoc::addView(DocumentView& view) {
    if (std::find(views_.begin(), views_.end(), &view) == views_.end()) {
        views_.push_back(&view);
    }
}

void CZavoDoc::removeView(DocumentView& view) {
    std::erase(views_, &view);
}

void CZavoDoc::UpdateAllViews() {
    // A copy, so a view may remove itself while it updates.
    const std::vector<DocumentView*> views = views_;
    for (DocumentView* view : views) {
        view->OnUpdate();
    }
}

// --- framework steps ---

void CZavoDoc::DeleteContents() {
    header_.writeMagic();
    image_.erase();
}

void CZavoDoc::resetToNew() {
    DeleteContents();
    pathName_.clear();
    setBandIndex(kDefaultBandIndex);
    startFreshHistory();
}

// --- history ---

void CZavoDoc::startFreshHistory() {
    history_.reset(snapshot());
    pendingStep_.reset();
    modifiedMark_ = false;
}

bool CZavoDoc::IsModified() const {
    return modifiedMark_ || !history_.atSavedState() || changeUnderWay();
}

void CZavoDoc::SetModifiedFlag(bool modified) {
    if (modified) {
        modifiedMark_ = true;
        return;
    }
    endChange();
    modifiedMark_ = false;
    history_.markSaved();
}

bool CZavoDoc::changeUnderWay() const {
    return pendingStep_.has_value() && snapshot() != history_.current();
}

void CZavoDoc::beginChange(EditStep step) {
    endChange();
    pendingStep_ = step;
}

bool CZavoDoc::endChange() {
    const DocumentSnapshot now = snapshot();
    bool recorded = false;
    if (now != history_.current()) {
        if (pendingStep_ || modifiedMark_) {
            recorded = history_.record(now, pendingStep_.value_or(EditStep{}));
            modifiedMark_ = false;
        } else {
            // Written without a name (a caller setting the document up): that is simply
            // what the document holds.
            history_.replaceCurrent(now);
        }
    }
    pendingStep_.reset();
    return recorded;
}

bool CZavoDoc::canUndo() const {
    return changeUnderWay() || history_.canUndo();
}

std::optional<EditStep> CZavoDoc::undoStep() const {
    if (changeUnderWay()) {
        return pendingStep_;
    }
    return history_.undoStep();
}

std::optional<EditStep> CZavoDoc::redoStep() const {
    if (changeUnderWay()) {
        return std::nullopt;
    }
    return history_.redoStep();
}

void CZavoDoc::restore(const DocumentSnapshot& state) {
    header_ = state.header;
    image_ = state.image;
    updateBandLimits();
    modifiedMark_ = false;
    UpdateAllViews();
}

bool CZavoDoc::undo() {
    endChange();
    const DocumentSnapshot* state = history_.undo();
    if (state == nullptr) {
        return false;
    }
    restore(*state);
    return true;
}

bool CZavoDoc::redo() {
    endChange();
    const DocumentSnapshot* state = history_.redo();
    if (state == nullptr) {
        return false;
    }
    restore(*state);
    return true;
}

bool CZavoDoc::OnNewDocument() {
    if (host_.skipClearPrompt()) {
        host_.setSkipClearPrompt(false);
    } else {
        const MessageResult answer = messages_.show(
            text(kTextWarnClear), text(kTextPrompt),
            {MessageIcon::Exclamation, MessageButtons::OkCancel, MessageOwner::MainWindow});
        if (answer != MessageResult::Ok) {
            return false;
        }
    }
    resetToNew();
    return true;
}

std::vector<std::uint8_t> CZavoDoc::SerializeStore() const {
    return encodeDataFile(header_, image_);
}

bool CZavoDoc::SerializeLoad(std::span<const std::uint8_t> file) {
    const auto contents = decodeDataFile(file);
    if (!contents) {
        showRefusal(classifyDataFile(file));
        return false;
    }
    header_ = contents->header;
    image_ = contents->image;
    updateBandLimits();
    startFreshHistory();
    return true;
}

void CZavoDoc::showRefusal(DataFileKind kind) {
    messages_.show(text(kind == DataFileKind::Incomplete ? kTextWarnLoadDamaged : kTextWarnLoad),
                   host_.applicationName(),
                   {MessageIcon::Stop, MessageButtons::Ok, MessageOwner::Application});
}

// --- band ---

void CZavoDoc::setBandIndex(int index) {
    image_.setBandIndex(index);
    updateBandLimits();
}

void CZavoDoc::changeBand(int index) {
    beginChange({EditKind::BandChange, 1});
    DeleteContents();
    setBandIndex(index);
    endChange();
    UpdateAllViews();
}

void CZavoDoc::onImageReplaced() {
    endChange();
    updateBandLimits();
    UpdateAllViews();
}

std::string CZavoDoc::toneText(int n, ChannelSide side) const {
    return image_.toneText(n, side, text(kTextOff));
}

// --- commands ---

CommandResult CZavoDoc::newDocument() {
    if (IsModified() && !host_.saveModified(*this)) {
        return {CommandStatus::Cancelled, {}};
    }
    if (!OnNewDocument()) {
        return {CommandStatus::Cancelled, {}};
    }
    UpdateAllViews();
    return {};
}

CZavoDoc::CheckedFile CZavoDoc::readAndCheck(const std::filesystem::path& file) {
    const FileBytes read = readDataFileBytes(file);
    if (!read.result.ok()) {
        return {{CommandStatus::FileError, fileErrorText(read.result, lookupText_)}, std::nullopt};
    }
    auto contents = decodeDataFile(read.bytes);
    if (!contents) {
        showRefusal(classifyDataFile(read.bytes));
        return {{CommandStatus::Refused, {}}, std::nullopt};
    }
    return {{}, std::move(contents)};
}

CommandResult CZavoDoc::openDocument(const std::filesystem::path& file) {
    const std::filesystem::path full = fullPath(file);
    // Nothing is reset before the file is known to be good: a refused file must not cost
    // the user the channels on screen.
    CheckedFile checked = readAndCheck(full);
    if (checked.contents && IsModified()) {
        if (!host_.saveModified(*this)) {
            checked = {{CommandStatus::Cancelled, {}}, std::nullopt};
        } else {
            // The answer may have saved over this very file: load what it holds now.
            checked = readAndCheck(full);
        }
    }
    if (!checked.contents) {
        // The open is abandoned, so the next New must ask again.
        host_.setSkipClearPrompt(false);
        return checked.result;
    }
    host_.setSkipClearPrompt(true);
    OnNewDocument();  // quiet: the flag was just set
    header_ = checked.contents->header;
    image_ = checked.contents->image;
    updateBandLimits();
    pathName_ = full;
    startFreshHistory();
    UpdateAllViews();
    return {};
}

CommandResult CZavoDoc::save() {
    if (pathName_.empty()) {
        return {CommandStatus::NeedsPath, {}};
    }
    const MessageResult answer = messages_.show(
        text(kTextWarnSave) + pathName_.string(), text(kTextPrompt),
        {MessageIcon::Exclamation, MessageButtons::OkCancel, MessageOwner::MainWindow});
    if (answer != MessageResult::Ok) {
        return {CommandStatus::Cancelled, {}};
    }
    return saveAs(pathName_);
}

CommandResult CZavoDoc::saveAs(const std::filesystem::path& file) {
    const std::filesystem::path full = fullPath(file);
    const Status stored = storeDataFile(full, header_, image_);
    if (!stored.ok()) {
        return {CommandStatus::FileError, fileErrorText(stored, lookupText_)};
    }
    pathName_ = full;
    SetModifiedFlag(false);
    return {};
}

}  // namespace qzm
