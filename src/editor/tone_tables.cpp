#include "editor/tone_tables.h"

#include <algorithm>
#include <array>

namespace qzm {
namespace {

constexpr std::array<std::string_view, kCtcssEntryCount> kCtcssTexts{
    "67.0",  "69.3",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",
    "91.5",  "94.8",  "97.4",  "100.0", "103.5", "107.2", "110.9", "114.8", "118.8",
    "123.0", "127.3", "131.8", "136.5", "141.3", "146.2", "151.4", "153.0", "156.7",
    "159.8", "162.2", "165.5", "167.9", "171.3", "173.8", "177.3", "179.9", "183.5",
    "186.2", "189.9", "192.8", "196.6", "199.5", "203.5", "206.5", "210.7", "218.1",
    "225.7", "229.1", "233.6", "241.8", "250.3", "254.1",
};

constexpr std::array<std::string_view, kDcsEntryCount> kDcsCodes{
    "023", "025", "026", "031", "032", "036", "043", "047", "051", "053", "054", "065",
    "071", "072", "073", "074", "114", "115", "116", "122", "125", "131", "132", "134",
    "143", "145", "152", "155", "156", "162", "165", "172", "174", "205", "212", "223",
    "225", "226", "243", "244", "245", "246", "251", "252", "255", "261", "263", "265",
    "266", "271", "274", "306", "311", "315", "325", "331", "332", "343", "346", "351",
    "356", "364", "365", "371", "411", "412", "413", "423", "431", "432", "445", "446",
    "452", "454", "455", "462", "464", "465", "466", "503", "506", "516", "523", "526",
    "532", "546", "565", "606", "612", "624", "627", "631", "632", "654", "662", "664",
    "703", "712", "723", "731", "732", "734", "743", "754", "777",
};

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
