// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/serial_port.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <thread>

#include "pty_pair.h"
#include "test_files.h"

namespace qzm {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Generous bound for "returns promptly": only a hung call ever reaches it.
constexpr auto kHung = 5s;

class SerialPortTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(pty.ok());
        ASSERT_EQ(port.openDevice(pty.path(), 9600), PortOpenError::None);
    }
    test::PtyPair pty;
    SerialPort port;
};

struct ReadCase {
    const char* name;
    std::vector<std::uint8_t> waiting;  // already received when the read starts
    std::vector<std::uint8_t> later;    // sent while the read waits
    int count;
    int timeoutMs;  // long where all bytes come: the read returns as soon as they are in
    int expected;
};

TEST_F(SerialPortTest, ReadReturnsWhatArrivedWithinTheTimeOut) {
    const ReadCase cases[] = {
        {"nothing", {}, {}, 8, 60, 0},
        {"five of eight", {1, 2, 3, 4, 5}, {}, 8, 120, 5},
        {"three then five", {1, 2, 3}, {4, 5, 6, 7, 8}, 8, 10000, 8},
        {"more than asked stays queued", {9, 9, 9, 9}, {}, 2, 10000, 2},
    };
    for (const auto& c : cases) {
        if (!c.waiting.empty()) {
            pty.send(c.waiting);
            ASSERT_TRUE(pty.waitUntilInputWaiting()) << c.name;
        }
        std::thread sender([&] {
            if (!c.later.empty()) {
                std::this_thread::sleep_for(30ms);  // usually after the read began; either works
                pty.send(c.later);
            }
        });
        std::vector<std::uint8_t> buffer(static_cast<std::size_t>(c.count), 0);
        EXPECT_EQ(port.read(buffer.data(), c.count, c.timeoutMs), c.expected) << c.name;
        sender.join();
        std::vector<std::uint8_t> flat = c.waiting;
        flat.insert(flat.end(), c.later.begin(), c.later.end());
        flat.resize(static_cast<std::size_t>(c.expected));
        buffer.resize(static_cast<std::size_t>(c.expected));
        EXPECT_EQ(buffer, flat) << c.name;
        while (port.readByte(0) >= 0) {
        }
    }
}

TEST_F(SerialPortTest, ReadByteWithZeroTimeOutMakesOneAttempt) {
    EXPECT_EQ(port.readByte(0), -1);
    pty.send({0xC3, 0x00});
    ASSERT_TRUE(pty.waitUntilInputWaiting());
    EXPECT_EQ(port.readByte(0), 0xC3);
    EXPECT_EQ(port.readByte(0), 0x00);  // a zero byte is data, not "nothing"
    EXPECT_EQ(port.readByte(0), -1);
}

TEST_F(SerialPortTest, ReadByteWaitsForALateByte) {
    std::thread sender([&] {
        std::this_thread::sleep_for(40ms);
        pty.send({0x06});
    });
    EXPECT_EQ(port.readByte(10000), 0x06);
    sender.join();
}

TEST_F(SerialPortTest, PerByteWriteSleepsBeforeEveryByte) {
    const std::uint8_t frame[] = {0x02, 'P', 'R', 'O', 'G', 'R', 'A', 'M'};
    std::vector<Clock::time_point> arrivals;
    std::vector<std::uint8_t> seen;
    const auto start = Clock::now();
    std::thread writer([&] { EXPECT_EQ(port.write(frame, 8, 10, true), 8); });
    while (seen.size() < 8 && Clock::now() - start < kHung) {
        for (auto byte : pty.drain(1)) {
            seen.push_back(byte);
            arrivals.push_back(Clock::now());
        }
    }
    writer.join();
    ASSERT_EQ(seen, std::vector<std::uint8_t>(frame, frame + 8));
    // The first byte already waited its delay; none comes sooner than its predecessors' delays.
    EXPECT_GE(arrivals[0] - start, 10ms);
    EXPECT_GE(arrivals[7] - start, 80ms);
}

TEST_F(SerialPortTest, WholeWriteGoesOutInOnePieceAfterTheDelay) {
    const std::uint8_t request[] = {0x52, 0x03, 0xD8, 0x08};
    EXPECT_EQ(port.write(request, 4, 1, false), 4);
    EXPECT_EQ(pty.drain(), std::vector<std::uint8_t>(request, request + 4));
    EXPECT_EQ(port.writeByte(0x06, 0), 1);
    EXPECT_EQ(port.write(request, 0, 1, true), 0);
    EXPECT_EQ(pty.drain(), std::vector<std::uint8_t>{0x06});
}

TEST_F(SerialPortTest, SecondOpenOfAPortInUseIsRefused) {
    SerialPort other;
    EXPECT_EQ(other.openDevice(pty.path(), 9600), PortOpenError::InUse);
    EXPECT_FALSE(other.isOpen());
    port.close();
    EXPECT_EQ(other.openDevice(pty.path(), 9600), PortOpenError::None);
}

TEST_F(SerialPortTest, CloseWakesAReadAndNothingIsUsedAfterwards) {
    std::uint8_t buffer[8] = {};
    auto pending = std::async(std::launch::async, [&] { return port.read(buffer, 8, 60000); });
    std::this_thread::sleep_for(50ms);
    port.close();
    ASSERT_EQ(pending.wait_for(kHung), std::future_status::ready);
    EXPECT_EQ(pending.get(), 0);
    EXPECT_FALSE(port.isOpen());

    // The kernel hands out the freed descriptor number again at once; the port must
    // not read from or write to whatever now has it.
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const std::uint8_t marker = 0x5A;
    ASSERT_EQ(::write(pipeFds[1], &marker, 1), 1);
    EXPECT_EQ(port.read(buffer, 1, 50), 0);
    EXPECT_EQ(port.readByte(0), -1);
    EXPECT_EQ(port.write(buffer, 4, 0, false), 0);
    std::uint8_t back = 0;
    EXPECT_EQ(::read(pipeFds[0], &back, 1), 1);
    EXPECT_EQ(back, marker);
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
}

TEST_F(SerialPortTest, CloseWakesAPacingSleepAndAPause) {
    const std::uint8_t frame[8] = {};
    auto writing =
        std::async(std::launch::async, [&] { return port.write(frame, 8, 60000, true); });
    std::this_thread::sleep_for(30ms);
    port.close();
    ASSERT_EQ(writing.wait_for(kHung), std::future_status::ready);
    EXPECT_EQ(writing.get(), 0);

    ASSERT_EQ(port.openDevice(pty.path(), 9600), PortOpenError::None);
    auto pausing = std::async(std::launch::async, [&] { return port.pause(60000); });
    std::this_thread::sleep_for(30ms);
    port.close();
    ASSERT_EQ(pausing.wait_for(kHung), std::future_status::ready);
    EXPECT_FALSE(pausing.get());
    EXPECT_TRUE(port.pause(1));  // nothing left signalled for the next wait
}

TEST_F(SerialPortTest, HangUpEndsAWaitWithWhatArrived) {
    std::uint8_t buffer[12] = {};
    pty.send({0x57, 0x00});
    ASSERT_TRUE(pty.waitUntilInputWaiting());
    auto pending = std::async(std::launch::async, [&] { return port.read(buffer, 12, 60000); });
    // A hang-up throws away what nobody has read yet: the read must hold them first.
    ASSERT_TRUE(pty.waitUntilInputTaken());
    pty.hangUp();
    ASSERT_EQ(pending.wait_for(kHung), std::future_status::ready);
    EXPECT_EQ(pending.get(), 2);
    EXPECT_EQ(port.readByte(10000), -1);  // and at once afterwards too
}

TEST_F(SerialPortTest, CloseRestoresTheLineSettings) {
    port.close();
    termios before{};
    ASSERT_EQ(::tcgetattr(pty.holdFd(), &before), 0);
    before.c_lflag |= ECHO | ICANON;
    cfsetospeed(&before, B2400);
    cfsetispeed(&before, B2400);
    ASSERT_EQ(::tcsetattr(pty.holdFd(), TCSANOW, &before), 0);

    ASSERT_EQ(port.openDevice(pty.path(), 9600), PortOpenError::None);
    termios during{};
    ASSERT_EQ(::tcgetattr(pty.holdFd(), &during), 0);
    EXPECT_EQ(during.c_lflag & (ECHO | ICANON), 0u);
    EXPECT_EQ(cfgetospeed(&during), static_cast<speed_t>(B9600));
    EXPECT_EQ(during.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));

    port.close();
    termios after{};
    ASSERT_EQ(::tcgetattr(pty.holdFd(), &after), 0);
    EXPECT_EQ(after.c_lflag & (ECHO | ICANON), static_cast<tcflag_t>(ECHO | ICANON));
    EXPECT_EQ(cfgetospeed(&after), static_cast<speed_t>(B2400));
}

TEST(SerialPortOpen, ReportsWhyItFailed) {
    test::TempFolder folder;
    test::writeFile(folder / "plain-file", "not a terminal");
    SerialPort port;
    EXPECT_EQ(port.openDevice(folder / "ttyUSB9", 9600), PortOpenError::NotFound);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.openDevice(folder / "plain-file", 9600), PortOpenError::NotASerialPort);
    EXPECT_FALSE(port.isOpen());
    if (::geteuid() != 0) {  // root may open anything
        test::writeFile(folder / "locked", "");
        std::filesystem::permissions(folder / "locked", std::filesystem::perms::none);
        EXPECT_EQ(port.openDevice(folder / "locked", 9600), PortOpenError::PermissionDenied);
    }
    // A number nothing maps to.
    port.setPortMap(PortMap({}, folder.path(), folder.path()));
    EXPECT_FALSE(port.open(1, 9600));
    EXPECT_EQ(port.openWithReason(255, 9600), PortOpenError::NotFound);
    port.close();  // closing a closed port does nothing
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.readByte(0), -1);
}

TEST(SerialPortOpen, OpensByNumberThroughTheSettingsFile) {
    test::TempFolder folder;
    test::PtyPair pty;
    ASSERT_TRUE(pty.ok());
    test::writeFile(folder / "setting.ini", "[ports]\nCOM12=" + pty.path() + "\n");
    SerialPort port(PortMap(folder / "setting.ini", folder / "dev", folder / "sys"));
    ASSERT_TRUE(port.open(12, 9600));
    EXPECT_EQ(port.device(), std::filesystem::path(pty.path()));
    EXPECT_EQ(port.writeByte(0x02, 0), 1);
    EXPECT_EQ(pty.drain(), std::vector<std::uint8_t>{0x02});
    // Opening another number closes the first port rather than leaking it.
    EXPECT_FALSE(port.open(11, 9600));
    SerialPort other;
    EXPECT_EQ(other.openDevice(pty.path(), 9600), PortOpenError::None);
}

TEST(PortOpenError, EveryFailureHasAHint) {
    for (auto error :
         {PortOpenError::NotFound, PortOpenError::PermissionDenied, PortOpenError::InUse,
          PortOpenError::NoHardware, PortOpenError::NotASerialPort, PortOpenError::Other}) {
        EXPECT_FALSE(portOpenErrorHint(error).empty());
    }
    EXPECT_NE(portOpenErrorHint(PortOpenError::PermissionDenied).find("dialout"),
              std::string_view::npos);
    EXPECT_EQ(portOpenErrorFromErrno(EACCES), PortOpenError::PermissionDenied);
    EXPECT_EQ(portOpenErrorFromErrno(ENXIO), PortOpenError::NotFound);
    EXPECT_EQ(portOpenErrorFromErrno(EBUSY), PortOpenError::InUse);
    EXPECT_EQ(portOpenErrorFromErrno(EIO), PortOpenError::NoHardware);
}

}  // namespace
}  // namespace qzm
