// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/settings.h"
#include "transfer_rig.h"

namespace qzm {
namespace {

using test::Observed;
using test::SilentRadio;
using test::TransferRig;

constexpr std::size_t kTenHandshakes = 10 * 8;

std::unique_ptr<sim::RadioEmulator> startRadio() {
    auto radio = std::make_unique<sim::RadioEmulator>(test::fastRadio(test::patternImage(1)));
    std::string error;
    EXPECT_TRUE(radio->start(error)) << error;
    return radio;
}

// The configured port first, then every port from COM1 on, each port that opens
// getting ten handshakes; ports that do not open are skipped.
TEST(TransferSearch, TriesTheConfiguredPortThenCountsUpAndRemembersTheRadio) {
    SilentRadio com1;
    SilentRadio com2;
    auto radio = startRadio();
    TransferRig rig;
    rig.writeSettings(
        "com=2\nsearchcom=1",
        {{1, com1.path()}, {2, com2.path()}, {4, radio->slavePath()}});  // COM3 is absent
    auto job = rig.makeJob(kDirectionRead, test::patternImage(0));
    const Observed seen = rig.run(job);

    EXPECT_EQ(seen.finalStatus, StatusReadDone);
    EXPECT_EQ(seen.searchedPorts(), (std::vector<int>{1, 2, 4}));
    EXPECT_EQ(com2.heardBytes(), 2 * kTenHandshakes);
    EXPECT_EQ(com1.heardBytes(), kTenHandshakes);
    EXPECT_EQ(readComPort(rig.settingsPath()), 4);
    EXPECT_EQ(job->foundPort.load(), -1);
}

TEST(TransferSearch, ASettingStartingWithZeroKeepsToTheConfiguredPort) {
    SilentRadio com1;
    auto radio = startRadio();
    TransferRig rig;
    rig.writeSettings("com=1\nsearchcom=00", {{1, com1.path()}, {2, radio->slavePath()}});
    const std::string before = rig.settingsText();
    const Observed seen = rig.run(rig.makeJob(kDirectionRead, test::patternImage(0)));

    EXPECT_EQ(seen.finalStatus, StatusNoConnection);
    EXPECT_EQ(com1.heardBytes(), kTenHandshakes);
    EXPECT_TRUE(radio->received().empty());
    EXPECT_TRUE(seen.searchedPorts().empty());
    EXPECT_EQ(rig.settingsText(), before);
}

TEST(TransferSearch, AnEmptySettingSearchesAndFindingNothingChangesNothing) {
    SilentRadio com2;
    TransferRig rig;
    rig.writeSettings("com=2\nsearchcom=", {{2, com2.path()}});
    const std::string before = rig.settingsText();
    auto job = rig.makeJob(kDirectionWrite, test::patternImage(0));
    const Observed seen = rig.run(job);

    EXPECT_EQ(seen.finalStatus, StatusNoConnection);
    EXPECT_EQ(seen.searchedPorts(), std::vector<int>{2});
    EXPECT_EQ(com2.heardBytes(), 2 * kTenHandshakes);
    EXPECT_EQ(rig.settingsText(), before);
    // The last port the search opened stays visible for the status bar.
    EXPECT_EQ(job->foundPort.load(), 2);
}

}  // namespace
}  // namespace qzm
