// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qzm {

inline constexpr std::size_t kFileHeaderSize = 48;
// The header a new document writes; a load compares only its first 26 characters, so
// files of other versions of the format still open.
inline constexpr std::string_view kFileMagic = "QZM-836 Radio Program data v1.04";
inline constexpr std::size_t kCheckedMagicLength = 26;

// The 48 bytes before the image in the document and in the data file.  Bytes 32..47 are
// not interpreted: a loaded file's bytes are written back as they came.
struct FileHeader {
    std::array<std::uint8_t, kFileHeaderSize> bytes{};

    void writeMagic();
    bool hasMagic() const;
    friend bool operator==(const FileHeader&, const FileHeader&) = default;
};

}  // namespace qzm
