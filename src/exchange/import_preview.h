// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "exchange/channel_csv.h"
#include "exchange/chirp_csv.h"
#include "platform/text_source.h"
#include "radio/radio_image.h"

namespace qzm {

// What an import will do, as the window's preview shows it: one row per
// record (CHIRP) or per changed channel (our own table), every text already
// in the user's language.  Nothing is applied until the user agrees.

struct ImportPreviewRow {
    ChirpOutcome outcome = ChirpOutcome::Taken;
    std::string line, location, channel, outcomeText;
    std::string rxFrequency, rxTone, txFrequency, txTone;
    std::string remarks;
};

struct ImportPreview {
    std::vector<ImportPreviewRow> rows;
    std::vector<std::string> notes;  // about the file as a whole
    RadioImage image;                // the document's image with the import applied
    std::size_t taken = 0, repaired = 0, skipped = 0;
};

// The outcome word and the language keys the preview uses.
inline constexpr std::string_view kPreviewTakenKey = "IDS_IMPORT_TAKEN";
inline constexpr std::string_view kPreviewRepairedKey = "IDS_IMPORT_REPAIRED";
inline constexpr std::string_view kPreviewSkippedKey = "IDS_IMPORT_SKIPPED";
inline constexpr std::string_view kPreviewNamesDroppedKey = "IDS_IMPORT_NAMES_DROPPED";

ImportPreview previewOfChirp(const ChirpImportResult& result, const TextSource& text);

// The language key of a CHIRP column's name in the notes: "IDS_CHIRP_COL_Frequency".
std::string chirpColumnKey(std::string_view column);
// Our own table refuses bad input as a whole, so an accepted one lists the
// channels it changes; its notes (values moved to the band limit) follow.
ImportPreview previewOfChannelTable(const ChannelImportResult& result, const RadioImage& base,
                                    const TextSource& text);

}  // namespace qzm
