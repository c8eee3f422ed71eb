#include <gtest/gtest.h>

#include "platform/settings.h"
#include "transfer_rig.h"

namespace qzm {
namespace {

using test::Observed;
using test::SilentRadio;
using test::TransferRig;

long countRequests(const std::vector<std::uint8_t>& stream, std::uint8_t command) {
    // Frames start after the 10 bytes of handshake, identification request and ack.
    long count = 0;
    for (std::size_t i = 10; i < stream.size();) {
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
    auto radio = startRadio(test::fastRadio(test::patternImage(1)));
    rig.writeSettings("com=2\nsearchcom=1", {{1, radio->slavePath()}, {2, com2.path()}});
    const Observed seen =
        rig.run(rig.makeJob(kDirectionRead, test::patternImage(0)), [&](TransferJob& job) {
            if (job.status.load() == StatusSearching) {
                cancel(job);
            }
        });
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
    int cancelAtStatus;
    int cancelAtProgress;
    int expectedStatus;
};

TEST_F(Cancelling, WhileBlocksMoveNoFurtherBlockFollows) {
    const BlockCancelCase cases[] = {
        {"reading", kDirectionRead, StatusReading, 10, StatusReading},
        {"writing", kDirectionWrite, StatusWriting, 20, StatusWriting},
        // The pause after the last block ends at once and "write done" never comes.
        {"in the closing pause", kDirectionWrite, StatusWriting, 100, StatusWriting},
    };
    for (const auto& c : cases) {
        sim::EmulatorConfig config = test::fastRadio(test::patternImage(1));
        config.lineSpeed = 1;
        auto radio = startRadio(config);
        rig.writeSettings("com=1\nsearchcom=0", {{1, radio->slavePath()}});
        const std::uint8_t command = c.direction == kDirectionRead ? 0x52 : 0x57;
        long framesAtCancel = -1;
        auto job = rig.makeJob(c.direction, test::patternImage(0));
        const Observed seen = rig.run(job, [&](TransferJob& running) {
            if (framesAtCancel < 0 && running.status.load() == c.cancelAtStatus &&
                running.progress.load() >= c.cancelAtProgress) {
                framesAtCancel = countRequests(radio->received(), command);
                cancel(running);
            }
        });
        ASSERT_TRUE(seen.ended) << c.name;
        EXPECT_EQ(seen.finalStatus, c.expectedStatus) << c.name;
        ASSERT_GE(framesAtCancel, 0) << c.name;
        // At most the frame already on its way when the cancel came.
        EXPECT_LE(countRequests(radio->received(), command), framesAtCancel + 1) << c.name;
        if (c.cancelAtProgress < 100) {
            EXPECT_EQ(radio->completedWrites(), 0) << c.name;
        }
    }
}

TEST_F(Cancelling, TheJobOutlivesTheDialogThatForgotIt) {
    sim::EmulatorConfig config = test::fastRadio(test::patternImage(1));
    config.lineSpeed = 1;
    auto radio = startRadio(config);
    rig.writeSettings("com=1\nsearchcom=0", {{1, radio->slavePath()}});
    std::weak_ptr<TransferJob> watched;
    {
        auto job = rig.makeJob(kDirectionRead, test::patternImage(0));
        watched = job;
        TransferWorker worker(job);
        while (job->status.load() != StatusReading) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
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
