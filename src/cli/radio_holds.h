// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "link/transfer_failure_text.h"
#include "link/transfer_job.h"
#include "link/write_outcome.h"
#include "platform/text_source.h"

namespace qzm::cli {

// What a radio holds once a write to it has ended, however it ended (done, failed,
// cancelled, a second Ctrl+C), as the end report and the clone log tell it: the
// user must know whether it still holds its old memory, a mix of old and new, or
// all of the new image.  The classification is the window's (RadioHolds); the
// command line tells a write with nothing to send as all of the new image.
struct WriteState {
    RadioHolds holds = RadioHolds::OldImage;  // never SameImage: see writeStateOf
    int blocksWritten = 0;                    // the blocks the radio took
    int blocksTotal = 0;                      // of the blocks the write sends
};

// The state of the radio a finished write job was writing to.
WriteState writeStateOf(const TransferJob& job);

// "the radio holds part of the new image (blocks 67 of 124)", in the run's language.
std::string radioHoldsText(const WriteState& state, const TextSource& texts);
// The same as one word for a log: "untouched", "part 67/124", "all unchecked",
// "all checked", "all differs".
std::string radioHoldsWord(const WriteState& state);

}  // namespace qzm::cli
