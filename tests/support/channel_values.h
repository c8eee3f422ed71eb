// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "radio/band_table.h"
#include "radio/field_bytes.h"

namespace qzm::test {

// The two sides of a channel, short enough for tables of test cases.
inline constexpr auto kRx = ChannelSide::Receive;
inline constexpr auto kTx = ChannelSide::Transmit;

// The UHF band in 10 Hz steps, as the band table holds it.
inline constexpr BandLimits kUhf{40'000'000, 47'000'000};

}  // namespace qzm::test
