// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/channel_clipboard.h"

#include <algorithm>
#include <cctype>

#include "radio/channel_commit.h"
#include "radio/channel_operations.h"
#include "radio/value_codecs.h"

namespace qzm {
namespace {

constexpr std::string_view kRecordsMagic = "QZM836CH";
constexpr int kFlagColumnCount = 5;
constexpr std::size_t kFieldCount = 9;
constexpr ChannelFlag kFlagOfColumn[kFlagColumnCount] = {ChannelFlag::Col5No, ChannelFlag::Narrow,
                                                         ChannelFlag::HighPower,
                                                         ChannelFlag::Col8No, ChannelFlag::Col9No};

std::string_view trimmed(std::string_view text) {
    const auto space = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && space(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && space(text.back())) {
        text.remove_suffix(1);
    }
    // A spreadsheet quotes a field now and then.
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text = text.substr(1, text.size() - 2);
    }
    return text;
}

bool sameText(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// What the frequency editor lets a user type: digits and at most one point.
bool isFrequencyNumber(std::string_view text) {
    bool digit = false;
    bool point = false;
    for (const char c : text) {
        if (c == '.' && !point) {
            point = true;
        } else if (std::isdigit(static_cast<unsigned char>(c)) != 0) {
            digit = true;
        } else {
            return false;
        }
    }
    return digit;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    // The line end after the last row is no row of its own.
    while (!lines.empty() && trimmed(lines.back()).empty() &&
           lines.back().find('\t') == std::string_view::npos) {
        lines.pop_back();
    }
    return lines;
}

std::vector<std::string_view> splitFields(std::string_view line) {
    const char separator = line.find('\t') != std::string_view::npos ? '\t' : ',';
    std::vector<std::string_view> fields;
    while (true) {
        const std::size_t end = line.find(separator);
        fields.push_back(trimmed(line.substr(0, end)));
        if (end == std::string_view::npos) {
            break;
        }
        line.remove_prefix(end + 1);
    }
    if (fields.size() > kFieldCount) {
        fields.resize(kFieldCount);
    }
    return fields;
}

bool readsAsOff(std::string_view text, std::string_view offText) {
    return formatTone(parseTone(text), offText) == offText;
}

void pasteTone(RadioImage& image, int n, ChannelSide side, std::string_view text,
               const ChannelTexts& texts, ChannelPasteResult& result) {
    if (!text.empty() && !sameText(text, texts.offText) && readsAsOff(text, texts.offText)) {
        ++result.valuesRepaired;
    }
    commitTone(image, n, side, text, texts.offText);
}

void pasteFrequency(RadioImage& image, BandLimits limits, int n, ChannelSide side,
                    std::string_view text, ChannelPasteResult& result) {
    if (checkFrequencyRange(text, limits) != 0) {
        ++result.valuesRepaired;
    }
    commitFrequency(image, limits, n, side, text);
}

void pasteRow(RadioImage& image, BandLimits limits, int n,
              const std::vector<std::string_view>& fields, const ChannelTexts& texts,
              ChannelPasteResult& result) {
    pasteFrequency(image, limits, n, ChannelSide::Receive, fields[0], result);
    if (fields.size() == 1) {
        // Only the receive frequency: a simplex channel, as typing it into an empty one.
        image.setFrequency(n, ChannelSide::Transmit, image.frequency(n, ChannelSide::Receive));
        return;
    }
    pasteTone(image, n, ChannelSide::Receive, fields[1], texts, result);
    if (fields.size() > 2) {
        if (fields[2].empty() || isFrequencyNumber(fields[2])) {
            pasteFrequency(image, limits, n, ChannelSide::Transmit, fields[2], result);
        } else {
            ++result.valuesNotRead;
        }
    }
    if (fields.size() > 3 && !image.isAnyFrequencyEmpty(n)) {
        pasteTone(image, n, ChannelSide::Transmit, fields[3], texts, result);
    }
    for (std::size_t i = 4; i < fields.size(); ++i) {
        const std::string_view value = fields[i];
        if (value.empty()) {
            continue;
        }
        const auto& choices = texts.flagTexts[i - 4];
        const auto match = std::ranges::find_if(
            choices, [&](const std::string& choice) { return sameText(value, choice); });
        if (match == choices.end()) {
            ++result.valuesNotRead;
            continue;
        }
        setChannelFlag(image, n, kFlagOfColumn[i - 4], match == choices.begin() ? 0 : 1);
    }
}

}  // namespace

std::vector<std::uint8_t> encodeChannelRecords(std::span<const ChannelRecord> records) {
    std::vector<std::uint8_t> bytes(kRecordsMagic.begin(), kRecordsMagic.end());
    const std::size_t count = std::min<std::size_t>(records.size(), kChannelCount);
    bytes.push_back(static_cast<std::uint8_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        bytes.insert(bytes.end(), records[i].bytes.begin(), records[i].bytes.end());
    }
    return bytes;
}

std::optional<std::vector<ChannelRecord>> decodeChannelRecords(
    std::span<const std::uint8_t> bytes) {
    const std::size_t head = kRecordsMagic.size() + 1;
    if (bytes.size() < head ||
        !std::equal(kRecordsMagic.begin(), kRecordsMagic.end(), bytes.begin())) {
        return std::nullopt;
    }
    const std::size_t count = bytes[kRecordsMagic.size()];
    if (count == 0 || count > static_cast<std::size_t>(kChannelCount) ||
        bytes.size() != head + count * ChannelRecord::kSize) {
        return std::nullopt;
    }
    std::vector<ChannelRecord> records(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(head + i * ChannelRecord::kSize),
                    ChannelRecord::kSize, records[i].bytes.begin());
    }
    return records;
}

std::string channelRowsText(const RadioImage& image, std::span<const int> channels,
                            const ChannelTexts& texts) {
    std::string out;
    for (const int n : normalizedChannels(channels)) {
        std::array<std::string, kFieldCount> fields;
        if (!image.isRxEmpty(n)) {
            fields[0] = image.frequencyText(n, ChannelSide::Receive);
            fields[1] = image.toneText(n, ChannelSide::Receive, texts.offText);
            fields[2] = image.frequencyText(n, ChannelSide::Transmit);
            if (!fields[2].empty()) {
                fields[3] = image.toneText(n, ChannelSide::Transmit, texts.offText);
            }
            for (int i = 0; i < kFlagColumnCount; ++i) {
                const auto column = static_cast<std::size_t>(i);
                const int bit = channelFlag(image, n, kFlagOfColumn[i]);
                fields[4 + column] = texts.flagTexts[column][bit != 0 ? 1 : 0];
            }
        }
        for (std::size_t i = 0; i < kFieldCount; ++i) {
            out += (i == 0 ? "" : "\t") + fields[i];
        }
        out += '\n';
    }
    return out;
}

ChannelPasteResult pasteChannelRows(RadioImage& image, BandLimits limits, int first,
                                    std::string_view text, const ChannelTexts& texts) {
    ChannelPasteResult result;
    int n = first;
    for (const std::string_view line : splitLines(text)) {
        const std::vector<std::string_view> fields = splitFields(line);
        const bool blank =
            std::ranges::all_of(fields, [](std::string_view field) { return field.empty(); });
        if (!blank && !isFrequencyNumber(fields[0])) {
            ++result.unusableRows;
            continue;
        }
        if (!RadioImage::isValidChannel(n)) {
            ++result.droppedPastEnd;
            continue;
        }
        if (blank) {
            image.setChannelRecord(n, emptyChannelRecord());
        } else {
            pasteRow(image, limits, n, fields, texts, result);
        }
        ++result.pasted;
        ++n;
    }
    return result;
}

int pasteChannelRecords(RadioImage& image, int first, std::span<const ChannelRecord> records,
                        int* written) {
    int n = first;
    int dropped = 0;
    int count = 0;
    for (const ChannelRecord& record : records) {
        if (RadioImage::isValidChannel(n)) {
            image.setChannelRecord(n++, record);
            ++count;
        } else {
            ++dropped;
        }
    }
    if (written != nullptr) {
        *written = count;
    }
    return dropped;
}

}  // namespace qzm
