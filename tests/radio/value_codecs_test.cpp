// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/value_codecs.h"

#include <gtest/gtest.h>

#include <string>

namespace qzm {
namespace {

constexpr BandLimits k400To470{40'000'000, 47'000'000};
constexpr BandLimits k490To512{49'000'000, 51'200'000};

TEST(FormatFrequency, PrintsPackedDigitsAsMegahertz) {
    const struct {
        FrequencyBytes bytes;
        const char* text;
    } cases[] = {
        {{0x25, 0x06, 0x60, 0x44}, "446.00625"},
        {{0x50, 0x12, 0x65, 0x14}, "146.51250"},
        {{0x00, 0x00, 0x00, 0x04}, "40.00000"},  // no leading zero on the megahertz
        {{0x00, 0x00, 0x00, 0x00}, "00.00000"},
        {{0xAB, 0x0C, 0xD0, 0x8F}, "8fd.00cab"},  // nibbles above 9 as lower-case hex
        {{0x00, 0x00, 0x00, 0x99}, "990.00000"},
        {{0x25, 0x06, 0x60, 0x9A}, ""},  // top byte above 0x99 means empty
        {{0xFF, 0xFF, 0xFF, 0xFF}, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatFrequency(c.bytes), c.text);
    }
}

TEST(NormalizeFrequency, MovesThePointFiveDecimalsRight) {
    const struct {
        const char* text;
        std::int64_t value;
    } cases[] = {
        {"446.00625", 44'600'625},
        {"446", 44'600'000},
        {"446.1", 44'610'000},
        {"446.006259", 44'600'625},
        {".5", 50'000},
        {"abc", 0},
        {"", 0},
        {"44x.5", 44},
        {"446.1.2", 4461},
        {"4294.96729", 429'496'729},
        {"21474.83647", 2'147'483'647},
        // Values beyond 32 bits saturate instead of overflowing.
        {"21474.83648", kFrequencyOverflow},
        {"99999", kFrequencyOverflow},
        {"999999999", kFrequencyOverflow},
        {"99999999999999999999999999", kFrequencyOverflow},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(normalizeFrequency(c.text), c.value) << c.text;
    }
}

TEST(ParseFrequency, SnapsToTheChannelGrid) {
    const struct {
        const char* text;
        FrequencyBytes bytes;
    } cases[] = {
        {"446.00625", {0x25, 0x06, 0x60, 0x44}},
        {"446.005", {0x00, 0x05, 0x60, 0x44}},
        {"446.007", {0x25, 0x06, 0x60, 0x44}},
        {"446.0055", {0x00, 0x05, 0x60, 0x44}},
        {"446.00312", {0x00, 0x05, 0x60, 0x44}},
        {"400.003", {0x00, 0x05, 0x00, 0x40}},
        {"446", {0x00, 0x00, 0x60, 0x44}},
        {"146.5125", {0x50, 0x12, 0x65, 0x14}},
        {"", {0xFF, 0xFF, 0xFF, 0xFF}},
        {"abc", {0x00, 0x00, 0x00, 0x00}},
        // Eight digits is all a record holds, whatever was typed.
        {"999.99999", {0x00, 0x95, 0x99, 0x99}},
        {"99999", {0x00, 0x95, 0x99, 0x99}},
        {"123456789", {0x00, 0x95, 0x99, 0x99}},
        {"999.99375", {0x75, 0x93, 0x99, 0x99}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseFrequency(c.text), c.bytes) << c.text;
    }
}

TEST(SnapToChannelGrid, PrefersTheNearerGridPoint) {
    const struct {
        std::int64_t in, out;
    } cases[] = {
        {44'600'550, 44'600'500},  // 6.25 kHz point is in another kHz; 5 kHz point nearer
        {44'600'562, 44'600'500},  // 62 against 63
        {44'600'563, 44'600'625},  // 63 against 62
        {44'600'310, 44'600'500}, {44'600'125, 44'600'000},
        {44'602'250, 44'602'000},  // a remainder of exactly 250 rounds down
        {44'602'251, 44'602'500}, {0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(snapToChannelGrid(c.in), c.out) << c.in;
    }
}

TEST(ParseFrequency, GridPointsOfEveryBandSurviveARoundTrip) {
    for (const BandEntry& band : kBandTable) {
        for (const std::int64_t step : {625 * 97, 500 * 89}) {
            for (std::int64_t v = band.limits.lower; v <= band.limits.upper; v += step) {
                const std::string text = std::to_string(v / 100000) + "." +
                                         std::to_string(100000 + v % 100000).substr(1);
                EXPECT_EQ(formatFrequency(parseFrequency(text)), text);
                EXPECT_EQ(checkFrequencyRange(text, band.limits), 0) << text;
            }
        }
    }
}

TEST(CheckFrequencyRange, ComparesInclusiveLimits) {
    const struct {
        const char* text;
        BandLimits limits;
        int result;
    } cases[] = {
        {"", k400To470, 0},          {"abc", k400To470, -1},        {"399.99999", k400To470, -1},
        {"400", k400To470, 0},       {"470.00000", k400To470, 0},   {"470.00001", k400To470, 1},
        {"512.00001", k490To512, 1}, {"512", k490To512, 0},         {"99999", k400To470, 1},
        {"999999999", k490To512, 1}, {"21474.83647", k400To470, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(checkFrequencyRange(c.text, c.limits), c.result) << c.text;
    }
}

TEST(FormatLimit, PicksTheLimitBySign) {
    EXPECT_EQ(formatLimit(0, k400To470), "400.00000");
    EXPECT_EQ(formatLimit(-5, k400To470), "400.00000");
    EXPECT_EQ(formatLimit(1, k400To470), "470.00000");
    EXPECT_EQ(formatLimit(0, BandLimits{13'600'000, 17'400'000}), "136.00000");
    EXPECT_EQ(formatLimit(1, BandLimits{0, 24'600'625}), "246.00625");
}

TEST(FormatTone, ShowsCtcssDcsAndOff) {
    const struct {
        ToneBytes bytes;
        const char* text;
    } cases[] = {
        {{0x85, 0x08}, "88.5"},  {{0x41, 0x25}, "254.1"}, {{0x70, 0x06}, "67.0"},
        {{0x23, 0x80}, "D023N"}, {{0x54, 0xC7}, "D754I"}, {{0x23, 0xB7}, "D723N"},
        {{0x23, 0xF7}, "D723I"}, {{0x23, 0x9F}, "Df23N"}, {{0x00, 0xFF}, "Off"},
        {{0xFF, 0xFF}, "Off"},   {{0xAB, 0x7F}, "7fa.b"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatTone(c.bytes, "Off"), c.text);
    }
    EXPECT_EQ(formatTone(kToneOff, "关"), "关");
}

TEST(ParseTone, ReadsCtcssDcsAndOff) {
    const struct {
        const char* text;
        ToneBytes bytes;
    } cases[] = {
        {"88.5", {0x85, 0x08}},   {"67", {0x70, 0x06}},
        {"50", {0x70, 0x06}},     {"300", {0x41, 0x25}},
        {"100.15", {0x01, 0x10}}, {"254.15", {0x41, 0x25}},
        {"67.05", {0x70, 0x06}},  {"0", {0x70, 0x06}},
        {"1e9", {0x70, 0x06}},    {"99999999999999999999", {0x41, 0x25}},
        {"D023N", {0x23, 0x80}},  {"D754I", {0x54, 0xC7}},
        {"d754i", {0x54, 0xC7}},  {"d1234", {0x23, 0x81}},
        {"D12I", {0x23, 0x80}},   {"D128N", {0x23, 0x80}},
        {"D123NX", {0x23, 0x80}}, {"D", {0x23, 0x80}},
        {"", {0xFF, 0xFF}},       {"Off", {0xFF, 0xFF}},
        {"关", {0xFF, 0xFF}},     {" 88.5", {0xFF, 0xFF}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseTone(c.text), c.bytes) << c.text;
    }
}

TEST(ParseTone, EveryCodeFormatsBackToItself) {
    for (int a = 0; a < 8; ++a) {
        for (int bc = 0; bc < 64; ++bc) {
            for (const char* polarity : {"N", "I"}) {
                const std::string text = "D" + std::to_string(a) + std::to_string(bc / 8) +
                                         std::to_string(bc % 8) + polarity;
                EXPECT_EQ(formatTone(parseTone(text), "Off"), text);
            }
        }
    }
    for (int tenths = 670; tenths <= 2541; ++tenths) {
        const std::string text = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
        EXPECT_EQ(formatTone(parseTone(text), "Off"), text);
    }
}

TEST(Dtmf, FormatsAndParses) {
    const struct {
        DtmfBytes bytes;
        const char* text;
    } formats[] = {
        {{1, 2, 14, 3, 4}, "12"},
        {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, ""},
        {{10, 11, 12, 13, 0}, "ABCD0"},
        {{9, 8, 7, 6, 5}, "98765"},
    };
    for (const auto& c : formats) {
        EXPECT_EQ(formatDtmf(c.bytes), c.text);
    }
    const struct {
        const char* text;
        DtmfBytes bytes;
    } parses[] = {
        {"12X4", {1, 2, 0xFF, 0xFF, 0xFF}},     {"abcd", {10, 11, 12, 13, 0xFF}},
        {"", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},   {"0123456", {0, 1, 2, 3, 4}},
        {"E1", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const auto& c : parses) {
        EXPECT_EQ(parseDtmf(c.text), c.bytes) << c.text;
    }
}

}  // namespace
}  // namespace qzm
