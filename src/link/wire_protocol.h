// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

namespace qzm::wire {

// Frames and timing of the radio's half-duplex protocol at 9600 baud 8N1.
inline constexpr int kBaudRate = 9600;

inline constexpr std::uint8_t kStx = 0x02;  // starts the handshake; alone, asks for the ident
inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kNak = 0x15;
inline constexpr std::uint8_t kReadCommand = 0x52;  // 'R'
inline constexpr std::uint8_t kDataCommand = 0x57;  // 'W'
inline constexpr std::uint8_t kBlockLength = 0x08;

inline constexpr std::array<std::uint8_t, 8> kHandshakeFrame = {kStx, 'P', 'R', 'O',
                                                                'G',  'R', 'A', 'M'};
inline constexpr int kIdentLength = 8;
inline constexpr int kBlockSize = 8;
inline constexpr int kBlockCount = 124;  // 992 bytes: image offsets 0x000..0x3DF
inline constexpr int kReadRequestSize = 4;
inline constexpr int kDataFrameSize = 12;

// Pacing (sleeps before sending) and time-outs, in milliseconds.
inline constexpr int kPauseAfterOpenMs = 100;
inline constexpr int kHandshakeByteDelayMs = 16;
inline constexpr int kHandshakeAnswerTimeoutMs = 50;
inline constexpr int kHandshakeAttempts = 10;
inline constexpr int kFrameDelayMs = 1;
inline constexpr int kIdentTimeoutMs = 500;
inline constexpr int kAckAnswerTimeoutMs = 50;
inline constexpr int kBlockAnswerTimeoutMs = 500;
inline constexpr int kBlockAttempts = 3;
inline constexpr int kPauseAfterWriteMs = 1000;

constexpr int blockAddress(int block) {
    return block * kBlockSize;
}
constexpr std::uint8_t addressHigh(int address) {
    return static_cast<std::uint8_t>(address >> 8);
}
constexpr std::uint8_t addressLow(int address) {
    return static_cast<std::uint8_t>(address & 0xFF);
}

// Percent after `blocksDone` blocks: 800 * n / 992, the same as 100 * n / 124.
constexpr int progressAfter(int blocksDone) {
    return (800 * blocksDone) / (kBlockCount * kBlockSize);
}

// Percent after `done` of the `total` blocks a phase moves; for all 124 the same as
// progressAfter.
constexpr int progressAfter(int done, int total) {
    return total <= 0 ? 100 : (100 * done) / total;
}

}  // namespace qzm::wire
