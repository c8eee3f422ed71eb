// SPDX-License-Identifier: GPL-3.0-or-later
// What the end report says a radio holds, from what the write job recorded.
#include "cli/radio_holds.h"

#include <gtest/gtest.h>

namespace qzm::cli {
namespace {

TEST(RadioHolds, EveryEndSaysWhatTheRadioHolds) {
    struct Case {
        int status;
        bool started;
        int written;
        const char* word;
    };
    const Case cases[] = {
        {StatusBackupReading, false, 0, "untouched"},  // stopped before the write
        {StatusNoConnection, false, 0, "untouched"},
        {StatusWriteFailed, true, 0, "part 0/124"},  // the first block may have been taken
        {StatusWriting, true, 67, "part 67/124"},    // a stop mid-write
        {StatusWriteFailed, true, 50, "part 50/124"},
        {StatusWriting, true, 124, "all unchecked"},    // a stop in the closing pause
        {StatusVerifying, true, 124, "all unchecked"},  // a stop during the check
        {StatusVerifyFailed, true, 124, "all unchecked"},
        {StatusWriteDone, true, 124, "all unchecked"},
        {StatusVerifyDone, true, 124, "all checked"},
        {StatusVerifyMismatch, true, 124, "all differs"},
    };
    for (const auto& c : cases) {
        TransferJob job(std::make_shared<SerialPort>(), {}, kDirectionWrite, RadioImage::fresh());
        job.status.store(c.status);
        job.writeStarted.store(c.started);
        if (c.started) {
            job.blocksToWrite.store(124);  // known before the first block goes out
        }
        job.blocksWritten.store(c.written);
        const WriteState state = writeStateOf(job);
        EXPECT_EQ(radioHoldsWord(state), c.word) << c.status << " " << c.written;
        const std::string text = radioHoldsText(state, {});
        EXPECT_FALSE(text.empty());
        if (state.holds == RadioHolds::PartOfNewImage) {
            EXPECT_NE(text.find("blocks " + std::to_string(c.written) + " of 124"),
                      std::string::npos)
                << text;
        }
    }
}

}  // namespace
}  // namespace qzm::cli
