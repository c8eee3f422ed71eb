// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/show_document.h"

#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "cli/field_texts.h"
#include "platform/placeholders.h"
#include "platform/utf8_text.h"
#include "radio/damaged_values.h"
#include "radio/value_codecs.h"

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

constexpr std::size_t kListedInWarning = 4;  // the first few, then "..."

std::optional<ChannelField> damageableField(ImageField field) {
    switch (field) {
        case ImageField::RxFrequency:
            return ChannelField::RxFrequency;
        case ImageField::RxTone:
            return ChannelField::RxTone;
        case ImageField::TxFrequency:
            return ChannelField::TxFrequency;
        case ImageField::TxTone:
            return ChannelField::TxTone;
        default:
            return std::nullopt;
    }
}

// The damaged mark in place of the value, as the grid shows it.
std::string damagedCellText(const RadioImage& image, const DamagedValue& value,
                            const LanguageTexts& texts) {
    const std::string readable = readableDamagedValue(image, value);
    return readable.empty() ? texts.text("IDS_DAMAGED_CELL")
                            : texts.text("IDS_DAMAGED_MARK") + " " + readable;
}

}  // namespace

std::string damagedValuesWarning(const RadioImage& image, const LanguageTexts& texts) {
    const std::vector<DamagedValue> values = findDamagedValues(image);
    if (values.empty()) {
        return {};
    }
    std::string channels;
    for (const int n : channelsOf(values)) {
        channels += (channels.empty() ? "" : ", ") + std::to_string(n);
    }
    const std::vector<std::string> titles = texts.columnTitles();
    std::string text = fillPlaceholders(texts.text("IDS_DAMAGED_VALUES"),
                                        {std::to_string(values.size()), channels}) +
                       "\n";
    for (std::size_t i = 0; i < values.size() && i < kListedInWarning; ++i) {
        const DamagedValue& value = values[i];
        const auto column = static_cast<std::size_t>(channelTableColumn(value.field));
        const std::string title = column < titles.size() ? titles[column] : std::string();
        text += fillPlaceholders(texts.text("IDS_DAMAGED_LINE"),
                                 {std::to_string(value.channel), title, value.storedBytes}) +
                "\n";
    }
    if (values.size() > kListedInWarning) {
        text += "...\n";
    }
    text.pop_back();  // the caller ends the message
    return text;
}

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
            // A damaged value is marked even there: a transmit frequency left on a
            // channel without a receive frequency must not pass unseen.
            const std::optional<ChannelField> damageable = damageableField(field);
            const std::optional<DamagedValue> damaged =
                damageable ? damagedValueOf(image, n, *damageable) : std::nullopt;
            const bool hidden =
                image.isRxEmpty(n) || (field == ImageField::TxTone && image.isAnyFrequencyEmpty(n));
            if (damaged) {
                row.push_back(damagedCellText(image, *damaged, texts));
            } else {
                row.push_back(hidden ? std::string()
                                     : fieldValueText(image, field, n, texts, settingsPath));
            }
        }
        channels.push_back(std::move(row));
    }
    return table(settings) + "\n" + table(channels);
}

}  // namespace qzm::cli
