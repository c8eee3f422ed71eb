// SPDX-License-Identifier: GPL-3.0-or-later
// qzm836-cli clone: one image into many radios, one cable each, all at once.
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

#include "cli/backup_commands.h"
#include "cli/clone_port.h"
#include "cli/clone_report.h"
#include "cli/clone_targets.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/interrupt.h"
#include "cli/messages.h"
#include "cli/progress_display.h"
#include "link/transfer_settings.h"

namespace qzm::cli {
namespace {

constexpr auto kWatchPeriod = std::chrono::milliseconds(50);

// The port threads must not take Ctrl+C or a termination request: the main thread
// turns those into a stop after the current block.
void startWithSignalsBlocked(ClonePort& port) {
    sigset_t blocked;
    sigset_t previous;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGTERM);
    sigaddset(&blocked, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &blocked, &previous);
    port.start();
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

std::string announcement(const RadioRecord& record, const TextSource& texts) {
    std::string text = record.portLabel + ": ";
    if (record.result == RadioResult::Done) {
        text += "radio programmed";
        if (record.verified) {
            text += " and verified";
        }
    } else {
        text += resultText(record.result);
        if (!record.detail.empty()) {
            text += ": " + record.detail;
        }
        text += "; " + radioHoldsText(record.state, texts);
    }
    if (!record.identHex.empty()) {
        text += " [" + record.identHex + "]";
    }
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, " in %.1f s", record.seconds);
    return text + seconds;
}

}  // namespace

int runCloneCommand(const CliOptions& options, const CliEnvironment& environment) {
    const LanguageTexts texts(environment.languagePath);
    auto document = loadOrReport(options.operands[0], texts);
    if (!document) {
        return kExitFileError;
    }
    const PortMap portMap(environment.settingsPath);
    const auto found = cloneTargets(portMap, options.devices, options.ports, options.allPorts);
    if (!found) {
        printError(found.error().text);
        return kExitNoRadio;
    }

    CloneSettings settings;
    settings.verify = options.verify;
    settings.station = options.station;
    settings.allBlocks = options.allBlocks || readAllBlocks(environment.settingsPath);
    auto backups = runBackupStore(options, environment);
    if (!backups) {
        printError(backups.error().text +
                   "; nothing was written (--no-backup writes without backups)");
        return kExitFileError;
    }
    settings.backups = std::move(backups).value();
    settings.backupHeader = document->header;
    if (options.logFile) {
        // Found now, not after the radios are programmed with nothing recorded.
        if (auto problem = openCloneLog(*options.logFile)) {
            printError("log: " + *problem + "; no radio was touched");
            return kExitFileError;
        }
    }
    settings.texts = texts.source();

    std::vector<std::unique_ptr<ClonePort>> ports;
    for (const auto& target : found.value()) {
        ports.push_back(std::make_unique<ClonePort>(target, document->image, settings));
    }
    installInterruptHandler();
    for (auto& port : ports) {
        startWithSignalsBlocked(*port);
    }

    CloneDisplay display(stderr, ProgressDisplay::isTerminal(stderr));
    std::vector<RadioRecord> records;
    int exitCode = kExitSuccess;
    bool stopSent = false;
    bool cutSent = false;
    bool logStopSent = false;
    auto stopAll = [&](const std::string& why) {
        stopSent = true;
        for (auto& port : ports) {
            port->requestStop();
        }
        display.announce(why, false);
    };
    auto lines = [&] {
        std::vector<ClonePortLine> result;
        for (const auto& port : ports) {
            result.push_back({port->target().label, port->state()});
        }
        return result;
    };
    auto collect = [&] {
        for (auto& port : ports) {
            for (auto& record : port->takeRecords()) {
                display.announce(announcement(record, settings.texts), options.station);
                if (options.logFile) {
                    if (auto problem = appendCloneLog(*options.logFile, cloneLogLine(record))) {
                        display.announce("log: " + *problem, false);
                        if (exitCode == kExitSuccess) {
                            exitCode = kExitFileError;
                        }
                        // A station must not program radios it cannot record.
                        if (options.station && !logStopSent) {
                            logStopSent = true;
                            for (auto& other : ports) {
                                other->stopAfterRadio();
                            }
                            display.announce(
                                "Stopping: the log cannot be written; radios being "
                                "programmed are finished first...",
                                false);
                        }
                    }
                }
                if (exitCode == kExitSuccess && record.result != RadioResult::Done) {
                    exitCode = exitCodeOf(record.result);
                }
                records.push_back(std::move(record));
            }
        }
    };
    for (;;) {
        if (interruptRequested() && !stopSent) {
            stopAll(options.station
                        ? "Stopping: radios being programmed finish their current block "
                          "(Ctrl+C again stops without waiting for the radios)..."
                        : "Stopping after the current block (Ctrl+C again stops without "
                          "waiting for the radios)...");
        }
        if (hardStopRequested() && !cutSent) {
            cutSent = true;
            for (auto& port : ports) {
                port->cutShort();
            }
        }
        collect();
        bool allFinished = true;
        for (const auto& port : ports) {
            allFinished = allFinished && port->finished();
        }
        if (allFinished) {
            break;
        }
        display.update(lines());
        std::this_thread::sleep_for(kWatchPeriod);
    }
    for (auto& port : ports) {
        port->join();
    }
    collect();
    display.finish();
    // The table lists the ports in the order given, each port's radios in turn.
    std::stable_sort(records.begin(), records.end(), [&](const auto& a, const auto& b) {
        auto index = [&](const RadioRecord& r) {
            for (std::size_t i = 0; i < ports.size(); ++i) {
                if (ports[i]->target().label == r.portLabel) {
                    return i;
                }
            }
            return ports.size();
        };
        return index(a) < index(b);
    });
    std::fputs(cloneSummary(records, lines(), options.station).c_str(), stdout);
    std::fflush(stdout);
    return exitCode;
}

}  // namespace qzm::cli
