// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/csv.h"

#include "exchange/csv_message.h"

namespace qzm {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

bool CsvStreamParser::feed(std::string_view piece) {
    if (result_.error) {
        return false;
    }
    if (piece.size() > limits_.maxBytes - bytes_) {
        fail(csvError(0, csv_message::kTooLarge));
        return false;
    }
    bytes_ += piece.size();
    for (char c : piece) {
        if (!bomDone_) {
            if (c == kByteOrderMark[bomMatched_]) {
                bomDone_ = ++bomMatched_ == kByteOrderMark.size();
                continue;
            }
            bomDone_ = true;
            for (char earlier : kByteOrderMark.substr(0, bomMatched_)) {
                take(earlier);
            }
        }
        take(c);
        if (result_.error) {
            return false;
        }
    }
    return true;
}

void CsvStreamParser::fail(CsvError error) {
    if (!result_.error) {
        result_.error = std::move(error);
        result_.records.clear();
        record_ = {};
        field_.clear();
    }
}

void CsvStreamParser::append(char c) {
    field_ += c;
}

void CsvStreamParser::endField() {
    if (record_.fields.size() >= limits_.maxFieldsPerRecord) {
        fail(csvError(record_.line, csv_message::kTooManyFields,
                      {std::to_string(limits_.maxFieldsPerRecord)}));
        return;
    }
    record_.fields.push_back(std::move(field_));
    field_.clear();
}

void CsvStreamParser::endRecord() {
    if (result_.error) {
        return;
    }
    if (result_.records.size() >= limits_.maxRecords) {
        fail(csvError(0, csv_message::kTooLarge));
        return;
    }
    result_.records.push_back(std::move(record_));
    record_ = {};
    state_ = State::RecordStart;
}

// CR LF, LF and a CR alone all end a line: old Mac spreadsheets and some of
// CHIRP's files end every line in CR only.
void CsvStreamParser::takeAfterCarriageReturn(char c) {
    pendingCarriageReturn_ = false;
    if (state_ != State::RecordStart) {
        endField();
        endRecord();
    }
    ++line_;
    if (c != '\n') {
        take(c);
    }
}

// A comma ends the field, a line end the record; a CR waits for its LF.
bool CsvStreamParser::takeSeparator(char c) {
    if (c == ',') {
        endField();
        state_ = State::FieldStart;
    } else if (c == '\n') {
        endField();
        endRecord();
        ++line_;
    } else if (c == '\r') {
        pendingCarriageReturn_ = true;
    } else {
        return false;
    }
    return true;
}

void CsvStreamParser::take(char c) {
    if (pendingCarriageReturn_) {
        takeAfterCarriageReturn(c);
        return;
    }
    switch (state_) {
        case State::RecordStart:
            if (c == '\n') {
                ++line_;  // an empty line carries no record
                return;
            }
            if (c == '\r') {
                pendingCarriageReturn_ = true;
                return;
            }
            record_.line = line_;
            state_ = State::FieldStart;
            [[fallthrough]];
        case State::FieldStart:
            if (c == '"') {
                state_ = State::Quoted;
                quoteLine_ = line_;
                return;
            }
            state_ = State::Unquoted;
            [[fallthrough]];
        case State::Unquoted:
            if (takeSeparator(c)) {
                return;
            }
            if (c == '"') {
                fail(csvError(line_, csv_message::kQuoteInsideField));
            } else {
                append(c);
            }
            return;
        case State::Quoted:
            if (c == '"') {
                state_ = State::AfterQuote;
                quotedCarriageReturn_ = false;
                return;
            }
            // A line break inside quotes is data; CR LF counts as one line.
            if (c == '\r' || (c == '\n' && !quotedCarriageReturn_)) {
                ++line_;
            }
            quotedCarriageReturn_ = c == '\r';
            append(c);
            return;
        case State::AfterQuote:
            if (c == '"') {
                append('"');
                state_ = State::Quoted;
            } else if (!takeSeparator(c)) {
                fail(csvError(line_, csv_message::kAfterClosingQuote));
            }
            return;
    }
}

CsvParseResult CsvStreamParser::finish() {
    if (!result_.error && !bomDone_) {
        bomDone_ = true;
        for (char earlier : kByteOrderMark.substr(0, bomMatched_)) {
            take(earlier);
        }
    }
    if (!result_.error && pendingCarriageReturn_) {
        pendingCarriageReturn_ = false;  // the last line's end
        if (state_ != State::RecordStart) {
            endField();
            endRecord();
        }
    }
    if (!result_.error) {
        if (state_ == State::Quoted) {
            fail(csvError(quoteLine_, csv_message::kQuoteNotClosed));
        } else if (state_ != State::RecordStart) {
            endField();
            endRecord();
        }
    }
    CsvParseResult out = std::move(result_);
    result_ = {};
    return out;
}

CsvParseResult parseCsv(std::string_view text, const CsvLimits& limits) {
    CsvStreamParser parser(limits);
    parser.feed(text);
    return parser.finish();
}

std::string formatCsvRecord(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        const std::string& field = fields[i];
        bool needsQuotes = field.find_first_of(",\"\r\n") != std::string::npos ||
                           (!field.empty() && (field.front() == ' ' || field.back() == ' '));
        if (!needsQuotes) {
            out += field;
            continue;
        }
        out += '"';
        for (char c : field) {
            if (c == '"') {
                out += '"';
            }
            out += c;
        }
        out += '"';
    }
    out += "\r\n";
    return out;
}

std::string_view trimmedField(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool isBlankRecord(const CsvRecord& record) {
    for (const auto& field : record.fields) {
        if (!trimmedField(field).empty()) {
            return false;
        }
    }
    return true;
}

std::size_t fieldCountWithoutBlankTail(const CsvRecord& record, std::size_t expected) {
    std::size_t count = record.fields.size();
    while (count > expected && trimmedField(record.fields[count - 1]).empty()) {
        --count;
    }
    return count;
}

std::optional<int> unsignedNumber(std::string_view text, std::size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace qzm
