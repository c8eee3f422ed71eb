// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/radio_holds.h"

#include "link/wire_protocol.h"

namespace qzm::cli {

WriteState writeStateOf(const TransferJob& job) {
    WriteState state;
    const int status = job.status.load(std::memory_order_acquire);
    state.blocksWritten = job.blocksWritten.load();
    state.blocksTotal = job.blocksToWrite.load();
    if (status == StatusVerifyDone) {
        state.holds = RadioHolds::AllChecked;
    } else if (status == StatusVerifyMismatch) {
        state.holds = RadioHolds::AllDiffers;
    } else if (state.blocksTotal < 0) {
        // The write never learnt what to send (the backup read did not finish): nothing
        // went out.
        state.blocksTotal = wire::kBlockCount;
    } else if (state.blocksWritten >= state.blocksTotal) {
        // A cancel in the closing pause or during the read-back lands here too.
        state.holds = RadioHolds::AllUnchecked;
    } else if (job.writeStarted.load()) {
        // A block sent but not acknowledged may have been taken: not untouched.
        state.holds = RadioHolds::Part;
    }
    return state;
}

std::string radioHoldsText(const WriteState& state, const TextSource& texts) {
    switch (state.holds) {
        case RadioHolds::Untouched:
            return textOr(texts, "IDS_CLI_HOLDS_UNTOUCHED",
                          "the radio is untouched: it holds what it held before");
        case RadioHolds::Part:
            return fillPlaceholders(
                textOr(texts, "IDS_CLI_HOLDS_PART",
                       "the radio holds part of the new image (blocks %1 of %2), the rest is "
                       "its old memory"),
                {std::to_string(state.blocksWritten), std::to_string(state.blocksTotal)});
        case RadioHolds::AllUnchecked:
            return textOr(texts, "IDS_CLI_HOLDS_UNCHECKED",
                          "the radio holds all of the new image, unchecked");
        case RadioHolds::AllChecked:
            return textOr(texts, "IDS_CLI_HOLDS_CHECKED",
                          "the radio holds all of the new image, checked");
        case RadioHolds::AllDiffers:
            return textOr(texts, "IDS_CLI_HOLDS_DIFFERS",
                          "every block was written, but the radio holds other data in some");
    }
    return {};
}

std::string radioHoldsWord(const WriteState& state) {
    switch (state.holds) {
        case RadioHolds::Untouched:
            return "untouched";
        case RadioHolds::Part:
            return "part " + std::to_string(state.blocksWritten) + "/" +
                   std::to_string(state.blocksTotal);
        case RadioHolds::AllUnchecked:
            return "all unchecked";
        case RadioHolds::AllChecked:
            return "all checked";
        case RadioHolds::AllDiffers:
            return "all differs";
    }
    return {};
}

}  // namespace qzm::cli
