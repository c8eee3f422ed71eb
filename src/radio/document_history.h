// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <deque>
#include <optional>

#include "radio/file_header.h"
#include "radio/radio_image.h"

namespace qzm {

// What the user did, so Undo and Redo can name it.  The window turns a kind into the
// language's words; the count says how many channels a channel operation touched.
enum class EditKind {
    Change,  // a change no one named
    CellEdit,
    CheckBox,
    SettingsList,
    DtmfCode,
    BandChange,
    CsvImport,
    ChirpImport,
    RadioRead,
    Paste,
    Cut,
    ClearChannels,
    InsertChannel,
    DeleteChannels,
    MoveUp,
    MoveDown,
};

struct EditStep {
    EditKind kind = EditKind::Change;
    int count = 1;
    friend bool operator==(const EditStep&, const EditStep&) = default;
};

// Everything a change may touch: 4,144 bytes, so a whole copy per step restores bytes
// without a field exactly and no step has to be undone by repeating its rules.
struct DocumentSnapshot {
    FileHeader header;
    RadioImage image;
    friend bool operator==(const DocumentSnapshot& a, const DocumentSnapshot& b) {
        return a.header == b.header && a.image.bytes == b.image.bytes;
    }
};

// The states of the document, oldest first, with the position of the one shown and of the
// one last saved.  Recording after an undo drops the states that could have been redone.
// The oldest states are dropped beyond `maxSteps` steps; a saved state dropped that way
// can no longer be reached, so the document then stays modified until the next save.
class DocumentHistory {
  public:
    static constexpr std::size_t kDefaultMaxSteps = 200;

    explicit DocumentHistory(std::size_t maxSteps = kDefaultMaxSteps);

    // A fresh history holding only `state`; saved there when `saved` is true.
    void reset(const DocumentSnapshot& state, bool saved = true);

    // The state after a change.  False, and nothing recorded, when it equals the current
    // state: a change that changed no byte is no step.
    bool record(const DocumentSnapshot& state, EditStep step);

    bool canUndo() const { return current_ > 0; }
    bool canRedo() const { return current_ + 1 < entries_.size(); }
    // The steps the next Undo and Redo would take back or do again.
    std::optional<EditStep> undoStep() const;
    std::optional<EditStep> redoStep() const;
    // Moves one step and returns the state to show; nullptr when there is none.
    const DocumentSnapshot* undo();
    const DocumentSnapshot* redo();

    const DocumentSnapshot& current() const { return entries_[current_].state; }
    // Takes `state` as what the current position holds, without a step of its own.
    void replaceCurrent(const DocumentSnapshot& state) { entries_[current_].state = state; }
    void markSaved() { saved_ = current_; }
    bool atSavedState() const { return saved_ == current_; }

    std::size_t undoCount() const { return current_; }
    std::size_t redoCount() const { return entries_.size() - 1 - current_; }
    std::size_t maxSteps() const { return maxSteps_; }

  private:
    struct Entry {
        DocumentSnapshot state;
        EditStep step;  // the step that led here; unused for the first entry
    };

    std::size_t maxSteps_;
    std::deque<Entry> entries_;
    std::size_t current_ = 0;
    std::optional<std::size_t> saved_;
};

}  // namespace qzm
