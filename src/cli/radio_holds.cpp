// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/radio_holds.h"

#include "link/wire_protocol.h"
#include "platform/placeholders.h"

namespace qzm::cli {

WriteState writeStateOf(const TransferJob& job) {
    WriteState state;
    state.holds = radioHoldsAfter(job);
    state.blocksWritten = job.blocksWritten.load();
    state.blocksTotal = job.blocksToWrite.load();
    if (state.blocksTotal < 0) {
        state.blocksTotal = wire::kBlockCount;  // nothing went out; count the whole image
    }
    if (state.holds == RadioHolds::SameImage) {
        // Nothing needed sending, so the radio holds all of the new image; the read
        // before the write is its check when one was asked for.
        state.holds = job.status.load(std::memory_order_acquire) == StatusVerifyDone
                          ? RadioHolds::NewImageChecked
                          : RadioHolds::NewImage;
    }
    return state;
}

std::string radioHoldsText(const WriteState& state, const TextSource& texts) {
    switch (state.holds) {
        case RadioHolds::OldImage:
            return textOr(texts, "IDS_CLI_HOLDS_UNTOUCHED",
                          "the radio is untouched: it holds what it held before");
        case RadioHolds::PartOfNewImage:
            return fillPlaceholders(
                textOr(texts, "IDS_CLI_HOLDS_PART",
                       "the radio holds part of the new image (blocks %1 of %2), the rest is "
                       "its old memory"),
                {std::to_string(state.blocksWritten), std::to_string(state.blocksTotal)});
        case RadioHolds::SameImage:  // writeStateOf tells it as one of the others
        case RadioHolds::NewImage:
        case RadioHolds::NewImageUnchecked:
            return textOr(texts, "IDS_CLI_HOLDS_UNCHECKED",
                          "the radio holds all of the new image, unchecked");
        case RadioHolds::NewImageChecked:
            return textOr(texts, "IDS_CLI_HOLDS_CHECKED",
                          "the radio holds all of the new image, checked");
        case RadioHolds::OtherData:
            return textOr(texts, "IDS_CLI_HOLDS_DIFFERS",
                          "every block was written, but the radio holds other data in some");
    }
    return {};
}

std::string radioHoldsWord(const WriteState& state) {
    switch (state.holds) {
        case RadioHolds::OldImage:
            return "untouched";
        case RadioHolds::PartOfNewImage:
            return "part " + std::to_string(state.blocksWritten) + "/" +
                   std::to_string(state.blocksTotal);
        case RadioHolds::SameImage:  // writeStateOf tells it as one of the others
        case RadioHolds::NewImage:
        case RadioHolds::NewImageUnchecked:
            return "all unchecked";
        case RadioHolds::NewImageChecked:
            return "all checked";
        case RadioHolds::OtherData:
            return "all differs";
    }
    return {};
}

}  // namespace qzm::cli
