#include "cli/interrupt.h"

namespace qzm::cli {
namespace {

volatile std::sig_atomic_t interrupted = 0;

// Once asked, any further stop signal gets the default action: the user who
// presses Ctrl+C twice, or a service manager that insists, stops us at once.
extern "C" void onInterrupt(int) {
    interrupted = 1;
    for (int signal : kStopSignals) {
        std::signal(signal, SIG_DFL);
    }
}

}  // namespace

void installInterruptHandler() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
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

}  // namespace qzm::cli
