// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/image_diff_text.h"

#include <cstdio>
#include <string_view>

#include "cli/field_texts.h"
#include "platform/text_source.h"

namespace qzm::cli {
namespace {

std::string withNumber(std::string pattern, std::size_t number) {
    const auto at = pattern.find("%1");
    if (at != std::string::npos) {
        pattern.replace(at, 2, std::to_string(number));
    }
    return pattern;
}

std::string hexBytes(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    for (std::uint8_t byte : bytes) {
        char digits[4];
        std::snprintf(digits, sizeof digits, "%02X", byte);
        text += text.empty() ? "" : " ";
        text += digits;
    }
    return "[" + text + "]";
}

}  // namespace

std::vector<std::string> imageDifferenceLines(const RadioImage& before, const RadioImage& after,
                                              const ImageDifference& difference,
                                              const LanguageTexts& texts,
                                              const std::filesystem::path& settingsPath) {
    const TextSource source = texts.source();
    const std::string empty = textOr(source, "IDS_DIFF_EMPTY", "(empty)");
    std::vector<std::string> lines;
    for (const FieldDifference& change : difference.fields) {
        std::string old = fieldValueText(before, change.field, change.channel, texts, settingsPath);
        std::string now = fieldValueText(after, change.field, change.channel, texts, settingsPath);
        const bool alike = old == now;
        old = old.empty() ? empty : old;
        now = now.empty() ? empty : now;
        if (alike) {
            old += " " + hexBytes(fieldBytes(before, change.field, change.channel));
            now += " " + hexBytes(fieldBytes(after, change.field, change.channel));
        }
        std::string line;
        if (change.channel != 0) {
            line = withNumber(textOr(source, "IDS_DIFF_CHANNEL", "channel %1:"),
                              static_cast<std::size_t>(change.channel)) +
                   " ";
        }
        line += fieldLabel(change.field, texts) + ": " + old + " -> " + now;
        lines.push_back(std::move(line));
    }
    if (difference.unmappedBytes != 0) {
        lines.push_back(withNumber(textOr(source, "IDS_DIFF_UNMAPPED", "unmapped bytes: %1 differ"),
                                   difference.unmappedBytes));
    }
    return lines;
}

}  // namespace qzm::cli
