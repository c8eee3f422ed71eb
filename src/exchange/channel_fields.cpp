// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/channel_fields.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "exchange/csv_message.h"
#include "platform/utf8_text.h"

namespace qzm {
namespace {

constexpr std::size_t kFrequencyCharacters = 9;
constexpr std::size_t kQuotedCharacters = 40;
constexpr int kLowestCtcssTenths = 670;
constexpr int kHighestCtcssTenths = 2541;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

char upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool isDcsCode(std::string_view text) {
    return text.size() == 5 && upper(text[0]) == 'D' && isOctalDigit(text[1]) &&
           isOctalDigit(text[2]) && isOctalDigit(text[3]) &&
           (upper(text[4]) == 'N' || upper(text[4]) == 'I');
}

// Tenths of a hertz of "ddd" or "ddd.d" (one to three digits before the point).
std::optional<int> ctcssTenths(std::string_view text) {
    const auto point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view decimals =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (whole.empty() || whole.size() > 3 || !std::all_of(whole.begin(), whole.end(), isDigit) ||
        (point != std::string_view::npos && (decimals.size() != 1 || !isDigit(decimals[0])))) {
        return std::nullopt;
    }
    int tenths = 0;
    for (char c : whole) {
        tenths = tenths * 10 + (c - '0');
    }
    return tenths * 10 + (decimals.empty() ? 0 : decimals[0] - '0');
}

}  // namespace

std::optional<CsvError> frequencyFieldProblem(std::string_view column, std::string_view text) {
    const bool wellFormed =
        std::all_of(text.begin(), text.end(), [](char c) { return isDigit(c) || c == '.'; }) &&
        std::count(text.begin(), text.end(), '.') <= 1 &&
        std::any_of(text.begin(), text.end(), isDigit);
    if (!text.empty() && !wellFormed) {
        return csvError(0, csv_message::kNotAFrequency,
                        {std::string(column), quotedForMessage(text)});
    }
    if (text.size() > kFrequencyCharacters) {
        return csvError(
            0, csv_message::kFrequencyTooLong,
            {std::string(column), quotedForMessage(text), std::to_string(kFrequencyCharacters)});
    }
    return std::nullopt;
}

bool isOffTone(std::string_view text) {
    return text.empty() || (text.size() == 3 && upper(text[0]) == 'O' && upper(text[1]) == 'F' &&
                            upper(text[2]) == 'F');
}

std::optional<CsvError> toneFieldProblem(std::string_view column, std::string_view text) {
    if (isOffTone(text) || isDcsCode(text)) {
        return std::nullopt;
    }
    const std::vector<std::string> values = {std::string(column), quotedForMessage(text)};
    if (const auto tenths = ctcssTenths(text)) {
        if (*tenths >= kLowestCtcssTenths && *tenths <= kHighestCtcssTenths) {
            return std::nullopt;
        }
        return csvError(0, csv_message::kToneOutsideRange, values);
    }
    return csvError(0, csv_message::kNotATone, values);
}

std::string quotedForMessage(std::string_view text) {
    std::string shown = cutToCharacters(text, kQuotedCharacters);
    const bool cut = shown.size() < text.size();
    std::replace_if(
        shown.begin(), shown.end(),
        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }, '?');
    return "'" + shown + (cut ? "...'" : "'");
}

bool isDamagedMarker(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    const auto last = text.find_last_not_of(" \t");
    if (first == std::string_view::npos) {
        return false;
    }
    const std::string_view core = text.substr(first, last - first + 1);
    return core.size() == kDamagedValue.size() &&
           std::equal(core.begin(), core.end(), kDamagedValue.begin(),
                      [](char a, char b) { return upper(a) == upper(b); });
}

}  // namespace qzm
