// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/damaged_values.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "radio/channel_record.h"
#include "radio/tone_lists.h"
#include "radio/value_codecs.h"

namespace qzm {
namespace {

bool isDecimalByte(std::uint8_t byte) {
    return (byte >> 4) <= 9 && (byte & 0x0F) <= 9;
}

ChannelSide sideOf(ChannelField field) {
    return field == ChannelField::RxFrequency || field == ChannelField::RxTone
               ? ChannelSide::Receive
               : ChannelSide::Transmit;
}

bool isFrequencyField(ChannelField field) {
    return field == ChannelField::RxFrequency || field == ChannelField::TxFrequency;
}

bool isListedToneText(const std::string& text) {
    if (std::find(kCtcssTexts.begin(), kCtcssTexts.end(), text) != kCtcssTexts.end()) {
        return true;
    }
    // "D023N" / "D023I": the letter, a code of the list, the polarity.
    if (text.size() != 5 || text.front() != 'D' || (text.back() != 'N' && text.back() != 'I')) {
        return false;
    }
    const std::string code = text.substr(1, 3);
    return std::find(kDcsCodes.begin(), kDcsCodes.end(), code) != kDcsCodes.end();
}

}  // namespace

bool isDamagedFrequency(const FrequencyBytes& bytes) {
    if (bytes == kEmptyFrequency) {
        return false;
    }
    return !std::all_of(bytes.begin(), bytes.end(), isDecimalByte);
}

bool isDamagedTone(const ToneBytes& bytes) {
    if (bytes[1] == 0xFF) {
        return false;  // off, whatever the low byte holds
    }
    const std::string text = formatTone(bytes, "");
    // The text must also come back to the same bytes: a DCS high byte with
    // stray bits prints like a listed code.
    return !isListedToneText(text) || parseTone(text) != bytes;
}

std::optional<DamagedValue> damagedValueOf(const RadioImage& image, int n, ChannelField field) {
    if (n < 1 || n > kChannelCount) {
        return std::nullopt;
    }
    const ChannelSide side = sideOf(field);
    const bool rxEmpty = image.frequency(n, ChannelSide::Receive) == kEmptyFrequency;
    bool damaged = false;
    std::string stored;
    if (isFrequencyField(field)) {
        const FrequencyBytes bytes = image.frequency(n, side);
        damaged = isDamagedFrequency(bytes) ||
                  (side == ChannelSide::Transmit && rxEmpty && bytes != kEmptyFrequency);
        stored = hexBytes(bytes.data(), bytes.size());
    } else {
        const ToneBytes bytes = image.tone(n, side);
        const bool shown =
            !image.isRxEmpty(n) && (side == ChannelSide::Receive ||
                                    !(image.frequency(n, ChannelSide::Transmit)[3] > 0x99));
        damaged = shown && isDamagedTone(bytes);
        stored = hexBytes(bytes.data(), bytes.size());
    }
    if (!damaged) {
        return std::nullopt;
    }
    return DamagedValue{n, field, stored};
}

std::vector<DamagedValue> findDamagedValues(const RadioImage& image) {
    std::vector<DamagedValue> found;
    for (int n = 1; n <= kChannelCount; ++n) {
        for (const ChannelField field : {ChannelField::RxFrequency, ChannelField::RxTone,
                                         ChannelField::TxFrequency, ChannelField::TxTone}) {
            if (auto value = damagedValueOf(image, n, field)) {
                found.push_back(std::move(*value));
            }
        }
    }
    return found;
}

std::vector<int> channelsOf(const std::vector<DamagedValue>& values) {
    std::vector<int> channels;
    for (const DamagedValue& value : values) {
        if (channels.empty() || channels.back() != value.channel) {
            channels.push_back(value.channel);
        }
    }
    return channels;
}

std::string hexBytes(const std::uint8_t* bytes, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        std::array<char, 4> digits{};
        std::snprintf(digits.data(), digits.size(), "%02X", static_cast<unsigned>(bytes[i]));
        if (!text.empty()) {
            text += ' ';
        }
        text += digits.data();
    }
    return text;
}

int channelTableColumn(ChannelField field) {
    switch (field) {
        case ChannelField::RxFrequency:
            return 1;
        case ChannelField::RxTone:
            return 2;
        case ChannelField::TxFrequency:
            return 3;
        case ChannelField::TxTone:
            return 4;
    }
    return 1;
}

std::optional<ChannelField> channelFieldOfColumn(int column) {
    switch (column) {
        case 1:
            return ChannelField::RxFrequency;
        case 2:
            return ChannelField::RxTone;
        case 3:
            return ChannelField::TxFrequency;
        case 4:
            return ChannelField::TxTone;
        default:
            return std::nullopt;
    }
}

std::string readableDamagedValue(const RadioImage& image, const DamagedValue& value) {
    const ChannelSide side =
        value.field == ChannelField::RxFrequency || value.field == ChannelField::RxTone
            ? ChannelSide::Receive
            : ChannelSide::Transmit;
    if (value.field == ChannelField::RxTone || value.field == ChannelField::TxTone) {
        const ToneBytes bytes = image.tone(value.channel, side);
        std::string text = formatTone(bytes, "");
        return parseTone(text) == bytes ? text : std::string();
    }
    const FrequencyBytes bytes = image.frequency(value.channel, side);
    return isDamagedFrequency(bytes) ? std::string() : formatFrequency(bytes);
}

}  // namespace qzm
