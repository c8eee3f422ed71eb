// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <mutex>

#include "platform/settings.h"
#include "transfer_rig.h"

namespace qzm {
namespace {

using test::Observed;
using test::SilentRadio;
using test::TransferRig;

long countRequests(const std::vector<std::uint8_t>& stream, std::uint8_t command) {
    // Frames start after the last handshake (a busy machine may repeat it), the
    // identification request and its acknowledgement.
    const std::uint8_t handshake[] = {0x02, 'P', 'R', 'O', 'G', 'R', 'A', 'M'};
    const auto last =
        std::find_end(stream.begin(), stream.end(), std::begin(handshake), std::end(handshake));
    long count = 0;
    for (std::size_t i = static_cast<std::size_t>(last - stream.begin()) + 10; i < stream.size();) {
        if (stream[i] == command) {
            ++count;
            i += command == 0x52 ? 4 : 12;
        } else {
            ++i;
        }
    }
    return count;
}

struct Cancelling : ::testing::Test {
    std::unique_ptr<sim::RadioEmulator> startRadio(sim::EmulatorConfig config) {
        auto radio = std::make_unique<sim::RadioEmulator>(std::move(config));
        std::string error;
        EXPECT_TRUE(radio->start(error)) << error;
        return radio;
    }
    // The dialog's Cancel: the flag, then the port closed, once.
    static void cancel(TransferJob& job) {
        if (job.cancel.load() == 0) {
            job.requestCancel();
        }
    }
    TransferRig rig;
};

TEST_F(Cancelling, DuringTheHandshakesStopsBeforeTheSearch) {
    SilentRadio com1;
    auto radio = startRadio(test::fastRadio(test::patternImage(1)));
    rig.writeSettings("com=1\nsearchcom=1", {{1, com1.path()}, {2, radio->slavePath()}});
    const std::string before = rig.settingsText();
    const Observed seen =
        rig.run(rig.makeJob(kDirectionRead, test::patternImage(0)), [&](TransferJob& job) {
            if (com1.heardBytes() >= 16) {
                cancel(job);
            }
        });
    ASSERT_TRUE(seen.ended);
    EXPECT_EQ(seen.finalStatus, StatusIdle);
    EXPECT_LT(com1.heardBytes(), 80u);
    EXPECT_TRUE(radio->received().empty());
    EXPECT_EQ(rig.settingsText(), before);
}

TEST_F(Cancelling, DuringTheSearchNeverReachesTheRadio) {
    SilentRadio com2;
    const auto job = rig.makeJob(kDirectionRead, test::patternImage(0));
    sim::EmulatorConfig config = test::fastRadio(test::patternImage(1));
    // The first byte of the search's first handshake on COM1: cancel there, from the
    // radio's side, before the frame is complete.
    config.onByteHeard = [&](std::uint8_t) { cancel(*job); };
    auto radio = startRadio(config);
    rig.writeSettings("com=2\nsearchcom=1", {{1, radio->slavePath()}, {2, com2.path()}});
    const Observed seen = rig.run(job);
    ASSERT_TRUE(seen.ended);
    EXPECT_EQ(seen.finalStatus, StatusSearching);
    EXPECT_EQ(radio->handshakes(), 0);
    EXPECT_EQ(readComPort(rig.settingsPath()), 2);
    EXPECT_FALSE(rig.port().isOpen());  // the port opened by the search is not left open
}

TEST_F(Cancelling, DuringTheIdentificationNeverStoresTheFoundPort) {
    sim::EmulatorConfig config = test::fastRadio(test::patternImage(1));
    config.identBytes = 0;  // the tool waits its full time for an answer
    auto radio = startRadio(config);
    rig.writeSettings("com=5\nsearchcom=1", {{1, radio->slavePath()}});  // COM5 is absent
    const Observed seen =
        rig.run(rig.makeJob(kDirectionRead, test::patternImage(0)), [&](TransferJob& job) {
            if (radio->received().size() >= 9) {
                cancel(job);
            }
        });
    ASSERT_TRUE(seen.ended);
    EXPECT_EQ(seen.finalStatus, StatusSearching);  // not "no connection": nobody is told
    EXPECT_EQ(readComPort(rig.settingsPath()), 5);
}

struct BlockCancelCase {
    const char* name;
    int direction;
    int cancelAfterBlock;  // the radio's answer to this block has gone out
};

TEST_F(Cancelling, WhileBlocksMoveNoFurtherBlockFollows) {
    const BlockCancelCase cases[] = {
        {"reading", kDirectionRead, 12},
        {"writing", kDirectionWrite, 24},
        // Whether or not the tool took the last acknowledgement: no "write done".
        {"at the last block", kDirectionWrite, 123},
    };
    for (const auto& c : cases) {
        const std::uint8_t command = c.direction == kDirectionRead ? 0x52 : 0x57;
        const auto job = rig.makeJob(c.direction, test::patternImage(0));
        sim::EmulatorConfig config = test::fastRadio(test::patternImage(1));
        config.lineSpeed = 1;
        // The cancel comes from the radio's side at an exact block, however late
        // the machine lets the test's own thread run.
        config.afterBlockAnswer = [&](int block) {
            if (block == c.cancelAfterBlock) {
                cancel(*job);
            }
        };
        auto radio = startRadio(config);
        rig.writeSettings("com=1\nsearchcom=0", {{1, radio->slavePath()}});
        const Observed seen = rig.run(job);
        radio->stop();
        ASSERT_TRUE(seen.ended) << c.name;
        EXPECT_EQ(seen.finalStatus, c.direction == kDirectionRead ? StatusReading : StatusWriting)
            << c.name;
        // At most the frame already on its way when the cancel came.
        const long frames = countRequests(radio->received(), command);
        EXPECT_GE(frames, c.cancelAfterBlock + 1) << c.name;
        EXPECT_LE(frames, c.cancelAfterBlock + 2) << c.name;
        EXPECT_LE(seen.finalProgress, wire::progressAfter(c.cancelAfterBlock + 1)) << c.name;
        EXPECT_EQ(radio->completedWrites(), c.cancelAfterBlock == 123 ? 1 : 0) << c.name;
    }
}

TEST_F(Cancelling, TheJobOutlivesTheDialogThatForgotIt) {
    std::promise<void> blocksMoving;
    std::once_flag once;
    sim::EmulatorConfig config = test::fastRadio(test::patternImage(1));
    config.lineSpeed = 1;
    config.afterBlockAnswer = [&](int block) {
        if (block == 3) {
            std::call_once(once, [&] { blocksMoving.set_value(); });
        }
    };
    auto radio = startRadio(config);
    rig.writeSettings("com=1\nsearchcom=0", {{1, radio->slavePath()}});
    std::weak_ptr<TransferJob> watched;
    {
        auto job = rig.makeJob(kDirectionRead, test::patternImage(0));
        watched = job;
        TransferWorker worker(job);
        ASSERT_EQ(blocksMoving.get_future().wait_for(std::chrono::seconds(60)),
                  std::future_status::ready);
        job->requestCancel();
        // The dialog is gone: its worker object and its reference to the job with it.
    }
    const auto start = std::chrono::steady_clock::now();
    while (!watched.expired() &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(10)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_TRUE(watched.expired());  // the worker ended and let go of it
}

}  // namespace
}  // namespace qzm
