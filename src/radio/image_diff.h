// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "radio/radio_image.h"

namespace qzm {

// Every field a user can name, channel fields first.  The order of the settings is the
// order in which the settings panel and `show` list them, the band first.
enum class ImageField {
    // Channel fields, in the order of the grid's columns.
    RxFrequency,
    RxTone,
    TxFrequency,
    TxTone,
    Col5No,
    Narrow,
    HighPower,
    Col8No,
    Col9No,
    // Radio-wide settings.
    Band,
    SquelchLevel,
    TxTimeLimit,
    VoicePrompt,
    SideKey1,
    ScanMode,
    VoxLevel,
    VoxEnabled,
    BeepEnabled,
    ScanEnabled,
    BatterySave,
    VoiceEnabled,
    FmRadioEnabled,
    SideKey2,
    FmFrequency,
    DtmfCode,
    IdentText,
};

inline constexpr bool isChannelField(ImageField field) {
    return field <= ImageField::Col9No;
}

// The channel fields in column order, and the radio-wide ones in listing order.
std::span<const ImageField> channelFields();
std::span<const ImageField> settingFields();

// Where a field sits: `size` bytes from `offset`, of which only the bits of `mask` belong to it.
struct FieldSpan {
    std::size_t offset = 0;
    std::size_t size = 0;
    std::uint8_t mask = 0xFF;
};

// The span of `field`; `channel` (1..16) counts for channel fields only.
FieldSpan fieldSpan(ImageField field, int channel);

// The bytes of a field as stored, its mask applied.
std::vector<std::uint8_t> fieldBytes(const RadioImage& image, ImageField field, int channel);

struct FieldDifference {
    ImageField field;
    int channel = 0;  // 1..16 for a channel field, 0 for a setting
    friend bool operator==(const FieldDifference&, const FieldDifference&) = default;
};

struct ImageDifference {
    // The band and the settings first, then channel by channel in column order.
    std::vector<FieldDifference> fields;
    // Bytes that differ in bits no field owns (the gaps of the image map, the spare bits
    // of flag bytes, the reserved bytes).
    std::size_t unmappedBytes = 0;

    bool empty() const { return fields.empty() && unmappedBytes == 0; }
};

// The fields whose stored bits differ and the count of other differing bytes, over the
// first `length` bytes (kRadioTransferSize for what a radio holds; at most kImageSize).
// A field counts as different even when both values read alike (a clamped setting), so no
// byte that differs is ever left out.
ImageDifference compareImages(const RadioImage& before, const RadioImage& after,
                              std::size_t length = kImageSize);

}  // namespace qzm
