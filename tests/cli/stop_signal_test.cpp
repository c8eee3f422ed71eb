// SPDX-License-Identifier: GPL-3.0-or-later
// A read stopped by a signal while it waits on a port where no radio answers:
// each stop signal cancels the run like Ctrl+C, and a one-run port choice leaves
// no copy of the settings anywhere.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "cli_fixture.h"

namespace qzm::test {
namespace {

constexpr int kStopLimitMs = 30000;

// A terminal whose other end never answers.
class SilentPort {
  public:
    SilentPort() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0) {
            device_ = ::ptsname(master_);
            // Held open, so the terminal never hangs up between two runs.
            slave_ = ::open(device_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        }
    }
    ~SilentPort() {
        for (int fd : {slave_, master_}) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }
    SilentPort(const SilentPort&) = delete;
    SilentPort& operator=(const SilentPort&) = delete;

    const std::string& device() const { return device_; }

    // Forgets what an earlier run sent (it has ended, so all of it has arrived) and
    // lifts the exclusive use it asked for, which outlives it while we hold the terminal.
    void reset() const {
        ::ioctl(slave_, TIOCNXCL);
        char buffer[256];
        pollfd fd{master_, POLLIN, 0};
        while (::poll(&fd, 1, 0) == 1 && (fd.revents & POLLIN) != 0 &&
               ::read(master_, buffer, sizeof buffer) > 0) {
        }
    }

    // Waits (within the limit) until the program has sent something: it is then
    // in the middle of its handshake.
    bool waitForTraffic() const {
        pollfd fd{master_, POLLIN, 0};
        if (::poll(&fd, 1, kStopLimitMs) != 1 || (fd.revents & POLLIN) == 0) {
            return false;
        }
        char byte = 0;
        return ::read(master_, &byte, 1) == 1;
    }

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string device_;
};

class StopSignalTest : public CliTest {
  protected:
    StopSignalTest() {
        std::filesystem::create_directory(dir_ / "tmp");
        const char* old = ::getenv("TMPDIR");
        oldTmp_ = old != nullptr ? std::optional<std::string>(old) : std::nullopt;
        ::setenv("TMPDIR", path("tmp").c_str(), 1);
    }
    ~StopSignalTest() override {
        if (oldTmp_) {
            ::setenv("TMPDIR", oldTmp_->c_str(), 1);
        } else {
            ::unsetenv("TMPDIR");
        }
    }

    std::optional<std::string> oldTmp_;
};

TEST_F(StopSignalTest, EachStopSignalCancelsTheReadAndLeavesNoFileBehind) {
    SilentPort port;
    ASSERT_FALSE(port.device().empty());
    writeFile(
        dir_ / "setting.ini",
        "[setup]\nlanguage=testlang\ncom=1\nsearchcom=1\n[ports]\nCOM2=" + port.device() + "\n");
    const std::string settings = readFile(dir_ / "setting.ini");
    struct Case {
        int signal;
        std::vector<std::string> portOptions;
    };
    const Case cases[] = {
        {SIGTERM, {"--device", port.device()}},
        {SIGHUP, {"--port", "2"}},
        {SIGINT, {"--port", "2", "--no-search"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments{"--settings", path("setting.ini"), "read",
                                           path("out.836")};
        arguments.insert(arguments.end(), c.portOptions.begin(), c.portOptions.end());
        port.reset();
        RunningProcess read(cliProgram(), arguments);
        ASSERT_TRUE(port.waitForTraffic()) << c.signal;
        ::kill(read.pid(), c.signal);
        const ProcessResult result = read.waitWithin(kStopLimitMs);
        EXPECT_EQ(result.exitCode, 130) << c.signal << ": " << result.err;
        EXPECT_NE(result.err.find("cancelled; " + path("out.836") + " was not written"),
                  std::string::npos)
            << result.err;
        EXPECT_TRUE(std::filesystem::is_empty(dir_ / "tmp")) << c.signal;
        EXPECT_FALSE(std::filesystem::exists(dir_ / "out.836"));
        EXPECT_EQ(readFile(dir_ / "setting.ini"), settings);
    }
}

}  // namespace
}  // namespace qzm::test
