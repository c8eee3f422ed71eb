// SPDX-License-Identifier: GPL-3.0-or-later
#include "safety/backup_settings.h"

#include "platform/profile.h"

namespace qzm {

bool readBackupEnabled(const std::filesystem::path& settings) {
    return readProfileInt(settings, kBackupSection, kBackupEnabledKey, 1) != 0;
}

bool readVerifyAfterWrite(const std::filesystem::path& settings) {
    return readProfileInt(settings, kBackupSection, kVerifyAfterWriteKey, 0) != 0;
}

bool writeVerifyAfterWrite(bool verify, const std::filesystem::path& settings) {
    return writeProfileString(settings, kBackupSection, kVerifyAfterWriteKey, verify ? "1" : "0");
}

}  // namespace qzm
