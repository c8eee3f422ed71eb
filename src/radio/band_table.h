// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace qzm {

// Legal channel frequency range of a band, inclusive, in units of 10 Hz.
struct BandLimits {
    std::int32_t lower = 0;
    std::int32_t upper = 0;
    friend bool operator==(const BandLimits&, const BandLimits&) = default;
};

struct BandEntry {
    std::uint8_t code;  // the value of the image's band byte
    BandLimits limits;
};

// Rows in the order of the band list; the row number is the list index.
inline constexpr std::array<BandEntry, 7> kBandTable{{
    {0xF7, {24'500'000, 24'600'000}},
    {0xF5, {47'000'000, 49'000'000}},
    {0xF6, {49'000'000, 51'200'000}},
    {0xF4, {40'000'000, 47'000'000}},
    {0xF8, {13'600'000, 17'400'000}},
    {0xF9, {13'600'000, 47'000'000}},
    {0xFA, {13'600'000, 47'000'000}},
}};

// The band a new document starts with, and the one an unknown code falls back to.
inline constexpr int kDefaultBandIndex = 3;

// List index of a band code; kDefaultBandIndex for a code not in the table.
int bandIndexOfCode(std::uint8_t code);

// Limits of a band code; those of kDefaultBandIndex for a code not in the table.
BandLimits bandLimitsOfCode(std::uint8_t code);

// The band code of a list index, or nothing for an index outside the table.
std::optional<std::uint8_t> bandCodeOfIndex(int index);

}  // namespace qzm
