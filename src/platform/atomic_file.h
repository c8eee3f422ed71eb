#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace qzm {

// Outcome of a file-system operation; errorText says what failed and why, in a sentence
// a window or the command line can show as it stands.
struct FileResult {
    bool ok = false;
    std::string errorText;
};

// "<what> "<file>": <reason of errno>", the form of every file error we report.
FileResult fileFailure(const char* what, const std::filesystem::path& file, int error);

// Replaces the file atomically: the bytes go to a temporary file in the same folder, are
// synced, and the temporary file is renamed over the old one, so a crash or a failure
// leaves the old file as it was and a reader never sees half a file.  A symbolic link is
// followed (the link survives); an existing file keeps its permissions (and, where
// allowed, its owner); a file the user may not write, or something that is not a
// regular file, is left alone and reported.
FileResult writeFileAtomically(const std::filesystem::path& file,
                               std::span<const std::uint8_t> bytes);
FileResult writeFileAtomically(const std::filesystem::path& file, std::string_view text);

}  // namespace qzm
