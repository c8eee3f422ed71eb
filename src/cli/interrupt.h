#pragma once

namespace qzm::cli {

// Ctrl+C during a transfer: the first SIGINT only raises a flag, which the
// transfer loop hands on as the run's cancel request (the run stops after the
// current block).  A second SIGINT ends the program at once.
void installInterruptHandler();
bool interruptRequested();

}  // namespace qzm::cli
