// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qzm {

// Comma-separated values as RFC 4180 has them: fields may be quoted with '"',
// a doubled '"' inside quotes is one quote, quoted fields may hold commas and
// line breaks, and records end in CRLF, LF or a CR alone.

struct CsvRecord {
    std::size_t line = 0;  // the line the record starts on, from 1
    std::vector<std::string> fields;
};

struct CsvError {
    std::size_t line = 0;  // 0: the input as a whole (too large, cannot be opened)
    std::string message;   // in English, as the command line prints it
    // For the window's language (csvMessageText): the message's key and its values,
    // or the system error that stopped the reading.  Empty and 0 for a bare message.
    std::string key = {};
    std::vector<std::string> values = {};
    int systemError = 0;
};

struct CsvParseResult {
    std::vector<CsvRecord> records;
    std::optional<CsvError> error;
};

// What one input may hold.  A channel list has a header and a few dozen rows at
// most; the caps keep junk (a device full of zeros, a megabyte of commas) from
// taking the memory of the machine.
struct CsvLimits {
    std::size_t maxBytes = 4 * 1024 * 1024;
    std::size_t maxRecords = 2000;
    std::size_t maxFieldsPerRecord = 64;
};

// Reads records from pieces of text as they arrive, so the input is never held
// whole.  Feed every piece, then call finish().  A UTF-8 byte-order mark at the
// start is skipped (spreadsheets write one).  Empty lines are not records.
class CsvStreamParser {
  public:
    explicit CsvStreamParser(CsvLimits limits = {}) : limits_(limits) {}

    // False once the input is refused; later pieces are ignored.
    bool feed(std::string_view piece);
    // The records, or the first error.
    CsvParseResult finish();

  private:
    enum class State { RecordStart, FieldStart, Unquoted, Quoted, AfterQuote };

    void take(char c);
    bool takeSeparator(char c);
    void takeAfterCarriageReturn(char c);
    void append(char c);
    void endField();
    void endRecord();
    void fail(CsvError error);

    CsvLimits limits_;
    CsvParseResult result_;
    CsvRecord record_;
    std::string field_;
    State state_ = State::RecordStart;
    std::size_t line_ = 1;
    std::size_t quoteLine_ = 0;
    std::size_t bytes_ = 0;
    std::size_t bomMatched_ = 0;
    bool bomDone_ = false;
    bool pendingCarriageReturn_ = false;
    bool quotedCarriageReturn_ = false;  // the last character inside quotes was a CR
};

// The whole text at once, under the same limits.
CsvParseResult parseCsv(std::string_view text, const CsvLimits& limits = {});

// A field without the blanks and tabs spreadsheets pad cells with.
std::string_view trimmedField(std::string_view text);
// A record whose fields are all blank (a spreadsheet's empty row).
bool isBlankRecord(const CsvRecord& record);
// The record's field count once blank fields beyond the first `expected` are left
// out: CHIRP's reader ignores such a tail, and CHIRP's own stock files end every
// row with one more empty field than the header names.
std::size_t fieldCountWithoutBlankTail(const CsvRecord& record, std::size_t expected);
// Digits only, at most `maxDigits` of them: the number, else nothing.
std::optional<int> unsignedNumber(std::string_view text, std::size_t maxDigits);

// One record, fields quoted where they need it, ended by CRLF.
std::string formatCsvRecord(const std::vector<std::string>& fields);

}  // namespace qzm
