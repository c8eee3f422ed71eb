// SPDX-License-Identifier: GPL-3.0-or-later
// CHIRP CSV import on arbitrary text.  Whatever a row holds, a taken row leaves
// a channel inside the band on the channel grid, nothing outside the channel
// table changes, a refused file changes nothing, and exporting the result and
// importing it again gives it back byte for byte.

#include <set>
#include <string>

#include "exchange/chirp_csv.h"
#include "fuzz_support.h"
#include "radio/channel_record.h"
#include "radio/value_codecs.h"

namespace {

using qzm::fuzz::printable;

constexpr std::size_t kTableStart = qzm::ChannelRecord::kSize;
constexpr std::size_t kTableEnd = kTableStart * (qzm::kChannelCount + 1);

std::int64_t unitsOf(const qzm::FrequencyBytes& bytes) {
    return qzm::normalizeFrequency(qzm::formatFrequency(bytes));
}

void checkChannel(const qzm::RadioImage& image, int n, const std::string& input) {
    const qzm::BandLimits limits = image.bandLimits();
    for (const auto side : {qzm::ChannelSide::Receive, qzm::ChannelSide::Transmit}) {
        if (side == qzm::ChannelSide::Transmit && image.isAnyFrequencyEmpty(n)) {
            QZM_FUZZ_CHECK(image.tone(n, side) == qzm::kToneOff, printable(input));
            continue;
        }
        const std::int64_t units = unitsOf(image.frequency(n, side));
        QZM_FUZZ_CHECK(units >= limits.lower && units <= limits.upper, printable(input));
        QZM_FUZZ_CHECK(units % 625 == 0 || units % 500 == 0, printable(input));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qzm::fuzz::InputReader reader({data, size});
    qzm::RadioImage base = qzm::RadioImage::fresh();
    base.setBandIndex(reader.byte() % 7);
    const bool renumber = (reader.byte() & 1) != 0;
    const std::string csv = reader.text(size);

    const qzm::ChirpImportResult result = qzm::importChirpCsv(csv, base, {renumber});
    if (result.error) {
        QZM_FUZZ_CHECK(result.image.bytes == base.bytes, printable(csv));
        return 0;
    }
    std::set<int> channels;
    for (const qzm::ChirpRow& row : result.rows) {
        if (row.outcome == qzm::ChirpOutcome::Skipped) {
            QZM_FUZZ_CHECK(row.channel == 0 && row.issues.size() == 1, printable(csv));
            continue;
        }
        QZM_FUZZ_CHECK(qzm::RadioImage::isValidChannel(row.channel), printable(csv));
        QZM_FUZZ_CHECK(channels.insert(row.channel).second, "a channel taken twice");
        checkChannel(result.image, row.channel, csv);
    }
    for (std::size_t i = 0; i < qzm::kImageSize; ++i) {
        const bool inTable = i >= kTableStart && i < kTableEnd;
        const int channel = static_cast<int>(i / kTableStart);
        if (!inTable || channels.count(channel) == 0) {
            QZM_FUZZ_CHECK(result.image.bytes[i] == base.bytes[i],
                           "byte " + std::to_string(i) + " of " + printable(csv));
        }
    }

    const qzm::ChirpExportResult exported = qzm::exportChirpCsv(result.image);
    QZM_FUZZ_CHECK(exported.notes.empty(), printable(csv));
    const qzm::ChirpImportResult again = qzm::importChirpCsv(exported.csv, result.image);
    QZM_FUZZ_CHECK(!again.error && again.count(qzm::ChirpOutcome::Skipped) == 0, exported.csv);
    QZM_FUZZ_CHECK(again.image.bytes == result.image.bytes, exported.csv);
    return 0;
}

namespace qzm::fuzz {

std::vector<Bytes> edgeCases() {
    const std::string header =
        "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
        "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n";
    const char* rows[] = {
        "",
        "1,,446.006250,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,5.0W,,,,,\n",
        "16,,470.000000,-,70.000000,Cross,254.15,67.04,777,RR,023,DTCS->Tone,NFM,5.00,S,High,,,,,"
        "\n",
        "2,,400.000000,+,99999.999999,TSQL,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,1W,,,,,\n",
        "3,,446.0,-,446.000001,,,,,,,,,,,,,,,,\n",
        "4,,99999.999999,split,0.0,DTCS,,,,NR,,,FM,,,,,,,,\n",
        "0,,446,off,,Cross,,,,,,->,FM,,P,0,,,,,\n",
        "\"5\",\"x,y\",\"446.5\",\"+\",\"5\",\"Tone\",\"88.52\",,,,,,,,,,,,,,\n",
    };
    std::vector<Bytes> cases;
    for (const char* row : rows) {
        for (const std::uint8_t band : {std::uint8_t{3}, std::uint8_t{4}}) {
            Bytes input{band, 1};
            const std::string text = header + row + row;
            input.insert(input.end(), text.begin(), text.end());
            cases.push_back(input);
            input[1] = 0;
            cases.push_back(std::move(input));
        }
    }
    cases.push_back(bytesOf("\x03\x00Location,Frequency\n1,446\n2,\n"));
    cases.push_back(bytesOf("\x03\x00frequency,LOCATION\n"));
    return cases;
}

}  // namespace qzm::fuzz
