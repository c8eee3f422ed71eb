// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/csv.h"
#include "radio/radio_image.h"

namespace qzm {

// The generic CSV of CHIRP, the multi-radio programming tool, in both
// directions.  Columns are matched by header name in any order and values are
// compared without case.  Import judges each row on its own: it is taken,
// taken with repairs, or skipped with the reason, so the user sees what
// happens to every row before anything changes.

enum class ChirpOutcome { Taken, Repaired, Skipped };

// What was repaired in a row, why a row was skipped, or what an export left
// out.  The arguments fill %1, %2, ... of the kind's text.
enum class ChirpIssueKind {
    FrequencySnapped,     // column, value in the file, stored value
    ToneSnapped,          // column, value in the file, list tone taken
    OutOfBand,            // value (MHz), band lower, band upper
    TxOutOfBand,          // transmit frequency (MHz), band lower, band upper
    UnsupportedToneMode,  // column, value
    UnsupportedTone,      // column, value
    UnsupportedMode,      // value
    LocationOutside,      // value
    ChannelTaken,         // channel, line that took it first
    NoChannelLeft,        //
    Malformed,            // column, value
    FieldCount,           // fields of the row, fields of the header
    ToneNotExported,      // channel, tone text
    ChannelNotExported,   // channel
};

struct ChirpIssue {
    ChirpIssueKind kind = ChirpIssueKind::Malformed;
    std::vector<std::string> args;
};

struct ChirpRow {
    std::size_t line = 0;  // where the record starts in the file
    std::string location;  // the Location value as written
    int channel = 0;       // the channel it goes to; 0 when skipped
    ChirpOutcome outcome = ChirpOutcome::Skipped;
    std::vector<ChirpIssue> issues;  // the repairs, or the one reason for a skip
};

struct ChirpImportOptions {
    bool renumber = false;  // fill channels 1..16 in file order instead of by Location
};

struct ChirpImportResult {
    std::optional<CsvError> error;  // the file as a whole could not be read
    RadioImage image;               // the base with every taken row applied
    std::vector<ChirpRow> rows;     // every record after the header, in file order
    bool namesDropped = false;      // a Name or Comment had text the radio cannot keep
    std::size_t count(ChirpOutcome outcome) const;
};

// Whether a header record is CHIRP's: it has Location and Frequency.
bool isChirpHeader(const CsvRecord& header);
// The same for the first record of a text; false when it cannot be parsed.
bool looksLikeChirpCsv(std::string_view text);

ChirpImportResult importChirpCsv(std::string_view csv, const RadioImage& base,
                                 ChirpImportOptions options = {});
// The same for records already read, e.g. by readCsvInput; a parse error refuses.
ChirpImportResult importChirpRecords(const CsvParseResult& parsed, const RadioImage& base,
                                     ChirpImportOptions options = {});

struct ChirpExportResult {
    std::string csv;
    std::vector<ChirpIssue> notes;  // values the format cannot carry
};

// The full header, then one record per programmed channel.
ChirpExportResult exportChirpCsv(const RadioImage& image);

// The language key and the built-in English text of an issue kind; texts
// hold %1, %2, ... for the arguments.
std::string_view chirpIssueKey(ChirpIssueKind kind);
std::string_view chirpIssueEnglish(ChirpIssueKind kind);
// `text` with %1.. replaced by the issue's arguments.
std::string formatChirpIssue(std::string_view text, const ChirpIssue& issue);

}  // namespace qzm
