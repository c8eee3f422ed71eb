// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "radio/data_file.h"

namespace qzm::cli {

using DocumentFile = DataFileContents;

enum class LoadFailure { None, Unreadable, HeaderMismatch, Truncated };

struct DocumentLoadResult {
    std::optional<DocumentFile> document;
    LoadFailure failure = LoadFailure::None;
    std::string error;  // why the file was refused, for Unreadable and Truncated
};

// What a New gives: the header's magic, an erased image, band `bandIndex` with
// the defaults.
DocumentFile newDocument(int bandIndex);

// Unlike the window, which opens a foreign file as a blank image, a script gets
// a refusal: it must never mistake another file, or a cut-off one, for a radio.
DocumentLoadResult loadDocumentFile(const std::string& path);

}  // namespace qzm::cli
