#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qzm::cli {

struct FileReadResult {
    std::optional<std::string> contents;  // empty when the file could not be read
    std::string error;                    // "No such file or directory" and the like
};

// The whole file; "-" reads standard input.
FileReadResult readWholeFile(const std::string& path);

// Replaces `path` with `data` atomically: a temporary file in the same folder is
// written, flushed to disk and renamed over the target, so an interrupted or
// failed write leaves any existing file as it was.  An existing file keeps its
// permission bits.  Returns the reason on failure.
std::optional<std::string> writeFileAtomically(const std::filesystem::path& path,
                                               std::string_view data);

// Whether a file could be created at `path` (its folder exists and is writable):
// checked before a long radio read, so the user learns of a bad output path first.
std::optional<std::string> checkWritableTarget(const std::filesystem::path& path);

}  // namespace qzm::cli
