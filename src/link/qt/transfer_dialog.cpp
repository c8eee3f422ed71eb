// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/qt/transfer_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTimerEvent>
#include <algorithm>
#include <chrono>
#include <thread>

#include "lang/qt/apply_resource_texts.h"
#include "lang/qt/ui_text.h"
#include "lang/text_lookup.h"
#include "link/port_error_text.h"
#include "link/serial_port.h"
#include "link/transfer_failure_text.h"
#include "link/wire_protocol.h"
#include "link/write_outcome.h"
#include "platform/command_ids.h"
#include "platform/qt/app_shell.h"
#include "platform/qt/dialog_builder.h"
#include "platform/qt/tab_order.h"
#include "platform/settings.h"
#include "radio/zavo_doc.h"

namespace qzm {
namespace {

constexpr int IDC_PROGRESS = 1009;
constexpr int IDC_TEXT_LINE = 1010;

const DialogTemplate kTransferDialog{
    IDD_TRANSFER,
    "",
    {175, 83},
    {
        {IDC_TEXT_LINE, ControlKind::Label, "", {7, 10, 159, 9}},
        {IDC_PROGRESS, ControlKind::ProgressBar, "", {7, 22, 161, 15}},
        // Writes only; its text comes from the String section.
        {TransferDialog::kIdcVerifyAfterWrite, ControlKind::CheckBox, "", {7, 44, 161, 10}},
        {IDOK, ControlKind::PushButton, "确定", {40, 62, 37, 14}, ControlStyle::DefaultButton},
        {IDCANCEL, ControlKind::PushButton, "取消", {98, 62, 37, 14}},
        // After a write that stopped half-way; placed with OK and Cancel when shown.
        {TransferDialog::kIdcOpenBackup,
         ControlKind::PushButton,
         "",
         {7, 62, 37, 14},
         ControlStyle::Hidden},
    }};

// A cancelled worker ends within moments (the closed port wakes every wait);
// the dialog waits that long so that no thread outlives it needlessly.
constexpr auto kWorkerGraceTime = std::chrono::milliseconds(250);
// A cancelled write is waited for longer: what the radio holds is told only once
// the worker has stopped counting blocks.
constexpr auto kCancelledWriteWait = std::chrono::milliseconds(1500);

bool waitForWorker(const TransferWorker& worker, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!worker.finished() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return worker.finished();
}

}  // namespace

TransferDialog::TransferDialog(AppShell& shell, CZavoDoc& document,
                               std::shared_ptr<SerialPort> port, std::filesystem::path settings,
                               int direction, TransferSafety& safety, QWidget* parent)
    : QDialog(parent),
      shell_(shell),
      document_(document),
      port_(std::move(port)),
      settings_(std::move(settings)),
      direction_(direction),
      safety_(safety) {
    buildDialog(*this, kTransferDialog);
    textLine_ = findControl<QLabel>(this, IDC_TEXT_LINE);
    progressBar_ = findControl<QProgressBar>(this, IDC_PROGRESS);
    okButton_ = findControl<QPushButton>(this, IDOK);
    connect(okButton_, &QPushButton::clicked, this, &TransferDialog::accept);
    cancelButton_ = findControl<QPushButton>(this, IDCANCEL);
    connect(cancelButton_, &QPushButton::clicked, this, &TransferDialog::reject);

    applyResourceTexts(this, IDD_TRANSFER);
    buildVerifyBox();
    setWindowTitle(uiText(direction_ == kDirectionRead ? "IDS_READDATA" : "IDS_WRITEDATA"));
    progressBar_->setRange(0, kProgressRange);
    progressBar_->setValue(0);
    progressBar_->setTextVisible(false);

    // Messages are whole sentences: the line wraps and grows (layOut).
    textLine_->setWordWrap(true);
    textLine_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    openBackupButton_ = findControl<QPushButton>(this, kIdcOpenBackup);
    openBackupButton_->setText(uiText("IDS_OPEN_THIS_BACKUP"));
    connect(openBackupButton_, &QPushButton::clicked, this, [this] {
        const std::filesystem::path backup = backupBeforeWritePath();
        if (!backup.empty()) {
            backupToOpen_ = backup;
            finishDialog();
        }
    });
    cancelText_ = cancelButton_->text();
    baseSize_ = size();
    textLineBase_ = textLine_->geometry();
    progressBase_ = progressBar_->geometry();
    verifyBoxBase_ = findControl<QCheckBox>(this, kIdcVerifyAfterWrite)->geometry();
    okBase_ = okButton_->geometry();
    cancelBase_ = cancelButton_->geometry();
    layOut();
    orderTabsByPosition(*this);
}

TransferDialog::~TransferDialog() {
    stopTimer();
    const bool busy = job_ && !worker_.finished();
    if (busy) {
        job_->requestCancel();
    }
    port_->close();
    if (busy) {
        const auto deadline = std::chrono::steady_clock::now() + kWorkerGraceTime;
        while (!worker_.finished() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    // Still busy: the worker keeps its own share of the job and ends by itself.
    if (worker_.finished()) {
        worker_.join();
    }
}

void TransferDialog::accept() {
    // The Enter key reaches here too; a run going on gets no second one, nor does a
    // success on its way out.
    if (!lingering_ && !timerRunning_ && (!job_ || worker_.finished())) {
        startRun();
    }
}

void TransferDialog::reject() {
    if (lingering_) {
        finishDialog();  // the run ended by itself; Close only hurries the dialog away
        return;
    }
    if (direction_ == kDirectionWrite && job_ && timerRunning_ && !worker_.finished()) {
        stopWriteAndTell();
        return;
    }
    cancelRun();
    stopTimer();
    port_->close();
    QDialog::reject();
}

void TransferDialog::stopWriteAndTell() {
    stopTimer();
    job_->requestCancel();
    waitForWorker(worker_, kCancelledWriteWait);
    port_->close();
    if (worker_.finished()) {
        worker_.join();
    }
    progressBar_->setValue(job_->progress.load() * kProgressRange / 100);
    showWriteEnd(uiText("IDS_WRITE_CANCELLED"));
    allowAnotherRun();
}

void TransferDialog::startRun() {
    int previousProgress = 0;
    if (job_) {
        previousProgress = job_->progress.load();
        worker_.join();
    }
    // A fresh copy of the document for every run; a read only replaces the
    // document once the whole image has arrived.
    auto job = std::make_shared<TransferJob>(port_, settings_, direction_, document_.image());
    if (!prepareSafeWrite(*job)) {
        return;
    }
    job_ = std::move(job);
    job_->progress.store(previousProgress);
    port_->setBaudRate(wire::kBaudRate);
    modelAsked_ = false;
    backupToOpen_.reset();

    // A write that keeps a backup begins by reading the radio: that is its first phase.
    const char* promptKey = direction_ == kDirectionRead ? "IDS_PROMPT_READ"
                            : job_->beforeWrite          ? "IDS_PROMPT_BACKUP"
                                                         : "IDS_PROMPT_WRITE";
    const QString prompt = uiText(promptKey);
    // The bar starts empty: the last run's progress belongs to that run.
    progressBar_->setValue(0);
    progressBar_->show();
    openBackupButton_->hide();
    cancelButton_->setText(cancelText_);
    lingering_ = false;
    worker_ = TransferWorker(job_);
    okButton_->setEnabled(false);
    if (verifyBox_ != nullptr) {
        verifyBox_->setEnabled(false);
    }
    timerId_ = startTimer(kTimerPeriodMs);
    timerRunning_ = timerId_ != 0;
    showText(prompt);
}

void TransferDialog::timerEvent(QTimerEvent* event) {
    if (event->timerId() == timerId_ && timerRunning_) {
        onTick();
        return;
    }
    QDialog::timerEvent(event);
}

void TransferDialog::onTick() {
    // The port the search tries: foundPort carries the same number as progress,
    // and it is set first, so it never shows a number left from the last run.
    const int searched = job_->foundPort.load();
    if (searched > 0) {
        shell_.showPortInStatusBar(searched);
    }
    const int status = job_->status.load(std::memory_order_acquire);
    const int progress = job_->progress.load();
    if (onSafetyStatus(status, progress)) {
        return;
    }
    switch (status) {
        case StatusIdle:
            break;
        case StatusNoConnection:
            reportNoRadio("IDS_ERROR_PORTCONN");
            break;
        case StatusBadIdent:
            reportNoRadio("IDS_ERROR_TYPE");
            break;
        case StatusConfirmModel:
            askModel();
            break;
        case StatusReading:
            progressBar_->setValue(progress * kProgressRange / 100);
            showText(uiText("IDS_PROMPT_READ") + QString(" %1%").arg(progress));
            break;
        case StatusWriting:
            // Progress counts the blocks this write sends: "Writing 6 changed blocks of 124".
            progressBar_->setValue(progress * kProgressRange / 100);
            showText(QString::fromStdString(
                         writePlanText(job_->blocksToWrite.load(), currentLanguageTexts())) +
                     QString(" %1%").arg(progress));
            break;
        case StatusReadFailed:
            endRun();
            showFailure(uiText("IDS_PROMPT_READFAIL"));
            allowAnotherRun();
            break;
        case StatusWriteFailed:
            endRun();
            showWriteEnd(uiText("IDS_PROMPT_WRITEFAIL"));
            allowAnotherRun();
            break;
        case StatusReadDone: {
            endRun();
            // A read is one step: Undo gives back what was shown before it.  It leaves the
            // modified flag as it was, so an unmodified document counts the read as saved.
            const bool wasModified = document_.IsModified();
            document_.change({EditKind::RadioRead, 1}, [&] { document_.image() = job_->image; });
            if (!wasModified) {
                document_.SetModifiedFlag(false);
            }
            shell_.refreshTextsAndViews();
            keepReadBackup();
            progressBar_->setValue(kProgressRange);
            showSuccess(uiText("IDS_READ_DONE"));
            break;
        }
        case StatusSearching:
            showText(uiText("IDS_SEARCHCOMPORT") + QString(progress & 0x0F, QChar('.')));
            break;
        case StatusWriteDone:
            endRun();
            progressBar_->setValue(kProgressRange);
            showSuccess(QString::fromStdString(
                radioHoldsText(radioHoldsAfter(*job_), *job_, currentLanguageTexts())));
            break;
        default:
            endRun();
            finishDialog();
            break;
    }
}

void TransferDialog::reportNoRadio(const char* textKey) {
    endRun();
    std::string message = lookupText(textKey);
    // Why the configured port did not open tells the user more than "no answer";
    // once a radio answered the handshake, the port it answered on is the one to name.
    const TransferFailure& failure = job_->failure;
    const PortOpenError error = job_->portError.load();
    if (failure.step != FailureStep::Handshake || error == PortOpenError::None) {
        const std::string detail = transferFailureText(failure, currentLanguageTexts());
        if (!detail.empty()) {
            message += "\n\n" + detail;
        }
    } else {
        const int number = readComPort(settings_);
        const PortDescription port = port_->portMap().describe(number);
        message += "\n\nCOM" + std::to_string(number);
        if (!port.device.empty()) {
            message += " (" + port.device.string() + ")";
        }
        message += ": " + portOpenErrorText(error, currentLanguageTexts());
    }
    if (direction_ == kDirectionWrite) {
        // The radio fell silent before, during or after the blocks: say which.
        message += "\n\n" + radioHoldsText(radioHoldsAfter(*job_), *job_, currentLanguageTexts());
    }
    shell_.messageBox().show(message, lookupText("IDS_ERROR"),
                             {MessageIcon::Stop, MessageButtons::Ok, MessageOwner::MainWindow});
    finishDialog();
}

void TransferDialog::askModel() {
    if (modelAsked_) {
        return;
    }
    modelAsked_ = true;
    stopTimer();
    const MessageResult answer = shell_.messageBox().show(
        lookupText("IDS_CONFIRM_TYPE"), lookupText("IDS_CONFIRM"),
        {MessageIcon::Question, MessageButtons::OkCancel, MessageOwner::MainWindow});
    if (answer != MessageResult::Ok) {
        cancelRun();
        port_->close();
        finishDialog();
        return;
    }
    timerId_ = startTimer(kTimerPeriodMs);
    timerRunning_ = timerId_ != 0;
}

void TransferDialog::cancelRun() {
    if (job_ && !worker_.finished()) {
        job_->requestCancel();
    }
}

void TransferDialog::stopTimer() {
    if (timerRunning_) {
        killTimer(timerId_);
    }
    timerRunning_ = false;
    timerId_ = 0;
}

void TransferDialog::endRun() {
    stopTimer();
    port_->close();
}

void TransferDialog::finishDialog() {
    done(kEndedByItself);
}

void TransferDialog::showFailure(const QString& headline) {
    // The detail needs more than the one line above the progress bar; the bar has
    // nothing to tell until the next run, so the text takes its place.
    const QString detail =
        QString::fromStdString(transferFailureText(job_->failure, currentLanguageTexts()));
    progressBar_->hide();
    showText(detail.isEmpty() ? headline : headline + '\n' + detail);
    // The text asks for OK: Enter must mean OK, not the Cancel button that took
    // the focus while OK was disabled.
    okButton_->setEnabled(true);
    okButton_->setDefault(true);
    okButton_->setFocus(Qt::OtherFocusReason);
}

void TransferDialog::showWriteEnd(const QString& headline) {
    const RadioHolds holds = radioHoldsAfter(*job_);
    QString message = headline;
    const QString detail =
        QString::fromStdString(transferFailureText(job_->failure, currentLanguageTexts()));
    if (job_->status.load() == StatusWriteFailed && !detail.isEmpty()) {
        message += '\n' + detail;
    }
    message += '\n' + QString::fromStdString(radioHoldsText(holds, *job_, currentLanguageTexts()));
    const std::filesystem::path backup = backupBeforeWritePath();
    const bool restorable = holds == RadioHolds::PartOfNewImage && !backup.empty();
    if (restorable) {
        message +=
            '\n' + uiText("IDS_WRITE_BACKUP_HINT").arg(QString::fromStdString(backup.string()));
    }
    progressBar_->hide();
    openBackupButton_->setVisible(restorable);
    cancelButton_->setText(uiText("IDS_CLOSE"));
    showText(message);
}

void TransferDialog::showSuccess(const QString& line) {
    lingering_ = true;
    cancelButton_->setText(uiText("IDS_CLOSE"));
    cancelButton_->setDefault(true);
    cancelButton_->setFocus(Qt::OtherFocusReason);
    showText(line);
    QTimer::singleShot(kSuccessLingerMs, this, [this] {
        if (lingering_) {
            finishDialog();
        }
    });
}

void TransferDialog::showText(const QString& line) {
    textLine_->setText(line);
    layOut();
}

void TransferDialog::layOut() {
    const auto bottomOf = [](const QRect& r) { return r.top() + r.height(); };
    const int margin = textLineBase_.left();
    const int buttonGap = cancelBase_.left() - (okBase_.left() + okBase_.width());
    // The check box's label is never cut: the dialog widens for it.
    int width = baseSize_.width();
    if (verifyBox_ != nullptr) {
        width = std::max(width, verifyBoxBase_.left() + verifyBox_->sizeHint().width() + margin);
    }
    const int textWidth = width - 2 * margin;
    int textHeight = std::max(textLineBase_.height(), textLine_->heightForWidth(textWidth));
    const bool barShown = progressBar_->isVisibleTo(this);
    if (!barShown) {
        // A failure's text takes the bar's room too: the bar has nothing to tell.
        textHeight = std::max(textHeight, bottomOf(progressBase_) - textLineBase_.top());
    }
    textLine_->setGeometry(textLineBase_.left(), textLineBase_.top(), textWidth, textHeight);
    // Below the text: the bar, the check box (writes), then the buttons, each at its
    // template distance from what is above it.
    int y = textLineBase_.top() + textHeight;
    if (barShown) {
        y += progressBase_.top() - bottomOf(textLineBase_);
        progressBar_->setGeometry(progressBase_.left(), y, width - 2 * progressBase_.left(),
                                  progressBase_.height());
        y += progressBase_.height();
    } else {
        y = std::max(y, bottomOf(progressBase_));
    }
    if (verifyBox_ != nullptr) {
        y += verifyBoxBase_.top() - bottomOf(progressBase_);
        verifyBox_->setGeometry(verifyBoxBase_.left(), y, width - verifyBoxBase_.left() - margin,
                                verifyBoxBase_.height());
        y += verifyBoxBase_.height() + okBase_.top() - bottomOf(verifyBoxBase_);
    } else {
        y += okBase_.top() - bottomOf(progressBase_);
    }
    // The buttons stay a centred row; Open Backup joins it when shown.  A caption
    // wider than its button widens the button.
    std::vector<QPushButton*> row;
    if (openBackupButton_->isVisibleTo(this)) {
        row.push_back(openBackupButton_);
    }
    row.push_back(okButton_);
    row.push_back(cancelButton_);
    const auto buttonWidth = [&](const QPushButton* button) {
        const QString caption = QString(button->text()).remove('&');
        const int needed = button->fontMetrics().horizontalAdvance(caption) +
                           2 * button->fontMetrics().averageCharWidth() + 4;
        return std::max(okBase_.width(), needed);
    };
    int rowWidth = buttonGap * static_cast<int>(row.size() - 1);
    for (const QPushButton* button : row) {
        rowWidth += buttonWidth(button);
    }
    width = std::max(width, rowWidth + 2 * margin);
    int x = (width - rowWidth) / 2;
    for (QPushButton* button : row) {
        const int w = buttonWidth(button);
        button->setGeometry(x, y, w, okBase_.height());
        x += w + buttonGap;
    }
    const int bottomMargin = baseSize_.height() - bottomOf(okBase_);
    setFixedSize(width, std::max(y + okBase_.height() + bottomMargin, baseSize_.height()));
}

}  // namespace qzm
