// SPDX-License-Identifier: GPL-3.0-or-later
// The value codecs on arbitrary text (what the user types) and arbitrary bytes
// (what an image holds).  Whatever is typed must pack into valid values, and
// formatting a packed value then parsing it again must give it back.

#include <algorithm>
#include <string>

#include "fuzz_support.h"
#include "radio/band_table.h"
#include "radio/value_codecs.h"

namespace {

using qzm::fuzz::printable;

bool isBcd(std::uint8_t b) {
    return (b >> 4) <= 9 && (b & 0x0F) <= 9;
}

std::int64_t bcdValue(const qzm::FrequencyBytes& bytes) {
    std::int64_t value = 0;
    for (std::size_t i = bytes.size(); i-- > 0;) {
        value = value * 100 + (bytes[i] >> 4) * 10 + (bytes[i] & 0x0F);
    }
    return value;
}

int expectedRange(std::int64_t value, qzm::BandLimits limits) {
    return value > limits.upper ? 1 : value < limits.lower ? -1 : 0;
}

void checkFrequency(const std::string& text) {
    const auto packed = qzm::parseFrequency(text);
    if (text.empty()) {
        QZM_FUZZ_CHECK(packed == qzm::kEmptyFrequency, printable(text));
        return;
    }
    for (const std::uint8_t b : packed) {
        QZM_FUZZ_CHECK(isBcd(b), printable(text));
    }
    const std::int64_t value = bcdValue(packed);
    QZM_FUZZ_CHECK(value <= qzm::kLargestStoredFrequency, printable(text));
    // On the 6.25 kHz or the 5 kHz channel grid.
    QZM_FUZZ_CHECK(value % 625 == 0 || value % 500 == 0, printable(text));

    const std::string shown = qzm::formatFrequency(packed);
    QZM_FUZZ_CHECK(qzm::normalizeFrequency(shown) == value, printable(text) + " -> " + shown);
    QZM_FUZZ_CHECK(qzm::parseFrequency(shown) == packed, printable(text) + " -> " + shown);
    QZM_FUZZ_CHECK(qzm::formatFrequency(qzm::parseFrequency(shown)) == shown, shown);

    const std::int64_t typed = qzm::normalizeFrequency(text);
    QZM_FUZZ_CHECK(typed >= 0 && typed <= qzm::kFrequencyOverflow, printable(text));
    // Snapping moves a value by less than one 6.25 kHz step, and a value above what the
    // record holds stops at the top instead of wrapping to a small one.
    const std::int64_t reachable = std::min(typed, qzm::kLargestStoredFrequency);
    QZM_FUZZ_CHECK(value > reachable - 625 && value < reachable + 625,
                   printable(text) + " stored as " + shown);
    for (const auto& band : qzm::kBandTable) {
        QZM_FUZZ_CHECK(
            qzm::checkFrequencyRange(text, band.limits) == expectedRange(typed, band.limits),
            printable(text));
        QZM_FUZZ_CHECK(
            qzm::checkFrequencyRange(shown, band.limits) == expectedRange(value, band.limits),
            shown);
    }
}

void checkTone(const std::string& text) {
    const auto tone = qzm::parseTone(text);
    const std::uint8_t lo = tone[0];
    const std::uint8_t hi = tone[1];
    if (tone != qzm::kToneOff) {
        if (hi < 0x80) {
            QZM_FUZZ_CHECK(isBcd(lo) && isBcd(hi), printable(text));
            const int tenths = (hi >> 4) * 1000 + (hi & 0x0F) * 100 + (lo >> 4) * 10 + (lo & 0x0F);
            QZM_FUZZ_CHECK(tenths >= 670 && tenths <= 2541, printable(text));
        } else {
            // D, three octal digits, N or I.
            QZM_FUZZ_CHECK(hi == (hi & 0xC7), printable(text));
            QZM_FUZZ_CHECK((lo >> 4) <= 7 && (lo & 0x0F) <= 7, printable(text));
        }
    }
    const std::string shown = qzm::formatTone(tone, "off");
    QZM_FUZZ_CHECK(qzm::parseTone(shown) == tone, printable(text) + " -> " + shown);
}

void checkDtmf(const std::string& text) {
    const auto code = qzm::parseDtmf(text);
    bool ended = false;
    for (const std::uint8_t b : code) {
        QZM_FUZZ_CHECK(ended ? b == 0xFF : (b <= 13 || b == 0xFF), printable(text));
        ended = ended || b == 0xFF;
    }
    const std::string shown = qzm::formatDtmf(code);
    // The code is the typed text up to its first character that is no key.
    QZM_FUZZ_CHECK(shown.size() <= 5 && shown.size() <= text.size(), shown);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const char typed =
            text[i] >= 'a' && text[i] <= 'd' ? static_cast<char>(text[i] - 32) : text[i];
        QZM_FUZZ_CHECK(typed == shown[i], printable(text) + " -> " + shown);
    }
    QZM_FUZZ_CHECK(qzm::parseDtmf(shown) == code, printable(text) + " -> " + shown);
}

// Image bytes of any value print without harm, in the widths the grid expects.
void checkStoredBytes(std::span<const std::uint8_t> raw) {
    qzm::FrequencyBytes frequency{};
    qzm::ToneBytes tone{};
    qzm::DtmfBytes dtmf{};
    for (std::size_t i = 0; i < raw.size() && i < 11; ++i) {
        if (i < 4) {
            frequency[i] = raw[i];
        } else if (i < 6) {
            tone[i - 4] = raw[i];
        } else {
            dtmf[i - 6] = raw[i];
        }
    }
    const std::string shown = qzm::formatFrequency(frequency);
    QZM_FUZZ_CHECK(shown.empty() == (frequency[3] > 0x99) && shown.size() <= 9, shown);
    QZM_FUZZ_CHECK(qzm::formatTone(tone, "off").size() <= 5, qzm::formatTone(tone, "off"));
    QZM_FUZZ_CHECK(qzm::formatDtmf(dtmf).size() <= 5, qzm::formatDtmf(dtmf));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    checkFrequency(text);
    checkTone(text);
    checkDtmf(text);
    checkStoredBytes({data, size});
    return 0;
}

namespace qzm::fuzz {

std::vector<Bytes> edgeCases() {
    const char* texts[] = {
        "",
        ".",
        "..",
        "0",
        "-1",
        "+446",
        "446",
        "446.",
        ".5",
        "446.00625",
        "446.0068",
        "446.00374",
        "999.99999",
        "999.9999",
        "1000",
        "99999999",
        "4294967296",
        "9999999999999999999999",
        "21474.83647",
        "21474.83648",
        "136.0037",
        "0.0075",
        "1e3",
        " 446",
        "446 .5",
        "67",
        "66.9",
        "254.1",
        "254.2",
        "1.5",
        "88.55",
        "D",
        "d",
        "D023",
        "D023N",
        "d754i",
        "D800N",
        "D0777",
        "D023X",
        "DDDDD",
        "0123456789ABCDabcd",
        "1A#9",
        "\xFF\xFF\xFF\xFF",
    };
    std::vector<Bytes> cases;
    for (const char* text : texts) {
        cases.push_back(bytesOf(text));
    }
    cases.push_back(Bytes(400, '9'));
    cases.push_back(bytesOf("4" + std::string(300, '0') + "." + std::string(300, '7')));
    return cases;
}

}  // namespace qzm::fuzz
