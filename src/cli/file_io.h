// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qzm::cli {

// Replaces `path` atomically (see writeFileAtomically); the
// reason on failure, naming the file.
std::optional<std::string> replaceFile(const std::filesystem::path& path, std::string_view data);

// Whether a file could be created at `path` (its folder exists and is writable):
// checked before a long radio read, so the user learns of a bad output path first.
std::optional<std::string> checkWritableTarget(const std::filesystem::path& path);

}  // namespace qzm::cli
