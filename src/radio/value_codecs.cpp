// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/value_codecs.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace qzm {
namespace {

constexpr std::uint8_t kTenthsHighestCtcss = 0x80;  // high tone bytes below this are CTCSS
constexpr std::uint8_t kDcsInverted = 0xC0;
constexpr std::uint8_t kDcsNormal = 0x80;
constexpr ToneBytes kDcsFallback{0x23, 0x80};  // D023N
constexpr int kLowestCtcssTenths = 670;
constexpr int kHighestCtcssTenths = 2541;
constexpr std::uint8_t kLastDtmfValue = 13;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

std::uint8_t highNibble(std::uint8_t b) {
    return static_cast<std::uint8_t>(b >> 4);
}
std::uint8_t lowNibble(std::uint8_t b) {
    return static_cast<std::uint8_t>(b & 0x0F);
}
std::uint8_t packDigits(int high, int low) {
    return static_cast<std::uint8_t>(high << 4 | low);
}

// Leading decimal digits of text, saturating at `ceiling` so no input can overflow.
std::int64_t leadingNumber(std::string_view text, std::int64_t ceiling) {
    std::int64_t value = 0;
    for (char c : text) {
        if (!isDigit(c)) {
            break;
        }
        value = value * 10 + (c - '0');
        if (value >= ceiling) {
            return ceiling;
        }
    }
    return value;
}

// Moves the first point of `text` `shift` places to the right, padding with `padding`
// first so there are always enough characters after it.
std::string shiftPoint(std::string_view text, std::string_view paddingWithoutPoint,
                       std::string_view paddingAfterPoint, std::size_t shift) {
    std::string s(text);
    if (s.find('.') == std::string::npos) {
        s += paddingWithoutPoint;
    } else {
        s += paddingAfterPoint;
    }
    const std::size_t point = s.find('.');
    const std::string_view all(s);
    return std::string(all.substr(0, point))
        .append(all.substr(point + 1, shift))
        .append(".")
        .append(all.substr(point + 1 + shift));
}

// The buffer is far larger than any of the fixed formats below can produce.
using Printed = char[32];
std::string textOf(const Printed& buffer, int length) {
    return length < 0 ? std::string() : std::string(buffer);
}

}  // namespace

std::string formatFrequency(const FrequencyBytes& b) {
    if (b[3] > 0x99) {
        return {};
    }
    Printed text;
    const int n = std::snprintf(text, sizeof text, "%x%x.%x%02x%02x", unsigned{b[3]},
                                unsigned{highNibble(b[2])}, unsigned{lowNibble(b[2])},
                                unsigned{b[1]}, unsigned{b[0]});
    return textOf(text, n);
}

std::int64_t normalizeFrequency(std::string_view text) {
    return leadingNumber(shiftPoint(text, ".00000", "00000", 5), kFrequencyOverflow);
}

std::int64_t snapToChannelGrid(std::int64_t v) {
    const std::int64_t d = (v + 75) / 625 * 625;
    if (v / 100 == d / 100) {
        return d;
    }
    const std::int64_t r = v % 500;
    const std::int64_t f = r > 500 - r ? v - r + 500 : v - r;
    return std::abs(f - v) <= std::abs(v - d) ? f : d;
}

FrequencyBytes parseFrequency(std::string_view text) {
    if (text.empty()) {
        return kEmptyFrequency;
    }
    std::int64_t value = snapToChannelGrid(normalizeFrequency(text));
    if (value > 99'999'999) {
        value = kLargestStoredFrequency;
    }
    FrequencyBytes bytes{};
    for (std::uint8_t& b : bytes) {
        const int low = static_cast<int>(value % 10);
        const int high = static_cast<int>(value / 10 % 10);
        b = packDigits(high, low);
        value /= 100;
    }
    return bytes;
}

int checkFrequencyRange(std::string_view text, BandLimits limits) {
    if (text.empty()) {
        return 0;
    }
    const std::int64_t v = normalizeFrequency(text);
    if (v > limits.upper) {
        return 1;
    }
    if (v < limits.lower) {
        return -1;
    }
    return 0;
}

std::string formatLimit(int which, BandLimits limits) {
    const std::int32_t limit = which <= 0 ? limits.lower : limits.upper;
    Printed text;
    const int n = std::snprintf(text, sizeof text, "%03d.%05d", limit / 100000, limit % 100000);
    return textOf(text, n);
}

std::string formatTone(const ToneBytes& bytes, std::string_view offText) {
    const std::uint8_t lo = bytes[0];
    const std::uint8_t hi = bytes[1];
    if (hi == 0xFF) {
        return std::string(offText);
    }
    Printed text;
    int n = 0;
    if (hi < kTenthsHighestCtcss) {
        n = std::snprintf(text, sizeof text, "%x%x.%x", unsigned{hi}, unsigned{highNibble(lo)},
                          unsigned{lowNibble(lo)});
    } else if (hi < kDcsInverted) {
        n = std::snprintf(text, sizeof text, "D%x%02xN", unsigned{lowNibble(hi)}, unsigned{lo});
    } else {
        n = std::snprintf(text, sizeof text, "D%x%02xI", unsigned{lowNibble(hi)}, unsigned{lo});
    }
    return textOf(text, n);
}

ToneBytes parseTone(std::string_view text) {
    if (text.empty()) {
        return kToneOff;
    }
    const char first = text.front();
    if (isDigit(first)) {
        const auto tenths = static_cast<int>(std::clamp<std::int64_t>(
            leadingNumber(shiftPoint(text, ".0", "0", 1), kHighestCtcssTenths + 1),
            kLowestCtcssTenths, kHighestCtcssTenths));
        const int digits[4] = {tenths / 1000, tenths / 100 % 10, tenths / 10 % 10, tenths % 10};
        return {packDigits(digits[2], digits[3]), packDigits(digits[0], digits[1])};
    }
    if (first != 'D' && first != 'd') {
        return kToneOff;
    }
    if (text.size() != 5 || !isOctalDigit(text[1]) || !isOctalDigit(text[2]) ||
        !isOctalDigit(text[3])) {
        return kDcsFallback;
    }
    const std::uint8_t polarity = text[4] == 'I' || text[4] == 'i' ? kDcsInverted : kDcsNormal;
    return {packDigits(text[2] - '0', text[3] - '0'),
            static_cast<std::uint8_t>(polarity | (text[1] - '0'))};
}

std::string formatDtmf(const DtmfBytes& bytes) {
    std::string text;
    for (std::uint8_t b : bytes) {
        if (b > kLastDtmfValue) {
            break;
        }
        text += b < 10 ? static_cast<char>('0' + b) : static_cast<char>('A' + (b - 10));
    }
    return text;
}

DtmfBytes parseDtmf(std::string_view text) {
    DtmfBytes bytes = kEmptyDtmf;
    for (std::size_t i = 0; i < bytes.size() && i < text.size(); ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            bytes[i] = static_cast<std::uint8_t>(c - '0');
        } else if (c >= 'A' && c <= 'D') {
            bytes[i] = static_cast<std::uint8_t>(c - 'A' + 10);
        } else if (c >= 'a' && c <= 'd') {
            bytes[i] = static_cast<std::uint8_t>(c - 'a' + 10);
        } else {
            break;
        }
    }
    return bytes;
}

}  // namespace qzm
