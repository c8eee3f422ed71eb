// SPDX-License-Identifier: GPL-3.0-or-later
#include <array>

#include "exchange/chirp_columns.h"
#include "exchange/chirp_csv.h"
#include "exchange/chirp_values.h"
#include "radio/channel_commit.h"
#include "radio/value_codecs.h"

namespace qzm {
namespace {

using namespace chirp;

// Eight packed decimal digits in units of 10 Hz, as hertz; nothing when a
// nibble is no decimal digit (bytes the radio or a file left behind).
std::optional<std::int64_t> hertzOf(const FrequencyBytes& bytes) {
    std::int64_t units = 0;
    for (auto at = bytes.rbegin(); at != bytes.rend(); ++at) {
        const int high = *at >> 4;
        const int low = *at & 0x0F;
        if (high > 9 || low > 9) {
            return std::nullopt;
        }
        units = units * 100 + high * 10 + low;
    }
    return units * 10;
}

struct ExportTone {
    enum class Kind { Off, Ctcss, Dcs } kind = Kind::Off;
    std::string value;  // "88.5" or "023"
    char polarity = 'N';
};

// The tone as the format can carry it: a CTCSS value of 67.0..254.1 Hz or a
// listed DCS code.  Anything else is left out and noted.
ExportTone exportTone(const RadioImage& image, int n, ChannelSide side,
                      std::vector<ChirpIssue>& notes) {
    const ToneBytes bytes = image.tone(n, side);
    if (bytes[1] == 0xFF) {
        return {};
    }
    const std::string text = formatTone(bytes, "");
    if (bytes[1] < 0x80) {
        const auto value = parseThousandths(text);
        if (value && *value % 100 == 0 && *value >= 67'000 && *value <= 254'100) {
            return {ExportTone::Kind::Ctcss, formatTenths(static_cast<int>(*value / 100)), 'N'};
        }
    } else {
        const std::string digits = text.substr(1, 3);
        if (parseDcsDigits(digits) && isListedDcsCode(digits)) {
            return {ExportTone::Kind::Dcs, digits, bytes[1] >= 0xC0 ? 'R' : 'N'};
        }
    }
    notes.push_back({ChirpIssueKind::ToneNotExported, {std::to_string(n), text}});
    return {};
}

using Kind = ExportTone::Kind;

// Tone, the four tone columns, polarity and CrossMode from the two tones.
void writeTones(const ExportTone& tx, const ExportTone& rx,
                std::array<std::string, kColumnCount>& f) {
    f[kRToneFreq] = f[kCToneFreq] = std::string(kPlaceholderCtcss);
    f[kDtcsCode] = f[kRxDtcsCode] = std::string(kPlaceholderDcs);
    f[kDtcsPolarity] = std::string{tx.kind == Kind::Dcs ? tx.polarity : 'N',
                                   rx.kind == Kind::Dcs ? rx.polarity : 'N'};
    f[kCrossMode] = "Tone->Tone";
    if (tx.kind == Kind::Off && rx.kind == Kind::Off) {
        return;
    }
    if (tx.kind == Kind::Ctcss && rx.kind == Kind::Off) {
        f[kTone] = "Tone";
        f[kRToneFreq] = tx.value;
        return;
    }
    if (tx.kind == Kind::Ctcss && rx.kind == Kind::Ctcss && tx.value == rx.value) {
        f[kTone] = "TSQL";
        f[kCToneFreq] = rx.value;
        return;
    }
    if (tx.kind == Kind::Dcs && rx.kind == Kind::Dcs && tx.value == rx.value) {
        f[kTone] = "DTCS";
        f[kDtcsCode] = tx.value;
        return;
    }
    f[kTone] = "Cross";
    const auto name = [](Kind kind) {
        return kind == Kind::Ctcss ? "Tone" : kind == Kind::Dcs ? "DTCS" : "";
    };
    f[kCrossMode] = std::string(name(tx.kind)) + "->" + name(rx.kind);
    if (tx.kind == Kind::Ctcss) {
        f[kRToneFreq] = tx.value;
    } else if (tx.kind == Kind::Dcs) {
        f[kDtcsCode] = tx.value;
    }
    if (rx.kind == Kind::Ctcss) {
        f[kCToneFreq] = rx.value;
    } else if (rx.kind == Kind::Dcs) {
        f[kRxDtcsCode] = rx.value;
    }
}

// Up to 10 MHz in whole 5 kHz steps is a repeater offset; anything else is split.
constexpr std::int64_t kLargestOffset = 10'000'000;
constexpr std::int64_t kOffsetStep = 5'000;

}  // namespace

ChirpExportResult exportChirpCsv(const RadioImage& image) {
    ChirpExportResult result;
    result.csv =
        formatCsvRecord(std::vector<std::string>(kColumnNames.begin(), kColumnNames.end()));
    for (int n = 1; n <= kChannelCount; ++n) {
        if (image.isRxEmpty(n)) {
            continue;
        }
        const auto rx = hertzOf(image.frequency(n, ChannelSide::Receive));
        const bool txEmpty = image.isAnyFrequencyEmpty(n);
        const std::int64_t tx =
            txEmpty ? 0 : hertzOf(image.frequency(n, ChannelSide::Transmit)).value_or(-1);
        if (!rx || tx < 0) {
            result.notes.push_back({ChirpIssueKind::ChannelNotExported, {std::to_string(n)}});
            continue;
        }
        std::array<std::string, kColumnCount> f{};
        f[kLocation] = std::to_string(n);
        f[kFrequency] = formatMegahertz(*rx);
        f[kOffset] = formatMegahertz(0);
        if (txEmpty) {
            f[kDuplex] = "off";
        } else if (tx != *rx) {
            const std::int64_t difference = tx - *rx;
            const std::int64_t size = difference < 0 ? -difference : difference;
            if (size % kOffsetStep == 0 && size <= kLargestOffset) {
                f[kDuplex] = difference > 0 ? "+" : "-";
                f[kOffset] = formatMegahertz(size);
            } else {
                f[kDuplex] = "split";
                f[kOffset] = formatMegahertz(tx);
            }
        }
        const ExportTone rxTone = exportTone(image, n, ChannelSide::Receive, result.notes);
        // A channel that cannot transmit has no transmit tone to speak of.
        const ExportTone txTone =
            txEmpty ? ExportTone{} : exportTone(image, n, ChannelSide::Transmit, result.notes);
        writeTones(txTone, rxTone, f);
        f[kMode] = channelFlag(image, n, ChannelFlag::Narrow) != 0 ? "NFM" : "FM";
        f[kTStep] = *rx % kOffsetStep == 0 ? "5.00" : "6.25";
        f[kSkip] = channelFlag(image, n, ChannelFlag::Col5No) != 0 ? "S" : "";
        f[kPower] = channelFlag(image, n, ChannelFlag::HighPower) != 0 ? "5.0W" : "1.0W";
        result.csv += formatCsvRecord(std::vector<std::string>(f.begin(), f.end()));
    }
    return result;
}

}  // namespace qzm
