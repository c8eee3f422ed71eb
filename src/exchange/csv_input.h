// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "exchange/csv.h"
#include "platform/text_source.h"

namespace qzm {

// The one way a channel list comes in from outside, for every format built on CSV.
//
// `path` names a regular file, or standard input for "-".  A fifo or a device is
// refused as "not a regular file" without ever waiting for a writer, a folder as a
// folder; input beyond `limits` is refused as csv_message::kTooLarge ("too large")
// once the cap is reached, without reading the rest; the input is parsed as it is
// read, so it is never held whole.  Nothing is thrown: running out of memory is an error too.
// Errors of the input as a whole have line 0.
CsvParseResult readCsvInput(const std::string& path, const CsvLimits& limits = {});

// How messages name the input: "<stdin>" for "-", else the path.
std::string csvInputName(const std::string& path);

// "NAME:LINE: message", or "NAME: message" for an error of the whole input; the
// message in English, or in the language behind `texts`.
std::string formatCsvMessage(const std::string& path, const CsvError& error);
std::string formatCsvMessage(const std::string& path, const CsvError& error,
                             const TextSource& texts);

}  // namespace qzm
