#include "safety/transfer_backups.h"

namespace qzm {

std::shared_ptr<const StoredBackup> backUpBeforeWrite(TransferJob& job, const BackupStore& store) {
    auto stored = std::make_shared<StoredBackup>();
    job.beforeWrite = [store, stored](const RadioImage& current) {
        *stored = store.store(current, BackupKind::BeforeWrite);
        return stored->result.ok;
    };
    return stored;
}

}  // namespace qzm
