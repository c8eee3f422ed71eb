// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/radio_image.h"
#include "radio/value_codecs.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>
#include "channel_values.h"

namespace qzm {
namespace {

namespace off = image_offset;
using test::kRx;
using test::kTx;

RadioImage erasedImage() {
    RadioImage image;
    image.erase();
    return image;
}

RadioImage noiseImage(unsigned seed) {
    std::mt19937 random(seed);
    RadioImage image;
    for (auto& b : image.bytes) {
        b = static_cast<std::uint8_t>(random());
    }
    return image;
}

bool isFieldByte(std::size_t offset) {
    const bool inChannel = offset >= 0x010 && offset < 0x110 && offset % 16 <= 12;
    return inChannel || (offset >= 0x2B0 && offset <= 0x2B4) || offset == 0x2B9 ||
           (offset >= 0x3C0 && offset <= 0x3C3) || (offset >= 0x3C5 && offset <= 0x3CC) ||
           (offset >= 0x3D0 && offset <= 0x3D7);
}

TEST(RadioImage, FreshImageHoldsTheDefaultsAndNoChannel) {
    const RadioImage image = RadioImage::fresh();
    EXPECT_EQ(image.bandCode(), 0xF4);
    EXPECT_EQ(image.bandIndex(), 3);
    EXPECT_EQ(image.bandLimits(), (BandLimits{40'000'000, 47'000'000}));
    for (int n = 1; n <= kChannelCount; ++n) {
        EXPECT_TRUE(image.isRxEmpty(n));
        EXPECT_TRUE(image.isAnyFrequencyEmpty(n));
        EXPECT_TRUE(image.isTxSameAsRx(n));
        EXPECT_EQ(image.channelRecord(n).flags(), 0xEB);
        EXPECT_EQ(image.frequencyText(n, kRx), "");
        EXPECT_EQ(image.toneText(n, kTx, "Off"), "Off");
    }
    EXPECT_EQ(image.squelchLevel(), 3);
    EXPECT_EQ(image.txTimeLimit(), 6);
    EXPECT_EQ(image.voicePrompt(), 1);
    EXPECT_TRUE(image.batterySave());
    EXPECT_FALSE(image.beepEnabled());
    EXPECT_FALSE(image.voiceEnabled() || image.scanEnabled() || image.voxEnabled() ||
                 image.fmRadioEnabled());
    EXPECT_EQ(image.voxLevel() + image.sideKey1() + image.sideKey2() + image.fmFrequency() +
                  image.scanMode(),
              0);
    EXPECT_EQ(image.dtmfCode(), kEmptyDtmf);
    EXPECT_EQ(image.identText(), "ZK9VW");
    EXPECT_EQ(image.bytes[off::kReserved3D0], 0);
    EXPECT_EQ(image.bytes[off::kReserved3D1], 0);
    EXPECT_EQ(image.bytes[off::kBeepAndBattery], 0xFE);
    EXPECT_EQ(image.bytes[off::kScanMode], 0xFE);
    for (std::size_t i = 0; i < kImageSize; ++i) {
        if (!isFieldByte(i) || (i >= 0x010 && i < 0x110 && i % 16 < 12) ||
            (i >= off::kDtmfCode && i < off::kDtmfCode + 5)) {
            EXPECT_EQ(image.bytes[i], 0xFF) << "offset " << i;
        }
    }
}

TEST(RadioImage, ErasedMemoryReadsAsLargestValues) {
    const RadioImage image = erasedImage();
    EXPECT_EQ(image.squelchLevel(), 9);
    EXPECT_EQ(image.txTimeLimit(), 10);
    EXPECT_EQ(image.fmFrequency(), 210);
    EXPECT_EQ(image.sideKey1(), 3);
    EXPECT_EQ(image.sideKey2(), 3);
    EXPECT_EQ(image.voxLevel(), 4);
    EXPECT_EQ(image.voicePrompt(), 1);
    EXPECT_EQ(image.scanMode(), 1);
    EXPECT_TRUE(image.voiceEnabled() && image.scanEnabled() && image.voxEnabled() &&
                image.fmRadioEnabled() && image.beepEnabled() && image.batterySave());
    EXPECT_EQ(image.bandIndex(), 3);
    EXPECT_EQ(image.bandLimits(), (BandLimits{40'000'000, 47'000'000}));
    EXPECT_EQ(image.bandCode(), 0xFF);  // reading the band never rewrites it
}

TEST(RadioImage, BandCodesMapToListIndexAndLimits) {
    const struct {
        std::uint8_t code;
        int index;
        BandLimits limits;
    } cases[] = {
        {0xF7, 0, {24'500'000, 24'600'000}}, {0xF5, 1, {47'000'000, 49'000'000}},
        {0xF6, 2, {49'000'000, 51'200'000}}, {0xF4, 3, {40'000'000, 47'000'000}},
        {0xF8, 4, {13'600'000, 17'400'000}}, {0xF9, 5, {13'600'000, 47'000'000}},
        {0xFA, 6, {13'600'000, 47'000'000}}, {0xFF, 3, {40'000'000, 47'000'000}},
        {0x00, 3, {40'000'000, 47'000'000}}, {0xF3, 3, {40'000'000, 47'000'000}},
    };
    for (const auto& c : cases) {
        RadioImage image = erasedImage();
        image.bytes[off::kBandCode] = c.code;
        EXPECT_EQ(image.bandIndex(), c.index) << int{c.code};
        EXPECT_EQ(image.bandLimits(), c.limits) << int{c.code};
        if (c.index != 3 || c.code == 0xF4) {
            RadioImage chosen = erasedImage();
            chosen.setBandIndex(c.index);
            EXPECT_EQ(chosen.bandCode(), c.code);
        }
    }
}

TEST(RadioImage, BandIndexOutsideTheListKeepsTheCodeButAppliesDefaults) {
    for (const int index : {-1, 7, 255}) {
        RadioImage image = erasedImage();
        image.bytes[off::kBandCode] = 0xF8;
        image.setBandIndex(index);
        EXPECT_EQ(image.bandCode(), 0xF8);
        EXPECT_EQ(image.squelchLevel(), 3);
    }
}

TEST(RadioImage, ChannelEmptinessAndComparisonsUseRawBytes) {
    RadioImage image = erasedImage();
    image.setFrequency(2, kRx, {0x00, 0x00, 0x00, 0x9A});
    EXPECT_TRUE(image.isRxEmpty(2));
    image.setFrequency(2, kRx, {0xFF, 0xFF, 0xFF, 0x99});
    EXPECT_FALSE(image.isRxEmpty(2));
    EXPECT_TRUE(image.isAnyFrequencyEmpty(2));
    EXPECT_FALSE(image.isTxSameAsRx(2));
    image.setFrequencyText(2, kTx, "990.0ffff");  // no digits after the point: 990.00000
    EXPECT_FALSE(image.isAnyFrequencyEmpty(2));
    image.setFrequencyText(3, kRx, "446.00625");
    image.setFrequencyText(3, kTx, "446.00625");
    EXPECT_TRUE(image.isTxSameAsRx(3));
    EXPECT_EQ(image.frequencyText(3, kTx), "446.00625");
    image.setToneText(3, kRx, "D754I");
    EXPECT_FALSE(image.isToneSame(3));
    image.setTone(3, kTx, {0x54, 0xC7});
    EXPECT_TRUE(image.isToneSame(3));
    EXPECT_EQ(image.toneText(3, kTx, "Off"), "D754I");
}

TEST(RadioImage, ChannelsOutsideOneToSixteenAreNeverTouched) {
    RadioImage image = noiseImage(7);
    const RadioImage before = image;
    for (const int n : {0, -1, 17, 1000}) {
        image.setFrequencyText(n, kRx, "446");
        image.setToneText(n, kTx, "88.5");
        image.setNarrow(n, 1);
        image.setChannelRecord(n, ChannelRecord{});
        EXPECT_TRUE(image.isRxEmpty(n));
        EXPECT_EQ(image.narrow(n), 1);  // an absent channel reads as erased memory
    }
    EXPECT_EQ(image.bytes, before.bytes);
}

// Each operation with the bytes it may change, and which bits of them.
struct Footprint {
    std::string name;
    std::function<void(RadioImage&, int value)> set;
    std::function<int(const RadioImage&)> get;  // may be empty
    int largest;                                // what get clamps to
    std::vector<std::pair<std::size_t, std::uint8_t>> bytes;
};

std::vector<Footprint> footprints(int n) {
    const std::size_t base = 16 * static_cast<std::size_t>(n);
    auto range = [](std::size_t first, std::size_t count) {
        std::vector<std::pair<std::size_t, std::uint8_t>> r;
        for (std::size_t i = 0; i < count; ++i) {
            r.emplace_back(first + i, std::uint8_t{0xFF});
        }
        return r;
    };
    auto byteField = [&](std::string name, void (RadioImage::*set)(int), auto get, int largest,
                         std::size_t at) {
        return Footprint{std::move(name), [set](RadioImage& i, int v) { (i.*set)(v); },
                         [get](const RadioImage& i) { return int((i.*get)()); }, largest,
                         range(at, 1)};
    };
    auto bitField = [&](std::string name, void (RadioImage::*set)(int), auto get, std::size_t at,
                        std::uint8_t mask) {
        return Footprint{std::move(name),
                         [set](RadioImage& i, int v) { (i.*set)(v); },
                         [get](const RadioImage& i) { return int((i.*get)()); },
                         1,
                         {{at, mask}}};
    };
    auto flag = [&](std::string name, void (RadioImage::*set)(int, int),
                    int (RadioImage::*get)(int) const, std::uint8_t mask) {
        return Footprint{std::move(name),
                         [set, n](RadioImage& i, int v) { (i.*set)(n, v); },
                         [get, n](const RadioImage& i) { return (i.*get)(n); },
                         1,
                         {{base + 12, mask}}};
    };
    using R = RadioImage;
    return {
        flag("col8No", &R::setCol8No, &R::col8No, 0x01),
        flag("col9No", &R::setCol9No, &R::col9No, 0x02),
        flag("narrow", &R::setNarrow, &R::narrow, 0x04),
        flag("highPower", &R::setHighPower, &R::highPower, 0x08),
        flag("col5No", &R::setCol5No, &R::col5No, 0x10),
        {"rxFrequency",
         [n](R& i, int v) { i.setFrequencyText(n, kRx, v % 2 ? "446.00625" : ""); },
         {},
         0,
         range(base, 4)},
        {"txFrequency",
         [n](R& i, int v) { i.setFrequencyText(n, kTx, v % 2 ? "146.5125" : ""); },
         {},
         0,
         range(base + 4, 4)},
        {"rxTone",
         [n](R& i, int v) { i.setToneText(n, kRx, v % 2 ? "D754I" : "Off"); },
         {},
         0,
         range(base + 8, 2)},
        {"txTone",
         [n](R& i, int v) { i.setToneText(n, kTx, v % 2 ? "88.5" : "Off"); },
         {},
         0,
         range(base + 10, 2)},
        {"record",
         [n](R& i, int v) {
             ChannelRecord r;
             r.bytes.fill(static_cast<std::uint8_t>(v));
             i.setChannelRecord(n, r);
         },
         {},
         0,
         range(base, 16)},
        byteField("voiceEnabled", &R::setVoiceEnabled, &R::voiceEnabled, 1, 0x2B0),
        byteField("voicePrompt", &R::setVoicePrompt, &R::voicePrompt, 1, 0x2B1),
        byteField("scanEnabled", &R::setScanEnabled, &R::scanEnabled, 1, 0x2B2),
        byteField("voxEnabled", &R::setVoxEnabled, &R::voxEnabled, 1, 0x2B3),
        byteField("voxLevel", &R::setVoxLevel, &R::voxLevel, 4, 0x2B4),
        byteField("fmRadioEnabled", &R::setFmRadioEnabled, &R::fmRadioEnabled, 1, 0x2B9),
        bitField("beepEnabled", &R::setBeepEnabled, &R::beepEnabled, 0x3C0, 0x01),
        bitField("batterySave", &R::setBatterySave, &R::batterySave, 0x3C0, 0x02),
        byteField("squelchLevel", &R::setSquelchLevel, &R::squelchLevel, 9, 0x3C1),
        byteField("sideKey1", &R::setSideKey1, &R::sideKey1, 3, 0x3C2),
        byteField("txTimeLimit", &R::setTxTimeLimit, &R::txTimeLimit, 10, 0x3C3),
        byteField("sideKey2", &R::setSideKey2, &R::sideKey2, 3, 0x3C5),
        byteField("fmFrequency", &R::setFmFrequency, &R::fmFrequency, 210, 0x3C6),
        bitField("scanMode", &R::setScanMode, &R::scanMode, 0x3C7, 0x01),
        {"dtmfCode",
         [](R& i, int v) { i.setDtmfCode(parseDtmf(std::to_string(v))); },
         {},
         0,
         range(0x3C8, 5)},
    };
}

TEST(RadioImage, EveryFieldSetChangesOnlyItsOwnBytes) {
    unsigned seed = 1;
    for (const int channel : {1, 9, 16}) {
        for (const Footprint& field : footprints(channel)) {
            for (const int value : {0, 1, 2, 9, 10, 200, 254, 255}) {
                RadioImage image = noiseImage(seed++);
                const RadioImage before = image;
                field.set(image, value);
                std::vector<std::uint8_t> allowed(kImageSize, 0);
                for (const auto& [at, mask] : field.bytes) {
                    allowed[at] = mask;
                }
                for (std::size_t i = 0; i < kImageSize; ++i) {
                    ASSERT_EQ(image.bytes[i] & ~allowed[i], before.bytes[i] & ~allowed[i])
                        << field.name << " value " << value << " changed offset " << i;
                }
                if (field.get) {
                    const int expected =
                        field.largest == 1 ? (value != 0 ? 1 : 0) : std::min(value, field.largest);
                    EXPECT_EQ(field.get(image), expected) << field.name << " value " << value;
                }
            }
        }
    }
}

TEST(RadioImage, DefaultsAndBandChoiceKeepUnfieldedBytes) {
    RadioImage image = noiseImage(99);
    const RadioImage before = image;
    image.setBandIndex(4);
    EXPECT_EQ(image.bandCode(), 0xF8);
    for (std::size_t i = 0; i < kImageSize; ++i) {
        if (!isFieldByte(i)) {
            ASSERT_EQ(image.bytes[i], before.bytes[i]) << "offset " << i;
        }
    }
    for (int n = 1; n <= kChannelCount; ++n) {
        const ChannelRecord was = before.channelRecord(n);
        const ChannelRecord now = image.channelRecord(n);
        EXPECT_EQ(now.frequency(kRx), was.frequency(kRx));
        EXPECT_EQ(now.tone(kTx), was.tone(kTx));
        EXPECT_EQ(now.flags() & 0xE0, was.flags() & 0xE0);
        EXPECT_EQ(now.flags() & 0x1F, 0x0B);
    }
    EXPECT_EQ(image.dtmfCode(), before.dtmfCode());
}

}  // namespace
}  // namespace qzm
