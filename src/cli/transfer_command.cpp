#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/file_io.h"
#include "cli/interrupt.h"
#include "cli/messages.h"
#include "cli/progress_display.h"
#include "link/transfer.h"
#include "link/transfer_failure_text.h"
#include "platform/settings.h"

namespace qzm::cli {
namespace {

constexpr int kBaudRate = 9600;
constexpr auto kPollPeriod = std::chrono::milliseconds(20);

// The settings a run works with.  Normally the settings file itself, so a port
// found by the search is stored as the program stores it.  An override for this
// run only (--port, --no-search, --device) goes into a private copy instead;
// only a port the search found is carried back into the real file.
class RunSettings {
  public:
    RunSettings(std::filesystem::path real, std::optional<int> port, bool searchOff)
        : real_(std::move(real)) {
        if (!port && !searchOff) {
            return;
        }
        std::string pattern =
            (std::filesystem::temp_directory_path() / "qzm836-cli-XXXXXX").string();
        int fd = ::mkstemp(pattern.data());
        if (fd < 0) {
            failed_ = true;
            return;
        }
        ::close(fd);
        copy_ = pattern;
        std::error_code error;
        std::filesystem::copy_file(real_, copy_, std::filesystem::copy_options::overwrite_existing,
                                   error);
        failed_ = error.operator bool() || (port && !writeComPort(*port, copy_)) ||
                  (searchOff && !writeSearchComEnabled(false, copy_));
        startPort_ = readComPort(copy_);
    }
    ~RunSettings() {
        if (!copy_.empty()) {
            std::error_code error;
            std::filesystem::remove(copy_, error);
        }
    }
    RunSettings(const RunSettings&) = delete;
    RunSettings& operator=(const RunSettings&) = delete;

    bool failed() const { return failed_; }
    const std::filesystem::path& path() const { return copy_.empty() ? real_ : copy_; }

    // After the run: the port a search stored in the copy goes to the real file.
    void keepFoundPort() const {
        if (copy_.empty()) {
            return;
        }
        const int now = readComPort(copy_);
        if (now != startPort_) {
            writeComPort(now, real_);
        }
    }

  private:
    std::filesystem::path real_;
    std::filesystem::path copy_;
    int startPort_ = 0;
    bool failed_ = false;
};

// Starts the worker with Ctrl+C blocked in its thread, so the signal always
// reaches the main thread, which turns it into the run's cancel request.
TransferWorker startWorker(const std::shared_ptr<TransferJob>& job) {
    sigset_t interrupt;
    sigset_t previous;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    pthread_sigmask(SIG_BLOCK, &interrupt, &previous);
    TransferWorker worker(job);
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return worker;
}

struct RunOutcome {
    int status = StatusIdle;
    bool cancelled = false;
};

// Waits for the worker as the transfer dialog's timer does, showing progress.
RunOutcome watch(TransferWorker& worker, TransferJob& job, const LanguageTexts& texts,
                 ProgressDisplay& display) {
    const bool reading = job.direction == kDirectionRead;
    const std::string prompt = texts.text(reading ? "IDS_PROMPT_READ" : "IDS_PROMPT_WRITE");
    const std::string plainWord = reading ? "read" : "write";
    const std::string searching = texts.text("IDS_SEARCHCOMPORT");
    bool cancelSent = false;
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
        if (status == StatusSearching) {
            display.showSearching(searching, progress);
        } else if (status == StatusReading || status == StatusWriting) {
            display.showProgress(prompt, plainWord, progress);
        }
        std::this_thread::sleep_for(kPollPeriod);
    }
    worker.join();
    RunOutcome outcome;
    outcome.status = job.status.load(std::memory_order_acquire);
    if (outcome.status == StatusReading || outcome.status == StatusWriting) {
        display.showProgress(prompt, plainWord, job.progress.load());
    } else if (outcome.status == StatusReadDone || outcome.status == StatusWriteDone) {
        display.showProgress(prompt, plainWord, 100);
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
std::string noRadioReason(const TransferJob& job, const SerialPort& port,
                          const std::filesystem::path& settings, const CliOptions& options,
                          bool searched, const LanguageTexts& texts) {
    if (job.failure.step != FailureStep::Handshake) {
        // A radio answered the handshake and then fell silent: name its port.
        return failureDetail(job, texts);
    }
    std::string where;
    if (options.device) {
        where = *options.device;
    } else {
        const int number = readComPort(settings);
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

}  // namespace

int runTransferCommand(const CliOptions& options, const CliEnvironment& environment) {
    const LanguageTexts texts(environment.languagePath);
    const bool reading = options.command == Command::Read;
    const std::string& file = options.operands[0];

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

    const bool searchOff = options.noSearch || options.device.has_value();
    RunSettings settings(environment.settingsPath, options.port, searchOff);
    if (settings.failed()) {
        printError("cannot prepare the settings for this run");
        return kExitFileError;
    }
    const bool searching = readSearchComEnabled(settings.path());

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
        port, settings.path(), reading ? kDirectionRead : kDirectionWrite, document.image);
    ProgressDisplay display(stderr, ProgressDisplay::isTerminal(stderr));
    installInterruptHandler();
    TransferWorker worker = startWorker(job);
    const RunOutcome outcome = watch(worker, *job, texts, display);
    port->close();
    settings.keepFoundPort();

    const TextSource cliTexts = [&texts](std::string_view key) { return texts.text(key); };
    switch (outcome.status) {
        case StatusReadDone:
            if (outcome.cancelled) {
                break;  // asked to stop: the file is not written, whatever came in
            }
            document.image = job->image;
            return saveOrReport(file, document) ? kExitSuccess : kExitFileError;
        case StatusWriteDone:
            return kExitSuccess;  // every block is in the radio: nothing was cut short
        case StatusNoConnection:
            printError(texts.text("IDS_ERROR_PORTCONN") + "\n" +
                       noRadioReason(*job, *port, settings.path(), options, searching, texts));
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
                                        {failureDetail(*job, texts)}));
            return kExitBlockFailed;
        default:
            break;
    }
    if (outcome.cancelled) {
        printError(reading ? "cancelled; " + file + " was not written"
                           : std::string("cancelled; the radio holds only part of the new data"));
        return kExitCancelled;
    }
    printError("the transfer ended unexpectedly (status " + std::to_string(outcome.status) + ")");
    return kExitBlockFailed;
}

}  // namespace qzm::cli
