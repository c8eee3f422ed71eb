// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/image_diff.h"

#include <algorithm>
#include <array>

namespace qzm {
namespace {
namespace off = image_offset;

constexpr std::array kChannelFields{
    ImageField::RxFrequency, ImageField::RxTone, ImageField::TxFrequency,
    ImageField::TxTone,      ImageField::Col5No, ImageField::Narrow,
    ImageField::HighPower,   ImageField::Col8No, ImageField::Col9No,
};

constexpr std::array kSettingFields{
    ImageField::Band,           ImageField::SquelchLevel, ImageField::TxTimeLimit,
    ImageField::VoicePrompt,    ImageField::SideKey1,     ImageField::ScanMode,
    ImageField::VoxLevel,       ImageField::VoxEnabled,   ImageField::BeepEnabled,
    ImageField::ScanEnabled,    ImageField::BatterySave,  ImageField::VoiceEnabled,
    ImageField::FmRadioEnabled, ImageField::SideKey2,     ImageField::FmFrequency,
    ImageField::DtmfCode,       ImageField::IdentText,
};

FieldSpan channelSpan(ImageField field, int channel) {
    const std::size_t base = ChannelRecord::kSize * static_cast<std::size_t>(channel);
    auto flag = [&](std::uint8_t bit) { return FieldSpan{base + ChannelRecord::kFlags, 1, bit}; };
    switch (field) {
        case ImageField::RxFrequency:
            return {base + ChannelRecord::kRxFrequency, 4};
        case ImageField::TxFrequency:
            return {base + ChannelRecord::kTxFrequency, 4};
        case ImageField::RxTone:
            return {base + ChannelRecord::kRxTone, 2};
        case ImageField::TxTone:
            return {base + ChannelRecord::kTxTone, 2};
        case ImageField::Col5No:
            return flag(ChannelRecord::kCol5NoBit);
        case ImageField::Narrow:
            return flag(ChannelRecord::kNarrowBit);
        case ImageField::HighPower:
            return flag(ChannelRecord::kHighPowerBit);
        case ImageField::Col8No:
            return flag(ChannelRecord::kCol8NoBit);
        case ImageField::Col9No:
            return flag(ChannelRecord::kCol9NoBit);
        default:
            return {};
    }
}

// The mask of the bits some field owns, byte by byte.
std::array<std::uint8_t, kImageSize> mappedBits() {
    std::array<std::uint8_t, kImageSize> mask{};
    auto add = [&](const FieldSpan& span) {
        for (std::size_t i = 0; i < span.size; ++i) {
            mask[span.offset + i] = static_cast<std::uint8_t>(mask[span.offset + i] | span.mask);
        }
    };
    for (int n = 1; n <= kChannelCount; ++n) {
        for (ImageField field : kChannelFields) {
            add(fieldSpan(field, n));
        }
    }
    for (ImageField field : kSettingFields) {
        add(fieldSpan(field, 0));
    }
    return mask;
}

bool differs(const RadioImage& a, const RadioImage& b, const FieldSpan& span, std::size_t length) {
    for (std::size_t i = span.offset; i < span.offset + span.size && i < length; ++i) {
        if (((a.bytes[i] ^ b.bytes[i]) & span.mask) != 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::span<const ImageField> channelFields() {
    return kChannelFields;
}

std::span<const ImageField> settingFields() {
    return kSettingFields;
}

FieldSpan fieldSpan(ImageField field, int channel) {
    if (isChannelField(field)) {
        return RadioImage::isValidChannel(channel) ? channelSpan(field, channel) : FieldSpan{};
    }
    switch (field) {
        case ImageField::Band:
            return {off::kBandCode, 1};
        case ImageField::SquelchLevel:
            return {off::kSquelchLevel, 1};
        case ImageField::TxTimeLimit:
            return {off::kTxTimeLimit, 1};
        case ImageField::VoicePrompt:
            return {off::kVoicePrompt, 1};
        case ImageField::SideKey1:
            return {off::kSideKey1, 1};
        case ImageField::ScanMode:
            return {off::kScanMode, 1, kScanModeBit};
        case ImageField::VoxLevel:
            return {off::kVoxLevel, 1};
        case ImageField::VoxEnabled:
            return {off::kVoxEnabled, 1};
        case ImageField::BeepEnabled:
            return {off::kBeepAndBattery, 1, kBeepBit};
        case ImageField::ScanEnabled:
            return {off::kScanEnabled, 1};
        case ImageField::BatterySave:
            return {off::kBeepAndBattery, 1, kBatterySaveBit};
        case ImageField::VoiceEnabled:
            return {off::kVoiceEnabled, 1};
        case ImageField::FmRadioEnabled:
            return {off::kFmRadioEnabled, 1};
        case ImageField::SideKey2:
            return {off::kSideKey2, 1};
        case ImageField::FmFrequency:
            return {off::kFmFrequency, 1};
        case ImageField::DtmfCode:
            return {off::kDtmfCode, std::tuple_size_v<DtmfBytes>};
        case ImageField::IdentText:
            return {off::kIdentText, kDefaultIdentText.size()};
        default:
            return {};
    }
}

std::vector<std::uint8_t> fieldBytes(const RadioImage& image, ImageField field, int channel) {
    const FieldSpan span = fieldSpan(field, channel);
    std::vector<std::uint8_t> result;
    for (std::size_t i = 0; i < span.size; ++i) {
        result.push_back(static_cast<std::uint8_t>(image.bytes[span.offset + i] & span.mask));
    }
    return result;
}

ImageDifference compareImages(const RadioImage& before, const RadioImage& after,
                              std::size_t length) {
    length = std::min(length, kImageSize);
    ImageDifference result;
    for (ImageField field : kSettingFields) {
        if (differs(before, after, fieldSpan(field, 0), length)) {
            result.fields.push_back({field, 0});
        }
    }
    for (int n = 1; n <= kChannelCount; ++n) {
        for (ImageField field : kChannelFields) {
            if (differs(before, after, fieldSpan(field, n), length)) {
                result.fields.push_back({field, n});
            }
        }
    }
    static const std::array<std::uint8_t, kImageSize> mapped = mappedBits();
    for (std::size_t i = 0; i < length; ++i) {
        if (((before.bytes[i] ^ after.bytes[i]) & ~mapped[i] & 0xFF) != 0) {
            ++result.unmappedBytes;
        }
    }
    return result;
}

}  // namespace qzm
