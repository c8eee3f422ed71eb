// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QWidget>
#include <array>
#include <cstddef>
#include <ctime>
#include <functional>
#include <optional>

#include "grid/grid_types.h"
#include "platform/text_source.h"
#include "radio/channel_list_print.h"
#include "radio/document_view.h"
#include "radio/field_bytes.h"

class QComboBox;
class QHelpEvent;
class QPainter;
class QPaintDevice;

namespace qzm {

class AppShell;
class CGridCtrl;
class ChannelCommands;
class CZavoDoc;
class FrequencyEdit;
class ListPicker;
class TonePicker;

// The editor form (template 101), the one view of the document.  It keeps no
// copy of any radio value: every control is filled from the image by
// OnUpdate, the single refill path, and every change the user makes is
// written into the image at once.  Only the check boxes have state of their
// own, the six integers that UpdateData exchanges with them.
class CZavoView : public QWidget, public DocumentView, public GridOwner {
    Q_OBJECT

  public:
    CZavoView(AppShell& shell, CZavoDoc& document, QWidget* parent = nullptr);
    ~CZavoView() override;

    CZavoDoc& document() { return document_; }

    // After every New and Open: the refill, the main window fitted to the
    // form, the menu retitled.
    void OnInitialUpdate();
    // Window title, settings panel, then the check boxes from the integers.
    void OnUpdate() override;

    // The check-box integer (0 or 1) of control 1023, 1024, 1027, 1028, 1029
    // or 1030; the printout reads these.  0 for any other id.
    int checkBoxValue(int controlId) const;

    // --- channel grid (control 1016) ---
    // Shape on first use, then the column titles and all 16 rows from the image.
    void setUpGrid();
    // States, colours and texts of channel n's row, then the row is redrawn.
    void refreshRow(int n);
    // One cell's text and format from the image; no state, no redraw.
    void showFrequencyCell(int n, ChannelSide side);
    void showToneCell(int n, ChannelSide side);
    void showFlagCell(int n, int column);
    // GN_EDIT_REQUEST: opens the editor of the cell over it.
    void beginCellEdit(const GridNotify& notify);
    int onGridNotify(const GridNotify& notify) override;

    // Values the radio cannot use as stored (zavo_view_damaged.cpp): the
    // mark a cell shows and its tooltip, empty for a sound value.
    QString damagedCellText(int n, int column) const;
    QString damagedCellToolTip(int n, int column) const;
    // The text of the one warning box, empty when every value is sound.
    QString damagedValuesWarning() const;
    // Shows that box when an image arrives (open, read, import, restore);
    // true when it was shown.
    bool warnOfDamagedValues();

    CGridCtrl* grid() const { return grid_; }
    // The Edit menu's commands on this form.
    ChannelCommands* channelCommands() const { return channelCommands_; }
    // Closes an open floating editor, storing what it holds, as losing the focus does.
    void finishCellEdit();
    FrequencyEdit* frequencyEdit() const { return frequencyEdit_; }
    TonePicker* tonePicker() const { return tonePicker_; }
    ListPicker* listPicker() const { return listPicker_; }
    // The cell of the latest edit request; the commits write there.
    int editRow() const { return editRow_; }
    int editColumn() const { return editColumn_; }

    // --- printing (zavo_view_print.cpp): the four steps of the print loop ---
    // Before the print dialog: the margins; returns the last page number.
    int OnPreparePrinting();
    // Once per job on the printer's painter: measuring font, character width,
    // printable area and the logical page.
    void OnBeginPrinting(QPainter& dc);
    // One page: date line, settings block (page 1), heading, programmed rows.
    void OnPrint(QPainter& dc, int page);
    void OnEndPrinting();
    // The whole loop on one device (printer, preview, PDF writer).  False when
    // the device could not be started or the page could not be mapped.
    bool printOn(QPaintDevice& device);
    // The texts of the settings block as printed, line by line, cell by cell;
    // a check box's yes or no comes from `texts`.
    QString printedSettingText(int line, int cell, const TextSource& texts) const;
    // The date line's clock; tests fix it.
    void setPrintClock(std::function<std::time_t()> clock) { printClock_ = std::move(clock); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Captions from the language file, then every list, the DTMF field and
    // the check-box integers from the image.
    virtual void fillSettingsPanel();

    // The check boxes from the integers (fromControls false) or the integers
    // from the check boxes (true).
    void UpdateData(bool fromControls);

    AppShell& shell_;
    CZavoDoc& document_;

  private:
    void connectControls();
    void setReadingOrder();

    void onCheckBoxClicked(int controlId);
    void onListChanged(int controlId);
    void onDtmfFocusLost();
    void onBandListChanged();
    // The settings list being changed ends its history step.
    void endListChange();
    int programmedChannelCount() const;

    void bindChannelGrid();
    void shapeGrid();
    void writeCell(int row, int column, const QString& text);
    void dismissEditors();
    void markDamagedCells(int n);
    // Accessible names of the floating editors for the cell (row 0: no channel).
    void nameEditors(int row, int column);
    bool showDamagedToolTip(const QHelpEvent& help);
    // Says in the status bar what became of a typed entry.
    void tellFrequencyEntry(const QString& typed);
    // Commits of the floating editors, for the cell editRow_/editColumn_.
    void commitFrequency();
    void commitTone();
    void commitListChoice();
    void closeListPicker();

    QComboBox* list(int controlId) const;

    // The check-box integers, 0 = clear, 1 = ticked, in the order of the
    // check-box table in zavo_view.cpp.
    static constexpr std::size_t kCheckBoxCount = 6;
    std::array<int, kCheckBoxCount> checkValues_{};

    CGridCtrl* grid_ = nullptr;
    ChannelCommands* channelCommands_ = nullptr;
    FrequencyEdit* frequencyEdit_ = nullptr;
    TonePicker* tonePicker_ = nullptr;
    ListPicker* listPicker_ = nullptr;
    int editRow_ = 0;
    int editColumn_ = 0;
    // The settings list whose change is under way (0: none).
    int changingList_ = 0;

    // Print state of one job, from begin to end.
    std::optional<QFont> printFont_;
    std::optional<PrintPageLayout> printLayout_;
    std::function<std::time_t()> printClock_ = [] { return std::time(nullptr); };
};

}  // namespace qzm
