// Feeds arbitrary bytes to the data-file loader and, as text, to every codec.  Besides
// crashes it checks the properties the editor relies on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "radio/data_file.h"
#include "radio/value_codecs.h"

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void loaderKeepsEveryByte(std::span<const std::uint8_t> file) {
    const auto contents = qzm::decodeDataFile(file);
    if (!contents) {
        return;
    }
    const auto stored = qzm::encodeDataFile(contents->header, contents->image);
    require(stored.size() == qzm::kDataFileSize);
    require(std::equal(stored.begin(), stored.end(), file.begin()));
}

void codecsStayInTheirRanges(std::string_view text) {
    constexpr qzm::BandLimits band{40'000'000, 47'000'000};
    const int range = qzm::checkFrequencyRange(text, band);
    require(range >= -1 && range <= 1);
    const qzm::FrequencyBytes frequency = qzm::parseFrequency(text);
    if (!text.empty()) {
        // Always eight decimal digits, so the value reads back as it was stored.
        for (std::uint8_t b : frequency) {
            require((b >> 4) <= 9 && (b & 0x0F) <= 9);
        }
        require(qzm::parseFrequency(qzm::formatFrequency(frequency)) == frequency);
    }
    const qzm::ToneBytes tone = qzm::parseTone(text);
    require(qzm::parseTone(qzm::formatTone(tone, "Off")) == tone);
    const qzm::DtmfBytes dtmf = qzm::parseDtmf(text);
    require(qzm::parseDtmf(qzm::formatDtmf(dtmf)) == dtmf);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    loaderKeepsEveryByte(bytes);
    codecsStayInTheirRanges(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
