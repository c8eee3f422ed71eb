// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio_emulator.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <thread>

#include "link/wire_protocol.h"
#include "radio/data_file.h"

namespace qzm::sim {

namespace {

using namespace qzm::wire;

// 10 bits a byte at 9600 baud.
constexpr std::chrono::nanoseconds kByteTimeAt9600{10'000'000'000LL / kBaudRate};
// A lone 0x02 is the identification request when it follows the handshake answer at
// once (the tool paces it 1 ms).  Coming later it may as well be the first byte of a
// repeated handshake, whose bytes the tool paces 16 ms apart: then it counts as the
// request only when no handshake byte follows within the quiet time (the margin
// covers a loaded machine; the tool waits 500 ms for the identification).
constexpr std::chrono::milliseconds kPromptRequestTime{10};
constexpr std::chrono::milliseconds kIdentQuietTime{100};
// A hang-up waits until the tool has taken the last answer (its next byte arrives),
// or this long, so that the block before it counts as done.
constexpr std::chrono::milliseconds kHangUpGrace{2000};
// A radio left alone this long forgets the session and waits for a new handshake.
constexpr std::chrono::seconds kSessionTimeout{1};

constexpr std::uint8_t kIdent[kIdentLength] = {'Q', 'Z', 'M', '8', '3', '6', 0x01, 0x04};
// Noise that is neither an acknowledgement nor the start of a frame.
constexpr std::uint8_t kGarbage[] = {0xA5, 0x5A, 0x00, 0xFF, 0x13, 0x80, 0x7E};

timespec toTimespec(std::chrono::nanoseconds ns) {
    if (ns.count() < 0) {
        ns = std::chrono::nanoseconds{0};
    }
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(ns.count() / 1'000'000'000);
    ts.tv_nsec = static_cast<long>(ns.count() % 1'000'000'000);
    return ts;
}

void closeFd(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

}  // namespace

RadioEmulator::RadioEmulator(EmulatorConfig config)
    : config_(std::move(config)),
      blocksWritten_(static_cast<std::size_t>(kBlockCount), false),
      image_(config_.image) {}

RadioEmulator::~RadioEmulator() {
    stop();
}

bool RadioEmulator::start(std::string& error) {
    masterFd_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (masterFd_ < 0 || ::grantpt(masterFd_) != 0 || ::unlockpt(masterFd_) != 0) {
        error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
        closeFd(masterFd_);
        return false;
    }
    char name[128] = {};
    if (::ptsname_r(masterFd_, name, sizeof name) != 0) {
        error = std::string("cannot name the pseudo-terminal: ") + std::strerror(errno);
        closeFd(masterFd_);
        return false;
    }
    slavePath_ = name;
    slaveHoldFd_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slaveHoldFd_ < 0) {
        error = "cannot open " + slavePath_ + ": " + std::strerror(errno);
        closeFd(masterFd_);
        return false;
    }
    termios settings{};
    if (::tcgetattr(slaveHoldFd_, &settings) == 0) {
        ::cfmakeraw(&settings);
        (void)::tcsetattr(slaveHoldFd_, TCSANOW, &settings);
    }
    (void)::fcntl(masterFd_, F_SETFL, ::fcntl(masterFd_, F_GETFL) | O_NONBLOCK);
    stopFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    thread_ = std::thread([this] { loop(); });
    return true;
}

void RadioEmulator::stop() {
    if (thread_.joinable()) {
        const std::uint64_t one = 1;
        (void)!::write(stopFd_, &one, sizeof one);
        thread_.join();
    }
    closeFd(masterFd_);
    closeFd(slaveHoldFd_);
    closeFd(stopFd_);
}

std::vector<std::uint8_t> RadioEmulator::received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

std::vector<std::uint8_t> RadioEmulator::receivedAll(std::chrono::milliseconds limit) const {
    const auto deadline = Clock::now() + limit;
    for (;;) {
        {
            // The loop reads and records under this lock, so no byte is between the
            // line and received_ while we look.
            std::lock_guard lock(mutex_);
            int waiting = 0;
            if (masterFd_ < 0 || hungUp_.load() || ::ioctl(masterFd_, FIONREAD, &waiting) != 0 ||
                waiting == 0 || Clock::now() >= deadline) {
                return received_;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

RadioImage RadioEmulator::image() const {
    std::lock_guard lock(mutex_);
    return image_;
}

int RadioEmulator::handshakes() const {
    std::lock_guard lock(mutex_);
    return handshakes_;
}

int RadioEmulator::completedWrites() const {
    std::lock_guard lock(mutex_);
    return completedWrites_;
}

RadioEmulator::Clock::duration RadioEmulator::byteTime() const {
    if (config_.lineSpeed <= 0.0) {
        return Clock::duration::zero();
    }
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double, std::nano>(
        static_cast<double>(kByteTimeAt9600.count()) / config_.lineSpeed));
}

void RadioEmulator::say(const std::string& text) const {
    if (verbose_) {
        std::printf("%s\n", text.c_str());
        std::fflush(stdout);
    }
}

bool RadioEmulator::sleepUntil(Clock::time_point when) {
    pollfd stop{stopFd_, POLLIN, 0};
    for (;;) {
        const auto left = when - Clock::now();
        if (left <= Clock::duration::zero()) {
            return true;
        }
        const timespec ts = toTimespec(left);
        const int rc = ::ppoll(&stop, 1, &ts, nullptr);
        if (rc > 0) {
            return false;
        }
        if (rc < 0 && errno != EINTR) {
            return false;
        }
    }
}

bool RadioEmulator::writeToMaster(std::uint8_t byte) {
    for (;;) {
        const ssize_t n = ::write(masterFd_, &byte, 1);
        if (n == 1) {
            return true;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno == EAGAIN) {
            pollfd fds[2] = {{stopFd_, POLLIN, 0}, {masterFd_, POLLOUT, 0}};
            if (::poll(fds, 2, -1) > 0 && fds[0].revents == 0) {
                continue;
            }
        }
        return false;
    }
}

void RadioEmulator::writeAllToMaster(const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(masterFd_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            pollfd fds[2] = {{stopFd_, POLLIN, 0}, {masterFd_, POLLOUT, 0}};
            if (::poll(fds, 2, -1) <= 0 || fds[0].revents != 0) {
                return;
            }
        } else {
            return;
        }
    }
}

void RadioEmulator::send(std::vector<std::uint8_t> bytes, bool garbageFirst) {
    if (garbageFirst) {
        std::vector<std::uint8_t> noisy;
        for (int i = 0; i < config_.garbageCount; ++i) {
            noisy.push_back(kGarbage[static_cast<std::size_t>(i) % std::size(kGarbage)]);
        }
        noisy.insert(noisy.end(), bytes.begin(), bytes.end());
        bytes = std::move(noisy);
    }
    // Each byte is written when its last bit would have reached the tool, counted from
    // the moment the request was complete on the line (not from when this thread got
    // round to it); without line time the whole answer goes in one piece, as a fast
    // adapter would deliver it.
    const auto start = heardAt_ + std::chrono::milliseconds(config_.answerDelayMs);
    const auto perByte = byteTime();
    lastAnswerEnd_ = start + perByte * static_cast<long>(bytes.size());
    if (perByte == Clock::duration::zero()) {
        if (sleepUntil(start)) {
            writeAllToMaster(bytes);
        }
        return;
    }
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (!sleepUntil(start + perByte * static_cast<long>(i + 1)) || !writeToMaster(bytes[i])) {
            break;
        }
    }
}

bool RadioEmulator::takeGarbage(int step) {
    if (config_.garbageCount <= 0 || garbageUsed_ || config_.garbageAt != step) {
        return false;
    }
    garbageUsed_ = true;
    return true;
}

void RadioEmulator::hangUp() {
    say("hanging up");
    // receivedAll looks at the line under the lock.
    std::lock_guard lock(mutex_);
    closeFd(masterFd_);
    closeFd(slaveHoldFd_);
    hungUp_.store(true);
}

void RadioEmulator::onHandshake() {
    {
        std::lock_guard lock(mutex_);
        ++handshakes_;
    }
    connected_ = true;
    std::fill(blocksWritten_.begin(), blocksWritten_.end(), false);
    lastAnswer_ = LastAnswer::Handshake;
    say("handshake");
    send({kAck}, takeGarbage(kGarbageAtHandshake));
}

void RadioEmulator::answerIdent() {
    lastAnswer_ = LastAnswer::Ident;
    const int count = std::clamp(config_.identBytes, 0, kIdentLength);
    send(std::vector<std::uint8_t>(kIdent, kIdent + count), takeGarbage(kGarbageAtIdent));
}

void RadioEmulator::onAck() {
    const bool expected = lastAnswer_ == LastAnswer::Ident || lastAnswer_ == LastAnswer::ReadBlock;
    lastAnswer_ = LastAnswer::None;
    if (expected && config_.answerAcks) {
        send({kAck}, false);
    }
}

void RadioEmulator::onReadRequest() {
    const int address = (frame_[1] << 8) | frame_[2];
    const int block = address / kBlockSize;
    if (address + kBlockSize > static_cast<int>(kImageSize)) {
        return;
    }
    int answered = address;
    if (block == config_.badAddressBlock && !(config_.badAddressOnce && badAddressUsed_)) {
        badAddressUsed_ = true;
        answered = (address + kBlockSize) & 0xFFFF;
    }
    std::vector<std::uint8_t> answer = {kDataCommand, addressHigh(answered), addressLow(answered),
                                        kBlockLength};
    {
        std::lock_guard lock(mutex_);
        for (int i = 0; i < kBlockSize; ++i) {
            answer.push_back(image_.bytes[static_cast<std::size_t>(address + i)]);
        }
    }
    lastAnswer_ = LastAnswer::ReadBlock;
    send(answer, takeGarbage(block));
    if (config_.afterBlockAnswer) {
        config_.afterBlockAnswer(block);
    }
    if (block == config_.hangUpAfterBlock) {
        scheduleHangUp();
    }
}

void RadioEmulator::onDataFrame() {
    const int address = (frame_[1] << 8) | frame_[2];
    const int block = address / kBlockSize;
    if (address + kBlockSize > static_cast<int>(kImageSize)) {
        return;
    }
    lastAnswer_ = LastAnswer::WriteBlock;
    if (block == config_.nakBlock && !(config_.nakOnce && nakUsed_)) {
        nakUsed_ = true;
        send({kNak}, takeGarbage(block));
    } else {
        bool complete = false;
        RadioImage written;
        {
            std::lock_guard lock(mutex_);
            for (int i = 0; i < kBlockSize; ++i) {
                image_.bytes[static_cast<std::size_t>(address + i)] =
                    frame_[static_cast<std::size_t>(4 + i)];
            }
            if (block == config_.corruptBlock && !(config_.corruptOnce && corruptUsed_)) {
                corruptUsed_ = true;
                image_.bytes[static_cast<std::size_t>(address)] ^= 0xFF;
            }
            if (block < kBlockCount && address % kBlockSize == 0) {
                blocksWritten_[static_cast<std::size_t>(block)] = true;
            }
            complete = std::all_of(blocksWritten_.begin(), blocksWritten_.end(),
                                   [](bool done) { return done; });
            if (complete) {
                ++completedWrites_;
                written = image_;
            }
        }
        send({kAck}, takeGarbage(block));
        if (complete) {
            std::fill(blocksWritten_.begin(), blocksWritten_.end(), false);
            say("write complete");
            if (!config_.savePath.empty()) {
                FileHeader header;
                header.writeMagic();
                const Status saved = storeDataFile(config_.savePath, header, written);
                if (!saved.ok()) {
                    std::fprintf(stderr, "qzm836-sim: %s\n", saved.error().text.c_str());
                } else {
                    say("saved " + config_.savePath.string());
                }
            }
        }
    }
    if (config_.afterBlockAnswer) {
        config_.afterBlockAnswer(block);
    }
    if (block == config_.hangUpAfterBlock) {
        scheduleHangUp();
    }
}

void RadioEmulator::scheduleHangUp() {
    hangUpPending_ = true;
    hangUpAt_ = Clock::now() + kHangUpGrace;
}

void RadioEmulator::feed(std::uint8_t byte) {
    if (config_.silent) {
        return;
    }
    if (handshakeMatched_ > 0) {
        if (byte == kHandshakeFrame[handshakeMatched_]) {
            waitingIdentQuiet_ = false;  // a handshake after all
            if (++handshakeMatched_ == kHandshakeFrame.size()) {
                handshakeMatched_ = 0;
                onHandshake();
            }
            return;
        }
        const bool loneStx = handshakeMatched_ == 1;
        handshakeMatched_ = 0;
        if (loneStx && waitingIdentQuiet_) {
            waitingIdentQuiet_ = false;
            answerIdent();
        }
        // The byte starts something new.
    }
    if (frameSize_ > 0) {
        frame_.push_back(byte);
        if (frame_.size() == frameSize_) {
            frameSize_ = 0;
            if (frame_[0] == kReadCommand) {
                onReadRequest();
            } else {
                onDataFrame();
            }
            frame_.clear();
        }
        return;
    }
    switch (byte) {
        case kStx:
            handshakeMatched_ = 1;
            if (connected_) {
                if (lastAnswer_ == LastAnswer::Handshake &&
                    heardAt_ - lastAnswerEnd_ <= kPromptRequestTime) {
                    handshakeMatched_ = 0;
                    answerIdent();
                } else {
                    waitingIdentQuiet_ = true;
                    identQuietUntil_ = heardAt_ + kIdentQuietTime;
                }
            }
            return;
        case kReadCommand:
            if (connected_) {
                frame_ = {byte};
                frameSize_ = kReadRequestSize;
            }
            return;
        case kDataCommand:
            if (connected_) {
                frame_ = {byte};
                frameSize_ = kDataFrameSize;
            }
            return;
        case kAck:
            onAck();
            return;
        default:
            return;  // noise
    }
}

void RadioEmulator::loop() {
    // Line time is counted in microseconds; keep the kernel from rounding the waits.
    (void)::prctl(PR_SET_TIMERSLACK, 1000UL, 0, 0, 0);
    std::uint8_t buffer[512];
    std::optional<Clock::time_point> lastFed;
    while (!hungUp_.load()) {
        std::optional<Clock::time_point> next;
        if (!incoming_.empty()) {
            next = incoming_.front().availableAt;
        }
        if (waitingIdentQuiet_ && (!next || identQuietUntil_ < *next)) {
            next = identQuietUntil_;
        }
        if (hangUpPending_ && (!next || hangUpAt_ < *next)) {
            next = hangUpAt_;
        }
        pollfd fds[2] = {{stopFd_, POLLIN, 0}, {masterFd_, POLLIN, 0}};
        timespec ts{};
        if (next) {
            ts = toTimespec(*next - Clock::now());
        }
        const int rc = ::ppoll(fds, 2, next ? &ts : nullptr, nullptr);
        if (rc < 0 && errno != EINTR) {
            return;
        }
        if (fds[0].revents != 0) {
            return;
        }
        const auto now = Clock::now();
        if ((fds[1].revents & POLLIN) != 0) {
            std::lock_guard lock(mutex_);
            const ssize_t n = ::read(masterFd_, buffer, sizeof buffer);
            if (n > 0) {
                for (ssize_t i = 0; i < n; ++i) {
                    // Bytes cross the line one after another, 10 bits each.
                    lineFreeAt_ = std::max(lineFreeAt_, now) + byteTime();
                    incoming_.push_back({buffer[i], lineFreeAt_});
                    received_.push_back(buffer[i]);
                }
            }
        } else if ((fds[1].revents & (POLLHUP | POLLERR)) != 0) {
            // No slave open at all (cannot happen while we hold one); do not spin.
            sleepUntil(now + std::chrono::milliseconds(10));
        }
        if (hangUpPending_ && (!incoming_.empty() || Clock::now() >= hangUpAt_)) {
            hangUp();
            return;
        }
        while (!incoming_.empty() && incoming_.front().availableAt <= Clock::now() &&
               !hungUp_.load()) {
            const Incoming in = incoming_.front();
            incoming_.pop_front();
            if (waitingIdentQuiet_ && in.availableAt > identQuietUntil_) {
                waitingIdentQuiet_ = false;
                handshakeMatched_ = 0;
                heardAt_ = identQuietUntil_;
                answerIdent();
            }
            if (lastFed && in.availableAt - *lastFed > kSessionTimeout) {
                connected_ = false;
                handshakeMatched_ = 0;
                frameSize_ = 0;
                frame_.clear();
                lastAnswer_ = LastAnswer::None;
            }
            lastFed = in.availableAt;
            heardAt_ = in.availableAt;
            if (config_.onByteHeard) {
                config_.onByteHeard(in.byte);
            }
            feed(in.byte);
        }
        if (waitingIdentQuiet_ && Clock::now() >= identQuietUntil_) {
            waitingIdentQuiet_ = false;
            handshakeMatched_ = 0;
            heardAt_ = identQuietUntil_;
            answerIdent();
        }
    }
}

}  // namespace qzm::sim
