// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/document_history.h"

#include <algorithm>

namespace qzm {

DocumentHistory::DocumentHistory(std::size_t maxSteps)
    : maxSteps_(std::max<std::size_t>(maxSteps, 1)) {
    reset(DocumentSnapshot{});
}

void DocumentHistory::reset(const DocumentSnapshot& state, bool saved) {
    entries_.clear();
    entries_.push_back({state, {}});
    current_ = 0;
    saved_ = saved ? std::optional<std::size_t>(0) : std::nullopt;
}

bool DocumentHistory::record(const DocumentSnapshot& state, EditStep step) {
    if (state == current()) {
        return false;
    }
    // A new change after an undo: the undone states are gone for good.
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(current_) + 1, entries_.end());
    if (saved_ && *saved_ > current_) {
        saved_.reset();
    }
    entries_.push_back({state, step});
    ++current_;
    while (entries_.size() > maxSteps_ + 1) {
        entries_.pop_front();
        --current_;
        if (saved_) {
            saved_ = *saved_ == 0 ? std::nullopt : std::optional<std::size_t>(*saved_ - 1);
        }
    }
    return true;
}

std::optional<EditStep> DocumentHistory::undoStep() const {
    if (!canUndo()) {
        return std::nullopt;
    }
    return entries_[current_].step;
}

std::optional<EditStep> DocumentHistory::redoStep() const {
    if (!canRedo()) {
        return std::nullopt;
    }
    return entries_[current_ + 1].step;
}

const DocumentSnapshot* DocumentHistory::undo() {
    if (!canUndo()) {
        return nullptr;
    }
    --current_;
    return &entries_[current_].state;
}

const DocumentSnapshot* DocumentHistory::redo() {
    if (!canRedo()) {
        return nullptr;
    }
    ++current_;
    return &entries_[current_].state;
}

}  // namespace qzm
