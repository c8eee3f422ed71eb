// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string_view>

#include "platform/program_paths.h"

namespace qzm {

// The "setting.ini" keys of backups and of the check after a write.
inline constexpr std::string_view kBackupSection = "backup";
inline constexpr std::string_view kBackupEnabledKey = "enabled";
inline constexpr std::string_view kVerifyAfterWriteKey = "verify";

// backup/enabled: automatic backups are on unless the value is 0.
bool readBackupEnabled(const std::filesystem::path& settings = settingsPath());

// backup/verify: whether the window reads a write back to compare (default off).
bool readVerifyAfterWrite(const std::filesystem::path& settings = settingsPath());
bool writeVerifyAfterWrite(bool verify, const std::filesystem::path& settings = settingsPath());

}  // namespace qzm
