// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary text imported as a channel list, as `qzm836-cli import` and the window
// take it.  Parsing in pieces must give what parsing at once gives; a refused list
// names a line of the input and says briefly why; an accepted one exports and
// imports back byte for byte, without a note, onto the result and onto the base.

#include <string>

#include "exchange/channel_csv.h"
#include "exchange/csv.h"
#include "fuzz_support.h"
#include "radio/band_table.h"

namespace {

using qzm::fuzz::printable;

// Long enough for a column name, a quoted value cut short and the explanation.
constexpr std::size_t kLongestMessage = 300;

bool sameParse(const qzm::CsvParseResult& a, const qzm::CsvParseResult& b) {
    if (a.error || b.error) {
        return a.error && b.error && a.error->line == b.error->line &&
               a.error->message == b.error->message;
    }
    if (a.records.size() != b.records.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.records.size(); ++i) {
        if (a.records[i].line != b.records[i].line || a.records[i].fields != b.records[i].fields) {
            return false;
        }
    }
    return true;
}

std::size_t lineCount(std::string_view text) {
    std::size_t lines = 1;
    for (char c : text) {
        lines += c == '\n' ? 1 : 0;
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qzm::fuzz::InputReader input({data, size});
    const std::uint8_t band = input.byte();
    const std::size_t pieceSize = std::size_t{input.byte()} % 17 + 1;
    const auto rest = input.rest();
    const std::string text(reinterpret_cast<const char*>(rest.data()), rest.size());

    // Small limits, so the fuzzer reaches them.
    const qzm::CsvLimits limits{64 * 1024, 40, 24};
    const qzm::CsvParseResult whole = qzm::parseCsv(text, limits);
    qzm::CsvStreamParser stream(limits);
    for (std::size_t at = 0; at < text.size(); at += pieceSize) {
        stream.feed(std::string_view(text).substr(at, pieceSize));
    }
    QZM_FUZZ_CHECK(sameParse(whole, stream.finish()), printable(text));

    qzm::RadioImage base = qzm::RadioImage::fresh();
    base.setBandIndex(band % static_cast<int>(qzm::kBandTable.size()));
    const qzm::ChannelImportResult imported = qzm::importChannelsCsv(text, base);
    if (!imported.image) {
        QZM_FUZZ_CHECK(imported.error.has_value(), printable(text));
        QZM_FUZZ_CHECK(imported.error->line <= lineCount(text), printable(text));
        QZM_FUZZ_CHECK(!imported.error->message.empty(), printable(text));
        QZM_FUZZ_CHECK(imported.error->message.size() <= kLongestMessage,
                       printable(imported.error->message));
        return 0;
    }
    for (const auto& note : imported.notes) {
        QZM_FUZZ_CHECK(note.message.size() <= kLongestMessage, printable(note.message));
    }
    const std::string exported = qzm::exportChannelsCsv(*imported.image);
    for (const qzm::RadioImage& target : {*imported.image, base}) {
        const qzm::ChannelImportResult again = qzm::importChannelsCsv(exported, target);
        QZM_FUZZ_CHECK(again.image.has_value(), printable(exported));
        QZM_FUZZ_CHECK(again.notes.empty(), printable(exported));
        QZM_FUZZ_CHECK(again.image->bytes == imported.image->bytes,
                       printable(text) + " exported as " + printable(exported));
    }
    return 0;
}

namespace qzm::fuzz {

std::vector<Bytes> edgeCases() {
    const std::string header =
        "channel,rx_freq,rx_tone,tx_freq,tx_tone,col5,narrow,high_power,col8,col9\r\n";
    const std::string rows[] = {
        "1,446.00625,88.5,446.00625,88.5,0,0,1,1,1\r\n",
        "2,\"446,00625\",,,,,,,,\r\n",        // a decimal comma
        "3,4 4 6,,,,,,,,\r\n",                // blanks inside
        "4,446,999.9,,,,,,,\r\n",             // above the CTCSS range
        "5,446,D023X,,,,,,,\r\n",             // no polarity
        "6,446,1e3,,,,,,,\r\n",               // an exponent
        "7,446,88.0,446,D024N,,,,,\r\n",      // tones off the list, well formed
        "8,446.0055,oFF,600,d754i,,,,,\r\n",  // grid, band limit, cases
        "9,1234567890,,,,,,,,\r\n",           // longer than the editor takes
        "10," + std::string(5000, '9') + ",,,,,,,,\r\n",
        std::string(30, ',') + "\r\n",  // more fields than the limit
    };
    std::vector<Bytes> cases;
    for (const auto& row : rows) {
        cases.push_back(bytesOf(std::string("\x03\x05") + header + row));
    }
    // A byte-order mark split across pieces, a CR at each possible end.
    cases.push_back(bytesOf("\x03\x01\xEF\xBB\xBF" + header));
    cases.push_back(bytesOf("\x03\x02\xEF\xBB" + header));
    cases.push_back(bytesOf(std::string("\x03\x01") + header + "1,446\r"));
    cases.push_back(bytesOf(std::string("\x03\x01") + header + "1,\"446\"\r"));
    cases.push_back(bytesOf(std::string("\x03\x01") + header + "\r"));
    // More records than the limit.
    std::string many = std::string("\x03\x10") + header;
    for (int i = 0; i < 50; ++i) {
        many += ",,,,,,,,,\r\n";
    }
    cases.push_back(bytesOf(many));
    return cases;
}

}  // namespace qzm::fuzz
