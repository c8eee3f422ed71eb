// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/show_document.h"

#include <algorithm>
#include <array>
#include <functional>
#include <string_view>
#include <vector>

#include "cli/field_texts.h"
#include "platform/utf8_text.h"

namespace qzm::cli {
namespace {

std::string padded(const std::string& text, std::size_t width) {
    std::size_t length = countCharacters(text);
    return length >= width ? text : text + std::string(width - length, ' ');
}

std::string rightTrimmed(std::string line) {
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

std::string table(const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()), 0);
        for (std::size_t c = 0; c < row.size(); ++c) {
            widths[c] = std::max(widths[c], countCharacters(row[c]));
        }
    }
    std::string out;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            line += padded(row[c], widths[c]);
            line += "  ";
        }
        out += rightTrimmed(line) + "\n";
    }
    return out;
}

}  // namespace

std::string showDocument(const RadioImage& image, const LanguageTexts& texts,
                         const std::filesystem::path& settingsPath) {
    std::vector<std::vector<std::string>> settings;
    for (ImageField field : settingFields()) {
        if (field == ImageField::IdentText) {
            continue;  // the editor shows the model, not what the radio stores
        }
        settings.push_back(
            {fieldLabel(field, texts) + ":", fieldValueText(image, field, 0, texts, settingsPath)});
    }

    std::vector<std::vector<std::string>> channels{texts.columnTitles()};
    for (int n = 1; n <= kChannelCount; ++n) {
        std::vector<std::string> row{std::to_string(n)};
        for (ImageField field : channelFields()) {
            // An empty channel shows empty cells, and so does the transmit tone of a
            // channel without a transmit frequency, as in the grid.
            const bool hidden =
                image.isRxEmpty(n) || (field == ImageField::TxTone && image.isAnyFrequencyEmpty(n));
            row.push_back(hidden ? std::string()
                                 : fieldValueText(image, field, n, texts, settingsPath));
        }
        channels.push_back(std::move(row));
    }
    return table(settings) + "\n" + table(channels);
}

}  // namespace qzm::cli
