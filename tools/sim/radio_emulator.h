// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "radio/radio_image.h"

namespace qzm::sim {

// Where injected garbage goes: before the answer to the handshake, to the
// identification request, or to the block with that number (0..123).
inline constexpr int kGarbageAtHandshake = -1;
inline constexpr int kGarbageAtIdent = -2;

struct EmulatorConfig {
    RadioImage image = RadioImage::fresh();  // what the radio holds
    // 1 = a 9600-baud 8N1 line (10 bits a byte, both directions); 4 = four times
    // faster; 0 = no line time at all.
    double lineSpeed = 1.0;
    int answerDelayMs = 0;  // the radio's thinking time before every answer

    bool silent = false;          // answers nothing
    int identBytes = 8;           // 0..8: a short or missing identification
    int badAddressBlock = -1;     // answer a read of this block with a wrong address
    bool badAddressOnce = false;  //   only the first time
    int nakBlock = -1;            // answer a write of this block with NAK (0x15)
    bool nakOnce = false;         //   only the first time
    int corruptBlock = -1;        // keep a write of this block wrongly (its first byte
                                  // inverted), yet acknowledge it
    bool corruptOnce = false;     //   only the first time
    int garbageCount = 0;         // garbage bytes, once, before one answer
    int garbageAt = kGarbageAtHandshake;
    int hangUpAfterBlock = -1;  // hang up after answering this block
    bool answerAcks = true;     // answer the acknowledgements with 0x06

    std::filesystem::path savePath;  // where a completed write is stored (".836")

    // Called on the emulator's thread once the answer to a read or write of block K
    // has gone out: tests act at an exact point of a transfer instead of watching
    // for a state that may pass unseen.
    std::function<void(int block)> afterBlockAnswer;
    // Called on the emulator's thread for every byte it hears, before acting on it.
    std::function<void(std::uint8_t byte)> onByteHeard;
};

// The radio at the far end of a pseudo-terminal.  start() opens the terminal and a
// thread that answers the wire protocol from the image, pacing input and output
// like the configured line.  Used by qzm836-sim and, in-process, by the tests.
class RadioEmulator {
  public:
    explicit RadioEmulator(EmulatorConfig config);
    ~RadioEmulator();

    RadioEmulator(const RadioEmulator&) = delete;
    RadioEmulator& operator=(const RadioEmulator&) = delete;

    // Opens the pseudo-terminal and starts answering; false (with `error`) on failure.
    bool start(std::string& error);
    void stop();

    // The device path the tool opens, for example /dev/pts/4.
    const std::string& slavePath() const { return slavePath_; }

    // True once the line has been hung up (the fault option) and the thread ended.
    bool hungUp() const { return hungUp_.load(); }

    // Every byte received so far, in order.
    std::vector<std::uint8_t> received() const;
    // The same once every byte the tool has put on the line is taken in (or after
    // `limit`): a tool that ends without waiting for an answer may finish before this
    // thread has read its last bytes, on a busy machine by far.
    std::vector<std::uint8_t> receivedAll(
        std::chrono::milliseconds limit = std::chrono::seconds(5)) const;
    RadioImage image() const;
    int handshakes() const;
    int completedWrites() const;
    // Set by the program to report on its standard output.
    void setVerbose(bool verbose) { verbose_ = verbose; }

  private:
    using Clock = std::chrono::steady_clock;
    struct Incoming {
        std::uint8_t byte;
        Clock::time_point availableAt;
    };

    void loop();
    void feed(std::uint8_t byte);
    void onHandshake();
    void answerIdent();
    void onAck();
    void onReadRequest();
    void onDataFrame();
    void send(std::vector<std::uint8_t> bytes, bool garbageFirst);
    bool takeGarbage(int step);
    bool sleepUntil(Clock::time_point when);
    bool writeToMaster(std::uint8_t byte);
    void writeAllToMaster(const std::vector<std::uint8_t>& bytes);
    void hangUp();
    void scheduleHangUp();
    void say(const std::string& text) const;
    Clock::duration byteTime() const;

    EmulatorConfig config_;
    int masterFd_ = -1;
    int slaveHoldFd_ = -1;  // keeps the line up while the tool has the slave closed
    int stopFd_ = -1;
    std::string slavePath_;
    std::thread thread_;
    std::atomic<bool> hungUp_{false};
    bool verbose_ = false;

    // Owned by the emulator thread.
    std::deque<Incoming> incoming_;
    Clock::time_point lineFreeAt_{};
    std::size_t handshakeMatched_ = 0;  // bytes of the handshake frame seen in a row
    bool waitingIdentQuiet_ = false;
    Clock::time_point identQuietUntil_{};
    bool connected_ = false;
    enum class LastAnswer { None, Handshake, Ident, ReadBlock, WriteBlock };
    LastAnswer lastAnswer_ = LastAnswer::None;
    Clock::time_point lastAnswerEnd_{};  // when the last answer's last byte is through
    Clock::time_point heardAt_{};        // when the byte being handled was through the line
    std::vector<std::uint8_t> frame_;
    std::size_t frameSize_ = 0;
    std::vector<bool> blocksWritten_;
    bool garbageUsed_ = false;
    bool hangUpPending_ = false;
    Clock::time_point hangUpAt_{};
    bool nakUsed_ = false;
    bool corruptUsed_ = false;
    bool badAddressUsed_ = false;

    mutable std::mutex mutex_;  // guards what the accessors read
    std::vector<std::uint8_t> received_;
    RadioImage image_;
    int handshakes_ = 0;
    int completedWrites_ = 0;
};

}  // namespace qzm::sim
