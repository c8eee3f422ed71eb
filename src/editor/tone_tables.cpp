// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/tone_tables.h"

#include <algorithm>
#include <array>

#include "radio/tone_lists.h"

namespace qzm {
namespace {

template <std::size_t N>
using SlotBytes = std::array<std::uint8_t, N * kToneSlotSize>;

// prefix + text + suffix into each slot; the rest of a slot stays zero.
template <std::size_t N>
constexpr SlotBytes<N> makeSlots(const std::array<std::string_view, N>& texts,
                                 std::string_view prefix, std::string_view suffix) {
    SlotBytes<N> bytes{};
    for (std::size_t i = 0; i < N; ++i) {
        std::size_t at = i * kToneSlotSize;
        for (const std::string_view part : {prefix, texts[i], suffix}) {
            for (const char c : part) {
                bytes[at++] = static_cast<std::uint8_t>(c);
            }
        }
    }
    return bytes;
}

constexpr auto kCtcssTable = makeSlots(kCtcssTexts, "", "");
constexpr auto kDcsNormalTable = makeSlots(kDcsCodes, "D", "N");
constexpr auto kDcsInvertedTable = makeSlots(kDcsCodes, "D", "I");

}  // namespace

std::span<const std::uint8_t> toneTableData(int tableId) {
    switch (tableId) {
        case kCtcssTableId:
            return kCtcssTable;
        case kDcsNormalTableId:
            return kDcsNormalTable;
        case kDcsInvertedTableId:
            return kDcsInvertedTable;
        default:
            return {};
    }
}

std::vector<std::string> readToneSlots(std::span<const std::uint8_t> data, std::size_t count) {
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < count && (i + 1) * kToneSlotSize <= data.size(); ++i) {
        const auto slot = data.subspan(i * kToneSlotSize, kToneSlotSize);
        // A slot without its terminator is read to its end, never beyond.
        const auto end = std::find(slot.begin(), slot.end(), std::uint8_t{0});
        texts.emplace_back(slot.begin(), end);
    }
    return texts;
}

std::vector<std::string> toneListEntries(std::string_view offText) {
    std::vector<std::string> entries;
    entries.reserve(kToneListSize);
    entries.emplace_back(offText);
    const std::pair<int, std::size_t> tables[] = {
        {kCtcssTableId, kCtcssEntryCount},
        {kDcsNormalTableId, kDcsEntryCount},
        {kDcsInvertedTableId, kDcsEntryCount},
    };
    for (const auto& [id, count] : tables) {
        for (std::string& text : readToneSlots(toneTableData(id), count)) {
            entries.push_back(std::move(text));
        }
    }
    return entries;
}

}  // namespace qzm
