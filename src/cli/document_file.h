// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "platform/result.h"
#include "radio/data_file.h"

namespace qzm::cli {

using DocumentFile = DataFileContents;

enum class LoadFailure { None, Unreadable, HeaderMismatch, Truncated };

// What a New gives: the header's magic, an erased image, band `bandIndex` with
// the defaults.
DocumentFile newDocument(int bandIndex);

// Unlike the window, which opens a foreign file as a blank image, a script gets
// a refusal: it must never mistake another file, or a cut-off one, for a radio.
// The error's code is the LoadFailure; its text says why, for Unreadable and Truncated.
Result<DocumentFile> loadDocumentFile(const std::string& path);

}  // namespace qzm::cli
