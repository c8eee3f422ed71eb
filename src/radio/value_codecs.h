// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "radio/band_table.h"
#include "radio/field_bytes.h"

namespace qzm {

// The only conversions between packed image values and the texts the user sees and types.
// Pure functions: the band limits and the text of an off tone are passed in.

// "446.00625" from 25 06 60 44; the empty text for an empty frequency (top byte above 0x99).
// Nibbles above 9 are printed as lower-case hexadecimal letters.
std::string formatFrequency(const FrequencyBytes& bytes);

// Frequency text to units of 10 Hz: the digits before the first point followed by exactly
// five decimals, taken as the leading decimal digits of that text (0 when there are none).
// A value that does not fit 32 bits saturates at kFrequencyOverflow, above every band.
std::int64_t normalizeFrequency(std::string_view text);
inline constexpr std::int64_t kFrequencyOverflow = std::int64_t{INT32_MAX} + 1;

// A normalised value moved to the 6.25 kHz or the 5 kHz channel grid, whichever is nearer
// (a value within 750 Hz below the next 6.25 kHz point goes up to it).
std::int64_t snapToChannelGrid(std::int64_t value);

// Text to packed bytes on the channel grid; the empty text gives an empty frequency.
// The record holds eight digits, so larger values stop at kLargestStoredFrequency.
FrequencyBytes parseFrequency(std::string_view text);
inline constexpr std::int64_t kLargestStoredFrequency = 99'999'500;

// -1 below the band, +1 above it, 0 inside (limits inclusive) or for the empty text.
int checkFrequencyRange(std::string_view text, BandLimits limits);

// "400.00000": the lower limit for which <= 0, the upper limit for which > 0.
std::string formatLimit(int which, BandLimits limits);

// "88.5", "D023N", "D754I", or offText for a tone that is off.
std::string formatTone(const ToneBytes& bytes, std::string_view offText);

// A text starting with a digit is a CTCSS tone (clamped to 67.0..254.1 Hz), one starting
// with D or d a DCS code (D023N when it cannot be read), anything else is off.
ToneBytes parseTone(std::string_view text);

// Up to five characters 0-9, A-D; the first value above 13 ends the code.
std::string formatDtmf(const DtmfBytes& bytes);

// 0-9, A-D, a-d for positions 1..5; the first other character (or the end of the text)
// ends the code and every later position becomes 0xFF.
DtmfBytes parseDtmf(std::string_view text);

}  // namespace qzm
