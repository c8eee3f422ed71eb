// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace qzm {

// The window's answer to signals while a write may be on the line: a closed pipe
// (SIGPIPE) and the terminal that started the program closing (SIGHUP) are ignored,
// so a write in progress goes on; SIGTERM ends the event loops from the main thread
// (exit status 128 + SIGTERM), so the transfer dialog cancels its run and waits for
// the worker as when it is closed, instead of the process dying mid-block.  Call
// once the application object exists.
void installWindowStopSignals();

}  // namespace qzm
