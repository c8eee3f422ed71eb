// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/write_outcome.h"

#include "link/wire_protocol.h"
#include "platform/placeholders.h"

namespace qzm {
namespace {

std::string partText(int blocksWritten, int blocksToWrite, const TextSource& texts) {
    return fillPlaceholders(textOr(texts, "IDS_WRITE_PARTIAL",
                                   "The radio now holds part of the new image: %1 of the %2 "
                                   "blocks to send were written."),
                            {std::to_string(blocksWritten), std::to_string(blocksToWrite)});
}

}  // namespace

std::string writePlanText(int blocksToWrite, const TextSource& texts) {
    if (blocksToWrite < 0 || blocksToWrite >= wire::kBlockCount) {
        return textOr(texts, "IDS_PROMPT_WRITE", "Writing to the radio");
    }
    const std::string all = std::to_string(wire::kBlockCount);
    if (blocksToWrite == 1) {
        return fillPlaceholders(
            textOr(texts, "IDS_PROMPT_WRITE_CHANGED1", "Writing %1 changed block of %2"),
            {"1", all});
    }
    return fillPlaceholders(
        textOr(texts, "IDS_PROMPT_WRITE_CHANGED", "Writing %1 changed blocks of %2"),
        {std::to_string(blocksToWrite), all});
}

std::string unchangedImageText(const TextSource& texts) {
    return textOr(texts, "IDS_WRITE_UNCHANGED",
                  "The radio already holds this image; nothing was written.");
}

std::string nothingWrittenText(const TextSource& texts) {
    return textOr(texts, "IDS_WRITE_NOTHING",
                  "Nothing was written: the radio holds what it held before.");
}

std::string partialWriteText(int blocksWritten, int blocksToWrite, const TextSource& texts) {
    if (blocksWritten <= 0) {
        return nothingWrittenText(texts);
    }
    return partText(blocksWritten, blocksToWrite, texts);
}

RadioHolds radioHoldsAfter(const TransferJob& job) {
    const int status = job.status.load(std::memory_order_acquire);
    const int toWrite = job.blocksToWrite.load(std::memory_order_acquire);
    const int written = job.blocksWritten.load();
    if (status == StatusVerifyMismatch) {
        return RadioHolds::OtherData;
    }
    if (toWrite == 0) {
        return RadioHolds::SameImage;
    }
    if (toWrite < 0) {
        return RadioHolds::OldImage;  // the write never learnt what to send
    }
    if (written < toWrite) {
        // A block sent but not acknowledged may have been taken: not the old image.
        return written > 0 || job.writeStarted.load() ? RadioHolds::PartOfNewImage
                                                      : RadioHolds::OldImage;
    }
    if (status == StatusVerifyDone) {
        return RadioHolds::NewImageChecked;
    }
    return job.verifyAfterWrite ? RadioHolds::NewImageUnchecked : RadioHolds::NewImage;
}

std::string radioHoldsText(RadioHolds holds, const TransferJob& job, const TextSource& texts) {
    switch (holds) {
        case RadioHolds::OldImage:
            return nothingWrittenText(texts);
        case RadioHolds::SameImage:
            return unchangedImageText(texts);
        case RadioHolds::PartOfNewImage:
            // Not partialWriteText: with none acknowledged it would claim the old image.
            return partText(job.blocksWritten.load(), job.blocksToWrite.load(), texts);
        case RadioHolds::NewImage:
            return textOr(texts, "IDS_WRITE_DONE", "Written: the radio holds the new image.");
        case RadioHolds::NewImageUnchecked:
            return textOr(texts, "IDS_WRITE_UNCHECKED",
                          "The radio holds the new image, but it was not checked.");
        case RadioHolds::NewImageChecked:
            return textOr(texts, "IDS_VERIFY_OK",
                          "Checked: the radio holds exactly the data written.");
        case RadioHolds::OtherData:
            break;
    }
    return {};
}

}  // namespace qzm
