// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/block_list.h"

#include <cstdio>

#include "link/wire_protocol.h"

namespace qzm {

std::string blockListText(const std::vector<int>& blocks, std::size_t named) {
    std::string text;
    for (std::size_t i = 0; i < blocks.size() && i < named; ++i) {
        char address[16];
        std::snprintf(address, sizeof address, "0x%03X",
                      static_cast<unsigned>(wire::blockAddress(blocks[i])));
        text += (i == 0 ? "" : ", ") + std::to_string(blocks[i]) + " (" + address + ")";
    }
    if (blocks.size() > named) {
        text += ", ...";
    }
    return text;
}

}  // namespace qzm
