// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "radio/band_table.h"

namespace qzm {

// What storing a typed or pasted frequency does to it, so the window can say so:
// a value outside the band becomes the nearest limit, a value off the channel
// step moves onto it, and a text that is no number at all is refused (the cell
// keeps what it had; no band limit is made up from it).
enum class FrequencyRepair {
    None,          // stored as typed (or the empty text: the field is cleared)
    AboveBand,     // the upper band limit is kept
    BelowBand,     // the lower band limit is kept
    Snapped,       // moved onto the channel step
    NotAFrequency  // refused: nothing is stored
};

struct FrequencyEntry {
    FrequencyRepair repair = FrequencyRepair::None;
    std::string kept;  // the text shown after the store; empty when refused or cleared
};

// A frequency text is digits with at most one point and at least one digit.
bool isFrequencyText(std::string_view text);

FrequencyEntry examineFrequencyEntry(std::string_view text, BandLimits limits);

}  // namespace qzm
