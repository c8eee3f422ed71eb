// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/csv.h"
#include "platform/file_error_text.h"
#include "platform/text_source.h"

namespace qzm {

// A message about a channel list read from CSV: its language key and its built-in
// English text, with %1.. for the values.  The English text is what the command
// line prints and what the shipped English language file holds.
struct CsvMessage {
    std::string_view key;
    std::string_view english;
};

namespace csv_message {
// An input that broke a cap of CsvLimits other than the fields.
inline constexpr CsvMessage kTooLarge{"IDS_CSV_TOO_LARGE", "too large"};
inline constexpr CsvMessage kNoMemory{"IDS_CSV_NO_MEMORY", "not enough memory to read it"};
inline constexpr CsvMessage kTooManyFields{"IDS_CSV_TOO_MANY_FIELDS",
                                           "more than %1 fields in a record"};
inline constexpr CsvMessage kQuoteInsideField{"IDS_CSV_QUOTE_INSIDE",
                                              "quote inside an unquoted field"};
inline constexpr CsvMessage kAfterClosingQuote{"IDS_CSV_AFTER_QUOTE",
                                               "unexpected character after a closing quote"};
inline constexpr CsvMessage kQuoteNotClosed{"IDS_CSV_QUOTE_OPEN", "quoted field is not closed"};
inline constexpr CsvMessage kNoHeader{"IDS_CSV_NO_HEADER", "no header line"};
inline constexpr CsvMessage kColumnTwice{"IDS_CSV_COLUMN_TWICE", "column %1 appears twice"};
inline constexpr CsvMessage kColumnMissing{"IDS_CSV_COLUMN_MISSING",
                                           "the header lacks the column '%1'"};
inline constexpr CsvMessage kColumnMissingSemicolons{
    "IDS_CSV_COLUMN_MISSING_SEMICOLONS",
    "the header lacks the column '%1' (fields must be separated by commas, not semicolons)"};
inline constexpr CsvMessage kFieldCount{"IDS_CSV_FIELD_COUNT", "%1 fields where the header has %2"};
inline constexpr CsvMessage kChannelNumber{"IDS_CSV_CHANNEL_NUMBER",
                                           "channel: %1 is not a number from 1 to 16"};
inline constexpr CsvMessage kChannelTwice{"IDS_CSV_CHANNEL_TWICE",
                                          "channel %1 appears twice (first on line %2)"};
inline constexpr CsvMessage kFlagValue{"IDS_CSV_FLAG_VALUE", "%1: must be 0, 1 or empty, not %2"};
inline constexpr CsvMessage kNotAFrequency{
    "IDS_CSV_NOT_FREQUENCY",
    "%1: %2 is not a frequency in MHz (digits and at most one point, as 446.00625)"};
inline constexpr CsvMessage kFrequencyTooLong{"IDS_CSV_FREQUENCY_LONG",
                                              "%1: %2 is longer than %3 characters"};
inline constexpr CsvMessage kToneOutsideRange{"IDS_CSV_TONE_RANGE",
                                              "%1: %2 is outside the CTCSS range 67.0 to 254.1 Hz"};
inline constexpr CsvMessage kNotATone{
    "IDS_CSV_NOT_TONE",
    "%1: %2 is not a tone (empty or off, 67.0 to 254.1 Hz with at most one decimal, or a DCS "
    "code such as D023N or D754I)"};
inline constexpr CsvMessage kOutsideBand{
    "IDS_CSV_OUTSIDE_BAND", "channel %1: %2 %3 is outside the band %4 to %5; stored as %6"};
inline constexpr CsvMessage kOffTheGrid{
    "IDS_CSV_OFF_GRID", "channel %1: %2 %3 is not on the channel grid; stored as %4"};
inline constexpr CsvMessage kDamagedSkipped{
    "IDS_CSV_DAMAGED_SKIPPED", "channel %1: %2 is marked damaged; skipped, kept as it was"};
inline constexpr CsvMessage kChirpHeader{"IDS_CSV_CHIRP_HEADER",
                                         "the header lacks the columns Location and Frequency"};
inline constexpr CsvMessage kNotRegularFile{"IDS_FILE_NOT_REGULAR", kNotARegularFile};
inline constexpr CsvMessage kChirpColumnTwice{"IDS_CSV_CHIRP_COLUMN_TWICE",
                                              "column '%1' appears twice"};
}  // namespace csv_message

// Every message above, for the checks of the language files.
std::span<const CsvMessage> allCsvMessages();

// An error (or note) on `line` with the English text filled in and the key kept.
CsvError csvError(std::size_t line, const CsvMessage& message,
                  std::vector<std::string> values = {});
// An input that could not be read because of the system error `error`.
CsvError csvSystemError(int error);

// The error's message in the language behind `texts`: its key's text with the
// values filled in, the system error's reason, else the English message.
std::string csvMessageText(const CsvError& error, const TextSource& texts);

}  // namespace qzm
