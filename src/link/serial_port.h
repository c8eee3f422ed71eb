// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>

#include <termios.h>

#include "link/port_map.h"
#include "link/port_open_error.h"

namespace qzm {

// The one serial port of the application, on POSIX termios.
//
// Ports are opened by number (mapped to a device by PortMap) at 9600 8N1 raw with
// DTR and RTS raised, exclusive against other programs (flock plus TIOCEXCL).
// Reads never block in the driver: every wait is a poll() until the deadline, so
// a transfer costs no CPU.  A hang-up ends a wait at once as "nothing received".
//
// close() may be called from another thread while read, readByte, write or pause
// runs: it wakes that call (an eventfd in every poll set), waits until no call is
// using the descriptor any more, and only then closes it.  Calls on a closed port
// return at once with no data, so a descriptor number is never used after close.
class SerialPort {
  public:
    explicit SerialPort(PortMap portMap = PortMap{});
    virtual ~SerialPort();

    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens port `portNumber` (1..255).  A port that is already open is closed first.
    bool open(int portNumber, int baudRate);
    // The same, telling why it failed.
    PortOpenError openWithReason(int portNumber, int baudRate);
    // Opens a device by path (tests, the command-line tool's --device).
    PortOpenError openDevice(const std::filesystem::path& device, int baudRate);

    // Changes only the baud rate of the open port; ignored when closed or unsupported.
    void setBaudRate(int baudRate);

    // Sleeps `delayMs`, then writes; in per-byte mode sleeps before every byte and
    // stops at the first byte not accepted.  Returns the number of bytes written.
    int write(const std::uint8_t* buffer, int count, int delayMs, bool perByte);
    int writeByte(std::uint8_t value, int delayMs);

    // Waits up to `timeoutMs` for `count` bytes; returns how many arrived.
    int read(std::uint8_t* buffer, int count, int timeoutMs);
    // One byte (0..255), or -1 when none arrived within `timeoutMs`.  A time-out of
    // 0 makes exactly one attempt, which drains stale input.
    int readByte(int timeoutMs);

    // Waits `ms`, ending early when the port is closed meanwhile (then false).  The
    // transfer's pauses use it so that a cancel ends them at once.
    bool pause(int ms);

    void close();
    bool isOpen() const;

    // The device of the open port (empty when closed).
    std::filesystem::path device() const;

    // How port numbers map to devices; may be replaced while the port is closed.
    void setPortMap(PortMap portMap);
    PortMap portMap() const;

  private:
    class Use;  // a call holding the descriptor; close() waits until none is left

    enum class Wait { Ready, TimedOut, Woken, HungUp };

    int acquire();
    void release();
    Wait waitFor(int fd, short events, long long timeoutNs) const;
    bool sleepUnlessWoken(int ms) const;
    int writeAll(int fd, const std::uint8_t* buffer, int count) const;

    mutable std::mutex mutex_;
    std::condition_variable idle_;
    int fd_ = -1;
    int users_ = 0;
    std::atomic<bool> closing_{false};
    int wakeFd_ = -1;                       // eventfd, signalled by close() while calls wait
    std::atomic<long long> byteTimeNs_{0};  // line time of one byte at the current rate
    std::filesystem::path device_;
    PortMap portMap_;
    termios savedSettings_{};  // the line settings found at open, restored on close
};

}  // namespace qzm
