// SPDX-License-Identifier: GPL-3.0-or-later
// The channel grid of the editor form: its shape, the cells derived from the
// image, and the dispatch of an edit request to the floating editor of the
// cell's column.

#include <QString>
#include <algorithm>
#include <array>
#include <new>
#include <string_view>

#include "editor/form_ids.h"
#include "editor/qt/floating_editors.h"
#include "editor/qt/zavo_view.h"
#include "grid/grid_ctrl.h"
#include "lang/language_sections.h"
#include "lang/text_lookup.h"
#include "platform/qt/app_shell.h"
#include "platform/qt/colour.h"
#include "platform/qt/dialog_builder.h"
#include "platform/qt/text_draw.h"
#include "radio/channel_commit.h"
#include "radio/channel_record.h"
#include "radio/zavo_doc.h"

namespace qzm {
namespace {

constexpr int kGridRows = kChannelCount + 1;
constexpr int kGridColumns = 10;
constexpr int kNumberColumnWidth = 40;
constexpr int kFieldColumnWidth = 100;  // columns 1 to 4
constexpr int kFlagColumnWidth = 70;    // columns 5 to 9
constexpr int kTitleRowHeight = 28;
constexpr int kChannelRowHeight = 21;
constexpr int kFirstFlagColumn = 5;
constexpr std::uint32_t kCellFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

constexpr int kRxFrequencyColumn = 1;
constexpr int kRxToneColumn = 2;
constexpr int kTxFrequencyColumn = 3;
constexpr int kTxToneColumn = 4;

// The entries of a flag column's picker; the position is the bit value.
std::array<std::string_view, 2> flagKeys(int column) {
    switch (column) {
        case 6:
            return {"IDS_WIDE", "IDS_NARROW"};
        case 7:
            return {"IDS_LOW", "IDS_HIGH"};
        default:
            return {"IDS_YES", "IDS_NO"};
    }
}

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

}  // namespace

void CZavoView::bindChannelGrid() {
    grid_ = new CGridCtrl(this);
    if (!grid_->bindToControl(this, IDC_CHANNEL_GRID)) {
        delete grid_;
        grid_ = nullptr;
    } else {
        grid_->setOwner(this);
        // Arrows move between the cells; Tab goes on to the next control, so
        // the keyboard never gets caught in 144 cells.
        grid_->setTabNavigation(false);
        // Damaged values explain themselves in a tooltip.
        grid_->viewport()->installEventFilter(this);
    }
    frequencyEdit_ = findControl<FrequencyEdit>(this, IDC_FREQUENCY_EDIT);
    tonePicker_ = findControl<TonePicker>(this, IDC_TONE_PICKER);
    listPicker_ = findControl<ListPicker>(this, IDC_LIST_PICKER);
    // The editors are reached only through the grid, never by Tab.
    for (QWidget* editor :
         {static_cast<QWidget*>(frequencyEdit_), static_cast<QWidget*>(tonePicker_),
          static_cast<QWidget*>(listPicker_)}) {
        if (editor != nullptr) {
            editor->setFocusPolicy(Qt::ClickFocus);
        }
    }
    nameEditors(0, 0);
    if (frequencyEdit_ != nullptr) {
        connect(frequencyEdit_, &FrequencyEdit::focusLost, this, [this] { commitFrequency(); });
    }
    if (tonePicker_ != nullptr) {
        connect(tonePicker_, &TonePicker::focusLost, this, [this] { commitTone(); });
    }
    if (listPicker_ != nullptr) {
        connect(listPicker_, &ListPicker::activated, this, [this] { commitListChoice(); });
        connect(listPicker_, &ListPicker::focusLost, this, [this] { closeListPicker(); });
    }
}

void CZavoView::nameEditors(int row, int column) {
    // A screen reader names the open editor by its cell: "Channel 3, RX Freq".
    const auto titles = columnTitles();
    const auto title = [&titles](int c) {
        return text(titles[static_cast<std::size_t>(std::clamp(c, 0, 9))]);
    };
    const auto name = [&](int c) {
        return row >= 1 && row <= kChannelCount
                   ? text(lookupText("IDS_EDITOR_NAME")).arg(QString::number(row), title(c))
                   : title(c);
    };
    if (frequencyEdit_ != nullptr) {
        frequencyEdit_->setAccessibleName(name(column == 3 ? 3 : 1));
    }
    if (tonePicker_ != nullptr) {
        tonePicker_->setAccessibleName(name(column == 4 ? 4 : 2));
    }
    if (listPicker_ != nullptr) {
        listPicker_->setAccessibleName(name(column >= 5 && column <= 9 ? column : 5));
    }
}

void CZavoView::shapeGrid() {
    grid_->setResizeAllowed(false, false);
    grid_->clearSelection();
    // Whole channels are selected for the Edit menu's commands.
    grid_->setSelectionAllowed(true);
    grid_->clearSelection();
    grid_->setColumnWidth(0, kNumberColumnWidth);
    for (int column = 1; column < kGridColumns; ++column) {
        grid_->setColumnWidth(column,
                              column < kFirstFlagColumn ? kFieldColumnWidth : kFlagColumnWidth);
    }
    grid_->setRowHeight(0, kTitleRowHeight);
    for (int row = 1; row < kGridRows; ++row) {
        grid_->setRowHeight(row, kChannelRowHeight);
    }
}

void CZavoView::setUpGrid() {
    if (grid_ == nullptr) {
        return;
    }
    if (grid_->rowCount() != kGridRows) {
        try {
            grid_->setRowCount(kGridRows);
            grid_->setColumnCount(kGridColumns);
            grid_->setFixedRowCount(1);
            grid_->setFixedColumnCount(1);
        } catch (const std::bad_alloc&) {
            shell_.messageBox().show(
                "Out of memory.", lookupText("IDS_WINDOWNAME"),
                {MessageIcon::Stop, MessageButtons::Ok, MessageOwner::MainWindow});
            return;
        }
        shapeGrid();
    }
    grid_->enableRedraw(false);
    const auto titles = columnTitles();
    for (std::size_t column = 0; column < titles.size(); ++column) {
        writeCell(0, static_cast<int>(column), text(titles[column]));
    }
    for (int n = 1; n <= kChannelCount; ++n) {
        writeCell(n, 0, QString::number(n));
        refreshRow(n);
    }
    grid_->enableRedraw(true, true);
}

void CZavoView::writeCell(int row, int column, const QString& cellText) {
    GridItem item;
    item.row = row;
    item.col = column;
    item.mask = ITEM_TEXT | ITEM_FORMAT;
    item.text = cellText;
    item.format = kCellFormat;
    grid_->writeItem(&item);
}

void CZavoView::dismissEditors() {
    if (frequencyEdit_ != nullptr) {
        frequencyEdit_->dismiss();
    }
    if (tonePicker_ != nullptr) {
        tonePicker_->dismiss();
    }
    if (listPicker_ != nullptr) {
        listPicker_->dismiss();
    }
}

void CZavoView::refreshRow(int n) {
    if (grid_ == nullptr || n < 1 || n > kChannelCount) {
        return;
    }
    // An empty channel lets the user type its receive frequency only; the
    // transmit tone waits for a transmit frequency.
    const bool rxEmpty = document_.isRxEmpty(n);
    const bool anyEmpty = document_.isAnyFrequencyEmpty(n);
    for (int column = 1; column < kGridColumns; ++column) {
        const bool readOnly = column == kRxFrequencyColumn ? false
                              : column == kTxToneColumn    ? rxEmpty || anyEmpty
                                                           : rxEmpty;
        const std::uint32_t state = grid_->cellState(n, column);
        grid_->setCellState(n, column, readOnly ? state | CELL_READONLY : state & ~CELL_READONLY);
        grid_->setCellTextColour(n, column,
                                 readOnly ? systemColour(COLOR_GRAYTEXT) : DEFAULT_COLOUR);
    }
    if (rxEmpty) {
        for (int column = 1; column < kGridColumns; ++column) {
            writeCell(n, column, QString());
        }
    } else {
        dismissEditors();
        showFrequencyCell(n, ChannelSide::Receive);
        showToneCell(n, ChannelSide::Receive);
        showFrequencyCell(n, ChannelSide::Transmit);
        if (document_.frequencyText(n, ChannelSide::Transmit).empty()) {
            writeCell(n, kTxToneColumn, QString());
        } else {
            showToneCell(n, ChannelSide::Transmit);
        }
        for (const int column : {8, 6, 7, 5, 9}) {
            showFlagCell(n, column);
        }
    }
    markDamagedCells(n);
    grid_->invalidateRow(n);
}

void CZavoView::showFrequencyCell(int n, ChannelSide side) {
    if (grid_ == nullptr) {
        return;
    }
    writeCell(n, side == ChannelSide::Receive ? kRxFrequencyColumn : kTxFrequencyColumn,
              text(document_.frequencyText(n, side)));
}

void CZavoView::showToneCell(int n, ChannelSide side) {
    if (grid_ == nullptr) {
        return;
    }
    writeCell(n, side == ChannelSide::Receive ? kRxToneColumn : kTxToneColumn,
              text(document_.toneText(n, side)));
}

void CZavoView::showFlagCell(int n, int column) {
    const std::optional<ChannelFlag> flag = channelFlagOfColumn(column);
    if (grid_ == nullptr || !flag) {
        return;
    }
    const int value = channelFlag(document_.image(), n, *flag);
    writeCell(n, column, text(lookupText(flagKeys(column)[value != 0 ? 1 : 0])));
}

int CZavoView::onGridNotify(const GridNotify& notify) {
    if (notify.header.code == GN_EDIT_REQUEST && notify.header.controlId == IDC_CHANNEL_GRID) {
        beginCellEdit(notify);
    }
    return 0;
}

void CZavoView::beginCellEdit(const GridNotify& notify) {
    if (grid_ == nullptr) {
        return;
    }
    // The editors are children of the form, lying over the grid.
    const QRect rect(mapFromGlobal(notify.rect.topLeft()), notify.rect.size());
    shell_.showStatusMessage({});  // the note of the last edit goes with the next one
    editRow_ = notify.item.row;
    editColumn_ = notify.item.col;
    // Whatever the editor stores until it closes is one step.
    document_.beginChange({EditKind::CellEdit, 1});
    nameEditors(editRow_, editColumn_);
    switch (editColumn_) {
        case kRxFrequencyColumn:
        case kTxFrequencyColumn:
            if (frequencyEdit_ != nullptr) {
                grid_->setEditOverlay(true);
                // A damaged value opens empty: its mark is no text to edit.
                frequencyEdit_->openAt(rect, damagedCellText(editRow_, editColumn_).isEmpty()
                                                 ? notify.item.text
                                                 : QString());
            }
            break;
        case kRxToneColumn:
        case kTxToneColumn:
            if (tonePicker_ != nullptr && editRow_ >= 1 && editRow_ <= kChannelCount) {
                const ChannelSide side =
                    editColumn_ == kRxToneColumn ? ChannelSide::Receive : ChannelSide::Transmit;
                grid_->setEditOverlay(true);
                tonePicker_->openOnTone(rect, document_.image().tone(editRow_, side),
                                        text(document_.toneText(editRow_, side)));
            }
            break;
        case 5:
        case 6:
        case 7:
        case 8:
        case 9:
            if (listPicker_ != nullptr) {
                grid_->setEditOverlay(true);
                listPicker_->clear();
                for (const std::string_view key : flagKeys(editColumn_)) {
                    listPicker_->addEntry(text(lookupText(key)));
                }
                listPicker_->openAt(rect, notify.item.text);
            }
            break;
        default:
            break;
    }
}

}  // namespace qzm
