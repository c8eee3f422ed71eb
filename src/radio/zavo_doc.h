// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/message_box.h"
#include "platform/text_source.h"
#include "radio/band_table.h"
#include "radio/data_file.h"
#include "radio/document_history.h"
#include "radio/document_host.h"
#include "radio/document_view.h"
#include "radio/file_header.h"
#include "radio/radio_image.h"
#include "radio/value_codecs.h"

namespace qzm {

enum class CommandStatus {
    Done,
    Cancelled,  // the user said Cancel; this command changed nothing
    Refused,    // not a whole data file: the reason was shown, the document is unchanged
    FileError,  // errorText says what failed, in the document's language; the window shows it
    NeedsPath,  // Save of a document without a path: the window runs Save As instead
};

struct CommandResult {
    CommandStatus status = CommandStatus::Done;
    std::string errorText;
    bool done() const { return status == CommandStatus::Done; }
};

// The single document: the radio image, the file header, the band limits, the path of
// its file and the modified flag, with the document commands.  Texts come from the
// injected lookup (language keys), questions go through the message-box seam, and the
// framework side (save-changes question, quiet-New flag) through the host.
class CZavoDoc {
  public:
    CZavoDoc(MessageBoxSeam& messages, TextSource lookupText, DocumentHost& host);
    CZavoDoc(const CZavoDoc&) = delete;
    CZavoDoc& operator=(const CZavoDoc&) = delete;

    // --- state ---
    RadioImage& image() { return image_; }
    const RadioImage& image() const { return image_; }
    const FileHeader& header() const { return header_; }
    BandLimits bandLimits() const { return bandLimits_; }
    std::int32_t bandLower() const { return bandLimits_.lower; }
    std::int32_t bandUpper() const { return bandLimits_.upper; }
    // Absolute path of the file, empty for a document never saved or opened.
    const std::filesystem::path& pathName() const { return pathName_; }
    // Modified while the history stands away from the saved state, while a named change
    // is under way that changed bytes, or after SetModifiedFlag(true).
    bool IsModified() const;
    // The document keeps its contents but belongs to no file any more (an opened
    // backup: a later Save asks for a new name instead of replacing the backup).
    void detachFromFile() { pathName_.clear(); }
    // True marks the document modified; the next settled change records what changed as
    // an unnamed step.  False takes the current state as the saved one.
    void SetModifiedFlag(bool modified = true);

    // --- history (undo and redo) ---
    // Every change of image or header is one step: the caller names it with beginChange,
    // writes, and ends it with endChange.  An editor session may write many times in
    // between; it is still one step.  beginChange ends a change still under way first.
    // Bytes written without a named change become part of the current state.
    void beginChange(EditStep step);
    // True when the change was recorded as a step (it changed a byte).
    bool endChange();
    // A change named by beginChange has not ended yet.
    bool changeOpen() const { return pendingStep_.has_value(); }
    // beginChange, the write, endChange in one.
    template <typename Write>
    bool change(EditStep step, Write&& write) {
        beginChange(step);
        write();
        return endChange();
    }
    bool canUndo() const;
    bool canRedo() const { return !changeUnderWay() && history_.canRedo(); }
    // The steps Undo and Redo would take; nothing when they cannot act.
    std::optional<EditStep> undoStep() const;
    std::optional<EditStep> redoStep() const;
    // Ends a change under way, steps back (or on) and refills the views.  False when
    // there was nothing to undo (redo).
    bool undo();
    bool redo();
    const DocumentHistory& history() const { return history_; }
    DocumentSnapshot snapshot() const { return {header_, image_}; }

    // --- views ---
    void addView(DocumentView& view);
    void removeView(DocumentView& view);
    void UpdateAllViews();

    // --- commands (the entry points of the window and the application) ---
    // New: the host's save-changes question for a modified document, then OnNewDocument,
    // then the views refresh.  Cancelled when either question was cancelled.
    CommandResult newDocument();
    // Open a file by name (menu, recent files, command line, drops).  The file is read and
    // checked first: one that cannot be read, is not ours or is cut short is refused with
    // the document, its path and its modified flag exactly as they were.  Then the host's
    // save-changes question (Cancel abandons the open), a quiet New, and the load.
    CommandResult openDocument(const std::filesystem::path& file);
    // The Save command: confirms with "IDS_WARN_SAVE" and the path, then saves there.
    // NeedsPath for a document without a path.
    CommandResult save();
    // Stores the document in `file` without asking (Save As, and the save that the
    // save-changes question leads to); on success the document takes the path and is no
    // longer modified.  A failure leaves the old file intact and the document modified.
    CommandResult saveAs(const std::filesystem::path& file);
    // A radio read or a language change replaced what the views show.
    void onImageReplaced();
    // The user chose another band in the editor and confirmed: an empty image with that
    // band and the defaults, modified.
    void changeBand(int index);

    // --- framework steps ---
    void DeleteContents();
    // False when the user cancelled "IDS_WARN_CLEAR"; the document is then unchanged.
    bool OnNewDocument();
    std::vector<std::uint8_t> SerializeStore() const;
    // Takes header and image from a data file and recomputes the band limits.  A file that
    // is not ours (other first 26 bytes) shows "IDS_WARN_LOAD", one of ours shorter than
    // 4144 bytes "IDS_WARN_LOAD_DAMAGED"; both change nothing and give false.
    bool SerializeLoad(std::span<const std::uint8_t> file);

    // --- band ---
    int bandIndex() const { return image_.bandIndex(); }
    void updateBandLimits() { bandLimits_ = image_.bandLimits(); }
    void setBandIndex(int index);
    void applyDefaults() { image_.applyDefaults(); }

    // --- channel fields (channels 1..16) ---
    bool isRxEmpty(int n) const { return image_.isRxEmpty(n); }
    bool isAnyFrequencyEmpty(int n) const { return image_.isAnyFrequencyEmpty(n); }
    bool isTxSameAsRx(int n) const { return image_.isTxSameAsRx(n); }
    bool isToneSame(int n) const { return image_.isToneSame(n); }
    std::string frequencyText(int n, ChannelSide side) const {
        return image_.frequencyText(n, side);
    }
    void setFrequencyText(int n, ChannelSide side, std::string_view text) {
        image_.setFrequencyText(n, side, text);
    }
    // The text of an off tone is the language text of "IDS_OFF".
    std::string toneText(int n, ChannelSide side) const;
    void setToneText(int n, ChannelSide side, std::string_view text) {
        image_.setToneText(n, side, text);
    }
    int checkFrequencyRange(std::string_view text) const {
        return qzm::checkFrequencyRange(text, bandLimits_);
    }
    std::string formatLimit(int which) const { return qzm::formatLimit(which, bandLimits_); }
    int col8No(int n) const { return image_.col8No(n); }
    void setCol8No(int n, int v) { image_.setCol8No(n, v); }
    int col9No(int n) const { return image_.col9No(n); }
    void setCol9No(int n, int v) { image_.setCol9No(n, v); }
    int narrow(int n) const { return image_.narrow(n); }
    void setNarrow(int n, int v) { image_.setNarrow(n, v); }
    int highPower(int n) const { return image_.highPower(n); }
    void setHighPower(int n, int v) { image_.setHighPower(n, v); }
    int col5No(int n) const { return image_.col5No(n); }
    void setCol5No(int n, int v) { image_.setCol5No(n, v); }

    // --- settings ---
    bool voiceEnabled() const { return image_.voiceEnabled(); }
    void setVoiceEnabled(int v) { image_.setVoiceEnabled(v); }
    int voicePrompt() const { return image_.voicePrompt(); }
    void setVoicePrompt(int v) { image_.setVoicePrompt(v); }
    bool scanEnabled() const { return image_.scanEnabled(); }
    void setScanEnabled(int v) { image_.setScanEnabled(v); }
    bool voxEnabled() const { return image_.voxEnabled(); }
    void setVoxEnabled(int v) { image_.setVoxEnabled(v); }
    int voxLevel() const { return image_.voxLevel(); }
    void setVoxLevel(int v) { image_.setVoxLevel(v); }
    bool fmRadioEnabled() const { return image_.fmRadioEnabled(); }
    void setFmRadioEnabled(int v) { image_.setFmRadioEnabled(v); }
    bool beepEnabled() const { return image_.beepEnabled(); }
    void setBeepEnabled(int v) { image_.setBeepEnabled(v); }
    bool batterySave() const { return image_.batterySave(); }
    void setBatterySave(int v) { image_.setBatterySave(v); }
    int squelchLevel() const { return image_.squelchLevel(); }
    void setSquelchLevel(int v) { image_.setSquelchLevel(v); }
    int sideKey1() const { return image_.sideKey1(); }
    void setSideKey1(int v) { image_.setSideKey1(v); }
    int txTimeLimit() const { return image_.txTimeLimit(); }
    void setTxTimeLimit(int v) { image_.setTxTimeLimit(v); }
    int sideKey2() const { return image_.sideKey2(); }
    void setSideKey2(int v) { image_.setSideKey2(v); }
    int fmFrequency() const { return image_.fmFrequency(); }
    void setFmFrequency(int v) { image_.setFmFrequency(v); }
    int scanMode() const { return image_.scanMode(); }
    void setScanMode(int v) { image_.setScanMode(v); }
    DtmfBytes dtmfCode() const { return image_.dtmfCode(); }
    void setDtmfCode(const DtmfBytes& code) { image_.setDtmfCode(code); }

  private:
    std::string text(std::string_view key) const;
    void resetToNew();
    struct CheckedFile {
        CommandResult result;
        std::optional<DataFileContents> contents;  // set when the file may be loaded
    };
    // Reads and checks a data file without touching the document; a refusal is shown.
    CheckedFile readAndCheck(const std::filesystem::path& file);
    void showRefusal(DataFileKind kind);
    // A change named by beginChange has written bytes not yet recorded.
    bool changeUnderWay() const;
    void restore(const DocumentSnapshot& state);
    void startFreshHistory();

    MessageBoxSeam& messages_;
    TextSource lookupText_;
    DocumentHost& host_;
    std::vector<DocumentView*> views_;

    RadioImage image_;
    FileHeader header_;
    BandLimits bandLimits_;
    std::filesystem::path pathName_;
    DocumentHistory history_;
    std::optional<EditStep> pendingStep_;  // the change under way, named by beginChange
    bool modifiedMark_ = false;            // SetModifiedFlag(true) not yet settled
};

}  // namespace qzm
