// SPDX-License-Identifier: GPL-3.0-or-later
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
#include "cli/radio_holds.h"
#include "link/block_list.h"
#include "link/transfer.h"
#include "link/transfer_failure_text.h"
#include "link/wire_protocol.h"
#include "link/write_outcome.h"
#include "platform/placeholders.h"
#include "platform/settings.h"
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
    const TextSource cliTexts = texts.source();
    bool cancelSent = false;
    bool cutSent = false;
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
            std::fputs(
                "Stopping after the current block (Ctrl+C again stops without waiting "
                "for the radio)...\n",
                stderr);
        }
        if (hardStopRequested() && !cutSent) {
            // Closing the port ends the wait for the radio's answer; what the radio
            // took so far is still reported below.
            job.requestCancel();
            cutSent = true;
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
    return transferFailureText(job.failure, texts.source());
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

// The image of a successful read goes to the backups too, before the output file is
// saved, so a read whose file cannot be saved is not lost; a failure is told, the
// read itself stands.  The backup's path, when one was kept.
std::optional<std::filesystem::path> keepReadBackup(const std::optional<BackupStore>& backups,
                                                    const DocumentFile& document) {
    if (!backups) {
        return std::nullopt;
    }
    const StoredBackup stored = backups->store(document.header, document.image, BackupKind::Read);
    if (stored.result.ok()) {
        // On standard error with the progress: standard output is the command's data
        // (diff --radio prints the differences there).
        std::fprintf(stderr, "Backup: %s\n", stored.path.c_str());
        return stored.path;
    }
    printError("warning: no backup of the read was kept: " + stored.result.error().text);
    return std::nullopt;
}

// A port the search found but the settings file could not take: the next run
// searches again, and the user learns why.
void tellUnstoredPort(const TransferJob& job, const TextSource& texts) {
    const int found = job.foundPort.load();
    if (found > 0) {
        printError(fillPlaceholders(
            textOr(texts, "IDS_CLI_PORT_NOT_STORED",
                   "warning: the radio was found on COM%1, but %2 could not be written; the "
                   "next run searches again"),
            {std::to_string(found), job.settingsPath.string()}));
    }
}

// How a retry names the file a restore wrote: a backup by its stable name, any other
// file by its path.
std::string retryName(const std::string& file) {
    const std::filesystem::path path(file);
    const auto folder = BackupStore::defaultFolder();
    std::error_code error;
    if (folder && path.has_parent_path() &&
        std::filesystem::equivalent(path.parent_path(), *folder, error)) {
        return path.filename().string();
    }
    return file;
}

// The message and exit code of a write or restore that has ended.
int writeExitCode(const RunOutcome& outcome, const TransferJob& job, const SerialPort& port,
                  const CliOptions& options, bool searching, const LanguageTexts& texts,
                  const StoredBackup* beforeWrite) {
    const TextSource cliTexts = texts.source();
    switch (outcome.status) {
        case StatusWriteDone:
            if (job.blocksToWrite.load() == 0) {
                std::fprintf(stderr, "%s\n", unchangedImageText(cliTexts).c_str());
            }
            return kExitSuccess;  // every block is in the radio: nothing was cut short
        case StatusVerifyDone:
            if (job.blocksToWrite.load() == 0) {
                std::fprintf(stderr, "%s\n", unchangedImageText(cliTexts).c_str());
            }
            std::fputs("Verified: the radio holds the data written.\n", stderr);
            return kExitSuccess;
        case StatusVerifyMismatch:
            printError(
                "verify failed: the radio holds other data than was written; blocks that differ "
                "(address): " +
                blockListText(job.mismatchedBlocks) + "\nWrite again, or check the cable.");
            return kExitVerifyFailed;
        case StatusVerifyFailed:
            // A read that fails proves nothing about the data: a block failed (1), as
            // for clone --verify.
            printError(fillPlaceholders(
                textOr(cliTexts, "IDS_CLI_VERIFY_READFAIL",
                       "Reading the radio back failed: %1\nEvery block was written, but the "
                       "write is not verified."),
                {failureDetail(job, texts)}));
            return kExitBlockFailed;
        case StatusBackupFailed:
            printError(fillPlaceholders(
                textOr(cliTexts, "IDS_CLI_BACKUP_READFAIL",
                       "Reading the radio for its backup failed: %1\nNothing was written."),
                {failureDetail(job, texts)}));
            return kExitBlockFailed;
        case StatusBackupNotStored:
            printError("the backup of the radio could not be stored: " +
                       (beforeWrite && !beforeWrite->result.ok() ? beforeWrite->result.error().text
                                                                 : std::string()) +
                       "\nNothing was written (--no-backup writes without one).");
            return kExitFileError;
        case StatusNoConnection:
            printError(texts.text("IDS_ERROR_PORTCONN") + "\n" +
                       noRadioReason(job, port, options, searching, texts));
            return kExitNoRadio;
        case StatusBadIdent:
            printError(texts.text("IDS_ERROR_TYPE") + "\n" + failureDetail(job, texts));
            return kExitBadIdent;
        case StatusWriteFailed:
            printError(fillPlaceholders(textOr(cliTexts, "IDS_CLI_WRITEFAIL",
                                               "Writing to the radio failed: %1\n"
                                               "The radio may hold part of the new data; "
                                               "write again."),
                                        {failureDetail(job, texts)}));
            return kExitBlockFailed;
        default:
            break;
    }
    if (outcome.cancelled) {
        printError(textOr(cliTexts, "IDS_CLI_CANCELLED", "cancelled"));
        return kExitCancelled;
    }
    printError("the transfer ended unexpectedly (status " + std::to_string(outcome.status) + ")");
    return kExitBlockFailed;
}

}  // namespace

int runTransferCommand(const CliOptions& options, const CliEnvironment& environment) {
    const LanguageTexts texts(environment.languagePath);
    const bool reading = options.command == Command::Read;
    std::string file = options.operands.empty() ? std::string() : options.operands[0];
    if (options.command == Command::Restore) {
        auto source = restoreSource(options);
        if (!source) {
            printError(source.error().text);
            return kExitFileError;
        }
        file = source.value();
        std::printf("Restoring %s\n", file.c_str());
        std::fflush(stdout);
    }
    const bool restoring = options.command == Command::Restore;
    auto backupStore = runBackupStore(options, environment);
    if (!backupStore) {
        if (!reading) {
            printError(backupStore.error().text +
                       "; nothing was written (--no-backup writes without one)");
            return kExitFileError;
        }
        printError("warning: " + backupStore.error().text);
    }
    const std::optional<BackupStore> backups =
        backupStore ? std::move(backupStore).value() : std::nullopt;

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
            beforeWrite = backUpBeforeWrite(
                *job, *backups, restoring ? BackupKind::BeforeRestore : BackupKind::BeforeWrite);
        }
    }
    ProgressDisplay display(stderr, ProgressDisplay::isTerminal(stderr));
    installInterruptHandler();
    TransferWorker worker = startWorker(job);
    const RunOutcome outcome = watch(worker, *job, texts, display);
    port->close();
    if (beforeWrite && beforeWrite->result.ok()) {
        std::fprintf(stderr, "Backup: %s\n", beforeWrite->path.c_str());
    }

    const TextSource cliTexts = texts.source();
    tellUnstoredPort(*job, cliTexts);
    if (!reading) {
        // Whatever the end, the user learns what the radio holds now.
        const int code =
            writeExitCode(outcome, *job, *port, options, searching, texts, beforeWrite.get());
        std::fprintf(stderr, "%s\n", radioHoldsText(writeStateOf(*job), cliTexts).c_str());
        if (restoring && code != kExitSuccess) {
            printError(
                fillPlaceholders(textOr(cliTexts, "IDS_CLI_RESTORE_RETRY",
                                        "to try again, restore the same backup: %1 restore %2"),
                                 {kProgramName, retryName(file)}));
        }
        std::fflush(stderr);
        return code;
    }
    switch (outcome.status) {
        case StatusReadDone: {
            if (outcome.cancelled) {
                break;  // asked to stop: the file is not written, whatever came in
            }
            document.image = job->image;
            const auto backup = keepReadBackup(backups, document);
            if (!saveOrReport(file, document)) {
                if (backup) {
                    printError(fillPlaceholders(textOr(cliTexts, "IDS_CLI_READ_IN_BACKUP",
                                                       "the image read is kept in the backup %1"),
                                                {backup->string()}));
                }
                return kExitFileError;
            }
            return kExitSuccess;
        }
        case StatusNoConnection:
            printError(texts.text("IDS_ERROR_PORTCONN") + "\n" +
                       noRadioReason(*job, *port, options, searching, texts));
            return kExitNoRadio;
        case StatusBadIdent:
            printError(texts.text("IDS_ERROR_TYPE") + "\n" + failureDetail(*job, texts));
            return kExitBadIdent;
        case StatusReadFailed:
            printError(fillPlaceholders(textOr(cliTexts, "IDS_CLI_READFAIL",
                                               "Reading from the radio failed: %1\n"
                                               "%2 was not written."),
                                        {failureDetail(*job, texts), file}));
            return kExitBlockFailed;
        default:
            break;
    }
    if (outcome.cancelled) {
        printError("cancelled; " + file + " was not written");
        return kExitCancelled;
    }
    printError("the transfer ended unexpectedly (status " + std::to_string(outcome.status) + ")");
    return kExitBlockFailed;
}

}  // namespace qzm::cli
