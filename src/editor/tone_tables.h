// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "radio/tone_lists.h"

namespace qzm {

// The tone texts the tone picker offers, kept as the read-only data blocks the
// radio's tool has always shipped: consecutive 8-byte slots, each a
// zero-terminated ASCII text padded with zero bytes.
inline constexpr int kCtcssTableId = 136;
inline constexpr int kDcsNormalTableId = 135;
inline constexpr int kDcsInvertedTableId = 134;

inline constexpr std::size_t kToneSlotSize = 8;
// The off entry, then CTCSS, then DCS normal, then DCS inverted.
inline constexpr std::size_t kToneListSize = 1 + kCtcssEntryCount + 2 * kDcsEntryCount;

// The bytes of a table by its id; empty for an unknown id.
std::span<const std::uint8_t> toneTableData(int tableId);

// The first `count` slot texts of `data`.  The count is fixed by the caller,
// never derived from the size; slots the data does not hold give no entry.
std::vector<std::string> readToneSlots(std::span<const std::uint8_t> data, std::size_t count);

// The whole list of the tone picker, `offText` first.
std::vector<std::string> toneListEntries(std::string_view offText);

}  // namespace qzm
