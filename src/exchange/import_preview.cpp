// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/import_preview.h"

#include <algorithm>

#include "exchange/chirp_columns.h"
#include "exchange/csv_message.h"

namespace qzm {
namespace {

std::string_view outcomeKey(ChirpOutcome outcome) {
    switch (outcome) {
        case ChirpOutcome::Taken:
            return kPreviewTakenKey;
        case ChirpOutcome::Repaired:
            return kPreviewRepairedKey;
        case ChirpOutcome::Skipped:
            break;
    }
    return kPreviewSkippedKey;
}

void count(ImportPreview& preview, ChirpOutcome outcome) {
    switch (outcome) {
        case ChirpOutcome::Taken:
            ++preview.taken;
            break;
        case ChirpOutcome::Repaired:
            ++preview.repaired;
            break;
        case ChirpOutcome::Skipped:
            ++preview.skipped;
            break;
    }
}

// The channel's cells as the grid shows them; an off tone in the language.
void fillChannel(ImportPreviewRow& row, const RadioImage& image, int n, const TextSource& text) {
    const std::string off = text("IDS_OFF");
    row.channel = std::to_string(n);
    row.rxFrequency = image.frequencyText(n, ChannelSide::Receive);
    row.rxTone = image.toneText(n, ChannelSide::Receive, off);
    row.txFrequency = image.frequencyText(n, ChannelSide::Transmit);
    if (!row.txFrequency.empty()) {
        row.txTone = image.toneText(n, ChannelSide::Transmit, off);
    }
}

// A note names the CHIRP column it is about; the language file may give the
// column a name in its own words (key "IDS_CHIRP_COL_" and the column).
ChirpIssue inLanguage(ChirpIssue issue, const TextSource& text) {
    if (issue.args.empty() || std::find(chirp::kColumnNames.begin(), chirp::kColumnNames.end(),
                                        issue.args.front()) == chirp::kColumnNames.end()) {
        return issue;
    }
    const std::string named = text(chirpColumnKey(issue.args.front()));
    if (!named.empty() && named != "Not Found") {
        issue.args.front() = named;
    }
    return issue;
}

}  // namespace

std::string chirpColumnKey(std::string_view column) {
    return "IDS_CHIRP_COL_" + std::string(column);
}

ImportPreview previewOfChirp(const ChirpImportResult& result, const TextSource& text) {
    ImportPreview preview;
    preview.image = result.image;
    for (const ChirpRow& source : result.rows) {
        ImportPreviewRow row;
        row.outcome = source.outcome;
        row.line = std::to_string(source.line);
        row.location = source.location;
        row.outcomeText = text(outcomeKey(source.outcome));
        if (source.outcome != ChirpOutcome::Skipped) {
            // What the channel will hold once every row is in (a later row
            // may not overwrite it: a second row for a channel is skipped).
            fillChannel(row, result.image, source.channel, text);
        }
        for (const ChirpIssue& issue : source.issues) {
            row.remarks +=
                (row.remarks.empty() ? "" : "; ") +
                formatChirpIssue(text(chirpIssueKey(issue.kind)), inLanguage(issue, text));
        }
        count(preview, source.outcome);
        preview.rows.push_back(std::move(row));
    }
    if (result.namesDropped) {
        preview.notes.push_back(text(kPreviewNamesDroppedKey));
    }
    return preview;
}

ImportPreview previewOfChannelTable(const ChannelImportResult& result, const RadioImage& base,
                                    const TextSource& text) {
    ImportPreview preview;
    preview.image = result.image.value_or(base);
    for (int n = 1; n <= kChannelCount; ++n) {
        if (preview.image.channelRecord(n).bytes == base.channelRecord(n).bytes) {
            continue;
        }
        ImportPreviewRow row;
        row.location = std::to_string(n);
        row.outcomeText = text(kPreviewTakenKey);
        fillChannel(row, preview.image, n, text);
        count(preview, ChirpOutcome::Taken);
        preview.rows.push_back(std::move(row));
    }
    for (const CsvError& note : result.notes) {
        preview.notes.push_back(std::to_string(note.line) + ": " + csvMessageText(note, text));
    }
    return preview;
}

}  // namespace qzm
