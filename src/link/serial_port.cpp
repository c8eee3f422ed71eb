// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>

namespace qzm {

namespace {

using Clock = std::chrono::steady_clock;

std::optional<speed_t> speedFor(int baudRate) {
    switch (baudRate) {
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        default:
            return std::nullopt;
    }
}

// Start bit, 8 data bits, stop bit.
long long byteTimeFor(int baudRate) {
    return 10'000'000'000LL / baudRate;
}

timespec toTimespec(long long ns) {
    if (ns < 0) {
        ns = 0;
    }
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
    ts.tv_nsec = static_cast<long>(ns % 1'000'000'000);
    return ts;
}

long long nanosecondsUntil(Clock::time_point deadline) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - Clock::now()).count();
}

Clock::time_point deadlineAfter(int ms) {
    return Clock::now() + std::chrono::milliseconds(ms);
}

void makeRaw(termios& settings, speed_t speed) {
    settings.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                               ICRNL | IXON | IXOFF | IXANY | INPCK);
    settings.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    settings.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    cfsetispeed(&settings, speed);
    cfsetospeed(&settings, speed);
}

}  // namespace

// Holds the descriptor for the length of one call; close() waits for all of them.
class SerialPort::Use {
  public:
    explicit Use(SerialPort& port) : port_(port), fd_(port.acquire()) {}
    ~Use() {
        if (fd_ >= 0) {
            port_.release();
        }
    }
    Use(const Use&) = delete;
    Use& operator=(const Use&) = delete;

    int fd() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }

  private:
    SerialPort& port_;
    int fd_;
};

SerialPort::SerialPort(PortMap portMap) : portMap_(std::move(portMap)) {
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

SerialPort::~SerialPort() {
    close();
    if (wakeFd_ >= 0) {
        ::close(wakeFd_);
    }
}

int SerialPort::acquire() {
    std::lock_guard lock(mutex_);
    if (fd_ < 0 || closing_.load()) {
        return -1;
    }
    ++users_;
    return fd_;
}

void SerialPort::release() {
    std::lock_guard lock(mutex_);
    if (--users_ == 0) {
        idle_.notify_all();
    }
}

bool SerialPort::open(int portNumber, int baudRate) {
    return openWithReason(portNumber, baudRate) == PortOpenError::None;
}

PortOpenError SerialPort::openWithReason(int portNumber, int baudRate) {
    const auto device = portMap().deviceFor(portNumber);
    if (!device) {
        close();
        return PortOpenError::NotFound;
    }
    return openDevice(*device, baudRate);
}

PortOpenError SerialPort::openDevice(const std::filesystem::path& device, int baudRate) {
    // A descriptor left open here would keep the device locked until exit.
    close();
    // The program's own terminal, never a cable: frames sent there would land on the
    // user's screen, and without a terminal it looks like a missing device.
    if (device == "/dev/tty") {
        return PortOpenError::NotASerialPort;
    }
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return portOpenErrorFromErrno(errno);
    }
    // Root ignores TIOCEXCL, so the advisory lock is what keeps a second program out.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return error == EWOULDBLOCK ? PortOpenError::InUse : portOpenErrorFromErrno(error);
    }
    termios original{};
    if (::tcgetattr(fd, &original) != 0) {
        const int error = errno;
        ::close(fd);
        return error == ENOTTY ? PortOpenError::NotASerialPort : portOpenErrorFromErrno(error);
    }
    (void)::ioctl(fd, TIOCEXCL);

    termios settings = original;
    makeRaw(settings, speedFor(baudRate).value_or(cfgetospeed(&original)));
    (void)::tcsetattr(fd, TCSANOW, &settings);

    // DTR first, then RTS: the cable powers its level shifter from them.  A
    // pseudo-terminal has no modem lines and answers ENOTTY, which is fine.
    int dtr = TIOCM_DTR;
    (void)::ioctl(fd, TIOCMBIS, &dtr);
    int rts = TIOCM_RTS;
    (void)::ioctl(fd, TIOCMBIS, &rts);
    (void)::tcflush(fd, TCOFLUSH);

    if (speedFor(baudRate)) {
        byteTimeNs_.store(byteTimeFor(baudRate));
    }
    std::lock_guard lock(mutex_);
    fd_ = fd;
    savedSettings_ = original;
    device_ = device;
    return PortOpenError::None;
}

void SerialPort::setBaudRate(int baudRate) {
    const auto speed = speedFor(baudRate);
    Use use(*this);
    if (!use || !speed) {
        return;
    }
    termios settings{};
    if (::tcgetattr(use.fd(), &settings) != 0) {
        return;
    }
    cfsetispeed(&settings, *speed);
    cfsetospeed(&settings, *speed);
    (void)::tcsetattr(use.fd(), TCSANOW, &settings);
    byteTimeNs_.store(byteTimeFor(baudRate));
}

SerialPort::Wait SerialPort::waitFor(int fd, short events, long long timeoutNs) const {
    pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {fd, events, 0}};
    const nfds_t count = fd >= 0 ? 2 : 1;
    const auto deadline = timeoutNs < 0 ? Clock::time_point::max()
                                        : Clock::now() + std::chrono::nanoseconds(timeoutNs);
    for (;;) {
        const timespec ts = toTimespec(nanosecondsUntil(deadline));
        const int rc = ::ppoll(fds, count, timeoutNs < 0 ? nullptr : &ts, nullptr);
        if (rc < 0 && errno == EINTR) {
            if (timeoutNs >= 0 && Clock::now() >= deadline) {
                return Wait::TimedOut;
            }
            continue;
        }
        if (rc < 0) {
            return Wait::HungUp;
        }
        if (rc == 0) {
            return Wait::TimedOut;
        }
        if (fds[0].revents != 0) {
            return Wait::Woken;
        }
        // Data still buffered when the line went down is delivered first.
        if ((fds[1].revents & events) != 0) {
            return Wait::Ready;
        }
        return Wait::HungUp;
    }
}

bool SerialPort::sleepUnlessWoken(int ms) const {
    if (ms <= 0) {
        return !closing_.load();
    }
    return waitFor(-1, 0, static_cast<long long>(ms) * 1'000'000) == Wait::TimedOut;
}

int SerialPort::writeAll(int fd, const std::uint8_t* buffer, int count) const {
    int written = 0;
    while (written < count) {
        const ssize_t n = ::write(fd, buffer + written, static_cast<std::size_t>(count - written));
        if (n > 0) {
            written += static_cast<int>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        // The driver's queue is full: wait (without a time-out, like a blocking write)
        // until it takes more, the line goes down or the port is closed.
        if (n < 0 && errno == EAGAIN && waitFor(fd, POLLOUT, -1) == Wait::Ready) {
            continue;
        }
        break;
    }
    return written;
}

int SerialPort::write(const std::uint8_t* buffer, int count, int delayMs, bool perByte) {
    if (count <= 0) {
        return 0;
    }
    Use use(*this);
    if (!use) {
        return 0;
    }
    if (!perByte) {
        if (!sleepUnlessWoken(delayMs)) {
            return 0;
        }
        return writeAll(use.fd(), buffer, count);
    }
    for (int i = 0; i < count; ++i) {
        if (!sleepUnlessWoken(delayMs) || writeAll(use.fd(), buffer + i, 1) != 1) {
            return i;
        }
    }
    return count;
}

int SerialPort::writeByte(std::uint8_t value, int delayMs) {
    return write(&value, 1, delayMs, false);
}

int SerialPort::read(std::uint8_t* buffer, int count, int timeoutMs) {
    if (count <= 0) {
        return 0;
    }
    Use use(*this);
    if (!use) {
        return 0;
    }
    const auto deadline = deadlineAfter(timeoutMs);
    int received = 0;
    bool wokenForData = false;
    bool arrivedSinceWait = false;
    for (;;) {
        const ssize_t n =
            ::read(use.fd(), buffer + received, static_cast<std::size_t>(count - received));
        if (n > 0) {
            received += static_cast<int>(n);
            if (received == count) {
                return count;
            }
            wokenForData = false;
            arrivedSinceWait = true;
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        // Nothing although poll said there was something: the line has gone down.
        if ((n < 0 && errno != EAGAIN) || (n == 0 && wokenForData)) {
            return received;
        }
        const long long remaining = nanosecondsUntil(deadline);
        if (remaining <= 0) {
            return received;
        }
        // The rest of a frame cannot cross the line faster than its bytes' line time:
        // wait for all but the last of them at once instead of waking for every byte.
        const long long lineTime =
            static_cast<long long>(count - received - 1) * byteTimeNs_.load();
        if (arrivedSinceWait && lineTime > 0) {
            arrivedSinceWait = false;
            if (waitFor(-1, 0, std::min(lineTime, remaining)) != Wait::TimedOut) {
                return received;
            }
            continue;
        }
        arrivedSinceWait = false;
        if (waitFor(use.fd(), POLLIN, remaining) != Wait::Ready) {
            return received;
        }
        wokenForData = true;
    }
}

int SerialPort::readByte(int timeoutMs) {
    std::uint8_t value = 0;
    return read(&value, 1, timeoutMs) == 1 ? value : -1;
}

bool SerialPort::pause(int ms) {
    Use use(*this);  // so that close() waits until this pause has woken
    return sleepUnlessWoken(ms);
}

void SerialPort::close() {
    std::unique_lock lock(mutex_);
    if (fd_ < 0) {
        return;
    }
    if (closing_.load()) {
        // Another thread is closing it; return once it is really closed.
        idle_.wait(lock, [this] { return fd_ < 0; });
        return;
    }
    closing_.store(true);
    const std::uint64_t one = 1;
    (void)!::write(wakeFd_, &one, sizeof one);
    idle_.wait(lock, [this] { return users_ == 0; });

    (void)::tcsetattr(fd_, TCSANOW, &savedSettings_);
    ::close(fd_);  // also drops the flock
    fd_ = -1;
    device_.clear();
    std::uint64_t drained = 0;
    (void)!::read(wakeFd_, &drained, sizeof drained);
    closing_.store(false);
    idle_.notify_all();
}

bool SerialPort::isOpen() const {
    std::lock_guard lock(mutex_);
    return fd_ >= 0 && !closing_.load();
}

std::filesystem::path SerialPort::device() const {
    std::lock_guard lock(mutex_);
    return device_;
}

void SerialPort::setPortMap(PortMap portMap) {
    std::lock_guard lock(mutex_);
    portMap_ = std::move(portMap);
}

PortMap SerialPort::portMap() const {
    std::lock_guard lock(mutex_);
    return portMap_;
}

}  // namespace qzm
