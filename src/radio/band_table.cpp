// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/band_table.h"

#include <cstddef>

namespace qzm {

int bandIndexOfCode(std::uint8_t code) {
    for (std::size_t i = 0; i < kBandTable.size(); ++i) {
        if (kBandTable[i].code == code) {
            return static_cast<int>(i);
        }
    }
    return kDefaultBandIndex;
}

BandLimits bandLimitsOfCode(std::uint8_t code) {
    return kBandTable[static_cast<std::size_t>(bandIndexOfCode(code))].limits;
}

std::optional<std::uint8_t> bandCodeOfIndex(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= kBandTable.size()) {
        return std::nullopt;
    }
    return kBandTable[static_cast<std::size_t>(index)].code;
}

}  // namespace qzm
