#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

#include "cli/backup_commands.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/file_io.h"
#include "cli/interrupt.h"
#include "cli/messages.h"
#include "cli/progress_display.h"
#include "link/transfer.h"
#include "link/transfer_failure_text.h"
#include "link/wire_protocol.h"
#include "link/write_outcome.h"
#include "platform/settings.h"
#include "safety/block_list.h"
#include "safety/transfer_backups.h"

namespace qzm::cli {
namespace {

constexpr int kBaudRate = 9600;
constexpr auto kPollPeriod = std::chrono::milliseconds(20);

// Starts the worker with the stop signals blocked in its thread, so they always
// reach the main thread, which turns them into the run's cancel request.
TransferWorker startWorker(const std::shared_ptr<TransferJob>& job) {
    sigset_t interrupt;
    sigset_t previous;
    sigemptyset(&interrupt);
    for (int signal : kStopSignals) {
        sigaddset(&interrupt, signal);
    }
    pthread_sigmask(SIG_BLOCK, &interrupt, &previous);
    TransferWorker worker(job);
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return worker;
}

// The texts of the phase a status belongs to: the language's prompt for a terminal,
// a plain word for the lines of a log.
class PhaseWords {
  public:
    struct Words {
        std::string prompt;
        std::string plain;
    };

    PhaseWords(bool reading, const LanguageTexts& texts)
        : main_{texts.text(reading ? "IDS_PROMPT_READ" : "IDS_PROMPT_WRITE"),
                reading ? "read" : "write"},
          backup_{texts.text("IDS_PROMPT_BACKUP"), "backup"},
          verify_{texts.text("IDS_PROMPT_VERIFY"), "verify"} {}

    // For a status that announces a block.
    const Words* of(int status) const {
        switch (status) {
            case StatusReading:
            case StatusWriting:
                return &main_;
            case StatusBackupReading:
                return &backup_;
            case StatusVerifying:
                return &verify_;
            default:
                return nullptr;
        }
    }
    // For a status that ends a phase with all its blocks moved.
    const Words* ofFinal(int status) const {
        switch (status) {
            case StatusReadDone:
            case StatusWriteDone:
                return &main_;
            case StatusVerifyDone:
            case StatusVerifyMismatch:
                return &verify_;
            default:
                return nullptr;
        }
    }

    // The write's prompt once the blocks it sends are known ("Writing 6 changed blocks").
    void setWritePrompt(std::string prompt) { main_.prompt = std::move(prompt); }

  private:
    Words main_;
    Words backup_;
    Words verify_;
};

struct RunOutcome {
    int status = StatusIdle;
    bool cancelled = false;
};

// Waits for the worker as the transfer dialog's timer does, showing progress.
RunOutcome watch(TransferWorker& worker, TransferJob& job, const LanguageTexts& texts,
                 ProgressDisplay& display) {
    PhaseWords words(job.direction == kDirectionRead, texts);
    const std::string searching = texts.text("IDS_SEARCHCOMPORT");
    const TextSource cliTexts = [&texts](std::string_view key) { return texts.text(key); };
    bool cancelSent = false;
    bool planTold = job.direction == kDirectionRead;
    // A write that sends only some blocks says so once, when it knows how many.
    auto tellPlan = [&] {
        const int planned = job.blocksToWrite.load(std::memory_order_acquire);
        if (planTold || planned < 0) {
            return;
        }
        planTold = true;
        if (planned > 0 && planned < wire::kBlockCount) {
            const std::string plan = writePlanText(planned, cliTexts);
            words.setWritePrompt(plan);
            // Only the whole backup read tells which blocks differ: it has ended.
            const PhaseWords::Words* backup = words.of(StatusBackupReading);
            display.showProgress(backup->prompt, backup->plain, 100);
            display.finish();
            std::fprintf(stderr, "%s\n", plan.c_str());
        }
    };
    while (!worker.finished()) {
        if (interruptRequested() && !cancelSent) {
            // Only the flag: the block on the line is finished, then the run stops.
            job.cancel.store(1);
            cancelSent = true;
            display.finish();
            std::fputs("Stopping after the current block (Ctrl+C again stops at once)...\n",
                       stderr);
        }
        const int status = job.status.load(std::memory_order_acquire);
        const int progress = job.progress.load();
        if (status != StatusBackupReading) {
            tellPlan();  // after the backup read's last line
        }
        if (status == StatusSearching) {
            display.showSearching(searching, progress);
        } else if (const PhaseWords::Words* phase = words.of(status)) {
            display.showProgress(phase->prompt, phase->plain, progress);
        }
        std::this_thread::sleep_for(kPollPeriod);
    }
    worker.join();
    tellPlan();
    RunOutcome outcome;
    outcome.status = job.status.load(std::memory_order_acquire);
    if (const PhaseWords::Words* phase = words.of(outcome.status)) {
        display.showProgress(phase->prompt, phase->plain, job.progress.load());
    } else if (const PhaseWords::Words* done = words.ofFinal(outcome.status);
               done != nullptr && job.blocksToWrite.load() != 0) {
        // (A write with nothing to send had no write or check phase to complete.)
        display.showProgress(done->prompt, done->plain, 100);
    }
    display.finish();
    outcome.cancelled = cancelSent || interruptRequested();
    return outcome;
}

// Where and how the run failed, from the worker's record, in the run's language.
std::string failureDetail(const TransferJob& job, const LanguageTexts& texts) {
    return transferFailureText(job.failure,
                               [&texts](std::string_view key) { return texts.text(key); });
}

// What the serial layer knows about a run in which no radio answered.
std::string noRadioReason(const TransferJob& job, const SerialPort& port, const CliOptions& options,
                          bool searched, const LanguageTexts& texts) {
    if (job.failure.step != FailureStep::Handshake) {
        // A radio answered the handshake and then fell silent: name its port.
        return failureDetail(job, texts);
    }
    std::string where;
    if (options.device) {
        where = *options.device;
    } else {
        const int number = job.configuredPort();
        PortDescription description = port.portMap().describe(number);
        where = "COM" + std::to_string(number);
        if (!description.device.empty()) {
            where += " (" + description.device.string() + ")";
        }
    }
    const PortOpenError error = job.portError.load();
    std::string reason = error == PortOpenError::None
                             ? where + ": no radio answered"
                             : where + ": " + std::string(portOpenErrorHint(error));
    if (searched) {
        reason += "; no other port answered either";
    }
    return reason;
}

// How many of the blocks to send the radio took before the write stopped.
std::string writtenSoFar(const TransferJob& job, const TextSource& texts) {
    return partialWriteText(job.blocksWritten.load(), job.blocksToWrite.load(), texts);
}

// The image of a successful read goes to the backups too; a failure is told, the
// read itself stands.
void keepReadBackup(const std::optional<BackupStore>& backups, const DocumentFile& document) {
    if (!backups) {
        return;
    }
    const StoredBackup stored = backups->store(document.header, document.image, BackupKind::Read);
    if (stored.result.ok) {
        // On standard error with the progress: standard output is the command's data
        // (diff --radio prints the differences there).
        std::fprintf(stderr, "Backup: %s\n", stored.path.c_str());
    } else {
        printError("warning: no backup of the read was kept: " + stored.result.errorText);
    }
}

}  // namespace

int runTransferCommand(const CliOptions& options, const CliEnvironment& environment) {
    const LanguageTexts texts(environment.languagePath);
    const bool reading = options.command == Command::Read;
    std::string file = options.operands.empty() ? std::string() : options.operands[0];
    if (options.command == Command::Restore) {
        std::string error;
        auto source = restoreSource(options, error);
        if (!source) {
            printError(error);
            return kExitFileError;
        }
        file = *source;
        std::printf("Restoring %s\n", file.c_str());
        std::fflush(stdout);
    }
    std::string backupError;
    const std::optional<BackupStore> backups = runBackupStore(options, environment, backupError);
    if (!backupError.empty()) {
        if (!reading) {
            printError(backupError + "; nothing was written (--no-backup writes without one)");
            return kExitFileError;
        }
        printError("warning: " + backupError);
    }

    DocumentFile document;
    if (reading) {
        // A bad output path should be known before the radio is read for seconds.
        if (auto problem = checkWritableTarget(file)) {
            printError(file + ": " + *problem);
            return kExitFileError;
        }
        document = newDocument(kDefaultBandIndex);
    } else {
        auto loaded = loadOrReport(file, texts);
        if (!loaded) {
            return kExitFileError;
        }
        document = *loaded;
    }

    auto port = std::make_shared<SerialPort>(PortMap(environment.settingsPath));
    if (options.device) {
        const PortOpenError error = port->openDevice(*options.device, kBaudRate);
        if (error != PortOpenError::None) {
            printError(texts.text("IDS_ERROR_PORTCONN") + "\n" + *options.device + ": " +
                       std::string(portOpenErrorHint(error)));
            return kExitNoRadio;
        }
    }

    auto job = std::make_shared<TransferJob>(
        port, environment.settingsPath, reading ? kDirectionRead : kDirectionWrite, document.image);
    // This run's port choices stay in memory; the settings file is not copied.
    job->comPortOverride = options.port;
    if (options.noSearch || options.device) {
        job->searchComOverride = false;
    }
    const bool searching = job->searchEnabled();
    std::shared_ptr<const StoredBackup> beforeWrite;
    if (!reading) {
        job->verifyAfterWrite = options.verify;
        if (options.allBlocks) {
            job->allBlocksOverride = true;  // else "transfer"/"allblocks" decides
        }
        if (backups) {
            beforeWrite = backUpBeforeWrite(*job, *backups);
        }
    }
    ProgressDisplay display(stderr, ProgressDisplay::isTerminal(stderr));
    installInterruptHandler();
    TransferWorker worker = startWorker(job);
    const RunOutcome outcome = watch(worker, *job, texts, display);
    port->close();
    if (beforeWrite && beforeWrite->result.ok) {
        std::fprintf(stderr, "Backup: %s\n", beforeWrite->path.c_str());
    }

    const TextSource cliTexts = [&texts](std::string_view key) { return texts.text(key); };
    switch (outcome.status) {
        case StatusReadDone:
            if (outcome.cancelled) {
                break;  // asked to stop: the file is not written, whatever came in
            }
            document.image = job->image;
            if (!saveOrReport(file, document)) {
                return kExitFileError;
            }
            keepReadBackup(backups, document);
            return kExitSuccess;
        case StatusWriteDone:
            if (job->blocksToWrite.load() == 0) {
                std::fprintf(stderr, "%s\n", unchangedImageText(cliTexts).c_str());
            }
            return kExitSuccess;  // every block is in the radio: nothing was cut short
        case StatusVerifyDone:
            if (job->blocksToWrite.load() == 0) {
                std::fprintf(stderr, "%s\n", unchangedImageText(cliTexts).c_str());
            }
            std::fputs("Verified: the radio holds the data written.\n", stderr);
            return kExitSuccess;
        case StatusVerifyMismatch:
            printError(
                "verify failed: the radio holds other data than was written; blocks that differ "
                "(address): " +
                blockListText(job->mismatchedBlocks) + "\nWrite again, or check the cable.");
            return kExitVerifyFailed;
        case StatusVerifyFailed:
            printError(texts.text("IDS_PROMPT_READFAIL") +
                       "\nEvery block was written, but reading them back failed: the write is "
                       "not verified.");
            return kExitBlockFailed;
        case StatusBackupFailed:
            printError(texts.text("IDS_PROMPT_READFAIL") +
                       "\nThe radio could not be read for the backup; nothing was written.");
            return kExitBlockFailed;
        case StatusBackupNotStored:
            printError("the backup of the radio could not be stored: " +
                       (beforeWrite ? beforeWrite->result.errorText : std::string()) +
                       "\nNothing was written (--no-backup writes without one).");
            return kExitFileError;
        case StatusNoConnection:
            printError(texts.text("IDS_ERROR_PORTCONN") + "\n" +
                       noRadioReason(*job, *port, options, searching, texts));
            return kExitNoRadio;
        case StatusBadIdent:
            printError(texts.text("IDS_ERROR_TYPE") + "\n" + failureDetail(*job, texts));
            return kExitBadIdent;
        // The window's texts ask to press OK; a terminal has no OK button.
        case StatusReadFailed:
            printError(fillPlaceholders(textOr(cliTexts, "IDS_CLI_READFAIL",
                                               "Reading from the radio failed: %1\n"
                                               "%2 was not written."),
                                        {failureDetail(*job, texts), file}));
            return kExitBlockFailed;
        case StatusWriteFailed:
            printError(fillPlaceholders(textOr(cliTexts, "IDS_CLI_WRITEFAIL",
                                               "Writing to the radio failed: %1\n"
                                               "The radio may hold part of the new data; "
                                               "write again."),
                                        {failureDetail(*job, texts)}) +
                       "\n" + writtenSoFar(*job, cliTexts));
            return kExitBlockFailed;
        default:
            break;
    }
    if (outcome.cancelled) {
        std::string what =
            "cancelled; the radio holds only part of the new data\n" + writtenSoFar(*job, cliTexts);
        if (reading) {
            what = "cancelled; " + file + " was not written";
        } else if (outcome.status == StatusBackupReading || outcome.status == StatusIdle ||
                   outcome.status == StatusSearching) {
            what = "cancelled; nothing was written";
        } else if (outcome.status == StatusVerifying) {
            what = "cancelled; every block was written, but the write is not verified";
        }
        printError(what);
        return kExitCancelled;
    }
    printError("the transfer ended unexpectedly (status " + std::to_string(outcome.status) + ")");
    return kExitBlockFailed;
}

}  // namespace qzm::cli
