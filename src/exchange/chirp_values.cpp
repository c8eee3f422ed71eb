// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/chirp_values.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "exchange/csv.h"
#include "radio/tone_lists.h"

namespace qzm::chirp {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digits, a point and digits; at least one digit.  The fraction is returned
// padded or cut to `decimals` digits, `exact` tells whether the cut dropped a
// non-zero digit.
struct Decimal {
    std::int64_t whole = 0;
    std::int64_t fraction = 0;
    bool exact = true;
};

std::optional<Decimal> parseDecimal(std::string_view text, int decimals, std::size_t maxWhole) {
    const auto point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
    if ((whole.empty() && fraction.empty()) || whole.size() > maxWhole) {
        return std::nullopt;
    }
    if (!std::all_of(whole.begin(), whole.end(), isDigit) ||
        !std::all_of(fraction.begin(), fraction.end(), isDigit)) {
        return std::nullopt;
    }
    Decimal value;
    for (char c : whole) {
        value.whole = value.whole * 10 + (c - '0');
    }
    for (int i = 0; i < decimals; ++i) {
        const auto at = static_cast<std::size_t>(i);
        value.fraction = value.fraction * 10 + (at < fraction.size() ? fraction[at] - '0' : 0);
    }
    for (std::size_t i = static_cast<std::size_t>(decimals); i < fraction.size(); ++i) {
        value.exact = value.exact && fraction[i] == '0';
    }
    return value;
}

}  // namespace

bool equalsNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::optional<std::int64_t> parseMegahertz(std::string_view text) {
    // Five digits of megahertz lie far above every band; more would only risk overflow.
    const auto value = parseDecimal(text, 6, 5);
    if (!value) {
        return std::nullopt;
    }
    return value->whole * 1'000'000 + value->fraction;
}

std::string formatMegahertz(std::int64_t hertz) {
    std::string fraction = std::to_string(hertz % 1'000'000);
    fraction.insert(0, 6 - fraction.size(), '0');
    return std::to_string(hertz / 1'000'000) + "." + fraction;
}

std::optional<std::int64_t> parseThousandths(std::string_view text) {
    const auto value = parseDecimal(text, 3, 5);
    if (!value) {
        return std::nullopt;
    }
    // Digits beyond the third decimal still move a value off an exact tenth.
    return value->whole * 1000 + value->fraction + (value->exact ? 0 : 1);
}

std::optional<CtcssValue> ctcssOfMillihertz(std::int64_t millihertz) {
    for (std::string_view listed : kCtcssTexts) {
        const auto tone = parseThousandths(listed);
        if (tone && std::llabs(*tone - millihertz) <= 50) {
            return CtcssValue{static_cast<int>(*tone / 100), *tone != millihertz};
        }
    }
    // Inside the radio's range a tone off its list moves onto the nearest list
    // tone (the lower one on a tie), and the import says so.
    if (millihertz < 67'000 || millihertz > 254'100) {
        return std::nullopt;
    }
    std::optional<std::int64_t> nearest;
    for (std::string_view listed : kCtcssTexts) {
        const auto tone = parseThousandths(listed);
        if (tone &&
            (!nearest || std::llabs(*tone - millihertz) < std::llabs(*nearest - millihertz))) {
            nearest = tone;
        }
    }
    if (!nearest) {
        return std::nullopt;
    }
    return CtcssValue{static_cast<int>(*nearest / 100), true};
}

std::string formatTenths(int tenths) {
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::optional<std::string> parseDcsDigits(std::string_view text) {
    if (text.empty() || text.size() > 3 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '7'; })) {
        return std::nullopt;
    }
    return std::string(3 - text.size(), '0') + std::string(text);
}

bool isListedDcsCode(std::string_view digits) {
    return std::find(kDcsCodes.begin(), kDcsCodes.end(), digits) != kDcsCodes.end();
}

bool isHighPower(std::string_view text) {
    if (text.size() >= 4 && equalsNoCase(text.substr(0, 4), "high")) {
        return true;
    }
    std::string_view number = text;
    if (!number.empty() && (number.back() == 'W' || number.back() == 'w')) {
        number = trimmedField(number.substr(0, number.size() - 1));
    }
    const auto milliwatts = parseThousandths(number);
    return milliwatts && *milliwatts >= 2000;
}

}  // namespace qzm::chirp
