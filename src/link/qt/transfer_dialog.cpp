#include "link/qt/transfer_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimerEvent>
#include <chrono>
#include <thread>

#include "lang/qt/apply_resource_texts.h"
#include "lang/text_lookup.h"
#include "link/port_error_text.h"
#include "link/serial_port.h"
#include "link/transfer_failure_text.h"
#include "link/wire_protocol.h"
#include "platform/command_ids.h"
#include "platform/qt/app_shell.h"
#include "platform/qt/dialog_builder.h"
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
    }};

// A cancelled worker ends within moments (the closed port wakes every wait);
// the dialog waits that long so that no thread outlives it needlessly.
constexpr auto kWorkerGraceTime = std::chrono::milliseconds(250);

QString text(const char* key) {
    return QString::fromStdString(lookupText(key));
}

std::string windowText(std::string_view key) {
    return lookupText(key);
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
    setWindowTitle(text(direction_ == kDirectionRead ? "IDS_READDATA" : "IDS_WRITEDATA"));
    progressBar_->setRange(0, kProgressRange);
    progressBar_->setValue(0);
    progressBar_->setTextVisible(false);
    textLineGeometry_ = textLine_->geometry();
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
    // The Enter key reaches here too; a run going on gets no second one.
    if (!timerRunning_ && (!job_ || worker_.finished())) {
        startRun();
    }
}

void TransferDialog::reject() {
    cancelRun();
    stopTimer();
    port_->close();
    QDialog::reject();
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

    const QString prompt =
        text(direction_ == kDirectionRead ? "IDS_PROMPT_READ" : "IDS_PROMPT_WRITE");
    textLine_->setGeometry(textLineGeometry_);
    progressBar_->show();
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
        case StatusWriting:
            progressBar_->setValue(progress * kProgressRange / 100);
            showText(text(direction_ == kDirectionRead ? "IDS_PROMPT_READ" : "IDS_PROMPT_WRITE") +
                     QString(" %1%").arg(progress));
            break;
        case StatusReadFailed:
        case StatusWriteFailed:
            endRun();
            showFailure(
                text(status == StatusReadFailed ? "IDS_PROMPT_READFAIL" : "IDS_PROMPT_WRITEFAIL"));
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
            finishDialog();
            break;
        }
        case StatusSearching:
            showText(text("IDS_SEARCHCOMPORT") + QString(progress & 0x0F, QChar('.')));
            break;
        case StatusWriteDone:
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
        const std::string detail = transferFailureText(failure, windowText);
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
        message += ": " + portOpenErrorText(error);
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
    const QString detail = QString::fromStdString(transferFailureText(job_->failure, windowText));
    progressBar_->hide();
    QRect area = textLineGeometry_;
    area.setBottom(okButton_->geometry().top() - textLineGeometry_.top() / 2);
    textLine_->setGeometry(area);
    showText(detail.isEmpty() ? headline : headline + '\n' + detail);
    // The text asks for OK: Enter must mean OK, not the Cancel button that took
    // the focus while OK was disabled.
    okButton_->setEnabled(true);
    okButton_->setDefault(true);
    okButton_->setFocus(Qt::OtherFocusReason);
}

void TransferDialog::showText(const QString& line) {
    textLine_->setText(line);
}

}  // namespace qzm
