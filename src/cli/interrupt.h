// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <csignal>

namespace qzm::cli {

// The signals that ask a transfer to stop: Ctrl+C, a terminal closing, kill.
inline constexpr std::array<int, 3> kStopSignals{SIGINT, SIGTERM, SIGHUP};

// A closed pipe on standard output or error (or a file size limit) must be an
// ordinary write error, never the end of a run that is writing to a radio.  Called
// first thing in main().
void ignoreBrokenPipes();

// During a transfer the first stop signal only raises a flag, which the transfer
// loop hands on as the run's cancel request (the run stops after the current
// block).  Further SIGHUP and SIGTERM are ignored (a closing terminal sends SIGHUP
// more than once); only a second SIGINT, the user pressing Ctrl+C again, asks to
// cut the wait for the block on the line.  The program still reports what every
// radio holds before it exits.
void installInterruptHandler();
bool interruptRequested();
bool hardStopRequested();

}  // namespace qzm::cli
