#include "radio/zavo_doc.h"

#include <algorithm>
#include <utility>

#include "radio/data_file.h"
#include "radio/document_strings.h"

namespace qzm {
namespace {

std::filesystem::path fullPath(const std::filesystem::path& file) {
    std::error_code ec;
    auto full = std::filesystem::absolute(file, ec);
    return ec ? file : full.lexically_normal();
}

}  // namespace

CZavoDoc::CZavoDoc(MessageBoxSeam& messages, TextLookup lookupText, DocumentHost& host)
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
    modified_ = false;
    setBandIndex(kDefaultBandIndex);
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
        messages_.show(text(kTextWarnLoad), host_.applicationName(),
                       {MessageIcon::Stop, MessageButtons::Ok, MessageOwner::Application});
        return false;
    }
    header_ = contents->header;
    image_ = contents->image;
    updateBandLimits();
    return true;
}

// --- band ---

void CZavoDoc::setBandIndex(int index) {
    image_.setBandIndex(index);
    updateBandLimits();
}

void CZavoDoc::changeBand(int index) {
    DeleteContents();
    setBandIndex(index);
    SetModifiedFlag(true);
    UpdateAllViews();
}

void CZavoDoc::onImageReplaced() {
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

CommandResult CZavoDoc::openDocument(const std::filesystem::path& file) {
    host_.setSkipClearPrompt(true);
    CommandResult reset = newDocument();
    if (!reset.done()) {
        // The open is abandoned, so the next New must ask again.
        host_.setSkipClearPrompt(false);
        return reset;
    }
    return OnOpenDocument(file);
}

CommandResult CZavoDoc::OnOpenDocument(const std::filesystem::path& file) {
    const std::filesystem::path full = fullPath(file);
    const FileBytes read = readDataFileBytes(full);
    if (!read.result.ok) {
        return {CommandStatus::FileError, read.result.errorText};
    }
    // A refused file leaves the document exactly as the New made it, with no path, so a
    // later Save can never overwrite the foreign file with an empty image.
    if (!SerializeLoad(read.bytes)) {
        return {CommandStatus::Refused, {}};
    }
    pathName_ = full;
    modified_ = false;
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
    const FileResult stored = storeDataFile(full, header_, image_);
    if (!stored.ok) {
        return {CommandStatus::FileError, stored.errorText};
    }
    pathName_ = full;
    modified_ = false;
    return {};
}

}  // namespace qzm
