// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/cli_environment.h"
#include "cli/cli_options.h"

namespace qzm::cli {

// new, show, export and import; the exit code.
int runFileCommand(const CliOptions& options, const CliEnvironment& environment);

// read, write and restore; the exit code.
int runTransferCommand(const CliOptions& options, const CliEnvironment& environment);

// clone: one image into the radios on several ports; the exit code.
int runCloneCommand(const CliOptions& options, const CliEnvironment& environment);

// diff: 0 equal, 1 different, or the error code of loading a file or reading the radio.
int runDiffCommand(const CliOptions& options, const CliEnvironment& environment);

// doctor: 0 when nothing was found, 1 when a problem was.
int runDoctorCommand(const CliOptions& options, const CliEnvironment& environment);

}  // namespace qzm::cli
