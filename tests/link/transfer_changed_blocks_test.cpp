// SPDX-License-Identifier: GPL-3.0-or-later
// A write after the read for the backup sends only the blocks that differ and checks
// only those; the radio must end exactly as after a full write.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "link/transfer.h"
#include "link/wire_protocol.h"
#include "transfer_rig.h"

namespace qzm {
namespace {

using test::Observed;
using test::sameSpan;
using test::TransferRig;
using Bytes = std::vector<std::uint8_t>;

// What the tool sent, split into its frames: the block numbers of the data frames
// and of the read requests, each in the order sent, and the sessions opened (a
// handshake right after another is the same session asking again, as a busy machine
// can let the answer come after its time-out).
struct Sent {
    std::vector<int> written;
    std::vector<int> read;
    int handshakes = 0;
};

Sent splitFrames(const Bytes& stream) {
    Sent sent;
    const Bytes handshake(wire::kHandshakeFrame.begin(), wire::kHandshakeFrame.end());
    bool afterHandshake = false;
    for (std::size_t i = 0; i < stream.size();) {
        const std::uint8_t byte = stream[i];
        const bool isHandshake = byte == wire::kStx && i + handshake.size() <= stream.size() &&
                                 std::equal(handshake.begin(), handshake.end(),
                                            stream.begin() + static_cast<std::ptrdiff_t>(i));
        if (isHandshake) {
            if (!afterHandshake) {
                ++sent.handshakes;
            }
            afterHandshake = true;
            i += handshake.size();
            continue;
        }
        afterHandshake = false;
        if ((byte == wire::kDataCommand || byte == wire::kReadCommand) && i + 3 < stream.size() &&
            stream[i + 3] == wire::kBlockLength && stream[i + 2] % wire::kBlockSize == 0) {
            const int block = ((stream[i + 1] << 8) | stream[i + 2]) / wire::kBlockSize;
            (byte == wire::kDataCommand ? sent.written : sent.read).push_back(block);
            i += byte == wire::kDataCommand ? wire::kDataFrameSize : wire::kReadRequestSize;
        } else {
            ++i;  // identification request, acknowledgement
        }
    }
    return sent;
}

std::vector<int> blocksFrom(std::vector<int> all, std::size_t from) {
    return {all.begin() + static_cast<std::ptrdiff_t>(std::min(from, all.size())), all.end()};
}

struct ChangedBlocks : ::testing::Test {
    void start(sim::EmulatorConfig config) {
        radio = std::make_unique<sim::RadioEmulator>(std::move(config));
        std::string error;
        ASSERT_TRUE(radio->start(error)) << error;
        rig.writeSettings("com=1\nsearchcom=0", {{1, radio->slavePath()}});
    }
    std::shared_ptr<TransferJob> writeJob(const RadioImage& image, bool verify) {
        auto job = rig.makeJob(kDirectionWrite, image);
        job->beforeWrite = [](const RadioImage&) { return true; };
        job->verifyAfterWrite = verify;
        return job;
    }
    // The blocks whose bytes differ between the two images, ascending.
    static std::vector<int> differing(const RadioImage& a, const RadioImage& b) {
        std::vector<int> blocks;
        for (int block = 0; block < wire::kBlockCount; ++block) {
            const auto at = static_cast<std::ptrdiff_t>(wire::blockAddress(block));
            if (!std::equal(a.bytes.begin() + at, a.bytes.begin() + at + wire::kBlockSize,
                            b.bytes.begin() + at)) {
                blocks.push_back(block);
            }
        }
        return blocks;
    }

    TransferRig rig;
    std::unique_ptr<sim::RadioEmulator> radio;
};

TEST_F(ChangedBlocks, RandomChangesEndAsAFullWriteWouldAndOnlyTheChangedBlocksTravel) {
    std::mt19937 random(836);
    for (int round = 0; round < 8; ++round) {
        RadioImage memory;
        for (auto& byte : memory.bytes) {
            byte = static_cast<std::uint8_t>(random());
        }
        // 0 to about 40 changed bytes, anywhere in the image (beyond the span too:
        // those never travel); a changed byte may be changed back to its value.
        RadioImage image = memory;
        const int changes = round == 0 ? 0 : static_cast<int>(random() % 40);
        for (int i = 0; i < changes; ++i) {
            image.bytes[random() % kImageSize] = static_cast<std::uint8_t>(random() % 4);
        }
        const bool verify = round % 2 == 1;
        start(test::fastRadio(memory));
        auto job = writeJob(image, verify);
        const Observed seen = rig.run(job);
        ASSERT_TRUE(seen.ended) << round;

        const std::vector<int> expected = differing(memory, image);
        EXPECT_EQ(seen.finalStatus, verify ? StatusVerifyDone : StatusWriteDone) << round;
        EXPECT_TRUE(sameSpan(radio->image(), image)) << round;  // a full write's result
        EXPECT_EQ(job->writeList, expected) << round;
        EXPECT_EQ(job->blocksToWrite.load(), static_cast<int>(expected.size())) << round;
        EXPECT_EQ(job->blocksWritten.load(), static_cast<int>(expected.size())) << round;
        const Sent sent = splitFrames(radio->receivedAll());
        EXPECT_EQ(sent.written, expected) << round;
        // The backup read asks for all 124 blocks; the check for the ones sent.
        std::vector<int> reads = blocksFrom(sent.read, wire::kBlockCount);
        EXPECT_EQ(reads, verify ? expected : std::vector<int>{}) << round;
        // Nothing to send: no session after the backup read at all.
        const int sessions = expected.empty() ? 1 : (verify ? 3 : 2);
        EXPECT_EQ(sent.handshakes, sessions) << round;
        radio.reset();
    }
}

TEST_F(ChangedBlocks, EveryByteOfTheSpanCountsAndNothingBeyondIt) {
    struct Case {
        const char* name;
        std::size_t address;
        std::vector<int> sent;
    };
    // Bytes no field of the editor shows still make their block travel.
    const Case cases[] = {
        {"first byte", 0x000, {0}},
        {"last byte of the span", kRadioTransferSize - 1, {wire::kBlockCount - 1}},
        {"a byte between the settings", 0x2F3, {0x2F3 / wire::kBlockSize}},
        {"beyond the span", kRadioTransferSize, {}},
    };
    for (const Case& c : cases) {
        const RadioImage memory = test::patternImage(3);
        RadioImage image = memory;
        image.bytes[c.address] ^= 0x01;
        start(test::fastRadio(memory));
        auto job = writeJob(image, true);
        const Observed seen = rig.run(job);
        ASSERT_TRUE(seen.ended) << c.name;
        EXPECT_EQ(seen.finalStatus, StatusVerifyDone) << c.name;
        EXPECT_EQ(splitFrames(radio->receivedAll()).written, c.sent) << c.name;
        EXPECT_TRUE(sameSpan(radio->image(), image)) << c.name;
        radio.reset();
    }
}

TEST_F(ChangedBlocks, AllBlocksSendsAndChecksAllOfThemAndSoDoesAWriteWithoutABackup) {
    struct Case {
        const char* name;
        std::string setting;
        std::optional<bool> override;
        bool backup;
        bool all;
    };
    const Case cases[] = {
        {"the setting", "\n[transfer]\nallblocks=1", std::nullopt, true, true},
        {"the override", "", true, true, true},
        {"the override beats the setting", "\n[transfer]\nallblocks=1", false, true, false},
        {"no read before", "", std::nullopt, false, true},
    };
    for (const Case& c : cases) {
        const RadioImage memory = test::patternImage(5);
        RadioImage image = memory;
        image.bytes[0x100] ^= 0xFF;
        start(test::fastRadio(memory));
        rig.writeSettings("com=1\nsearchcom=0" + c.setting, {{1, radio->slavePath()}});
        auto job = writeJob(image, true);
        job->allBlocksOverride = c.override;
        if (!c.backup) {
            job->beforeWrite = nullptr;
        }
        const Observed seen = rig.run(job);
        ASSERT_TRUE(seen.ended) << c.name;
        EXPECT_EQ(seen.finalStatus, StatusVerifyDone) << c.name;
        const Sent sent = splitFrames(radio->receivedAll());
        const std::size_t expected = c.all ? std::size_t{wire::kBlockCount} : 1u;
        EXPECT_EQ(sent.written.size(), expected) << c.name;
        EXPECT_EQ(sent.read.size(), expected + (c.backup ? wire::kBlockCount : 0u)) << c.name;
        EXPECT_EQ(radio->completedWrites(), c.all ? 1 : 0) << c.name;
        EXPECT_TRUE(sameSpan(radio->image(), image)) << c.name;
        radio.reset();
    }
}

TEST_F(ChangedBlocks, TheCheckCatchesACorruptedSentBlockAndLeavesTheOthersAlone) {
    const RadioImage memory = test::patternImage(7);
    RadioImage image = memory;
    for (const int block : {4, 60, 61, 100}) {
        image.bytes[static_cast<std::size_t>(wire::blockAddress(block) + 3)] ^= 0x5A;
    }
    struct Case {
        int corrupt;
        int status;
        std::vector<int> mismatched;
    };
    // The emulator spoils a block only when it is written: an unchanged block never is.
    const Case cases[] = {{61, StatusVerifyMismatch, {61}}, {62, StatusVerifyDone, {}}};
    for (const Case& c : cases) {
        sim::EmulatorConfig config = test::fastRadio(memory);
        config.corruptBlock = c.corrupt;
        start(config);
        auto job = writeJob(image, true);
        const Observed seen = rig.run(job);
        ASSERT_TRUE(seen.ended) << c.corrupt;
        EXPECT_EQ(seen.finalStatus, c.status) << c.corrupt;
        EXPECT_EQ(job->mismatchedBlocks, c.mismatched) << c.corrupt;
        radio.reset();
    }
}

TEST_F(ChangedBlocks, ProgressCountsTheBlocksSentAndACancelTellsHowManyWent) {
    const RadioImage memory = test::patternImage(9);
    RadioImage image = memory;
    std::vector<int> changed;
    for (int block = 10; block < 30; ++block) {
        image.bytes[static_cast<std::size_t>(wire::blockAddress(block))] ^= 0x80;
        changed.push_back(block);
    }
    sim::EmulatorConfig config = test::fastRadio(memory);
    std::shared_ptr<TransferJob> job = writeJob(image, true);
    int writtenAnswers = 0;
    // The fifth written block's answer has gone out: cancel there.  The emulator
    // hears reads of the backup first; only data frames count.
    bool inWrite = false;
    config.onByteHeard = [&](std::uint8_t byte) {
        inWrite = inWrite || (byte == wire::kDataCommand && job->blocksToWrite.load() > 0);
    };
    config.afterBlockAnswer = [&](int) {
        if (inWrite && ++writtenAnswers == 5) {
            job->requestCancel();
        }
    };
    start(config);
    const Observed seen = rig.run(job);
    ASSERT_TRUE(seen.ended);
    EXPECT_EQ(seen.finalStatus, StatusWriting);
    EXPECT_EQ(job->blocksToWrite.load(), 20);
    const int written = job->blocksWritten.load();
    EXPECT_GE(written, 4);
    EXPECT_LE(written, 5);
    // Progress counts the 20 blocks to send: 5 % a block.
    EXPECT_EQ(seen.finalProgress, written * 5);
    // The radio holds the first blocks of the new image, the rest as before: exactly
    // `written` of the changed blocks (the one on the line may have gone too).
    const std::vector<int> nowDiffering = differing(radio->image(), image);
    EXPECT_GE(nowDiffering.size(), changed.size() - 5);
    EXPECT_LE(nowDiffering.size(), changed.size() - static_cast<std::size_t>(written));
    EXPECT_EQ(nowDiffering.back(), 29);
}

}  // namespace
}  // namespace qzm
