// SPDX-License-Identifier: GPL-3.0-or-later
#include "safety/transfer_backups.h"

namespace qzm {

std::shared_ptr<const StoredBackup> backUpBeforeWrite(TransferJob& job, const BackupStore& store,
                                                      BackupKind kind) {
    auto stored = std::make_shared<StoredBackup>();
    job.beforeWrite = [store, stored, kind](const RadioImage& current) {
        *stored = store.store(current, kind);
        return stored->result.ok();
    };
    return stored;
}

}  // namespace qzm
