#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qzm {

// Comma-separated values as RFC 4180 has them: fields may be quoted with '"',
// a doubled '"' inside quotes is one quote, quoted fields may hold commas and
// line breaks, and records end in CRLF or LF.

struct CsvRecord {
    std::size_t line = 0;  // the line the record starts on, from 1
    std::vector<std::string> fields;
};

struct CsvError {
    std::size_t line = 0;
    std::string message;
};

struct CsvParseResult {
    std::vector<CsvRecord> records;
    std::optional<CsvError> error;
};

// A UTF-8 byte-order mark at the start is skipped (spreadsheets write one).
// Empty lines are not records.
CsvParseResult parseCsv(std::string_view text);

// One record, fields quoted where they need it, ended by CRLF.
std::string formatCsvRecord(const std::vector<std::string>& fields);

}  // namespace qzm
