// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>
#include <filesystem>
#include <optional>
#include <vector>

namespace qzm {

// A document with unsaved changes is kept when the program is ended without a close
// (SIGTERM at a shutdown, say), so the next start can offer it back.  The files lie in
// the user's data folder, one per process, so two windows ended together lose nothing.

// The user's data folder; nothing when no home folder is known.
std::optional<std::filesystem::path> unsavedWorkFolder();

// The file this process keeps its unsaved work in: "unsaved-<pid>.836".
std::filesystem::path unsavedWorkFile(const std::filesystem::path& folder, pid_t process);

// The kept files in `folder`, newest first.
std::vector<std::filesystem::path> keptUnsavedWork(const std::filesystem::path& folder);

}  // namespace qzm
