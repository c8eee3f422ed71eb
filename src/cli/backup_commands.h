// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "cli/cli_environment.h"
#include "cli/cli_options.h"
#include "platform/result.h"
#include "safety/backup_store.h"

namespace qzm::cli {

// The store a run keeps its automatic backups in: nothing when they are off
// (--no-backup, or "backup"/"enabled"=0); an Error when backups are on but no folder
// for them is known: the run must not go on.
Result<std::optional<BackupStore>> runBackupStore(const CliOptions& options,
                                                  const CliEnvironment& environment);

// The data file `restore` writes: backup number N of the list (default 1) or the
// file named; an Error with the reason when there is no such backup.
Result<std::string> restoreSource(const CliOptions& options);

// `backups`: the list on standard output; the exit code.
int runBackupsCommand(const CliEnvironment& environment);

}  // namespace qzm::cli
