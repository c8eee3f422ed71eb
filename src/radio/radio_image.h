#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qzm {

// The radio's programmable memory as the tool keeps it.
inline constexpr std::size_t kImageSize = 4096;
// Only the first 992 bytes (0x000..0x3DF) travel to and from the radio.
inline constexpr std::size_t kRadioTransferSize = 0x3E0;

struct RadioImage {
    std::array<std::uint8_t, kImageSize> bytes{};
};

}  // namespace qzm
