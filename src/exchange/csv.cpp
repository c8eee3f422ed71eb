#include "exchange/csv.h"

namespace qzm {

CsvParseResult parseCsv(std::string_view text) {
    CsvParseResult result;
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    std::size_t line = 1;
    std::size_t pos = 0;
    const std::size_t size = text.size();

    while (pos < size) {
        // An empty line (LF or CRLF alone) carries no record.
        if (text[pos] == '\n') {
            ++pos;
            ++line;
            continue;
        }
        if (text[pos] == '\r' && pos + 1 < size && text[pos + 1] == '\n') {
            pos += 2;
            ++line;
            continue;
        }
        CsvRecord record;
        record.line = line;
        bool recordDone = false;
        while (!recordDone) {
            std::string field;
            if (pos < size && text[pos] == '"') {
                const std::size_t quoteLine = line;
                ++pos;
                bool closed = false;
                while (pos < size) {
                    char c = text[pos];
                    if (c == '"') {
                        if (pos + 1 < size && text[pos + 1] == '"') {
                            field += '"';
                            pos += 2;
                            continue;
                        }
                        ++pos;
                        closed = true;
                        break;
                    }
                    if (c == '\n') {
                        ++line;
                    }
                    field += c;
                    ++pos;
                }
                if (!closed) {
                    result.error = CsvError{quoteLine, "quoted field is not closed"};
                    return result;
                }
                if (pos < size && text[pos] != ',' && text[pos] != '\n' &&
                    !(text[pos] == '\r' && pos + 1 < size && text[pos + 1] == '\n')) {
                    result.error = CsvError{line, "unexpected character after a closing quote"};
                    return result;
                }
            } else {
                while (pos < size && text[pos] != ',' && text[pos] != '\n') {
                    if (text[pos] == '\r' && pos + 1 < size && text[pos + 1] == '\n') {
                        break;
                    }
                    if (text[pos] == '"') {
                        result.error = CsvError{line, "quote inside an unquoted field"};
                        return result;
                    }
                    field += text[pos];
                    ++pos;
                }
            }
            record.fields.push_back(std::move(field));
            if (pos >= size) {
                recordDone = true;
            } else if (text[pos] == ',') {
                ++pos;
            } else {
                pos += text[pos] == '\r' ? std::size_t{2} : std::size_t{1};
                ++line;
                recordDone = true;
            }
        }
        result.records.push_back(std::move(record));
    }
    return result;
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

}  // namespace qzm
