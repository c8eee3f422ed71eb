// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cli/cli_environment.h"
#include "cli/document_file.h"

namespace qzm::cli {

// "qzm836-cli: " and the message on standard error.
void printError(std::string_view message);

// Loads a data file, reporting a refusal on standard error.
std::optional<DocumentFile> loadOrReport(const std::string& path, const LanguageTexts& texts);

// Saves a data file, reporting a failure on standard error; true on success.
bool saveOrReport(const std::string& path, const DocumentFile& document);

}  // namespace qzm::cli
