// SPDX-License-Identifier: GPL-3.0-or-later
#include <array>
#include <map>

#include "exchange/channel_fields.h"
#include "exchange/chirp_columns.h"
#include "exchange/chirp_csv.h"
#include "exchange/chirp_values.h"
#include "exchange/csv_message.h"
#include "radio/channel_commit.h"
#include "radio/value_codecs.h"

namespace qzm {
namespace {

using namespace chirp;

// One side's tone as the row asks for it.
struct ToneChoice {
    enum class Kind { Off, Ctcss, Dcs } kind = Kind::Off;
    int tenths = 0;
    std::string code;  // three octal digits
    bool inverted = false;

    std::string text() const {
        switch (kind) {
            case Kind::Ctcss:
                return formatTenths(tenths);
            case Kind::Dcs:
                return "D" + code + (inverted ? "I" : "N");
            case Kind::Off:
                break;
        }
        return {};
    }
};

// A row taken apart and checked; nothing applied yet.
struct Plan {
    std::int64_t rxHertz = 0;
    std::optional<std::int64_t> txHertz;  // empty: receive only
    ToneChoice rxTone, txTone;
    std::optional<int> narrow, col5No, highPower;  // empty keeps the flag
    std::vector<ChirpIssue> repairs;
};

ChirpIssue issue(ChirpIssueKind kind, std::vector<std::string> args = {}) {
    return ChirpIssue{kind, std::move(args)};
}

// The fields of one record by column; an absent column reads as empty.
class RowFields {
  public:
    RowFields(const CsvRecord& record,
              const std::array<std::optional<std::size_t>, kColumnCount>& at)
        : record_(record), at_(at) {}
    std::string value(Column column) const {
        const auto index = at_[column];
        return index ? std::string(trimmedField(record_.fields[*index])) : std::string();
    }
    bool has(Column column) const { return at_[column].has_value(); }

  private:
    const CsvRecord& record_;
    const std::array<std::optional<std::size_t>, kColumnCount>& at_;
};

class RowReader {
  public:
    RowReader(const RowFields& fields, BandLimits limits) : fields_(fields), limits_(limits) {}

    // The plan, or the reason the row is skipped (in `reason_`).
    std::optional<Plan> read() {
        if (!readFrequencies() || !readMode() || !readTones()) {
            return std::nullopt;
        }
        readFlags();
        return plan_;
    }
    const ChirpIssue& reason() const { return reason_; }

  private:
    bool fail(ChirpIssue why) {
        reason_ = std::move(why);
        return false;
    }
    bool malformed(Column column) {
        return fail(issue(ChirpIssueKind::Malformed, {std::string(kColumnNames[column]),
                                                      quotedForMessage(fields_.value(column))}));
    }

    bool inBand(std::int64_t hertz) const {
        return hertz >= std::int64_t{limits_.lower} * 10 &&
               hertz <= std::int64_t{limits_.upper} * 10;
    }

    // The channel grid's value of `hertz`, noting the repair when it moves.
    void noteSnap(Column column, std::string_view written, std::int64_t hertz) {
        const std::int64_t stored = snapToChannelGrid((hertz + 5) / 10) * 10;
        if (stored != hertz) {
            plan_.repairs.push_back(issue(ChirpIssueKind::FrequencySnapped,
                                          {std::string(kColumnNames[column]),
                                           quotedForMessage(written), formatMegahertz(stored)}));
        }
    }

    bool readFrequencies() {
        const std::string rx = fields_.value(kFrequency);
        const auto rxHertz = parseMegahertz(rx);
        if (!rxHertz) {
            return malformed(kFrequency);
        }
        plan_.rxHertz = *rxHertz;
        const std::string duplex = fields_.value(kDuplex);
        const bool plus = duplex == "+";
        const bool minus = duplex == "-";
        const bool split = equalsNoCase(duplex, "split");
        if (duplex.empty()) {
            plan_.txHertz = *rxHertz;
        } else if (plus || minus || split) {
            const auto offset = parseMegahertz(fields_.value(kOffset));
            if (!offset) {
                return malformed(kOffset);
            }
            plan_.txHertz = split ? *offset : *rxHertz + (plus ? *offset : -*offset);
        } else if (!equalsNoCase(duplex, "off")) {
            return malformed(kDuplex);
        }
        // Never clamped: a 2 m channel must not turn into the band's lower edge.
        if (!inBand(*rxHertz)) {
            return fail(issue(
                ChirpIssueKind::OutOfBand,
                {formatMegahertz(*rxHertz), formatLimit(-1, limits_), formatLimit(1, limits_)}));
        }
        if (plan_.txHertz && !inBand(*plan_.txHertz)) {
            return fail(issue(ChirpIssueKind::TxOutOfBand,
                              {*plan_.txHertz < 0 ? "-" + formatMegahertz(-*plan_.txHertz)
                                                  : formatMegahertz(*plan_.txHertz),
                               formatLimit(-1, limits_), formatLimit(1, limits_)}));
        }
        noteSnap(kFrequency, rx, *rxHertz);
        if (split) {
            noteSnap(kOffset, fields_.value(kOffset), *plan_.txHertz);
        } else if (plan_.txHertz && *plan_.txHertz != *rxHertz) {
            // The offset is exact; only the transmit frequency it gives can be off the grid.
            const std::int64_t rxStored = snapToChannelGrid((*rxHertz + 5) / 10) * 10;
            const std::int64_t txStored = snapToChannelGrid((*plan_.txHertz + 5) / 10) * 10;
            if (txStored - rxStored != *plan_.txHertz - *rxHertz) {
                noteSnap(kOffset, fields_.value(kOffset), *plan_.txHertz);
            }
        }
        return true;
    }

    bool readMode() {
        const std::string mode = fields_.value(kMode);
        if (mode.empty()) {
            return true;
        }
        if (equalsNoCase(mode, "FM")) {
            plan_.narrow = 0;
        } else if (equalsNoCase(mode, "NFM")) {
            plan_.narrow = 1;
        } else {
            return fail(issue(ChirpIssueKind::UnsupportedMode, {quotedForMessage(mode)}));
        }
        return true;
    }

    bool readCtcss(Column column, ToneChoice& tone) {
        const std::string text = fields_.value(column);
        const auto value = parseThousandths(text);
        if (!value) {
            return malformed(column);
        }
        const auto ctcss = ctcssOfMillihertz(*value);
        if (!ctcss) {
            return fail(issue(ChirpIssueKind::UnsupportedTone,
                              {std::string(kColumnNames[column]), quotedForMessage(text)}));
        }
        tone.kind = ToneChoice::Kind::Ctcss;
        tone.tenths = ctcss->tenths;
        if (ctcss->snapped) {
            plan_.repairs.push_back(issue(ChirpIssueKind::ToneSnapped,
                                          {std::string(kColumnNames[column]),
                                           quotedForMessage(text), formatTenths(ctcss->tenths)}));
        }
        return true;
    }

    // `position` 0 is the transmit letter of DtcsPolarity, 1 the receive letter.
    bool readDcs(Column column, std::size_t position, ToneChoice& tone) {
        const std::string text = fields_.value(column);
        const auto digits = parseDcsDigits(text);
        if (!digits) {
            return malformed(column);
        }
        if (!isListedDcsCode(*digits)) {
            return fail(issue(ChirpIssueKind::UnsupportedTone,
                              {std::string(kColumnNames[column]), quotedForMessage(text)}));
        }
        const std::string polarity = fields_.value(kDtcsPolarity);
        const auto isLetter = [](char c) { return c == 'N' || c == 'n' || c == 'R' || c == 'r'; };
        if (polarity.size() != 2 || !isLetter(polarity[0]) || !isLetter(polarity[1])) {
            return malformed(kDtcsPolarity);
        }
        tone.kind = ToneChoice::Kind::Dcs;
        tone.code = *digits;
        tone.inverted = polarity[position] == 'R' || polarity[position] == 'r';
        return true;
    }

    // One half of a CrossMode: "Tone", "DTCS" or nothing.
    bool readCrossHalf(std::string_view half, bool transmit) {
        ToneChoice& tone = transmit ? plan_.txTone : plan_.rxTone;
        if (half.empty()) {
            return true;
        }
        if (equalsNoCase(half, "Tone")) {
            return readCtcss(transmit ? kRToneFreq : kCToneFreq, tone);
        }
        if (equalsNoCase(half, "DTCS")) {
            return readDcs(transmit ? kDtcsCode : kRxDtcsCode, transmit ? 0 : 1, tone);
        }
        return malformed(kCrossMode);
    }

    // Only the Tone mode says which tone columns are real; the others hold
    // placeholders and are not read at all.
    bool readTones() {
        const std::string mode = fields_.value(kTone);
        if (mode.empty()) {
            return true;
        }
        if (equalsNoCase(mode, "Tone")) {
            return readCtcss(kRToneFreq, plan_.txTone);
        }
        if (equalsNoCase(mode, "TSQL")) {
            if (!readCtcss(kCToneFreq, plan_.rxTone)) {
                return false;
            }
            plan_.txTone = plan_.rxTone;
            return true;
        }
        if (equalsNoCase(mode, "DTCS")) {
            return readDcs(kDtcsCode, 0, plan_.txTone) && readDcs(kDtcsCode, 1, plan_.rxTone);
        }
        if (equalsNoCase(mode, "Cross")) {
            std::string cross;
            for (char c : fields_.value(kCrossMode)) {
                if (c != ' ') {
                    cross += c;
                }
            }
            const auto arrow = cross.find("->");
            if (arrow == std::string::npos || cross.size() == 2) {
                return malformed(kCrossMode);
            }
            return readCrossHalf(std::string_view(cross).substr(0, arrow), true) &&
                   readCrossHalf(std::string_view(cross).substr(arrow + 2), false);
        }
        if (equalsNoCase(mode, "TSQL-R") || equalsNoCase(mode, "DTCS-R")) {
            return fail(issue(ChirpIssueKind::UnsupportedToneMode,
                              {std::string(kColumnNames[kTone]), quotedForMessage(mode)}));
        }
        return malformed(kTone);
    }

    void readFlags() {
        // Skip: "S" leaves the channel out of the scan; "P" (priority) and empty scan it.
        if (fields_.has(kSkip)) {
            plan_.col5No = equalsNoCase(fields_.value(kSkip), "S") ? 1 : 0;
        }
        const std::string power = fields_.value(kPower);
        if (!power.empty()) {
            plan_.highPower = isHighPower(power) ? 1 : 0;
        }
    }

    const RowFields& fields_;
    BandLimits limits_;
    Plan plan_;
    ChirpIssue reason_;
};

// Skip values the import does not know: read before the plan, as malformed.
bool skipValueKnown(const std::string& value) {
    return value.empty() || equalsNoCase(value, "S") || equalsNoCase(value, "P");
}

std::string frequencyText(std::int64_t hertz) {
    const std::int64_t units = snapToChannelGrid((hertz + 5) / 10);
    std::string fraction = std::to_string(units % 100'000);
    fraction.insert(0, 5 - fraction.size(), '0');
    return std::to_string(units / 100'000) + "." + fraction;
}

// The row's values entered into channel n as a user types them into the editor.
void applyPlan(RadioImage& image, int n, const Plan& plan) {
    const BandLimits limits = image.bandLimits();
    commitFrequency(image, limits, n, ChannelSide::Receive, frequencyText(plan.rxHertz));
    commitFrequency(image, limits, n, ChannelSide::Transmit,
                    plan.txHertz ? frequencyText(*plan.txHertz) : std::string());
    commitTone(image, n, ChannelSide::Receive, plan.rxTone.text(), "");
    // A receive-only channel keeps its transmit tone off, even where the
    // receive tone would carry it along.
    commitTone(image, n, ChannelSide::Transmit, plan.txHertz ? plan.txTone.text() : "", "");
    if (plan.narrow) {
        setChannelFlag(image, n, ChannelFlag::Narrow, *plan.narrow);
    }
    if (plan.col5No) {
        setChannelFlag(image, n, ChannelFlag::Col5No, *plan.col5No);
    }
    if (plan.highPower) {
        setChannelFlag(image, n, ChannelFlag::HighPower, *plan.highPower);
    }
}

std::optional<int> locationNumber(const std::string& text) {
    return unsignedNumber(text, 6);
}

}  // namespace

std::size_t ChirpImportResult::count(ChirpOutcome outcome) const {
    std::size_t n = 0;
    for (const auto& row : rows) {
        n += row.outcome == outcome ? 1 : 0;
    }
    return n;
}

bool isChirpHeader(const CsvRecord& header) {
    bool location = false;
    bool frequency = false;
    for (const auto& field : header.fields) {
        location = location || equalsNoCase(trimmedField(field), "Location");
        frequency = frequency || equalsNoCase(trimmedField(field), "Frequency");
    }
    return location && frequency;
}

bool looksLikeChirpCsv(std::string_view text) {
    // Only the header matters; it ends at the first line break outside quotes,
    // and CHIRP never quotes its header.
    const auto end = text.find('\n');
    const CsvParseResult parsed = parseCsv(text.substr(0, end));
    return !parsed.error && !parsed.records.empty() && isChirpHeader(parsed.records.front());
}

ChirpImportResult importChirpCsv(std::string_view csv, const RadioImage& base,
                                 ChirpImportOptions options) {
    return importChirpRecords(parseCsv(csv), base, options);
}

ChirpImportResult importChirpRecords(const CsvParseResult& parsed, const RadioImage& base,
                                     ChirpImportOptions options) {
    ChirpImportResult result;
    result.image = base;
    if (parsed.error) {
        result.error = parsed.error;
        return result;
    }
    if (parsed.records.empty() || !isChirpHeader(parsed.records.front())) {
        result.error = csvError(parsed.records.empty() ? 1 : parsed.records.front().line,
                                csv_message::kChirpHeader);
        return result;
    }
    const CsvRecord& header = parsed.records.front();
    std::array<std::optional<std::size_t>, kColumnCount> at{};
    for (std::size_t i = 0; i < header.fields.size(); ++i) {
        for (std::size_t c = 0; c < kColumnCount; ++c) {
            if (!equalsNoCase(trimmedField(header.fields[i]), kColumnNames[c])) {
                continue;
            }
            if (at[c]) {
                result.error = csvError(header.line, csv_message::kChirpColumnTwice,
                                        {std::string(kColumnNames[c])});
                return result;
            }
            at[c] = i;
        }
    }

    std::map<int, std::size_t> takenBy;  // channel -> line
    int nextChannel = 1;
    const BandLimits limits = base.bandLimits();
    for (std::size_t r = 1; r < parsed.records.size(); ++r) {
        const CsvRecord& record = parsed.records[r];
        if (isBlankRecord(record)) {
            continue;
        }
        ChirpRow row;
        row.line = record.line;
        if (at[kLocation] && *at[kLocation] < record.fields.size()) {
            row.location = std::string(trimmedField(record.fields[*at[kLocation]]));
        }
        auto skip = [&](ChirpIssue why) {
            row.issues = {std::move(why)};
            result.rows.push_back(std::move(row));
        };
        const std::size_t fieldCount = fieldCountWithoutBlankTail(record, header.fields.size());
        if (fieldCount != header.fields.size()) {
            skip(issue(ChirpIssueKind::FieldCount,
                       {std::to_string(fieldCount), std::to_string(header.fields.size())}));
            continue;
        }
        const RowFields fields(record, at);
        if (!fields.value(kName).empty() || !fields.value(kComment).empty()) {
            result.namesDropped = true;
        }
        std::optional<int> location;
        if (!options.renumber) {
            location = locationNumber(row.location);
            if (!location) {
                skip(
                    issue(ChirpIssueKind::Malformed, {"Location", quotedForMessage(row.location)}));
                continue;
            }
            if (!RadioImage::isValidChannel(*location)) {
                skip(issue(ChirpIssueKind::LocationOutside, {row.location}));
                continue;
            }
        }
        if (!skipValueKnown(fields.value(kSkip))) {
            skip(issue(ChirpIssueKind::Malformed, {"Skip", quotedForMessage(fields.value(kSkip))}));
            continue;
        }
        RowReader reader(fields, limits);
        const std::optional<Plan> plan = reader.read();
        if (!plan) {
            skip(reader.reason());
            continue;
        }
        int channel = 0;
        if (options.renumber) {
            if (nextChannel > kChannelCount) {
                skip(issue(ChirpIssueKind::NoChannelLeft));
                continue;
            }
            channel = nextChannel++;
        } else {
            channel = *location;
            const auto earlier = takenBy.find(channel);
            if (earlier != takenBy.end()) {
                skip(issue(ChirpIssueKind::ChannelTaken,
                           {std::to_string(channel), std::to_string(earlier->second)}));
                continue;
            }
        }
        takenBy.emplace(channel, row.line);
        applyPlan(result.image, channel, *plan);
        row.channel = channel;
        row.issues = plan->repairs;
        row.outcome = plan->repairs.empty() ? ChirpOutcome::Taken : ChirpOutcome::Repaired;
        result.rows.push_back(std::move(row));
    }
    return result;
}

}  // namespace qzm
