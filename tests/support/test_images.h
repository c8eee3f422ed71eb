// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Radio images whose bytes all differ from their neighbours, so a byte that went the
// wrong way, to the wrong place or not at all shows in a comparison.

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "link/wire_protocol.h"
#include "radio/radio_image.h"

namespace qzm::test {

// Two seeds give images that differ everywhere: the radio's memory and the tool's
// working copy.
inline RadioImage patternImage(int seed) {
    RadioImage image;
    for (std::size_t i = 0; i < kImageSize; ++i) {
        image.bytes[i] =
            static_cast<std::uint8_t>((i * 37 + static_cast<std::size_t>(seed)) & 0xFF);
    }
    return image;
}

// The command line's image: the high byte of the offset is mixed in as well.
inline RadioImage patternImage() {
    RadioImage image;
    for (std::size_t i = 0; i < kImageSize; ++i) {
        image.bytes[i] = static_cast<std::uint8_t>((i * 37 + i / 256) & 0xFF);
    }
    return image;
}

// Whether two images agree on the bytes that travel to and from the radio.
inline bool sameSpan(const RadioImage& a, const RadioImage& b) {
    constexpr auto span = static_cast<std::ptrdiff_t>(wire::kBlockCount * wire::kBlockSize);
    return std::equal(a.bytes.begin(), a.bytes.begin() + span, b.bytes.begin());
}

}  // namespace qzm::test
