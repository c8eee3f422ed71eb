// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "platform/result.h"

namespace qzm {

// "<what> "<file>": <reason>", the form of every file error we report; the reason is
// fileErrorReason's.
Error fileFailure(const char* what, const std::filesystem::path& file, int error);
Error fileFailure(const char* what, const std::filesystem::path& file, std::string_view reason);

// Replaces the file atomically: the bytes go to a temporary file in the same folder, are
// synced, and the temporary file is renamed over the old one, so a crash or a failure
// leaves the old file as it was and a reader never sees half a file.  A symbolic link is
// followed (the link survives; a loop of links is refused); an existing file keeps its
// permissions (and, where allowed, its owner); a file the user may not write, or
// something that is not a regular file, is left alone and reported.
//
// The temporary name is short (".qzm-PID-N.tmp"), so any legal target name can be saved,
// and carries the process id: temporaries that a killed process left behind are removed
// the next time the folder is written.  A file size limit (SIGXFSZ) is a write error.
//
// Where the folder refuses new files but the file itself may be written (a shared
// folder, a file handed over by an administrator), the file is rewritten in place
// instead; should that fail, the old contents are put back as far as possible.
Status writeFileAtomically(const std::filesystem::path& file, std::span<const std::uint8_t> bytes);
Status writeFileAtomically(const std::filesystem::path& file, std::string_view text);

// Whether `name` is one of our temporary names, and the process it belongs to; the
// second form is the one earlier versions used, ".TARGET.PID.N.tmp".
bool parseTemporaryName(std::string_view name, pid_t& pid);
bool parseOldTemporaryName(std::string_view name, std::string_view target, pid_t& pid);

// Tests only: how the temporary file is created (open(2) by default), so a test can
// play a folder in which even root cannot create files.  nullptr restores the default.
using TemporaryOpener = int (*)(const char* path, int flags, mode_t mode);
void setTemporaryOpenerForTesting(TemporaryOpener opener);

}  // namespace qzm
