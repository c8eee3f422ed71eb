// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/transfer_settings.h"

#include "platform/profile.h"

namespace qzm {

bool readAllBlocks(const std::filesystem::path& settings) {
    return !settings.empty() && readProfileInt(settings, kTransferSection, kAllBlocksKey, 0) != 0;
}

}  // namespace qzm
