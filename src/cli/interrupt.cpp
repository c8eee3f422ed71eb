#include "cli/interrupt.h"

#include <csignal>

namespace qzm::cli {
namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int) {
    interrupted = 1;
}

}  // namespace

void installInterruptHandler() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    // The handler runs once; the next Ctrl+C gets the default action.
    action.sa_flags = static_cast<int>(SA_RESETHAND);
    sigaction(SIGINT, &action, nullptr);
}

bool interruptRequested() {
    return interrupted != 0;
}

}  // namespace qzm::cli
