// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/qt/zavo_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QLabel>
#include <iterator>
#include <string>
#include <vector>

#include "editor/qt/channel_commands.h"
#include "editor/qt/dtmf_edit.h"
#include "editor/qt/floating_editors.h"
#include "editor/qt/guarded_list.h"
#include "editor/qt/zavo_form.h"
#include "editor/settings_entries.h"
#include "grid/grid_ctrl.h"
#include "lang/language_sections.h"
#include "lang/qt/apply_resource_texts.h"
#include "lang/text_lookup.h"
#include "platform/command_ids.h"
#include "platform/qt/app_shell.h"
#include "platform/qt/dialog_builder.h"
#include "platform/settings.h"
#include "radio/channel_record.h"
#include "radio/value_codecs.h"
#include "radio/zavo_doc.h"

namespace qzm {
namespace {

constexpr int kDtmfMaxCharacters = 5;

// The six check boxes with their fields, in the order of the view's integers.
struct CheckBoxField {
    int id;
    bool (CZavoDoc::*get)() const;
    void (CZavoDoc::*set)(int);
};
constexpr CheckBoxField kCheckBoxFields[] = {
    {IDC_BEEP, &CZavoDoc::beepEnabled, &CZavoDoc::setBeepEnabled},
    {IDC_BATTERY_SAVE, &CZavoDoc::batterySave, &CZavoDoc::setBatterySave},
    {IDC_FM_RADIO, &CZavoDoc::fmRadioEnabled, &CZavoDoc::setFmRadioEnabled},
    {IDC_VOICE, &CZavoDoc::voiceEnabled, &CZavoDoc::setVoiceEnabled},
    {IDC_SCAN, &CZavoDoc::scanEnabled, &CZavoDoc::setScanEnabled},
    {IDC_VOX, &CZavoDoc::voxEnabled, &CZavoDoc::setVoxEnabled},
};

// The lists besides the band list, in the order they are filled.  The position
// of an entry is the value its field stores.
struct ListField {
    int id;
    int (CZavoDoc::*get)() const;
    void (CZavoDoc::*set)(int);
};
constexpr ListField kListFields[] = {
    {IDC_VOICE_PROMPT, &CZavoDoc::voicePrompt, &CZavoDoc::setVoicePrompt},
    {IDC_SQUELCH, &CZavoDoc::squelchLevel, &CZavoDoc::setSquelchLevel},
    {IDC_SIDE_KEY1, &CZavoDoc::sideKey1, &CZavoDoc::setSideKey1},
    {IDC_SIDE_KEY2, &CZavoDoc::sideKey2, &CZavoDoc::setSideKey2},
    {IDC_TX_TIME_LIMIT, &CZavoDoc::txTimeLimit, &CZavoDoc::setTxTimeLimit},
    {IDC_VOX_LEVEL, &CZavoDoc::voxLevel, &CZavoDoc::setVoxLevel},
    {IDC_SCAN_MODE, &CZavoDoc::scanMode, &CZavoDoc::setScanMode},
    {IDC_FM_FREQUENCY, &CZavoDoc::fmFrequency, &CZavoDoc::setFmFrequency},
};

// Entries are read at each refill, so a language switch shows the new texts.
std::vector<std::string> listEntries(int id) {
    switch (id) {
        case IDC_BAND_LIST:
            return readBandNames(settingsPath());
        case IDC_VOICE_PROMPT:
            return voiceAnnunciationEntries();
        case IDC_SQUELCH:
            return squelchEntries();
        case IDC_SIDE_KEY1:
        case IDC_SIDE_KEY2:
            return monitorKeyEntries();
        case IDC_TX_TIME_LIMIT:
            return txTimeLimitEntries(lookupText("IDS_OFF"));
        case IDC_VOX_LEVEL:
            return voxLevelEntries();
        case IDC_SCAN_MODE:
            return scanModeEntries();
        case IDC_FM_FREQUENCY:
            return fmFrequencyEntries();
        default:
            return {};
    }
}

// A position the list has no entry for shows no entry: a stored value the
// list cannot show is left alone until the user picks one.
void selectPosition(QComboBox* list, int position) {
    if (list == nullptr) {
        return;
    }
    list->setCurrentIndex(position >= 0 && position < list->count() ? position : -1);
}

void fillList(QComboBox* list, const std::vector<std::string>& entries, int position) {
    if (list == nullptr) {
        return;
    }
    list->clear();
    for (const std::string& entry : entries) {
        addListEntry(list, QString::fromStdString(entry));
    }
    selectPosition(list, position);
}

// Each caption names the control after it, so a screen reader announces
// "caption: value".
struct CaptionPair {
    int label;
    int control;
};
constexpr CaptionPair kCaptions[] = {
    {IDC_BAND_LABEL, IDC_BAND_LIST},
    {IDC_VOX_LEVEL_LABEL, IDC_VOX_LEVEL},
    {IDC_SQUELCH_LABEL, IDC_SQUELCH},
    {IDC_TX_TIME_LIMIT_LABEL, IDC_TX_TIME_LIMIT},
    {IDC_VOICE_PROMPT_LABEL, IDC_VOICE_PROMPT},
    {IDC_SIDE_KEY1_LABEL, IDC_SIDE_KEY1},
    {IDC_SCAN_MODE_LABEL, IDC_SCAN_MODE},
    {IDC_FM_FREQUENCY_LABEL, IDC_FM_FREQUENCY},
    {IDC_DTMF_LABEL, IDC_DTMF},
    {IDC_SIDE_KEY2_LABEL, IDC_SIDE_KEY2},
};

// The keyboard visits the panel column by column, top to bottom, as it is
// read, then the channel grid.
constexpr int kReadingOrder[] = {
    IDC_BAND_LIST,    IDC_VOX,       IDC_VOX_LEVEL, IDC_SQUELCH,      IDC_TX_TIME_LIMIT,
    IDC_VOICE_PROMPT, IDC_SIDE_KEY1, IDC_SCAN_MODE, IDC_BEEP,         IDC_SCAN,
    IDC_BATTERY_SAVE, IDC_VOICE,     IDC_FM_RADIO,  IDC_CHANNEL_GRID,
};

}  // namespace

CZavoView::CZavoView(AppShell& shell, CZavoDoc& document, QWidget* parent)
    : QWidget(parent), shell_(shell), document_(document) {
    static_assert(std::size(kCheckBoxFields) == kCheckBoxCount);
    buildDialog(*this, zavoFormTemplate(), makeZavoFormControl);
    bindChannelGrid();
    channelCommands_ = new ChannelCommands(shell_, *this);
    for (const CaptionPair& pair : kCaptions) {
        if (auto* label = findControl<QLabel>(this, pair.label)) {
            label->setBuddy(findControl(this, pair.control));
        }
    }
    setReadingOrder();
    connectControls();
    document_.addView(*this);
}

CZavoView::~CZavoView() {
    // Children go away after this body: no focus change may commit into a
    // view that is half destroyed, and the Edit commands' event filter on the
    // grid must not outlive the view it asks.
    delete channelCommands_;
    channelCommands_ = nullptr;
    dismissEditors();
    document_.removeView(*this);
}

bool CZavoView::eventFilter(QObject* watched, QEvent* event) {
    // A damaged cell's tooltip shows its stored bytes.
    if (grid_ != nullptr && watched == grid_->viewport() && event->type() == QEvent::ToolTip &&
        showDamagedToolTip(*static_cast<QHelpEvent*>(event))) {
        return true;
    }
    // Its own popup takes the focus from a list without ending its change.
    if (event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason && changingList_ != 0 &&
        watched == list(changingList_)) {
        endListChange();
    }
    return QWidget::eventFilter(watched, event);
}

void CZavoView::setReadingOrder() {
    QWidget* previous = nullptr;
    for (const int id : kReadingOrder) {
        QWidget* control = findControl(this, id);
        if (control == nullptr) {
            continue;
        }
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, control);
        }
        previous = control;
    }
}

void CZavoView::connectControls() {
    // Only the user's own actions count as changes: clicked and activated
    // are not raised when the refill sets a control.
    for (const CheckBoxField& field : kCheckBoxFields) {
        if (auto* box = findControl<QCheckBox>(this, field.id)) {
            const int id = field.id;
            connect(box, &QCheckBox::clicked, this, [this, id] { onCheckBoxClicked(id); });
        }
    }
    for (const ListField& field : kListFields) {
        if (QComboBox* combo = list(field.id)) {
            const int id = field.id;
            connect(combo, &QComboBox::activated, this, [this, id] { onListChanged(id); });
            combo->installEventFilter(this);
        }
    }
    if (QComboBox* band = list(IDC_BAND_LIST)) {
        guardAgainstStrayChoice(*band);
        connect(band, &QComboBox::activated, this, [this] { onBandListChanged(); });
    }
    if (auto* dtmf = findControl<DtmfEdit>(this, IDC_DTMF)) {
        connect(dtmf, &DtmfEdit::focusLost, this, [this] { onDtmfFocusLost(); });
    }
}

QComboBox* CZavoView::list(int controlId) const {
    return findControl<QComboBox>(this, controlId);
}

int CZavoView::checkBoxValue(int controlId) const {
    for (std::size_t i = 0; i < kCheckBoxCount; ++i) {
        if (kCheckBoxFields[i].id == controlId) {
            return checkValues_[i];
        }
    }
    return 0;
}

void CZavoView::UpdateData(bool fromControls) {
    for (std::size_t i = 0; i < kCheckBoxCount; ++i) {
        auto* box = findControl<QCheckBox>(this, kCheckBoxFields[i].id);
        if (box == nullptr) {
            continue;
        }
        if (fromControls) {
            checkValues_[i] = box->isChecked() ? 1 : 0;
        } else {
            box->setChecked(checkValues_[i] != 0);
        }
    }
}

void CZavoView::OnInitialUpdate() {
    UpdateData(false);
    OnUpdate();
    shell_.fitMainWindowToView();
    shell_.retitleMenu();
    if (frequencyEdit_ != nullptr) {
        frequencyEdit_->setOwnerWindow(grid_);
    }
    if (tonePicker_ != nullptr) {
        tonePicker_->setOwnerWindow(grid_);
    }
    if (listPicker_ != nullptr) {
        listPicker_->setOwnerWindow(grid_);
    }
}

void CZavoView::OnUpdate() {
    if (QWidget* frame = shell_.mainWindow()) {
        frame->setWindowTitle(QString::fromStdString(lookupText("IDS_WINDOWNAME")));
    }
    fillSettingsPanel();
    setUpGrid();
    if (tonePicker_ != nullptr) {
        tonePicker_->fillToneList();
    }
    UpdateData(false);
}

void CZavoView::fillSettingsPanel() {
    applyResourceTexts(this, IDD_ZAVO_FORM);
    fillList(list(IDC_BAND_LIST), listEntries(IDC_BAND_LIST), document_.bandIndex());
    for (const ListField& field : kListFields) {
        fillList(list(field.id), listEntries(field.id), (document_.*field.get)());
    }
    if (auto* dtmf = findControl<DtmfEdit>(this, IDC_DTMF)) {
        dtmf->setMaxLength(kDtmfMaxCharacters);
        dtmf->setText(QString::fromStdString(formatDtmf(document_.dtmfCode())));
    }
    for (std::size_t i = 0; i < kCheckBoxCount; ++i) {
        const CheckBoxField& field = kCheckBoxFields[i];
        checkValues_[i] = (document_.*field.get)() ? 1 : 0;
    }
    UpdateData(false);
}

void CZavoView::onCheckBoxClicked(int controlId) {
    UpdateData(true);
    document_.beginChange({EditKind::CheckBox, 1});
    for (std::size_t i = 0; i < kCheckBoxCount; ++i) {
        const CheckBoxField& field = kCheckBoxFields[i];
        if (field.id == controlId) {
            (document_.*field.set)(checkValues_[i]);
        }
    }
    document_.endChange();
}

void CZavoView::onListChanged(int controlId) {
    QComboBox* combo = list(controlId);
    if (combo == nullptr || combo->currentIndex() < 0) {
        return;
    }
    // One step per list for as long as it keeps the focus (a wheel or the arrow keys
    // pass many entries); the focus leaving it ends the step.
    if (changingList_ != controlId || !document_.changeOpen()) {
        document_.beginChange({EditKind::SettingsList, 1});
        changingList_ = controlId;
    }
    for (const ListField& field : kListFields) {
        if (field.id == controlId) {
            (document_.*field.set)(combo->currentIndex());
        }
    }
    // A pick counts as a change even when it stores the same value.
    document_.SetModifiedFlag(true);
    if (!combo->hasFocus()) {
        endListChange();
    }
}

void CZavoView::endListChange() {
    if (changingList_ != 0) {
        changingList_ = 0;
        document_.endChange();
    }
}

void CZavoView::onDtmfFocusLost() {
    auto* dtmf = findControl<DtmfEdit>(this, IDC_DTMF);
    if (dtmf == nullptr) {
        return;
    }
    const DtmfBytes code = parseDtmf(dtmf->text().toStdString());
    if (code != document_.dtmfCode()) {
        document_.change({EditKind::DtmfCode, 1}, [&] { document_.setDtmfCode(code); });
    }
}

int CZavoView::programmedChannelCount() const {
    int programmed = 0;
    for (int n = 1; n <= kChannelCount; ++n) {
        programmed += document_.isRxEmpty(n) ? 0 : 1;
    }
    return programmed;
}

void CZavoView::onBandListChanged() {
    QComboBox* band = list(IDC_BAND_LIST);
    if (band == nullptr) {
        return;
    }
    const int position = band->currentIndex();
    if (position < 0 || position == document_.bandIndex()) {
        return;
    }
    // The question says how much is lost, and Enter alone never confirms it.
    std::string question = lookupText("IDS_CONFIRM_FREQ");
    if (const int programmed = programmedChannelCount(); programmed > 0) {
        question += "\n\n" + QString::fromStdString(lookupText("IDS_CONFIRM_BAND_CLEARS"))
                                 .arg(programmed)
                                 .toStdString();
    }
    const MessageResult answer =
        shell_.messageBox().show(question, lookupText("IDS_CONFIRM"),
                                 {MessageIcon::Exclamation, MessageButtons::OkCancelDefaultCancel,
                                  MessageOwner::MainWindow});
    if (answer != MessageResult::Ok) {
        selectPosition(band, document_.bandIndex());
        return;
    }
    // Empties the image, stores the band with its defaults, marks the
    // document modified and refills every view.
    document_.changeBand(position);
}

}  // namespace qzm
