// SPDX-License-Identifier: GPL-3.0-or-later
// What a write run left in the radio, from what its job recorded.
#include "link/write_outcome.h"

#include <gtest/gtest.h>

namespace qzm {
namespace {

TEST(RadioHoldsAfter, EveryEndOfAWriteIsClassified) {
    struct Case {
        const char* name;
        int status;
        int toWrite;  // -1: never learnt
        bool started;
        int written;
        bool verify;
        RadioHolds holds;
    };
    const Case cases[] = {
        {"stopped in the backup read", StatusBackupReading, -1, false, 0, false,
         RadioHolds::OldImage},
        {"failed before the first frame", StatusWriteFailed, 6, false, 0, false,
         RadioHolds::OldImage},
        {"first block unacknowledged", StatusWriteFailed, 6, true, 0, false,
         RadioHolds::PartOfNewImage},
        {"stopped mid-write", StatusWriting, 6, true, 3, true, RadioHolds::PartOfNewImage},
        {"nothing to send", StatusWriteDone, 0, false, 0, false, RadioHolds::SameImage},
        {"nothing to send, checked", StatusVerifyDone, 0, false, 0, true, RadioHolds::SameImage},
        {"all sent, no check asked", StatusWriteDone, 6, true, 6, false, RadioHolds::NewImage},
        {"check cut short", StatusVerifying, 6, true, 6, true, RadioHolds::NewImageUnchecked},
        {"checked", StatusVerifyDone, 6, true, 6, true, RadioHolds::NewImageChecked},
        {"check found other data", StatusVerifyMismatch, 6, true, 6, true, RadioHolds::OtherData},
    };
    for (const Case& c : cases) {
        TransferJob job(std::make_shared<SerialPort>(), {}, kDirectionWrite, RadioImage::fresh());
        job.status.store(c.status);
        job.blocksToWrite.store(c.toWrite);
        job.writeStarted.store(c.started);
        job.blocksWritten.store(c.written);
        job.verifyAfterWrite = c.verify;
        EXPECT_EQ(radioHoldsAfter(job), c.holds) << c.name;
    }
}

TEST(RadioHoldsAfter, AnUnacknowledgedFirstBlockIsNotCalledNothingWritten) {
    TransferJob job(std::make_shared<SerialPort>(), {}, kDirectionWrite, RadioImage::fresh());
    job.status.store(StatusWriteFailed);
    job.blocksToWrite.store(6);
    job.writeStarted.store(true);
    const std::string text = radioHoldsText(radioHoldsAfter(job), job, {});
    EXPECT_NE(text, nothingWrittenText({}));
    EXPECT_NE(text.find("0 of the 6"), std::string::npos) << text;
}

}  // namespace
}  // namespace qzm
