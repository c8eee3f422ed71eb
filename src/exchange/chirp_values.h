// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qzm::chirp {

// Single values of the CHIRP CSV, read strictly: a value either reads as a
// whole or not at all, so a typo is reported instead of becoming a number.

bool equalsNoCase(std::string_view a, std::string_view b);

// Megahertz with up to six decimals ("446.006250", "146.52") to hertz.
std::optional<std::int64_t> parseMegahertz(std::string_view text);
// Hertz as megahertz with six decimals.
std::string formatMegahertz(std::int64_t hertz);

// A decimal number ("88.5", "100") in thousandths: hertz of a tone, watts of a power.
std::optional<std::int64_t> parseThousandths(std::string_view text);

// A CTCSS value: the list tone within 0.05 Hz, else an exact tenth inside the
// range the radio stores (67.0..254.1 Hz).  In tenths of a hertz.
struct CtcssValue {
    int tenths = 0;
    bool snapped = false;  // moved to a list tone
};
std::optional<CtcssValue> ctcssOfMillihertz(std::int64_t millihertz);
// "88.5" from 885.
std::string formatTenths(int tenths);

// Up to three octal digits ("023", "23"), as three digits.  Nothing for a
// value that is no octal number; the caller checks the code list.
std::optional<std::string> parseDcsDigits(std::string_view text);
bool isListedDcsCode(std::string_view digits);

// Watts ("5.0W", "1.0 W", "4") or a word; high power is 2 W or more, or High.
bool isHighPower(std::string_view text);

}  // namespace qzm::chirp
