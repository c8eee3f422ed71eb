// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/channel_list_print.h"

#include <cstdint>

namespace qzm {
namespace {

// One numeric field of the date format, with leading zeros.
std::string digits(int value, int width) {
    std::string text = std::to_string(value < 0 ? 0 : value);
    if (text.size() < static_cast<std::size_t>(width)) {
        text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
    }
    return text;
}

}  // namespace

std::optional<PrintPageLayout> printPageLayout(int gridWidth, int lettersWidth, int printerWidth,
                                               int printerHeight) {
    if (gridWidth <= 0 || printerWidth <= 0 || printerHeight <= 0 || lettersWidth < 0) {
        return std::nullopt;
    }
    PrintPageLayout layout;
    layout.characterWidth = lettersWidth / static_cast<int>(kMeasureLetters.size());
    layout.printerWidth = printerWidth;
    layout.printerHeight = printerHeight;
    layout.logicalWidth =
        gridWidth + (layout.leftMargin + layout.rightMargin) * layout.characterWidth;
    // Multiply first, then divide; 64 bits, as printers report large areas.
    const std::int64_t height =
        std::int64_t{layout.logicalWidth} * printerHeight / std::int64_t{printerWidth};
    if (height <= 0 || height > INT32_MAX) {
        return std::nullopt;
    }
    layout.logicalHeight = static_cast<int>(height);
    return layout;
}

std::vector<int> printedRows(int firstRow, int rowCount,
                             const std::function<bool(int)>& programmed) {
    std::vector<int> rows;
    for (int row = firstRow; row < rowCount && rows.size() < kPrintRowsPerPage; ++row) {
        if (programmed(row)) {
            rows.push_back(row);
        }
    }
    return rows;
}

std::string formatPrintDate(const std::tm& local, std::string_view weekday) {
    // The fields of the format are written here rather than by strftime, whose
    // %A would follow the C library's locale instead of the language's.
    std::string text;
    for (std::size_t i = 0; i < kPrintDateFormat.size(); ++i) {
        const char c = kPrintDateFormat[i];
        if (c != '%' || i + 1 == kPrintDateFormat.size()) {
            text += c;
            continue;
        }
        switch (kPrintDateFormat[++i]) {
            case 'Y':
                text += digits(local.tm_year + 1900, 4);
                break;
            case 'm':
                text += digits(local.tm_mon + 1, 2);
                break;
            case 'd':
                text += digits(local.tm_mday, 2);
                break;
            case 'A':
                text += weekday;
                break;
            case 'H':
                text += digits(local.tm_hour, 2);
                break;
            case 'M':
                text += digits(local.tm_min, 2);
                break;
            default:
                text += kPrintDateFormat[i];
                break;
        }
    }
    return text;
}

std::string printPair(std::string_view caption, std::string_view value) {
    std::string text(caption);
    text += kPrintPairSeparator;
    text += value;
    return text;
}

std::string printCheckBox(std::string_view caption, bool checked, const TextSource& texts) {
    return printPair(caption, texts(checked ? "IDS_YES" : "IDS_NO"));
}

}  // namespace qzm
