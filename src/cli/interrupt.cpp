// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/interrupt.h"

namespace qzm::cli {
namespace {

volatile std::sig_atomic_t interrupted = 0;
volatile std::sig_atomic_t hardStop = 0;

extern "C" void onInterrupt(int signal) {
    if (interrupted == 0) {
        interrupted = 1;
    } else if (signal == SIGINT) {
        hardStop = 1;
    }
}

}  // namespace

void ignoreBrokenPipes() {
    std::signal(SIGPIPE, SIG_IGN);
    // A file size limit, too, is a write error (a backup, the log), not the end.
    std::signal(SIGXFSZ, SIG_IGN);
}

void installInterruptHandler() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (int signal : kStopSignals) {
        sigaddset(&action.sa_mask, signal);
    }
    for (int signal : kStopSignals) {
        sigaction(signal, &action, nullptr);
    }
}

bool interruptRequested() {
    return interrupted != 0;
}

bool hardStopRequested() {
    return hardStop != 0;
}

}  // namespace qzm::cli
