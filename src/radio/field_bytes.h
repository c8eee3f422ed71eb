// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

namespace qzm {

// Packed values as they sit in the image: packed decimal, least significant byte first.
using FrequencyBytes = std::array<std::uint8_t, 4>;  // 8 BCD digits, units of 10 Hz
using ToneBytes = std::array<std::uint8_t, 2>;       // low byte, then high byte
using DtmfBytes = std::array<std::uint8_t, 5>;       // digit values 0..13, 0xFF after the end

inline constexpr std::uint8_t kErasedByte = 0xFF;
inline constexpr FrequencyBytes kEmptyFrequency{0xFF, 0xFF, 0xFF, 0xFF};
inline constexpr ToneBytes kToneOff{0xFF, 0xFF};
inline constexpr DtmfBytes kEmptyDtmf{0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

// Each channel has a receive and a transmit frequency and tone.
enum class ChannelSide { Receive, Transmit };

}  // namespace qzm
