// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace qzm::chirp {

// The columns of the CHIRP CSV in the order that tool writes them.
enum Column : std::size_t {
    kLocation,
    kName,
    kFrequency,
    kDuplex,
    kOffset,
    kTone,
    kRToneFreq,
    kCToneFreq,
    kDtcsCode,
    kDtcsPolarity,
    kRxDtcsCode,
    kCrossMode,
    kMode,
    kTStep,
    kSkip,
    kPower,
    kComment,
    kUrCall,
    kRpt1Call,
    kRpt2Call,
    kDvCode,
    kColumnCount
};

inline constexpr std::array<std::string_view, kColumnCount> kColumnNames{
    "Location",  "Name",     "Frequency",    "Duplex",     "Offset",    "Tone",     "rToneFreq",
    "cToneFreq", "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode",     "TStep",
    "Skip",      "Power",    "Comment",      "URCALL",     "RPT1CALL",  "RPT2CALL", "DVCODE"};

// What the tool writes into tone columns that the row's Tone mode does not use.
inline constexpr std::string_view kPlaceholderCtcss = "88.5";
inline constexpr std::string_view kPlaceholderDcs = "023";

}  // namespace qzm::chirp
