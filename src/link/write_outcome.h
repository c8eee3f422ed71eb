// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "link/transfer_failure_text.h"
#include "link/transfer_job.h"
#include "platform/text_source.h"

namespace qzm {

// The texts that count the blocks a write moves (TransferJob::blocksToWrite and
// blocksWritten), in the language behind `texts`; a key the language file lacks falls
// back to English.

// "Writing 6 changed blocks of 124"; for a write of all 124 blocks the plain prompt
// IDS_PROMPT_WRITE.
std::string writePlanText(int blocksToWrite, const TextSource& texts);

// "The radio already holds this image; nothing was written."
std::string unchangedImageText(const TextSource& texts);

// "Nothing was written: the radio holds what it held before."
std::string nothingWrittenText(const TextSource& texts);

// What a write that stopped half-way left in the radio: "The radio now holds part of
// the new image: 3 of the 6 blocks to send were written."; nothingWrittenText when the
// radio took none.
std::string partialWriteText(int blocksWritten, int blocksToWrite, const TextSource& texts);

// What the radio holds once a write run has ended, in whatever way it ended (done,
// failed, cancelled).  The one classification: the window and the command line both
// report from it.
enum class RadioHolds {
    OldImage,           // nothing was written
    SameImage,          // it held the image already; nothing needed writing
    PartOfNewImage,     // some of the blocks to send went in (blocksWritten), or a block
                        // went out unacknowledged and may have been taken
    NewImage,           // every block to send went in; no check was asked for
    NewImageUnchecked,  // every block went in; the check asked for did not finish
    NewImageChecked,    // every block went in and read back equal
    OtherData,          // the check found blocks that differ (mismatchedBlocks)
};

// From the job of a finished run (or one whose worker has stopped); reads status,
// blocksToWrite, blocksWritten, writeStarted and verifyAfterWrite.
RadioHolds radioHoldsAfter(const TransferJob& job);

// The sentence for it: IDS_WRITE_NOTHING, IDS_WRITE_UNCHANGED, partialWriteText,
// IDS_WRITE_DONE, IDS_WRITE_UNCHECKED, IDS_VERIFY_OK; empty for OtherData, whose text
// names the blocks.
std::string radioHoldsText(RadioHolds holds, const TransferJob& job, const TextSource& texts);

}  // namespace qzm
