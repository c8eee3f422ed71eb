// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "radio/field_bytes.h"

namespace qzm {

inline constexpr int kChannelCount = 16;

// One 16-byte channel entry, copied out of or into the image.  Bytes 13..15 have no field
// and are carried as they are.
struct ChannelRecord {
    static constexpr std::size_t kSize = 16;
    static constexpr std::size_t kRxFrequency = 0;
    static constexpr std::size_t kTxFrequency = 4;
    static constexpr std::size_t kRxTone = 8;
    static constexpr std::size_t kTxTone = 10;
    static constexpr std::size_t kFlags = 12;

    // Bits of the flag byte; bits 5..7 have no field.
    static constexpr std::uint8_t kCol8NoBit = 0x01;
    static constexpr std::uint8_t kCol9NoBit = 0x02;
    static constexpr std::uint8_t kNarrowBit = 0x04;
    static constexpr std::uint8_t kHighPowerBit = 0x08;
    static constexpr std::uint8_t kCol5NoBit = 0x10;

    std::array<std::uint8_t, kSize> bytes{};

    static constexpr std::size_t frequencyOffset(ChannelSide side) {
        return side == ChannelSide::Receive ? kRxFrequency : kTxFrequency;
    }
    static constexpr std::size_t toneOffset(ChannelSide side) {
        return side == ChannelSide::Receive ? kRxTone : kTxTone;
    }

    FrequencyBytes frequency(ChannelSide side) const {
        const std::size_t at = frequencyOffset(side);
        return {bytes[at], bytes[at + 1], bytes[at + 2], bytes[at + 3]};
    }
    ToneBytes tone(ChannelSide side) const {
        const std::size_t at = toneOffset(side);
        return {bytes[at], bytes[at + 1]};
    }
    std::uint8_t flags() const { return bytes[kFlags]; }

    friend bool operator==(const ChannelRecord&, const ChannelRecord&) = default;
};

}  // namespace qzm
