// SPDX-License-Identifier: GPL-3.0-or-later
#include <array>

#include "exchange/chirp_csv.h"

namespace qzm {
namespace {

struct IssueText {
    ChirpIssueKind kind;
    std::string_view key;
    std::string_view english;
};

// The English texts are also those of the shipped English language file.
constexpr std::array kIssueTexts{
    IssueText{ChirpIssueKind::FrequencySnapped, "IDS_CHIRP_FREQ_SNAPPED",
              "%1 %2 stored on the channel grid as %3"},
    IssueText{ChirpIssueKind::ToneSnapped, "IDS_CHIRP_TONE_SNAPPED",
              "%1 %2 taken as the list tone %3"},
    IssueText{ChirpIssueKind::OutOfBand, "IDS_CHIRP_OUT_OF_BAND",
              "Frequency %1 is outside the band %2 to %3"},
    IssueText{ChirpIssueKind::TxOutOfBand, "IDS_CHIRP_TX_OUT_OF_BAND",
              "the transmit frequency %1 is outside the band %2 to %3"},
    IssueText{ChirpIssueKind::UnsupportedToneMode, "IDS_CHIRP_TONE_MODE",
              "%1: %2 has no equivalent in this radio"},
    IssueText{ChirpIssueKind::UnsupportedTone, "IDS_CHIRP_TONE",
              "%1: %2 is not a tone this radio has"},
    IssueText{ChirpIssueKind::UnsupportedMode, "IDS_CHIRP_MODE",
              "Mode: %1 has no equivalent in this radio"},
    IssueText{ChirpIssueKind::LocationOutside, "IDS_CHIRP_LOCATION",
              "Location %1 is not one of the channels 1 to 16"},
    IssueText{ChirpIssueKind::ChannelTaken, "IDS_CHIRP_TAKEN",
              "channel %1 was already taken from line %2"},
    IssueText{ChirpIssueKind::NoChannelLeft, "IDS_CHIRP_FULL", "no channel left: the radio has 16"},
    IssueText{ChirpIssueKind::Malformed, "IDS_CHIRP_MALFORMED", "%1: %2 is not a valid value"},
    IssueText{ChirpIssueKind::FieldCount, "IDS_CHIRP_FIELDS", "%1 fields where the header has %2"},
    IssueText{ChirpIssueKind::ToneNotExported, "IDS_CHIRP_TONE_LEFT_OUT",
              "channel %1: the tone %2 cannot be written in this format and was left out"},
    IssueText{ChirpIssueKind::ChannelNotExported, "IDS_CHIRP_CHANNEL_LEFT_OUT",
              "channel %1 holds a frequency that is no number and was left out"},
};

const IssueText& textOf(ChirpIssueKind kind) {
    for (const auto& entry : kIssueTexts) {
        if (entry.kind == kind) {
            return entry;
        }
    }
    return kIssueTexts.back();
}

}  // namespace

std::string_view chirpIssueKey(ChirpIssueKind kind) {
    return textOf(kind).key;
}

std::string_view chirpIssueEnglish(ChirpIssueKind kind) {
    return textOf(kind).english;
}

std::string formatChirpIssue(std::string_view text, const ChirpIssue& issue) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            const auto index = static_cast<std::size_t>(text[i + 1] - '1');
            if (index < issue.args.size()) {
                out += issue.args[index];
            }
            ++i;
            continue;
        }
        out += text[i];
    }
    return out;
}

}  // namespace qzm
