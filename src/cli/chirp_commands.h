// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "cli/cli_options.h"
#include "cli/document_file.h"
#include "exchange/csv.h"

namespace qzm::cli {

// Import of CHIRP CSV records into `document`: one line per row on standard
// output (taken, repaired, skipped and why).  `name` is how the input is
// called in messages.  The exit code; the caller saves on success.
int importChirp(const CliOptions& options, DocumentFile& document, const CsvParseResult& parsed,
                const std::string& name);

// The channel table of `document` as CHIRP's CSV, with a note on standard
// error for each value the format cannot carry.
std::string exportChirp(const DocumentFile& document);

}  // namespace qzm::cli
