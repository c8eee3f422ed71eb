// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QRect>
#include <QSize>
#include <QString>
#include <filesystem>
#include <memory>
#include <optional>

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
// failed block leaves the dialog open for another OK.  A success shows its line for
// a moment and closes; a radio that does not answer closes with a message box.
// A read replaces the document's image only once the whole image has arrived.
//
// Every end of a write says what the radio holds: nothing new, part of the new
// image (with the backup that restores the old memory and a button that opens it),
// all of it, checked or not.  Cancel during a write stops it and keeps the dialog
// open with that line; a second Cancel closes.
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
    // The button that opens the backup taken before a write that stopped half-way.
    static constexpr int kIdcOpenBackup = 1061;
    // How long a success line stays before the dialog closes by itself.
    static constexpr int kSuccessLingerMs = 1200;

    TransferDialog(AppShell& shell, CZavoDoc& document, std::shared_ptr<SerialPort> port,
                   std::filesystem::path settings, int direction, TransferSafety& safety,
                   QWidget* parent = nullptr);
    ~TransferDialog() override;

    int direction() const { return direction_; }
    bool running() const { return timerRunning_; }
    // The job of the current or last run (null before the first OK).
    std::shared_ptr<const TransferJob> job() const { return job_; }

    // Shows a status line: it wraps, and the dialog grows to show it whole.
    void showText(const QString& text);

    // OK: starts a run unless one is going on.
    void accept() override;
    // Cancel, Escape and the close box: cancels a run and closes; during a write it
    // stops the run and tells what the radio holds, and only a second one closes.
    void reject() override;

    // The backup the user chose to open with the Open Backup button; the dialog has
    // closed for it.  The caller opens it in the editor.
    const std::optional<std::filesystem::path>& backupToOpen() const { return backupToOpen_; }

  protected:
    void timerEvent(QTimerEvent* event) override;

  private:
    void startRun();
    void onTick();
    void stopTimer();
    // Stops the timer and releases the port; the worker, if any, is left to end.
    void endRun();
    void finishDialog();
    // Grows the text line to the lines its text needs and moves the controls below.
    void layOut();
    // A failed block: the text line tells what happened, OK (default, focused) tries again.
    void showFailure(const QString& headline);
    // The end of a write that did not succeed: `headline`, then what the radio holds
    // and, when it holds part of the new image, the backup and the button to open it.
    void showWriteEnd(const QString& headline);
    // A success: its line, Close focused, and the dialog closes by itself shortly.
    void showSuccess(const QString& line);
    // Cancel while a write runs: stops it and waits for the worker to end.
    void stopWriteAndTell();
    void reportNoRadio(const char* textKey);
    void askModel();
    void cancelRun();
    // Backups and the check after a write (transfer_dialog_safety.cpp).
    void buildVerifyBox();
    // Arms a write with its backup and check; false (after telling the user) when
    // backups are on but have nowhere to go.
    bool prepareSafeWrite(TransferJob& job);
    void keepReadBackup();
    // The file the backup before this run's write went to; empty when none was kept.
    std::filesystem::path backupBeforeWritePath() const;
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
    QPushButton* cancelButton_ = nullptr;
    QPushButton* openBackupButton_ = nullptr;  // shown after a write that stopped half-way
    QCheckBox* verifyBox_ = nullptr;           // writes only
    // The controls as the template lays them out; layOut() moves them from there.
    QSize baseSize_;
    QRect textLineBase_;
    QRect progressBase_;
    QRect verifyBoxBase_;
    QRect okBase_;
    QRect cancelBase_;
    QString cancelText_;      // Cancel's caption, back after a Close
    bool lingering_ = false;  // a success line shows; the dialog closes by itself
    std::optional<std::filesystem::path> backupToOpen_;
    int timerId_ = 0;
    bool timerRunning_ = false;
    bool modelAsked_ = false;  // the model question comes once a run

    std::shared_ptr<TransferJob> job_;
    TransferWorker worker_;
};

}  // namespace qzm
