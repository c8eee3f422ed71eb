// SPDX-License-Identifier: GPL-3.0-or-later
// The optional phases of a write: the read before it and the read-back after it.
#include <gtest/gtest.h>

#include <algorithm>

#include "link/transfer.h"
#include "link/wire_protocol.h"
#include "transfer_rig.h"

namespace qzm {
namespace {

using test::Observed;
using test::sameSpan;
using test::TransferRig;
using Bytes = std::vector<std::uint8_t>;

constexpr auto kSpan = static_cast<std::ptrdiff_t>(wire::kBlockCount * wire::kBlockSize);

// The sessions the tool opened: a handshake right after another is the same session
// asking again because a busy machine let the answer come after its time-out.
long countHandshakes(const Bytes& stream) {
    const Bytes frame(wire::kHandshakeFrame.begin(), wire::kHandshakeFrame.end());
    long count = 0;
    auto previousEnd = stream.end();
    for (auto it = stream.begin();
         (it = std::search(it, stream.end(), frame.begin(), frame.end())) != stream.end();) {
        if (it != previousEnd) {
            ++count;
        }
        it += static_cast<std::ptrdiff_t>(frame.size());
        previousEnd = it;
    }
    return count;
}

bool sawStatus(const Observed& seen, int status) {
    return std::any_of(seen.changes.begin(), seen.changes.end(),
                       [&](const auto& change) { return change.first == status; });
}

struct WritePhases : ::testing::Test {
    void start(sim::EmulatorConfig config) {
        radio = std::make_unique<sim::RadioEmulator>(std::move(config));
        std::string error;
        ASSERT_TRUE(radio->start(error)) << error;
        rig.writeSettings("com=1\nsearchcom=0", {{1, radio->slavePath()}});
    }
    // A write job whose before-write hook records what it got and answers `accept`.
    std::shared_ptr<TransferJob> writeJob(bool accept, bool verify) {
        auto job = rig.makeJob(kDirectionWrite, working);
        job->beforeWrite = [this, accept](const RadioImage& current) {
            handedOver.push_back(current);
            return accept;
        };
        job->verifyAfterWrite = verify;
        return job;
    }

    const RadioImage radioMemory = test::patternImage(1);
    const RadioImage working = test::patternImage(0);
    std::vector<RadioImage> handedOver;
    TransferRig rig;
    std::unique_ptr<sim::RadioEmulator> radio;
};

TEST_F(WritePhases, BackupThenWriteThenCheckEachInASessionOfItsOwn) {
    start(test::fastRadio(radioMemory));
    auto job = writeJob(true, true);
    const Observed seen = rig.run(job);

    ASSERT_TRUE(seen.ended);
    EXPECT_EQ(seen.finalStatus, StatusVerifyDone);
    EXPECT_EQ(seen.finalProgress, 100);
    ASSERT_EQ(handedOver.size(), 1u);
    // The hook sees the radio's memory, the rest of the image is the working copy's.
    EXPECT_TRUE(sameSpan(handedOver[0], radioMemory));
    EXPECT_TRUE(std::equal(handedOver[0].bytes.begin() + kSpan, handedOver[0].bytes.end(),
                           working.bytes.begin() + kSpan));
    EXPECT_TRUE(sameSpan(radio->image(), working));
    EXPECT_EQ(radio->completedWrites(), 1);
    EXPECT_EQ(countHandshakes(radio->receivedAll()), 3);
    EXPECT_TRUE(job->mismatchedBlocks.empty());
    EXPECT_EQ(job->image.bytes, working.bytes);
    // The phases come in order: backup blocks, written blocks, read-back blocks.
    std::vector<int> order;
    auto note = [&](int status) {
        if (order.empty() || order.back() != status) {
            order.push_back(status);
        }
    };
    for (const auto& change : seen.changes) {
        note(change.first);
    }
    note(seen.finalStatus);
    EXPECT_EQ(order, (std::vector<int>{StatusIdle, StatusBackupReading, StatusWriting,
                                       StatusVerifying, StatusVerifyDone}));
}

TEST_F(WritePhases, NothingIsWrittenUnlessTheBackupReadAndStoreSucceed) {
    struct Case {
        const char* name;
        bool accept;
        int badAddressBlock;
        int expected;
        std::size_t handedOver;
    };
    const Case cases[] = {
        {"backup not stored", false, -1, StatusBackupNotStored, 1},
        {"read before the write fails", true, 50, StatusBackupFailed, 0},
    };
    for (const Case& c : cases) {
        handedOver.clear();
        sim::EmulatorConfig config = test::fastRadio(radioMemory);
        config.badAddressBlock = c.badAddressBlock;
        start(config);
        const Observed seen = rig.run(writeJob(c.accept, false));
        ASSERT_TRUE(seen.ended) << c.name;
        EXPECT_EQ(seen.finalStatus, c.expected) << c.name;
        EXPECT_EQ(handedOver.size(), c.handedOver) << c.name;
        EXPECT_FALSE(sawStatus(seen, StatusWriting)) << c.name;
        EXPECT_EQ(radio->image().bytes, radioMemory.bytes) << c.name;
        // Not a single data frame went out: the only 'W' bytes would be frames.
        const Bytes got = radio->receivedAll();
        EXPECT_EQ(countHandshakes(got), 1) << c.name;
        EXPECT_EQ(radio->completedWrites(), 0) << c.name;
    }
}

TEST_F(WritePhases, ReadBackNamesTheBlocksTheRadioKeptWrongly) {
    sim::EmulatorConfig config = test::fastRadio(radioMemory);
    config.corruptBlock = 77;
    start(config);
    auto job = rig.makeJob(kDirectionWrite, working);
    job->verifyAfterWrite = true;
    const Observed seen = rig.run(job);

    ASSERT_TRUE(seen.ended);
    EXPECT_EQ(seen.finalStatus, StatusVerifyMismatch);
    EXPECT_EQ(job->mismatchedBlocks, std::vector<int>{77});
    EXPECT_FALSE(sawStatus(seen, StatusBackupReading));  // no hook, no read before
    EXPECT_EQ(countHandshakes(radio->receivedAll()), 2);
}

TEST_F(WritePhases, AFailedReadBackIsNotASuccess) {
    sim::EmulatorConfig config = test::fastRadio(radioMemory);
    config.badAddressBlock = 3;  // reads of block 3 fail; writes do not
    start(config);
    auto job = rig.makeJob(kDirectionWrite, working);
    job->verifyAfterWrite = true;
    const Observed seen = rig.run(job);

    ASSERT_TRUE(seen.ended);
    EXPECT_EQ(seen.finalStatus, StatusVerifyFailed);
    EXPECT_EQ(radio->completedWrites(), 1);
    EXPECT_TRUE(sameSpan(radio->image(), working));
}

TEST_F(WritePhases, CancelDuringTheBackupReadWritesNothing) {
    sim::EmulatorConfig config = test::fastRadio(radioMemory);
    config.answerDelayMs = 2;
    start(config);
    auto job = writeJob(true, true);
    const Observed seen = rig.run(job, [](TransferJob& j) {
        if (j.status.load() == StatusBackupReading && j.progress.load() >= 10) {
            j.requestCancel();
        }
    });
    ASSERT_TRUE(seen.ended);
    EXPECT_EQ(seen.finalStatus, StatusBackupReading);
    EXPECT_TRUE(handedOver.empty());
    EXPECT_EQ(radio->image().bytes, radioMemory.bytes);
}

}  // namespace
}  // namespace qzm
