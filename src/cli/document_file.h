#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "radio/radio_image.h"

namespace qzm::cli {

// A ".836" data file: the 48-byte header, then the 4096-byte image.
struct DocumentFile {
    std::array<std::uint8_t, 48> header{};
    RadioImage image;
};

enum class LoadFailure { None, Unreadable, HeaderMismatch, Truncated };

struct DocumentLoadResult {
    std::optional<DocumentFile> document;
    LoadFailure failure = LoadFailure::None;
    std::string error;  // why the file was refused, for Unreadable and Truncated
};

// What a New gives: the header's magic, an erased image, band `bandIndex` with
// the defaults.
DocumentFile newDocument(int bandIndex);

// A file is refused when it cannot be read, when it is shorter than header and
// image, or when its header is not that of a data file: a script must never
// mistake another file for an empty radio.
DocumentLoadResult loadDocumentFile(const std::string& path);

// Written atomically; the reason on failure.
std::optional<std::string> saveDocumentFile(const std::string& path, const DocumentFile& document);

}  // namespace qzm::cli
