// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace qzm::cli {

// The exit status of qzm836-cli; scripts rely on these values.
enum ExitCode : int {
    kExitSuccess = 0,
    kExitBlockFailed = 1,   // a block of a read, write or read-back (--verify) failed
    kExitDifferent = 1,     // diff: the images differ; doctor: a problem was found
    kExitUsage = 2,         // the command line was wrong
    kExitFileError = 3,     // a file could not be read, parsed or written
    kExitNoRadio = 4,       // no radio answered
    kExitBadIdent = 5,      // the radio's identification was wrong
    kExitVerifyFailed = 6,  // the read-back after a write found other data in the radio
    kExitCancelled = 130,   // interrupted by Ctrl+C (128 + SIGINT)
};

}  // namespace qzm::cli
