// SPDX-License-Identifier: GPL-3.0-or-later
// The window started from a terminal: the terminal closing (SIGHUP) or a reader of
// its output going away (SIGPIPE) must not end it, as a write may be on the line;
// SIGTERM ends it through its event loop, with the status of a termination, and
// the window's place is kept.
#include <gtest/gtest.h>
#include <signal.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace qzm {
namespace {

// The signal mask a process shows in /proc ("SigIgn", "SigCgt"), 0 when unknown.
unsigned long long signalMask(qint64 pid, const std::string& field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(field + ":")) {
            return std::stoull(line.substr(field.size() + 1), nullptr, 16);
        }
    }
    return 0;
}

bool has(unsigned long long mask, int signal) {
    return (mask >> (signal - 1) & 1U) != 0;
}

// Whether a file of the user's store below `config` remembers the window's place.
bool storeHoldsAPlacement(const std::filesystem::path& config) {
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(config, error)) {
        std::ifstream file(entry.path());
        std::string line;
        while (entry.is_regular_file() && std::getline(file, line)) {
            if (line.starts_with("Geometry=")) {
                return true;
            }
        }
    }
    return false;
}

TEST(WindowSignals, AClosedTerminalDoesNotEndTheWindowButTerminationDoes) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const std::filesystem::path dir = temp.path().toStdString();
    const std::filesystem::path program = std::filesystem::path(QZM_TEST_PROGRAM_DIR);
    const std::filesystem::path shipped = std::filesystem::path(QZM_TEST_SOURCE_DIR) / "res";
    std::filesystem::copy_file(program / "qzm836", dir / "qzm836");
    for (const char* name : {"setting.ini", "english.lang", "chinese.lang"}) {
        std::filesystem::copy_file(shipped / name, dir / name);
    }
    QProcess window;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("HOME", temp.path());
    environment.insert("XDG_CONFIG_HOME", temp.path() + "/config");
    environment.insert("XDG_DATA_HOME", temp.path() + "/data");
    window.setProcessEnvironment(environment);
    window.start(QString::fromStdString((dir / "qzm836").string()), {});
    ASSERT_TRUE(window.waitForStarted(30000));
    const qint64 pid = window.processId();
    // Ready once the handlers are in place, as /proc shows them.
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!has(signalMask(pid, "SigCgt"), SIGTERM) && std::chrono::steady_clock::now() < limit &&
           window.state() == QProcess::Running) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(has(signalMask(pid, "SigIgn"), SIGHUP));
    EXPECT_TRUE(has(signalMask(pid, "SigIgn"), SIGPIPE));

    ::kill(static_cast<pid_t>(pid), SIGHUP);
    ::kill(static_cast<pid_t>(pid), SIGHUP);
    ::kill(static_cast<pid_t>(pid), SIGTERM);
    ASSERT_TRUE(window.waitForFinished(60000));
    // Ended by its own event loop (a normal exit), not killed by either signal.
    EXPECT_EQ(window.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(window.exitCode(), 128 + SIGTERM);
    // Its place is kept for the next start as after a close.
    EXPECT_TRUE(storeHoldsAPlacement(dir / "config"));
}

}  // namespace
}  // namespace qzm
