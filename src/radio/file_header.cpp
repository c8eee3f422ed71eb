// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/file_header.h"

#include <algorithm>

namespace qzm {

void FileHeader::writeMagic() {
    std::transform(kFileMagic.begin(), kFileMagic.end(), bytes.begin(),
                   [](char c) { return static_cast<std::uint8_t>(c); });
}

bool FileHeader::hasMagic() const {
    return std::equal(kFileMagic.begin(), kFileMagic.begin() + kCheckedMagicLength, bytes.begin(),
                      [](char c, std::uint8_t b) { return static_cast<std::uint8_t>(c) == b; });
}

}  // namespace qzm
