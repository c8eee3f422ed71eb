// SPDX-License-Identifier: GPL-3.0-or-later
// What the floating cell editors store when an edit ends.  The rules that tie
// a channel's fields together live in radio/channel_commit, shared with the
// command-line import; here the row is brought up to date afterwards.

#include <QApplication>

#include "editor/qt/floating_editors.h"
#include "editor/qt/zavo_view.h"
#include "grid/grid_ctrl.h"
#include "lang/text_lookup.h"
#include "platform/qt/app_shell.h"
#include "radio/channel_commit.h"
#include "radio/channel_record.h"
#include "radio/entry_repair.h"
#include "radio/zavo_doc.h"

namespace qzm {
namespace {

bool isChannel(int n) {
    return n >= 1 && n <= kChannelCount;
}

}  // namespace

void CZavoView::finishCellEdit() {
    if (frequencyEdit_ != nullptr && frequencyEdit_->isOpen()) {
        commitFrequency();
    }
    if (tonePicker_ != nullptr && tonePicker_->isOpen()) {
        commitTone();
    }
    if (listPicker_ != nullptr && listPicker_->isOpen()) {
        closeListPicker();
    }
    if (grid_ != nullptr && QApplication::focusWidget() != nullptr &&
        isAncestorOf(QApplication::focusWidget()) && !QApplication::focusWidget()->isVisible()) {
        grid_->setFocus(Qt::OtherFocusReason);
    }
}

void CZavoView::commitFrequency() {
    const int n = editRow_;
    if (grid_ == nullptr || frequencyEdit_ == nullptr) {
        return;
    }
    grid_->setEditOverlay(false);
    // An editor left with the text it opened with stores nothing, so a value
    // off the channel step, outside the band or damaged keeps every byte.
    const QString typed = frequencyEdit_->text();
    if (isChannel(n) && (editColumn_ == 1 || editColumn_ == 3) &&
        typed != frequencyEdit_->savedText()) {
        const ChannelSide side = editColumn_ == 1 ? ChannelSide::Receive : ChannelSide::Transmit;
        const FrequencyEntry entry =
            examineFrequencyEntry(typed.toStdString(), document_.bandLimits());
        if (entry.repair != FrequencyRepair::NotAFrequency &&
            qzm::commitFrequency(document_.image(), document_.bandLimits(), n, side,
                                 typed.toStdString())) {
            document_.SetModifiedFlag(true);
        }
        tellFrequencyEntry(typed);
    }
    // The editor session is one step, recorded when it changed a byte.
    document_.endChange();
    frequencyEdit_->dismiss();
    refreshRow(n);
}

void CZavoView::commitTone() {
    const int n = editRow_;
    if (grid_ == nullptr || tonePicker_ == nullptr) {
        return;
    }
    grid_->setEditOverlay(false);
    // By the entry's tone, never its text: the off entry's text is the
    // translator's, and an unlisted stored tone must come back unchanged.
    const std::optional<ToneBytes> picked = tonePicker_->selectedTone();
    if (isChannel(n) && (editColumn_ == 2 || editColumn_ == 4) && picked) {
        const ChannelSide side = editColumn_ == 2 ? ChannelSide::Receive : ChannelSide::Transmit;
        if (qzm::commitPickedTone(document_.image(), n, side, *picked)) {
            document_.SetModifiedFlag(true);
        }
    }
    document_.endChange();
    tonePicker_->dismiss();
    refreshRow(n);
}

void CZavoView::commitListChoice() {
    const int n = editRow_;
    const std::optional<ChannelFlag> flag = channelFlagOfColumn(editColumn_);
    if (listPicker_ == nullptr || !flag || !isChannel(n) || listPicker_->currentIndex() < 0) {
        return;
    }
    // Choosing the entry already stored changes nothing; stored at once, the step ends
    // when the picker closes.
    const int value = listPicker_->currentIndex() != 0 ? 1 : 0;
    if (channelFlag(document_.image(), n, *flag) == value) {
        return;
    }
    setChannelFlag(document_.image(), n, *flag, value);
    showFlagCell(n, editColumn_);
    document_.SetModifiedFlag(true);
}

void CZavoView::tellFrequencyEntry(const QString& typed) {
    const FrequencyEntry entry = examineFrequencyEntry(typed.toStdString(), document_.bandLimits());
    const char* key = nullptr;
    switch (entry.repair) {
        case FrequencyRepair::None:
            shell_.showStatusMessage({});
            return;
        case FrequencyRepair::AboveBand:
            key = "IDS_REPAIR_ABOVE_BAND";
            break;
        case FrequencyRepair::BelowBand:
            key = "IDS_REPAIR_BELOW_BAND";
            break;
        case FrequencyRepair::Snapped:
            key = "IDS_REPAIR_STEP";
            break;
        case FrequencyRepair::NotAFrequency:
            key = "IDS_REPAIR_NOT_FREQUENCY";
            break;
    }
    const QString pattern = QString::fromStdString(lookupText(key));
    const QString message = entry.repair == FrequencyRepair::NotAFrequency
                                ? pattern.arg(typed)
                                : pattern.arg(typed, QString::fromStdString(entry.kept));
    shell_.showStatusMessage(message.toStdString());
}

void CZavoView::closeListPicker() {
    if (grid_ == nullptr || listPicker_ == nullptr) {
        return;
    }
    grid_->setEditOverlay(false);
    listPicker_->dismiss();
    document_.endChange();
    if (isChannel(editRow_)) {
        grid_->invalidateRow(editRow_);
    }
}

}  // namespace qzm
