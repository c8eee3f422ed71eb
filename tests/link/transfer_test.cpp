// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/transfer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "link/transfer_failure_text.h"
#include "radio/data_file.h"
#include "transfer_rig.h"

namespace qzm {
namespace {

using test::Observed;
using test::TransferRig;
using Bytes = std::vector<std::uint8_t>;

const Bytes kHandshake = {0x02, 0x50, 0x52, 0x4F, 0x47, 0x52, 0x41, 0x4D};

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// What the tool sends for a clean read: handshake, identification request and its
// acknowledgement, then a request and an acknowledgement for each block.
Bytes cleanReadStream() {
    Bytes stream = concat({kHandshake, {0x02}, {0x06}});
    for (int block = 0; block < 124; ++block) {
        const int address = block * 8;
        stream.insert(stream.end(), {0x52, static_cast<std::uint8_t>(address >> 8),
                                     static_cast<std::uint8_t>(address & 0xFF), 0x08, 0x06});
    }
    return stream;
}

Bytes cleanWriteStream(const RadioImage& image) {
    Bytes stream = concat({kHandshake, {0x02}, {0x06}});
    for (int block = 0; block < 124; ++block) {
        const auto address = static_cast<std::size_t>(block * 8);
        stream.insert(stream.end(), {0x57, static_cast<std::uint8_t>(address >> 8),
                                     static_cast<std::uint8_t>(address & 0xFF), 0x08});
        stream.insert(stream.end(), image.bytes.begin() + static_cast<long>(address),
                      image.bytes.begin() + static_cast<long>(address + 8));
    }
    return stream;
}

// What the radio heard, without handshakes that were repeated because a busy
// machine let an answer come after its time-out.
Bytes withoutRepeatedHandshakes(Bytes stream) {
    while (stream.size() >= 16 &&
           std::equal(kHandshake.begin(), kHandshake.end(), stream.begin()) &&
           std::equal(kHandshake.begin(), kHandshake.end(), stream.begin() + 8)) {
        stream.erase(stream.begin(), stream.begin() + 8);
    }
    return stream;
}

long countFrames(const Bytes& stream, const Bytes& frame) {
    long count = 0;
    for (auto it = stream.begin();
         (it = std::search(it, stream.end(), frame.begin(), frame.end())) != stream.end(); ++it) {
        ++count;
    }
    return count;
}

struct RadioOnCom1 : ::testing::Test {
    void start(sim::EmulatorConfig config, const std::string& setup = "com=1\nsearchcom=0") {
        radio = std::make_unique<sim::RadioEmulator>(std::move(config));
        std::string error;
        ASSERT_TRUE(radio->start(error)) << error;
        rig.writeSettings(setup, {{1, radio->slavePath()}});
    }
    TransferRig rig;
    std::unique_ptr<sim::RadioEmulator> radio;
};

TEST_F(RadioOnCom1, ReadBringsTheTransferredSpanAndNothingElse) {
    const RadioImage radioMemory = test::patternImage(1);
    const RadioImage working = test::patternImage(0);
    start(test::fastRadio(radioMemory));
    const std::string settingsBefore = rig.settingsText();

    auto job = rig.makeJob(kDirectionRead, working);
    const Observed seen = rig.run(job);

    ASSERT_TRUE(seen.ended);
    EXPECT_EQ(seen.finalStatus, StatusReadDone);
    EXPECT_EQ(seen.finalProgress, 100);
    EXPECT_TRUE(std::equal(job->image.bytes.begin(), job->image.bytes.begin() + 0x3E0,
                           radioMemory.bytes.begin()));
    EXPECT_TRUE(std::equal(job->image.bytes.begin() + 0x3E0, job->image.bytes.end(),
                           working.bytes.begin() + 0x3E0));
    EXPECT_EQ(withoutRepeatedHandshakes(radio->receivedAll()), cleanReadStream());
    EXPECT_EQ(rig.settingsText(), settingsBefore);  // found on the configured port
    EXPECT_EQ(seen.searchedPorts(), std::vector<int>{});
    EXPECT_EQ(job->foundPort.load(), -1);
    // While blocks move the progress climbs from 0 to 100 and never goes back.
    int previous = -1;
    for (const auto& [status, progress] : seen.changes) {
        if (status == StatusReading) {
            EXPECT_GE(progress, previous);
            previous = progress;
        }
    }
}

TEST_F(RadioOnCom1, WriteSendsEveryBlockAtLineSpeedAndTheRadioKeepsIt) {
    test::TempFolder folder;
    const RadioImage radioMemory = test::patternImage(1);
    const RadioImage working = test::patternImage(0);
    sim::EmulatorConfig config = test::fastRadio(radioMemory);
    config.lineSpeed = 1;  // the real line: pacing and time-outs must hold up
    config.answerDelayMs = 3;
    config.savePath = folder / "written.836";
    start(config);

    auto job = rig.makeJob(kDirectionWrite, working);
    const Observed seen = rig.run(job);

    ASSERT_TRUE(seen.ended);
    EXPECT_EQ(seen.finalStatus, StatusWriteDone);
    EXPECT_EQ(seen.finalProgress, 100);
    EXPECT_EQ(withoutRepeatedHandshakes(radio->receivedAll()), cleanWriteStream(working));
    EXPECT_EQ(radio->completedWrites(), 1);
    const RadioImage kept = radio->image();
    EXPECT_TRUE(std::equal(kept.bytes.begin(), kept.bytes.begin() + 0x3E0, working.bytes.begin()));
    EXPECT_TRUE(std::equal(kept.bytes.begin() + 0x3E0, kept.bytes.end(),
                           radioMemory.bytes.begin() + 0x3E0));
    EXPECT_EQ(job->image.bytes, working.bytes);  // a write changes nothing on the tool's side

    const LoadedDataFile saved = loadDataFile(config.savePath);
    ASSERT_EQ(saved.status, LoadStatus::Loaded) << saved.errorText;
    EXPECT_EQ(saved.contents.image.bytes, kept.bytes);
    EXPECT_TRUE(saved.contents.header.hasMagic());
}

TEST(TransferProgress, FollowsTheBlocksMoved) {
    const std::pair<int, int> cases[] = {{0, 0}, {1, 0}, {2, 1}, {62, 50}, {123, 99}, {124, 100}};
    for (const auto& [blocks, percent] : cases) {
        EXPECT_EQ(wire::progressAfter(blocks), percent) << blocks << " blocks";
    }
}

struct IdentCase {
    int identBytes;
    int status;
    FailureKind kind;
};

TEST_F(RadioOnCom1, IdentificationOfEightBytesOfAnyContentIsEnough) {
    const IdentCase cases[] = {{8, StatusReadDone, FailureKind::None},
                               {7, StatusBadIdent, FailureKind::ShortAnswer},
                               {1, StatusBadIdent, FailureKind::ShortAnswer},
                               {0, StatusNoConnection, FailureKind::NoAnswer}};
    for (const auto& c : cases) {
        sim::EmulatorConfig config = test::fastRadio(test::patternImage(1));
        config.identBytes = c.identBytes;
        start(config);
        auto job = rig.makeJob(kDirectionRead, test::patternImage(0));
        const Observed seen = rig.run(job);
        EXPECT_EQ(seen.finalStatus, c.status) << c.identBytes << " identification bytes";
        EXPECT_EQ(job->failure.kind, c.kind) << c.identBytes << " identification bytes";
        if (c.status != StatusReadDone) {
            // Nothing after the request: no acknowledgement, no block.
            EXPECT_EQ(withoutRepeatedHandshakes(radio->receivedAll()),
                      concat({kHandshake, {0x02}}));
            EXPECT_EQ(job->failure.step, FailureStep::Identification);
            EXPECT_EQ(job->failure.received, c.identBytes);
            EXPECT_EQ(job->failure.port, 1);
            EXPECT_EQ(job->failure.device, radio->slavePath());
        }
        radio.reset();
    }
}

struct FaultCase {
    const char* name;
    int direction;
    std::function<void(sim::EmulatorConfig&)> fault;
    int status;
    int progress;
    Bytes frame;  // a frame whose repetitions are counted (none: how often is up to timing)
    long frameCount;
    FailureKind kind;  // what the failure record says (None for a run that succeeds)
    int failedBlock;
};

Bytes readRequest(int block) {
    return {0x52, static_cast<std::uint8_t>(block * 8 >> 8),
            static_cast<std::uint8_t>(block * 8 & 0xFF), 0x08};
}

Bytes dataFrameHead(int block) {
    return {0x57, static_cast<std::uint8_t>(block * 8 >> 8),
            static_cast<std::uint8_t>(block * 8 & 0xFF), 0x08};
}

TEST_F(RadioOnCom1, BlocksAreRetriedThreeTimesThenTheRunFails) {
    const FaultCase cases[] = {
        {"wrong address once", kDirectionRead,
         [](auto& c) {
             c.badAddressBlock = 40;
             c.badAddressOnce = true;
         },
         StatusReadDone, 100, readRequest(40), 2, FailureKind::None, -1},
        {"wrong address always", kDirectionRead, [](auto& c) { c.badAddressBlock = 40; },
         StatusReadFailed, wire::progressAfter(40), readRequest(40), 3, FailureKind::WrongAddress,
         40},
        {"NAK once", kDirectionWrite,
         [](auto& c) {
             c.nakBlock = 7;
             c.nakOnce = true;
         },
         StatusWriteDone, 100, dataFrameHead(7), 2, FailureKind::None, -1},
        {"NAK always", kDirectionWrite, [](auto& c) { c.nakBlock = 7; }, StatusWriteFailed,
         wire::progressAfter(7), dataFrameHead(7), 3, FailureKind::Refused, 7},
        {"NAK always on the last block", kDirectionWrite, [](auto& c) { c.nakBlock = 123; },
         StatusWriteFailed, 99, dataFrameHead(123), 3, FailureKind::Refused, 123},
        {"hang-up during a read", kDirectionRead, [](auto& c) { c.hangUpAfterBlock = 10; },
         StatusReadFailed, wire::progressAfter(11), readRequest(11), 0, FailureKind::NoAnswer, 11},
        {"hang-up during a write", kDirectionWrite, [](auto& c) { c.hangUpAfterBlock = 10; },
         StatusWriteFailed, wire::progressAfter(11), dataFrameHead(11), 1, FailureKind::NoAnswer,
         11},
    };
    for (const auto& c : cases) {
        sim::EmulatorConfig config = test::fastRadio(test::patternImage(1));
        c.fault(config);
        start(config);
        const RadioImage working = test::patternImage(0);
        auto job = rig.makeJob(c.direction, working);
        const Observed seen = rig.run(job);
        EXPECT_EQ(seen.finalStatus, c.status) << c.name;
        EXPECT_EQ(seen.finalProgress, c.progress) << c.name;
        if (!c.frame.empty()) {
            EXPECT_EQ(countFrames(radio->receivedAll(), c.frame), c.frameCount) << c.name;
        }
        EXPECT_EQ(job->failure.kind, c.kind) << c.name;
        if (c.kind != FailureKind::None) {
            EXPECT_EQ(job->failure.step, FailureStep::Block) << c.name;
            EXPECT_EQ(job->failure.block, c.failedBlock) << c.name;
            EXPECT_EQ(job->failure.port, 1) << c.name;
        }
        // Whatever happened, the part that never travels is the working copy's own.
        EXPECT_TRUE(std::equal(job->image.bytes.begin() + 0x3E0, job->image.bytes.end(),
                               working.bytes.begin() + 0x3E0))
            << c.name;
        radio.reset();
    }
}

struct RecoveryCase {
    const char* name;
    int direction;
    std::function<void(sim::EmulatorConfig&)> fault;
};

// Bytes the tool did not ask for, or answers that come after its wait, must not put
// every later answer out of step: the run gets through on the radio's own time-outs.
TEST_F(RadioOnCom1, StrayAndLateBytesDoNotPutTheAnswersOutOfStep) {
    const RecoveryCase cases[] = {
        {"one stray byte before the handshake answer", kDirectionRead,
         [](auto& c) { c.garbageCount = 1; }},
        {"stray bytes before the identification", kDirectionRead,
         [](auto& c) {
             c.garbageCount = 3;
             c.garbageAt = sim::kGarbageAtIdent;
         }},
        {"noise before a data block", kDirectionRead,
         [](auto& c) {
             c.garbageCount = 20;
             c.garbageAt = 40;
         }},
        {"noise before a write acknowledgement", kDirectionWrite,
         [](auto& c) {
             c.garbageCount = 2;
             c.garbageAt = 7;
         }},
        {"answers 49 ms late", kDirectionRead, [](auto& c) { c.answerDelayMs = 49; }},
    };
    for (const auto& c : cases) {
        const RadioImage radioMemory = test::patternImage(1);
        const RadioImage working = test::patternImage(0);
        sim::EmulatorConfig config = test::fastRadio(radioMemory);
        c.fault(config);
        // Bytes take line time, so stray bytes and answers come apart (a quicker line
        // keeps the test short; the late radio needs the real one to be late).
        config.lineSpeed = config.answerDelayMs > 0 ? 1 : 4;
        // A late radio is late against the exact time-outs; stray bytes are the same
        // trouble against longer ones, which a busy machine needs.
        setAnswerTimeoutScaleForTests(config.answerDelayMs > 0 ? 1
                                                               : test::kBusyMachineTimeoutScale);
        start(config);
        auto job = rig.makeJob(c.direction, working);
        const Observed seen = rig.run(job);
        const bool reading = c.direction == kDirectionRead;
        EXPECT_EQ(seen.finalStatus, reading ? StatusReadDone : StatusWriteDone)
            << c.name << ": " << transferFailureText(job->failure, {});
        const RadioImage& arrived = reading ? job->image : radio->image();
        const RadioImage& sent = reading ? radioMemory : working;
        EXPECT_TRUE(
            std::equal(arrived.bytes.begin(), arrived.bytes.begin() + 0x3E0, sent.bytes.begin()))
            << c.name;
        radio.reset();
    }
}

// A line that only ever carries noise: ten handshakes, each within its time-out,
// and then the run gives up as with a silent line.
TEST(TransferConnect, ANoisyLineFailsLikeASilentOne) {
    test::PtyPair line;
    ASSERT_TRUE(line.ok());
    TransferRig rig;
    rig.writeSettings("com=1\nsearchcom=0", {{1, line.path()}});
    std::atomic<bool> stop{false};
    std::size_t heard = 0;
    std::thread noise([&] {
        while (!stop.load()) {
            line.send({0xA5, 0x15, 0x57, 0x00});
            heard += line.drain(2).size();
        }
    });
    auto job = rig.makeJob(kDirectionRead, test::patternImage(0));
    const Observed seen = rig.run(job);
    stop.store(true);
    noise.join();
    heard += line.drain(2).size();
    EXPECT_EQ(seen.finalStatus, StatusNoConnection);
    EXPECT_EQ(heard, 10u * 8u);
    EXPECT_EQ(job->failure.step, FailureStep::Handshake);
    EXPECT_NE(job->failure.kind, FailureKind::None);
}

TEST_F(RadioOnCom1, UnansweredAcknowledgementsOnlyCostTheirWait) {
    sim::EmulatorConfig config = test::fastRadio(test::patternImage(1));
    config.answerAcks = false;
    start(config);
    auto job = rig.makeJob(kDirectionRead, test::patternImage(0));
    const Observed seen = rig.run(job);
    EXPECT_EQ(seen.finalStatus, StatusReadDone) << transferFailureText(job->failure, {});
    EXPECT_EQ(withoutRepeatedHandshakes(radio->receivedAll()), cleanReadStream());
}

TEST(TransferConnect, PortThatDoesNotOpenIsReportedWithItsReason) {
    TransferRig rig;
    rig.writeSettings("com=7\nsearchcom=0", {});
    // A port owned by someone else (the application object), passed by reference.
    auto job = std::make_shared<TransferJob>(rig.port(), rig.settingsPath(), kDirectionRead,
                                             test::patternImage(0));
    const Observed seen = rig.run(job);
    EXPECT_EQ(seen.finalStatus, StatusNoConnection);
    EXPECT_EQ(job->portError.load(), PortOpenError::NotFound);
}

}  // namespace
}  // namespace qzm
