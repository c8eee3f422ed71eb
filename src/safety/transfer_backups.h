// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "link/transfer_job.h"
#include "safety/backup_store.h"

namespace qzm {

// Arms a write job so that the radio's memory is read and stored in `store` before the
// first block is written; a backup that cannot be stored ends the run with
// StatusBackupNotStored and writes nothing.  The returned record is filled on the
// worker thread before the status that follows the backup read (the write's first
// block, StatusBackupNotStored or a failure of the write's session) is stored: read it
// once such a status has been seen, or after the worker has finished.
// `kind` is BeforeRestore when the write puts a backup back.
std::shared_ptr<const StoredBackup> backUpBeforeWrite(TransferJob& job, const BackupStore& store,
                                                      BackupKind kind = BackupKind::BeforeWrite);

}  // namespace qzm
