// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "radio/band_table.h"
#include "radio/channel_record.h"
#include "radio/field_bytes.h"

namespace qzm {

// The radio's programmable memory as the tool keeps it.
inline constexpr std::size_t kImageSize = 4096;
// Only the first 992 bytes (0x000..0x3DF) travel to and from the radio.
inline constexpr std::size_t kRadioTransferSize = 0x3E0;

// Offsets of the fields in the image.  Every byte not named here is carried unchanged.
namespace image_offset {
inline constexpr std::size_t kFirstChannel = 0x010;  // channel n at 16 * n
inline constexpr std::size_t kVoiceEnabled = 0x2B0;
inline constexpr std::size_t kVoicePrompt = 0x2B1;
inline constexpr std::size_t kScanEnabled = 0x2B2;
inline constexpr std::size_t kVoxEnabled = 0x2B3;
inline constexpr std::size_t kVoxLevel = 0x2B4;
inline constexpr std::size_t kFmRadioEnabled = 0x2B9;
inline constexpr std::size_t kBeepAndBattery = 0x3C0;  // bit 0 beep, bit 1 battery save
inline constexpr std::size_t kSquelchLevel = 0x3C1;
inline constexpr std::size_t kSideKey1 = 0x3C2;
inline constexpr std::size_t kTxTimeLimit = 0x3C3;
inline constexpr std::size_t kSideKey2 = 0x3C5;
inline constexpr std::size_t kFmFrequency = 0x3C6;
inline constexpr std::size_t kScanMode = 0x3C7;  // bit 0
inline constexpr std::size_t kDtmfCode = 0x3C8;
inline constexpr std::size_t kReserved3D0 = 0x3D0;
inline constexpr std::size_t kReserved3D1 = 0x3D1;
inline constexpr std::size_t kBandCode = 0x3D2;
inline constexpr std::size_t kIdentText = 0x3D3;
}  // namespace image_offset

inline constexpr std::uint8_t kBeepBit = 0x01;
inline constexpr std::uint8_t kBatterySaveBit = 0x02;
inline constexpr std::uint8_t kScanModeBit = 0x01;
inline constexpr std::string_view kDefaultIdentText = "ZK9VW";

// Largest value each clamped setting reads as.
inline constexpr int kMaxVoicePrompt = 1;
inline constexpr int kMaxVoxLevel = 4;
inline constexpr int kMaxSquelchLevel = 9;
inline constexpr int kMaxSideKey = 3;
inline constexpr int kMaxTxTimeLimit = 10;   // units of 30 s, 0 = off
inline constexpr int kMaxFmFrequency = 210;  // steps of 0.1 MHz above 87.0 MHz

// The image and its field operations.  Channel numbers are 1..16: a get of any other
// channel reads as an empty channel and a set of one does nothing.  Settings gets clamp to
// the largest legal value (erased memory, 0xFF, reads as the largest list index or "on");
// sets store the value as one byte, or set or clear only their bit.
struct RadioImage {
    std::array<std::uint8_t, kImageSize> bytes{};

    // All 4096 bytes 0xFF, as erased memory.
    void erase();
    // An erased image with band index 3 and the defaults: what a new document holds.
    static RadioImage fresh();

    // --- channels ---
    static bool isValidChannel(int n) { return n >= 1 && n <= kChannelCount; }
    ChannelRecord channelRecord(int n) const;
    void setChannelRecord(int n, const ChannelRecord& record);

    bool isRxEmpty(int n) const;
    bool isAnyFrequencyEmpty(int n) const;
    bool isTxSameAsRx(int n) const;
    bool isToneSame(int n) const;

    FrequencyBytes frequency(int n, ChannelSide side) const;
    void setFrequency(int n, ChannelSide side, const FrequencyBytes& value);
    ToneBytes tone(int n, ChannelSide side) const;
    void setTone(int n, ChannelSide side, const ToneBytes& value);

    // Through the codecs.
    std::string frequencyText(int n, ChannelSide side) const;
    void setFrequencyText(int n, ChannelSide side, std::string_view text);
    std::string toneText(int n, ChannelSide side, std::string_view offText) const;
    void setToneText(int n, ChannelSide side, std::string_view text);

    // Flag bits, each 0 or 1; a non-zero value sets the bit.
    int col8No(int n) const;
    void setCol8No(int n, int value);
    int col9No(int n) const;
    void setCol9No(int n, int value);
    int narrow(int n) const;
    void setNarrow(int n, int value);
    int highPower(int n) const;
    void setHighPower(int n, int value);
    int col5No(int n) const;
    void setCol5No(int n, int value);

    // --- function settings ---
    bool voiceEnabled() const;
    void setVoiceEnabled(int value);
    int voicePrompt() const;
    void setVoicePrompt(int value);
    bool scanEnabled() const;
    void setScanEnabled(int value);
    bool voxEnabled() const;
    void setVoxEnabled(int value);
    int voxLevel() const;
    void setVoxLevel(int value);
    bool fmRadioEnabled() const;
    void setFmRadioEnabled(int value);

    // --- radio settings ---
    bool beepEnabled() const;
    void setBeepEnabled(int value);
    bool batterySave() const;
    void setBatterySave(int value);
    int squelchLevel() const;
    void setSquelchLevel(int value);
    int sideKey1() const;
    void setSideKey1(int value);
    int txTimeLimit() const;
    void setTxTimeLimit(int value);
    int sideKey2() const;
    void setSideKey2(int value);
    int fmFrequency() const;
    void setFmFrequency(int value);
    int scanMode() const;
    void setScanMode(int value);
    DtmfBytes dtmfCode() const;
    void setDtmfCode(const DtmfBytes& value);
    std::string identText() const;

    // --- band ---
    std::uint8_t bandCode() const { return bytes[image_offset::kBandCode]; }
    int bandIndex() const;
    BandLimits bandLimits() const;
    // Stores the code of list index 0..6 (any other index leaves the code as it is), then
    // applies the defaults either way.
    void setBandIndex(int index);

    void applyDefaults();

  private:
    std::size_t channelOffset(int n) const;
    int channelBit(int n, std::uint8_t bit) const;
    void setChannelBit(int n, std::uint8_t bit, int value);
    int clampedByte(std::size_t offset, int largest) const;
    void setByte(std::size_t offset, int value);
    bool bit(std::size_t offset, std::uint8_t mask) const;
    void setBit(std::size_t offset, std::uint8_t mask, int value);
};

}  // namespace qzm
