#pragma once

#include <string>
#include <string_view>

#include "cli/cli_options.h"
#include "cli/document_file.h"

namespace qzm::cli {

// Import of a CHIRP CSV into `document`: one line per row on standard output
// (taken, repaired, skipped and why), then the saved result.  `name` is how
// the input is called in messages.  The exit code.
int importChirp(const CliOptions& options, DocumentFile& document, std::string_view csv,
                const std::string& name);

// The channel table of `document` as CHIRP's CSV, with a note on standard
// error for each value the format cannot carry.
std::string exportChirp(const DocumentFile& document);

}  // namespace qzm::cli
