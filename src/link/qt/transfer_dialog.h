#pragma once

#include <QDialog>
#include <QRect>
#include <filesystem>
#include <memory>

#include "link/transfer.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace qzm {

class AppShell;
class CZavoDoc;
class SerialPort;
class TransferSafety;

// Dialog 132: reads the radio into the document or writes the document into the
// radio.  OK starts a run on a worker thread and a 20 ms timer watches it; a
// failed block leaves the dialog open for another OK, every other end closes it.
// A read replaces the document's image only once the whole image has arrived.
//
// The run's job (and with it the working image) is shared with the worker, so
// closing the dialog while a run goes on is safe: the run is cancelled and the
// worker ends on its own; nothing of it reaches the document.
class TransferDialog : public QDialog {
    Q_OBJECT

  public:
    // What exec() returns when the dialog ends by itself (success or error).
    static constexpr int kEndedByItself = 5;
    static constexpr int kTimerPeriodMs = 20;
    static constexpr int kProgressRange = 1024;
    // The check box "check after writing".
    static constexpr int kIdcVerifyAfterWrite = 1060;

    TransferDialog(AppShell& shell, CZavoDoc& document, std::shared_ptr<SerialPort> port,
                   std::filesystem::path settings, int direction, TransferSafety& safety,
                   QWidget* parent = nullptr);
    ~TransferDialog() override;

    int direction() const { return direction_; }
    bool running() const { return timerRunning_; }
    // The job of the current or last run (null before the first OK).
    std::shared_ptr<const TransferJob> job() const { return job_; }

    // OK: starts a run unless one is going on.
    void accept() override;
    // Cancel, Escape and the close box: cancels a run and closes.
    void reject() override;

  protected:
    void timerEvent(QTimerEvent* event) override;

  private:
    void startRun();
    void onTick();
    void stopTimer();
    // Stops the timer and releases the port; the worker, if any, is left to end.
    void endRun();
    void finishDialog();
    void showText(const QString& text);
    // A failed block: the text line tells what happened, OK (default, focused) tries again.
    void showFailure(const QString& headline);
    void reportNoRadio(const char* textKey);
    void askModel();
    void cancelRun();
    // Backups and the check after a write (transfer_dialog_safety.cpp).
    void buildVerifyBox();
    // Arms a write with its backup and check; false (after telling the user) when
    // backups are on but have nowhere to go.
    bool prepareSafeWrite(TransferJob& job);
    void keepReadBackup();
    // The statuses of those phases; false for any other status.
    bool onSafetyStatus(int status, int progress);
    // A failed run: OK (and the check box) for another one.
    void allowAnotherRun();

    AppShell& shell_;
    CZavoDoc& document_;
    std::shared_ptr<SerialPort> port_;
    std::filesystem::path settings_;
    const int direction_;
    TransferSafety& safety_;

    QLabel* textLine_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QRect textLineGeometry_;  // as laid out; a failure text takes more room
    QPushButton* cancelButton_ = nullptr;
    QCheckBox* verifyBox_ = nullptr;  // writes only
    int timerId_ = 0;
    bool timerRunning_ = false;
    bool modelAsked_ = false;  // the model question comes once a run

    std::shared_ptr<TransferJob> job_;
    TransferWorker worker_;
};

}  // namespace qzm
