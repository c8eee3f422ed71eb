// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/channel_csv.h"

#include <array>
#include <map>
#include <vector>

#include "exchange/channel_fields.h"
#include "exchange/csv_message.h"
#include "radio/channel_commit.h"
#include "radio/value_codecs.h"

namespace qzm {
namespace {

enum CsvColumn : std::size_t {
    kChannel,
    kRxFreq,
    kRxTone,
    kTxFreq,
    kTxTone,
    kCol5,
    kNarrow,
    kHighPower,
    kCol8,
    kCol9,
    kCsvColumnCount
};

constexpr std::array<std::string_view, kCsvColumnCount> kCsvColumnNames{
    "channel", "rx_freq", "rx_tone",    "tx_freq", "tx_tone",
    "col5",    "narrow",  "high_power", "col8",    "col9"};

struct FlagColumn {
    CsvColumn column;
    ChannelFlag flag;
};

constexpr std::array<FlagColumn, 5> kFlagColumns{{{kCol5, ChannelFlag::Col5No},
                                                  {kNarrow, ChannelFlag::Narrow},
                                                  {kHighPower, ChannelFlag::HighPower},
                                                  {kCol8, ChannelFlag::Col8No},
                                                  {kCol9, ChannelFlag::Col9No}}};

std::optional<int> channelNumber(std::string_view text) {
    const auto value = unsignedNumber(text, 2);
    if (!value || !RadioImage::isValidChannel(*value)) {
        return std::nullopt;
    }
    return value;
}

// One row taken apart and checked, before anything is applied.
struct ChannelRow {
    std::size_t line = 0;
    int channel = 0;
    std::array<std::string, kCsvColumnCount> values;
    std::array<std::optional<int>, kCsvColumnCount> flags;  // empty keeps the flag
    std::array<bool, kCsvColumnCount> damaged{};            // marked damaged: left as it is
};

ChannelImportResult refused(CsvError error) {
    ChannelImportResult result;
    result.error = std::move(error);
    return result;
}

// The tone as the picker stores it: "off" is the off entry.
std::string_view toneText(std::string_view field) {
    return isOffTone(field) ? std::string_view() : field;
}

// A frequency outside the band is stored as the band limit, one off the channel
// grid as the nearest grid point; say so, so the user learns that the radio holds
// something else.  Called after the value was stored.
void noteRepairedFrequency(const RadioImage& image, BandLimits limits, const ChannelRow& row,
                           CsvColumn column, std::vector<CsvError>& notes) {
    const std::string& text = row.values[column];
    if (text.empty()) {
        return;
    }
    const ChannelSide side = column == kRxFreq ? ChannelSide::Receive : ChannelSide::Transmit;
    const std::string stored = image.frequencyText(row.channel, side);
    const std::string channel = std::to_string(row.channel);
    const std::string name(kCsvColumnNames[column]);
    if (const int range = checkFrequencyRange(text, limits); range != 0) {
        notes.push_back(csvError(row.line, csv_message::kOutsideBand,
                                 {channel, name, text, formatLimit(-1, limits),
                                  formatLimit(1, limits), formatLimit(range, limits)}));
    } else if (normalizeFrequency(text) != normalizeFrequency(stored)) {
        notes.push_back(
            csvError(row.line, csv_message::kOffTheGrid, {channel, name, text, stored}));
    }
}

void applyRow(RadioImage& image, const ChannelRow& row, std::vector<CsvError>& notes) {
    const int n = row.channel;
    const BandLimits limits = image.bandLimits();
    for (CsvColumn column : {kRxFreq, kRxTone, kTxFreq, kTxTone}) {
        if (row.damaged[column]) {
            notes.push_back(csvError(row.line, csv_message::kDamagedSkipped,
                                     {std::to_string(n), std::string(kCsvColumnNames[column])}));
        }
    }
    if (!row.damaged[kRxFreq]) {
        if (row.values[kRxFreq].empty() && image.isRxEmpty(n)) {
            return;  // already empty: nothing to clear, its bytes stay as they are
        }
        commitFrequency(image, limits, n, ChannelSide::Receive, row.values[kRxFreq]);
        noteRepairedFrequency(image, limits, row, kRxFreq, notes);
    }
    if (image.isRxEmpty(n)) {
        return;  // an empty channel takes no other field, as in the editor
    }
    if (!row.damaged[kRxTone]) {
        commitTone(image, n, ChannelSide::Receive, toneText(row.values[kRxTone]), "");
    }
    if (!row.damaged[kTxFreq]) {
        commitFrequency(image, limits, n, ChannelSide::Transmit, row.values[kTxFreq]);
        noteRepairedFrequency(image, limits, row, kTxFreq, notes);
    }
    if (!row.damaged[kTxTone] && !image.isAnyFrequencyEmpty(n)) {
        commitTone(image, n, ChannelSide::Transmit, toneText(row.values[kTxTone]), "");
    }
    for (const auto& flagColumn : kFlagColumns) {
        if (row.flags[flagColumn.column]) {
            setChannelFlag(image, n, flagColumn.flag, *row.flags[flagColumn.column]);
        }
    }
}

// What is wrong with the first bad field of the row, on the row's line.
std::optional<CsvError> fieldProblem(const ChannelRow& row) {
    for (CsvColumn column : {kRxFreq, kRxTone, kTxFreq, kTxTone}) {
        const std::string& value = row.values[column];
        if (row.damaged[column]) {
            continue;
        }
        const bool frequency = column == kRxFreq || column == kTxFreq;
        const std::string_view name = kCsvColumnNames[column];
        if (auto problem =
                frequency ? frequencyFieldProblem(name, value) : toneFieldProblem(name, value)) {
            problem->line = row.line;
            return problem;
        }
    }
    return std::nullopt;
}

}  // namespace

ChannelCsvExport exportChannelTable(const RadioImage& image) {
    ChannelCsvExport out;
    out.csv =
        formatCsvRecord(std::vector<std::string>(kCsvColumnNames.begin(), kCsvColumnNames.end()));
    for (int n = 1; n <= kChannelCount; ++n) {
        std::vector<std::string> fields(kCsvColumnCount);
        fields[kChannel] = std::to_string(n);
        if (!image.isRxEmpty(n)) {
            fields[kRxFreq] = image.frequencyText(n, ChannelSide::Receive);
            fields[kRxTone] = image.toneText(n, ChannelSide::Receive, "");
            fields[kTxFreq] = image.frequencyText(n, ChannelSide::Transmit);
            if (!fields[kTxFreq].empty()) {
                fields[kTxTone] = image.toneText(n, ChannelSide::Transmit, "");
            }
            for (const auto& flagColumn : kFlagColumns) {
                fields[flagColumn.column] = std::to_string(channelFlag(image, n, flagColumn.flag));
            }
        }
        // Bytes that decode to no value would come back refused, or as another value.
        for (CsvColumn column : {kRxFreq, kRxTone, kTxFreq, kTxTone}) {
            std::string& value = fields[column];
            const bool frequency = column == kRxFreq || column == kTxFreq;
            const std::string_view name = kCsvColumnNames[column];
            if (frequency ? frequencyFieldProblem(name, value) : toneFieldProblem(name, value)) {
                out.damaged.push_back({n, std::string(kCsvColumnNames[column]), value});
                value = std::string(kDamagedValue);
            }
        }
        out.csv += formatCsvRecord(fields);
    }
    return out;
}

std::string exportChannelsCsv(const RadioImage& image) {
    return exportChannelTable(image).csv;
}

ChannelImportResult importChannelsCsv(std::string_view csv, const RadioImage& base) {
    return importChannelRecords(parseCsv(csv), base);
}

ChannelImportResult importChannelRecords(const CsvParseResult& parsed, const RadioImage& base) {
    if (parsed.error) {
        return refused(*parsed.error);
    }
    if (parsed.records.empty()) {
        return refused(csvError(1, csv_message::kNoHeader));
    }

    const CsvRecord& header = parsed.records.front();
    std::array<std::size_t, kCsvColumnCount> position{};
    std::map<std::string, std::size_t> seen;
    for (std::size_t i = 0; i < header.fields.size(); ++i) {
        std::string name(trimmedField(header.fields[i]));
        if (!seen.emplace(name, i).second && !name.empty()) {
            for (auto known : kCsvColumnNames) {
                if (known == name) {
                    return refused(
                        csvError(header.line, csv_message::kColumnTwice, {quotedForMessage(name)}));
                }
            }
        }
    }
    for (std::size_t c = 0; c < kCsvColumnCount; ++c) {
        auto found = seen.find(std::string(kCsvColumnNames[c]));
        if (found == seen.end()) {
            const bool semicolons =
                header.fields.size() == 1 && header.fields[0].find(';') != std::string::npos;
            return refused(csvError(
                header.line,
                semicolons ? csv_message::kColumnMissingSemicolons : csv_message::kColumnMissing,
                {std::string(kCsvColumnNames[c])}));
        }
        position[c] = found->second;
    }

    std::vector<ChannelRow> rows;
    std::map<int, std::size_t> channelLines;
    for (std::size_t r = 1; r < parsed.records.size(); ++r) {
        const CsvRecord& record = parsed.records[r];
        if (isBlankRecord(record)) {
            continue;  // an empty spreadsheet row
        }
        const std::size_t fieldCount = fieldCountWithoutBlankTail(record, header.fields.size());
        if (fieldCount != header.fields.size()) {
            return refused(
                csvError(record.line, csv_message::kFieldCount,
                         {std::to_string(fieldCount), std::to_string(header.fields.size())}));
        }
        ChannelRow row;
        row.line = record.line;
        for (std::size_t c = 0; c < kCsvColumnCount; ++c) {
            row.values[c] = std::string(trimmedField(record.fields[position[c]]));
            row.damaged[c] = isDamagedMarker(row.values[c]);
        }
        auto channel = channelNumber(row.values[kChannel]);
        if (!channel) {
            return refused(csvError(record.line, csv_message::kChannelNumber,
                                    {quotedForMessage(row.values[kChannel])}));
        }
        row.channel = *channel;
        auto [earlier, fresh] = channelLines.emplace(row.channel, record.line);
        if (!fresh) {
            return refused(
                csvError(record.line, csv_message::kChannelTwice,
                         {std::to_string(row.channel), std::to_string(earlier->second)}));
        }
        for (const auto& flagColumn : kFlagColumns) {
            const std::string& value = row.values[flagColumn.column];
            if (value == "0" || value == "1") {
                row.flags[flagColumn.column] = value == "1" ? 1 : 0;
            } else if (!value.empty()) {
                return refused(csvError(
                    record.line, csv_message::kFlagValue,
                    {std::string(kCsvColumnNames[flagColumn.column]), quotedForMessage(value)}));
            }
        }
        if (auto problem = fieldProblem(row)) {
            return refused(*problem);
        }
        rows.push_back(std::move(row));
    }

    ChannelImportResult result;
    RadioImage image = base;
    for (const auto& row : rows) {
        applyRow(image, row, result.notes);
    }
    result.image = image;
    return result;
}

}  // namespace qzm
