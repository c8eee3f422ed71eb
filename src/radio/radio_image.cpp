// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/radio_image.h"

#include <algorithm>

#include "radio/value_codecs.h"

namespace qzm {
namespace off = image_offset;

void RadioImage::erase() {
    bytes.fill(kErasedByte);
}

RadioImage RadioImage::fresh() {
    RadioImage image;
    image.erase();
    image.setBandIndex(kDefaultBandIndex);
    return image;
}

// --- channels ---

std::size_t RadioImage::channelOffset(int n) const {
    return ChannelRecord::kSize * static_cast<std::size_t>(n);
}

ChannelRecord RadioImage::channelRecord(int n) const {
    ChannelRecord record;
    if (!isValidChannel(n)) {
        record.bytes.fill(kErasedByte);
        return record;
    }
    const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(channelOffset(n));
    std::copy(first, first + ChannelRecord::kSize, record.bytes.begin());
    return record;
}

void RadioImage::setChannelRecord(int n, const ChannelRecord& record) {
    if (!isValidChannel(n)) {
        return;
    }
    std::copy(record.bytes.begin(), record.bytes.end(),
              bytes.begin() + static_cast<std::ptrdiff_t>(channelOffset(n)));
}

bool RadioImage::isRxEmpty(int n) const {
    return frequency(n, ChannelSide::Receive)[3] > 0x99;
}

bool RadioImage::isAnyFrequencyEmpty(int n) const {
    return isRxEmpty(n) || frequency(n, ChannelSide::Transmit)[3] > 0x99;
}

bool RadioImage::isTxSameAsRx(int n) const {
    return frequency(n, ChannelSide::Receive) == frequency(n, ChannelSide::Transmit);
}

bool RadioImage::isToneSame(int n) const {
    return tone(n, ChannelSide::Receive) == tone(n, ChannelSide::Transmit);
}

FrequencyBytes RadioImage::frequency(int n, ChannelSide side) const {
    return channelRecord(n).frequency(side);
}

void RadioImage::setFrequency(int n, ChannelSide side, const FrequencyBytes& value) {
    if (!isValidChannel(n)) {
        return;
    }
    std::copy(value.begin(), value.end(),
              bytes.begin() + static_cast<std::ptrdiff_t>(channelOffset(n) +
                                                          ChannelRecord::frequencyOffset(side)));
}

ToneBytes RadioImage::tone(int n, ChannelSide side) const {
    return channelRecord(n).tone(side);
}

void RadioImage::setTone(int n, ChannelSide side, const ToneBytes& value) {
    if (!isValidChannel(n)) {
        return;
    }
    std::copy(value.begin(), value.end(),
              bytes.begin() +
                  static_cast<std::ptrdiff_t>(channelOffset(n) + ChannelRecord::toneOffset(side)));
}

std::string RadioImage::frequencyText(int n, ChannelSide side) const {
    return formatFrequency(frequency(n, side));
}

void RadioImage::setFrequencyText(int n, ChannelSide side, std::string_view text) {
    setFrequency(n, side, parseFrequency(text));
}

std::string RadioImage::toneText(int n, ChannelSide side, std::string_view offText) const {
    return formatTone(tone(n, side), offText);
}

void RadioImage::setToneText(int n, ChannelSide side, std::string_view text) {
    setTone(n, side, parseTone(text));
}

int RadioImage::channelBit(int n, std::uint8_t mask) const {
    return (channelRecord(n).flags() & mask) != 0 ? 1 : 0;
}

void RadioImage::setChannelBit(int n, std::uint8_t mask, int value) {
    if (!isValidChannel(n)) {
        return;
    }
    setBit(channelOffset(n) + ChannelRecord::kFlags, mask, value);
}

int RadioImage::col8No(int n) const {
    return channelBit(n, ChannelRecord::kCol8NoBit);
}
void RadioImage::setCol8No(int n, int v) {
    setChannelBit(n, ChannelRecord::kCol8NoBit, v);
}
int RadioImage::col9No(int n) const {
    return channelBit(n, ChannelRecord::kCol9NoBit);
}
void RadioImage::setCol9No(int n, int v) {
    setChannelBit(n, ChannelRecord::kCol9NoBit, v);
}
int RadioImage::narrow(int n) const {
    return channelBit(n, ChannelRecord::kNarrowBit);
}
void RadioImage::setNarrow(int n, int v) {
    setChannelBit(n, ChannelRecord::kNarrowBit, v);
}
int RadioImage::highPower(int n) const {
    return channelBit(n, ChannelRecord::kHighPowerBit);
}
void RadioImage::setHighPower(int n, int v) {
    setChannelBit(n, ChannelRecord::kHighPowerBit, v);
}
int RadioImage::col5No(int n) const {
    return channelBit(n, ChannelRecord::kCol5NoBit);
}
void RadioImage::setCol5No(int n, int v) {
    setChannelBit(n, ChannelRecord::kCol5NoBit, v);
}

// --- settings helpers ---

int RadioImage::clampedByte(std::size_t offset, int largest) const {
    return std::min(int{bytes[offset]}, largest);
}

void RadioImage::setByte(std::size_t offset, int value) {
    bytes[offset] = static_cast<std::uint8_t>(value & 0xFF);
}

bool RadioImage::bit(std::size_t offset, std::uint8_t mask) const {
    return (bytes[offset] & mask) != 0;
}

void RadioImage::setBit(std::size_t offset, std::uint8_t mask, int value) {
    if (value != 0) {
        bytes[offset] = static_cast<std::uint8_t>(bytes[offset] | mask);
    } else {
        bytes[offset] = static_cast<std::uint8_t>(bytes[offset] & ~mask);
    }
}

// --- function settings ---

bool RadioImage::voiceEnabled() const {
    return bytes[off::kVoiceEnabled] != 0;
}
void RadioImage::setVoiceEnabled(int v) {
    setByte(off::kVoiceEnabled, v);
}
int RadioImage::voicePrompt() const {
    return clampedByte(off::kVoicePrompt, kMaxVoicePrompt);
}
void RadioImage::setVoicePrompt(int v) {
    setByte(off::kVoicePrompt, v);
}
bool RadioImage::scanEnabled() const {
    return bytes[off::kScanEnabled] != 0;
}
void RadioImage::setScanEnabled(int v) {
    setByte(off::kScanEnabled, v);
}
bool RadioImage::voxEnabled() const {
    return bytes[off::kVoxEnabled] != 0;
}
void RadioImage::setVoxEnabled(int v) {
    setByte(off::kVoxEnabled, v);
}
int RadioImage::voxLevel() const {
    return clampedByte(off::kVoxLevel, kMaxVoxLevel);
}
void RadioImage::setVoxLevel(int v) {
    setByte(off::kVoxLevel, v);
}
bool RadioImage::fmRadioEnabled() const {
    return bytes[off::kFmRadioEnabled] != 0;
}
void RadioImage::setFmRadioEnabled(int v) {
    setByte(off::kFmRadioEnabled, v);
}

// --- radio settings ---

bool RadioImage::beepEnabled() const {
    return bit(off::kBeepAndBattery, kBeepBit);
}
void RadioImage::setBeepEnabled(int v) {
    setBit(off::kBeepAndBattery, kBeepBit, v);
}
bool RadioImage::batterySave() const {
    return bit(off::kBeepAndBattery, kBatterySaveBit);
}
void RadioImage::setBatterySave(int v) {
    setBit(off::kBeepAndBattery, kBatterySaveBit, v);
}
int RadioImage::squelchLevel() const {
    return clampedByte(off::kSquelchLevel, kMaxSquelchLevel);
}
void RadioImage::setSquelchLevel(int v) {
    setByte(off::kSquelchLevel, v);
}
int RadioImage::sideKey1() const {
    return clampedByte(off::kSideKey1, kMaxSideKey);
}
void RadioImage::setSideKey1(int v) {
    setByte(off::kSideKey1, v);
}
int RadioImage::txTimeLimit() const {
    return clampedByte(off::kTxTimeLimit, kMaxTxTimeLimit);
}
void RadioImage::setTxTimeLimit(int v) {
    setByte(off::kTxTimeLimit, v);
}
int RadioImage::sideKey2() const {
    return clampedByte(off::kSideKey2, kMaxSideKey);
}
void RadioImage::setSideKey2(int v) {
    setByte(off::kSideKey2, v);
}
int RadioImage::fmFrequency() const {
    return clampedByte(off::kFmFrequency, kMaxFmFrequency);
}
void RadioImage::setFmFrequency(int v) {
    setByte(off::kFmFrequency, v);
}
int RadioImage::scanMode() const {
    return bit(off::kScanMode, kScanModeBit) ? 1 : 0;
}
void RadioImage::setScanMode(int v) {
    setBit(off::kScanMode, kScanModeBit, v);
}

DtmfBytes RadioImage::dtmfCode() const {
    DtmfBytes code{};
    std::copy_n(bytes.begin() + off::kDtmfCode, code.size(), code.begin());
    return code;
}

void RadioImage::setDtmfCode(const DtmfBytes& value) {
    std::copy(value.begin(), value.end(), bytes.begin() + off::kDtmfCode);
}

std::string RadioImage::identText() const {
    const auto first = bytes.begin() + off::kIdentText;
    return std::string(first, first + static_cast<std::ptrdiff_t>(kDefaultIdentText.size()));
}

// --- band ---

int RadioImage::bandIndex() const {
    return bandIndexOfCode(bandCode());
}

BandLimits RadioImage::bandLimits() const {
    return bandLimitsOfCode(bandCode());
}

void RadioImage::setBandIndex(int index) {
    if (const auto code = bandCodeOfIndex(index)) {
        bytes[off::kBandCode] = *code;
    }
    applyDefaults();
}

void RadioImage::applyDefaults() {
    bytes[off::kReserved3D1] = 0;
    bytes[off::kReserved3D0] = 0;
    std::copy(kDefaultIdentText.begin(), kDefaultIdentText.end(), bytes.begin() + off::kIdentText);
    for (int n = 1; n <= kChannelCount; ++n) {
        setCol8No(n, 1);
        setNarrow(n, 0);
        setHighPower(n, 1);
        setCol5No(n, 0);
        setCol9No(n, 1);
    }
    setBeepEnabled(0);
    setBatterySave(1);
    setVoicePrompt(1);
    setSquelchLevel(3);
    setSideKey1(0);
    setSideKey2(0);
    setTxTimeLimit(6);
    setFmFrequency(0);
    setScanMode(0);
    setVoiceEnabled(0);
    setScanEnabled(0);
    setFmRadioEnabled(0);
    setVoxEnabled(0);
    setVoxLevel(0);
}

}  // namespace qzm
