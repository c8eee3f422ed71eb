// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A serial line for tests: a pseudo-terminal whose far end the test plays.

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qzm::test {

// A pseudo-terminal whose far end the test plays by hand: a silent radio when
// nobody writes to it.
class PtyPair {
  public:
    PtyPair() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
            return;
        }
        char name[128] = {};
        if (::ptsname_r(master_, name, sizeof name) != 0) {
            return;
        }
        path_ = name;
        // Holding the slave keeps the master from seeing a hang-up between opens.
        hold_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios settings{};
        if (hold_ >= 0 && ::tcgetattr(hold_, &settings) == 0) {
            ::cfmakeraw(&settings);
            ::tcsetattr(hold_, TCSANOW, &settings);
        }
    }
    ~PtyPair() { hangUp(); }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return master_ >= 0 && hold_ >= 0; }
    const std::string& path() const { return path_; }
    int holdFd() const { return hold_; }

    void send(const std::vector<std::uint8_t>& bytes) const {
        (void)!::write(master_, bytes.data(), bytes.size());
    }

    // What the port wrote, collected until nothing more comes for `quietMs`.
    std::vector<std::uint8_t> drain(int quietMs = 50) const {
        std::vector<std::uint8_t> bytes;
        pollfd fd{master_, POLLIN, 0};
        while (::poll(&fd, 1, quietMs) > 0 && (fd.revents & POLLIN) != 0) {
            std::uint8_t buffer[256];
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            bytes.insert(bytes.end(), buffer, buffer + n);
        }
        return bytes;
    }

    // Waits until the port's side has input waiting (the terminal passes bytes on
    // asynchronously); false when none came within `limitMs`.
    bool waitUntilInputWaiting(int limitMs = 5000) const {
        pollfd fd{hold_, POLLIN, 0};
        return ::poll(&fd, 1, limitMs) > 0 && (fd.revents & POLLIN) != 0;
    }

    // Waits until the port's side has taken every byte sent to it; false when that
    // did not happen within `limitMs`.
    bool waitUntilInputTaken(int limitMs = 5000) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
        for (;;) {
            int waiting = 0;
            if (::ioctl(hold_, FIONREAD, &waiting) == 0 && waiting == 0) {
                return true;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    // Pulls the cable: the port's side sees a hang-up.
    void hangUp() {
        if (master_ >= 0) {
            ::close(master_);
            master_ = -1;
        }
        if (hold_ >= 0) {
            ::close(hold_);
            hold_ = -1;
        }
    }

  private:
    int master_ = -1;
    int hold_ = -1;
    std::string path_;
};

// A radio that hears everything and never answers; it counts what it heard.
class SilentRadio {
  public:
    SilentRadio()
        : reader_([this] {
              while (!stop_.load()) {
                  const auto bytes = pty_.drain(5);
                  std::lock_guard lock(mutex_);
                  heard_.insert(heard_.end(), bytes.begin(), bytes.end());
              }
          }) {}
    ~SilentRadio() {
        stop_.store(true);
        reader_.join();
    }
    SilentRadio(const SilentRadio&) = delete;
    SilentRadio& operator=(const SilentRadio&) = delete;

    const std::string& path() const { return pty_.path(); }
    std::size_t heardBytes() const {
        std::lock_guard lock(mutex_);
        return heard_.size();
    }

  private:
    PtyPair pty_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::uint8_t> heard_;
    std::thread reader_;
};

}  // namespace qzm::test
