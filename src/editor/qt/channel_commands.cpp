// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/qt/channel_commands.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QMouseEvent>
#include <algorithm>
#include <string>

#include "editor/channel_clipboard.h"
#include "editor/qt/zavo_view.h"
#include "grid/grid_ctrl.h"
#include "lang/qt/ui_text.h"
#include "lang/text_lookup.h"
#include "platform/qt/app_shell.h"
#include "radio/channel_operations.h"
#include "radio/zavo_doc.h"

namespace qzm {
namespace {

constexpr int kFirstFieldColumn = 1;
constexpr int kLastFieldColumn = 9;

// A language text with %1, %2 ... filled in.
struct StepKeys {
    EditKind kind;
    std::string_view key;
    std::string_view keyOfOne;  // empty: the count is not named
};
constexpr StepKeys kStepKeys[] = {
    {EditKind::Change, "IDS_STEP_CHANGE", ""},
    {EditKind::CellEdit, "IDS_STEP_CELL_EDIT", ""},
    {EditKind::CheckBox, "IDS_STEP_CHECK_BOX", ""},
    {EditKind::SettingsList, "IDS_STEP_SETTINGS_LIST", ""},
    {EditKind::DtmfCode, "IDS_STEP_DTMF", ""},
    {EditKind::BandChange, "IDS_STEP_BAND", ""},
    {EditKind::CsvImport, "IDS_STEP_CSV_IMPORT", ""},
    {EditKind::ChirpImport, "IDS_STEP_CHIRP_IMPORT", ""},
    {EditKind::RadioRead, "IDS_STEP_READ", ""},
    {EditKind::Paste, "IDS_STEP_PASTE", "IDS_STEP_PASTE_ONE"},
    {EditKind::Cut, "IDS_STEP_CUT", "IDS_STEP_CUT_ONE"},
    {EditKind::ClearChannels, "IDS_STEP_CLEAR", "IDS_STEP_CLEAR_ONE"},
    {EditKind::InsertChannel, "IDS_STEP_INSERT", "IDS_STEP_INSERT_ONE"},
    {EditKind::DeleteChannels, "IDS_STEP_DELETE", "IDS_STEP_DELETE_ONE"},
    {EditKind::MoveUp, "IDS_STEP_MOVE_UP", "IDS_STEP_MOVE_UP_ONE"},
    {EditKind::MoveDown, "IDS_STEP_MOVE_DOWN", "IDS_STEP_MOVE_DOWN_ONE"},
};

}  // namespace

ChannelCommands::ChannelCommands(AppShell& shell, CZavoView& view)
    : QObject(&view), shell_(shell), view_(view) {
    if (CGridCtrl* grid = view_.grid()) {
        grid->viewport()->installEventFilter(this);
    }
}

template <typename Write>
bool ChannelCommands::runStep(EditKind kind, int count, Write&& write) {
    view_.finishCellEdit();
    CZavoDoc& document = view_.document();
    const bool recorded = document.change({kind, count}, [&] { write(document.image()); });
    document.UpdateAllViews();
    return recorded;
}

// --- selection ---

std::vector<int> ChannelCommands::selectedChannels() const {
    CGridCtrl* grid = view_.grid();
    if (grid == nullptr) {
        return {};
    }
    std::vector<int> rows;
    for (const CellId& cell : grid->selectedCells()) {
        rows.push_back(cell.row);
    }
    rows = normalizedChannels(rows);
    if (rows.empty() && RadioImage::isValidChannel(grid->focusCell().row)) {
        rows.push_back(grid->focusCell().row);
    }
    return rows;
}

int ChannelCommands::currentChannel() const {
    const std::vector<int> channels = selectedChannels();
    return channels.empty() ? 1 : channels.front();
}

void ChannelCommands::selectChannels(const std::vector<int>& channels) {
    CGridCtrl* grid = view_.grid();
    if (grid == nullptr) {
        return;
    }
    // Cell states directly: the grid's own range selection would bring back a selection
    // kept from an earlier Ctrl+click.
    for (const CellId& cell : grid->selectedCells()) {
        grid->setCellState(cell.row, cell.col,
                           grid->cellState(cell.row, cell.col) & ~CELL_SELECTED);
        grid->invalidateCell(cell.row, cell.col);
    }
    const std::vector<int> rows = normalizedChannels(channels);
    for (const int row : rows) {
        for (int col = kFirstFieldColumn; col <= kLastFieldColumn; ++col) {
            grid->setCellState(row, col, grid->cellState(row, col) | CELL_SELECTED);
        }
        grid->invalidateRow(row);
    }
    if (!rows.empty()) {
        const int col = std::max(grid->focusCell().col, kFirstFieldColumn);
        grid->moveFocus(rows.front(), col);
    }
}

void ChannelCommands::selectAll() {
    std::vector<int> all;
    for (int n = 1; n <= kChannelCount; ++n) {
        all.push_back(n);
    }
    const CellId focus = view_.grid() != nullptr ? view_.grid()->focusCell() : CellId{};
    selectChannels(all);
    // The current cell stays where it was.
    if (view_.grid() != nullptr && RadioImage::isValidChannel(focus.row)) {
        view_.grid()->moveFocus(focus);
    }
}

bool ChannelCommands::eventFilter(QObject* watched, QEvent* event) {
    // A right click on a channel outside the selection selects it first, so the menu
    // acts on the channel under the pointer.
    CGridCtrl* grid = view_.grid();
    if (grid != nullptr && watched == grid->viewport() &&
        event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        const CellId cell = grid->hitTest(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (RadioImage::isValidChannel(cell.row)) {
            std::vector<int> selected;
            for (const CellId& id : grid->selectedCells()) {
                selected.push_back(id.row);
            }
            if (std::ranges::find(selected, cell.row) == selected.end()) {
                selectChannels({cell.row});
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

// --- undo and redo ---

QString ChannelCommands::stepName(const EditStep& step) {
    for (const StepKeys& keys : kStepKeys) {
        if (keys.kind != step.kind) {
            continue;
        }
        if (!keys.keyOfOne.empty() && step.count == 1) {
            return uiText(keys.keyOfOne);
        }
        return uiText(keys.key, {QString::number(step.count)});
    }
    return uiText("IDS_STEP_CHANGE");
}

bool ChannelCommands::canUndo() const {
    return view_.document().canUndo();
}

bool ChannelCommands::canRedo() const {
    return view_.document().canRedo();
}

QString ChannelCommands::undoItemText() const {
    const std::optional<EditStep> step = view_.document().undoStep();
    return step ? uiText("IDS_UNDO_NAMED", {stepName(*step)}) : uiText("Menu_Edit_Undo");
}

QString ChannelCommands::redoItemText() const {
    const std::optional<EditStep> step = view_.document().redoStep();
    return step ? uiText("IDS_REDO_NAMED", {stepName(*step)}) : uiText("Menu_Edit_Redo");
}

void ChannelCommands::undo() {
    // An open editor stores first, so its commit cannot land in the restored image.
    view_.finishCellEdit();
    CZavoDoc& document = view_.document();
    const std::optional<EditStep> step = document.undoStep();
    if (step && document.undo()) {
        tell(uiText("IDS_STATUS_UNDONE", {stepName(*step)}).remove(u'&'));
    }
}

void ChannelCommands::redo() {
    view_.finishCellEdit();
    CZavoDoc& document = view_.document();
    const std::optional<EditStep> step = document.redoStep();
    if (step && document.redo()) {
        tell(uiText("IDS_STATUS_REDONE", {stepName(*step)}).remove(u'&'));
    }
}

// --- the clipboard ---

ChannelTexts ChannelCommands::gridTexts() {
    ChannelTexts texts;
    texts.offText = lookupText("IDS_OFF");
    const std::string yes = lookupText("IDS_YES");
    const std::string no = lookupText("IDS_NO");
    texts.flagTexts = {{{yes, no},
                        {lookupText("IDS_WIDE"), lookupText("IDS_NARROW")},
                        {lookupText("IDS_LOW"), lookupText("IDS_HIGH")},
                        {yes, no},
                        {yes, no}}};
    return texts;
}

bool ChannelCommands::canPaste() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data != nullptr && (data->hasFormat(QString::fromUtf8(
                                   kChannelClipboardMime.data(),
                                   static_cast<qsizetype>(kChannelClipboardMime.size()))) ||
                               data->hasText());
}

void ChannelCommands::copy() {
    view_.finishCellEdit();
    const std::vector<int> channels = selectedChannels();
    if (channels.empty()) {
        return;
    }
    const RadioImage& image = view_.document().image();
    std::vector<ChannelRecord> records;
    for (const int n : channels) {
        records.push_back(image.channelRecord(n));
    }
    const std::vector<std::uint8_t> bytes = encodeChannelRecords(records);
    auto* data = new QMimeData;
    data->setData(QString::fromUtf8(kChannelClipboardMime.data(),
                                    static_cast<qsizetype>(kChannelClipboardMime.size())),
                  QByteArray(reinterpret_cast<const char*>(bytes.data()),
                             static_cast<qsizetype>(bytes.size())));
    data->setText(QString::fromStdString(channelRowsText(image, channels, gridTexts())));
    QApplication::clipboard()->setMimeData(data);
    tell(uiText("IDS_STATUS_COPIED", {QString::number(channels.size())}));
}

void ChannelCommands::cut() {
    const std::vector<int> channels = selectedChannels();
    if (channels.empty()) {
        return;
    }
    copy();
    runStep(EditKind::Cut, static_cast<int>(channels.size()),
            [&](RadioImage& image) { clearChannels(image, channels); });
    tell(uiText("IDS_STATUS_CUT", {QString::number(channels.size())}));
}

void ChannelCommands::paste() {
    view_.finishCellEdit();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    const int first = currentChannel();
    const QString ownFormat = QString::fromUtf8(
        kChannelClipboardMime.data(), static_cast<qsizetype>(kChannelClipboardMime.size()));
    if (data != nullptr && data->hasFormat(ownFormat)) {
        const QByteArray raw = data->data(ownFormat);
        const auto records = decodeChannelRecords(
            std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(raw.constData()),
                                          static_cast<std::size_t>(raw.size())));
        if (records) {
            int written = 0;
            int dropped = 0;
            runStep(EditKind::Paste,
                    std::min<int>(static_cast<int>(records->size()), kChannelCount - first + 1),
                    [&](RadioImage& image) {
                        dropped = pasteChannelRecords(image, first, *records, &written);
                    });
            QString message =
                uiText("IDS_STATUS_PASTED", {QString::number(written), QString::number(first)});
            if (dropped > 0) {
                message += u' ' + uiText("IDS_STATUS_PASTE_DROPPED", {QString::number(dropped)});
            }
            selectChannels([&] {
                std::vector<int> rows;
                for (int n = first; n < first + written; ++n) {
                    rows.push_back(n);
                }
                return rows;
            }());
            tell(message);
            return;
        }
    }
    if (data == nullptr || !data->hasText()) {
        tell(uiText("IDS_STATUS_PASTE_EMPTY"));
        return;
    }
    const std::string rows = data->text().toStdString();
    // Tried on a copy first: a text with no usable row changes nothing at all.
    RadioImage trial = view_.document().image();
    const ChannelPasteResult tried =
        pasteChannelRows(trial, view_.document().bandLimits(), first, rows, gridTexts());
    if (tried.pasted == 0) {
        QString message = uiText("IDS_STATUS_PASTE_NOTHING");
        if (tried.droppedPastEnd > 0) {
            message +=
                u' ' + uiText("IDS_STATUS_PASTE_DROPPED", {QString::number(tried.droppedPastEnd)});
        }
        tell(message);
        return;
    }
    ChannelPasteResult result;
    runStep(EditKind::Paste, tried.pasted, [&](RadioImage& image) {
        result = pasteChannelRows(image, view_.document().bandLimits(), first, rows, gridTexts());
    });
    QString message =
        uiText("IDS_STATUS_PASTED", {QString::number(result.pasted), QString::number(first)});
    const std::pair<std::string_view, int> notes[] = {
        {"IDS_STATUS_PASTE_DROPPED", result.droppedPastEnd},
        {"IDS_STATUS_PASTE_UNUSABLE", result.unusableRows},
        {"IDS_STATUS_PASTE_NOT_READ", result.valuesNotRead},
        {"IDS_STATUS_PASTE_REPAIRED", result.valuesRepaired},
    };
    for (const auto& [key, count] : notes) {
        if (count > 0) {
            message += u' ' + uiText(key, {QString::number(count)});
        }
    }
    std::vector<int> pasted;
    for (int n = first; n < first + result.pasted; ++n) {
        pasted.push_back(n);
    }
    selectChannels(pasted);
    tell(message);
}

// --- channel operations ---

void ChannelCommands::clear() {
    const std::vector<int> channels = selectedChannels();
    if (channels.empty()) {
        return;
    }
    runStep(EditKind::ClearChannels, static_cast<int>(channels.size()),
            [&](RadioImage& image) { clearChannels(image, channels); });
}

void ChannelCommands::insertEmpty() {
    view_.finishCellEdit();
    const std::vector<int> channels = selectedChannels();
    if (channels.empty()) {
        return;
    }
    const int at = channels.front();
    const int count = static_cast<int>(channels.size());
    const int lost = channelsPushedOff(view_.document().image(), at, count);
    if (lost > 0) {
        const MessageResult answer = shell_.messageBox().show(
            uiText("IDS_WARN_INSERT", {QString::number(lost)}).toStdString(),
            lookupText("IDS_CONFIRM"),
            {MessageIcon::Exclamation, MessageButtons::OkCancel, MessageOwner::MainWindow});
        if (answer != MessageResult::Ok) {
            return;
        }
    }
    runStep(EditKind::InsertChannel, count,
            [&](RadioImage& image) { insertEmptyChannels(image, at, count); });
    std::vector<int> inserted;
    for (int n = at; n < at + count && n <= kChannelCount; ++n) {
        inserted.push_back(n);
    }
    selectChannels(inserted);
}

void ChannelCommands::remove() {
    const std::vector<int> channels = selectedChannels();
    if (channels.empty()) {
        return;
    }
    runStep(EditKind::DeleteChannels, static_cast<int>(channels.size()),
            [&](RadioImage& image) { deleteChannels(image, channels); });
    selectChannels({channels.front()});
}

bool ChannelCommands::canMoveUp() const {
    return qzm::canMoveUp(selectedChannels());
}

bool ChannelCommands::canMoveDown() const {
    return qzm::canMoveDown(selectedChannels());
}

void ChannelCommands::moveUp() {
    const std::vector<int> channels = selectedChannels();
    if (!qzm::canMoveUp(channels)) {
        return;
    }
    std::vector<int> moved;
    runStep(EditKind::MoveUp, static_cast<int>(channels.size()),
            [&](RadioImage& image) { moved = moveChannelsUp(image, channels); });
    selectChannels(moved);
}

void ChannelCommands::moveDown() {
    const std::vector<int> channels = selectedChannels();
    if (!qzm::canMoveDown(channels)) {
        return;
    }
    std::vector<int> moved;
    runStep(EditKind::MoveDown, static_cast<int>(channels.size()),
            [&](RadioImage& image) { moved = moveChannelsDown(image, channels); });
    selectChannels(moved);
}

void ChannelCommands::tell(const QString& message) {
    shell_.showStatusMessage(message.toStdString());
}

}  // namespace qzm
