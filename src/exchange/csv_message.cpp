// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/csv_message.h"

#include <array>
#include <utility>

#include "platform/file_error_text.h"
#include "platform/placeholders.h"

namespace qzm {
namespace {

using namespace csv_message;

constexpr std::array kAllMessages{
    kTooLarge,          kNoMemory,
    kTooManyFields,     kQuoteInsideField,
    kAfterClosingQuote, kQuoteNotClosed,
    kNoHeader,          kColumnTwice,
    kColumnMissing,     kColumnMissingSemicolons,
    kFieldCount,        kChannelNumber,
    kChannelTwice,      kFlagValue,
    kNotAFrequency,     kFrequencyTooLong,
    kToneOutsideRange,  kNotATone,
    kOutsideBand,       kOffTheGrid,
    kDamagedSkipped,    kChirpHeader,
    kNotRegularFile,    kChirpColumnTwice,
};

}  // namespace

std::span<const CsvMessage> allCsvMessages() {
    return kAllMessages;
}

CsvError csvError(std::size_t line, const CsvMessage& message, std::vector<std::string> values) {
    CsvError error;
    error.line = line;
    error.message = fillPlaceholders(message.english, values);
    error.key = std::string(message.key);
    error.values = std::move(values);
    return error;
}

CsvError csvSystemError(int error) {
    CsvError failure;
    failure.message = fileErrorReason(error);
    failure.systemError = error;
    return failure;
}

std::string csvMessageText(const CsvError& error, const TextSource& texts) {
    if (error.systemError != 0) {
        return errnoReasonText(error.systemError, texts);
    }
    if (error.key.empty()) {
        return error.message;
    }
    const std::string text = textOr(texts, error.key, {});
    return text.empty() ? error.message : fillPlaceholders(text, error.values);
}

}  // namespace qzm
