#pragma once

#include <array>
#include <csignal>

namespace qzm::cli {

// The signals that ask a transfer to stop: Ctrl+C, a terminal closing, kill.
inline constexpr std::array<int, 3> kStopSignals{SIGINT, SIGTERM, SIGHUP};

// During a transfer the first of them only raises a flag, which the transfer
// loop hands on as the run's cancel request (the run stops after the current
// block).  A second one ends the program at once.
void installInterruptHandler();
bool interruptRequested();

}  // namespace qzm::cli
