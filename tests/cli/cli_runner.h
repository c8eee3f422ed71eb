// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace qzm::test {

struct ProcessResult {
    int exitCode = -1;  // the exit status, or 128 + signal when killed
    std::string out;
    std::string err;
};

// Runs `program` with `arguments`, feeding `input` to its standard input and
// capturing standard output and standard error.
ProcessResult runProcess(const std::filesystem::path& program,
                         const std::vector<std::string>& arguments, const std::string& input = {});

// The same, started in the background: the caller may signal it and then wait.
class RunningProcess {
  public:
    // Standard input comes from `input` (a file, a device).
    RunningProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                   const std::filesystem::path& input = "/dev/null");
    ~RunningProcess();
    RunningProcess(const RunningProcess&) = delete;
    RunningProcess& operator=(const RunningProcess&) = delete;

    int pid() const { return pid_; }
    // Reads standard error until `text` has appeared `count` times, the process
    // ends or `limit` has passed; true when seen.
    bool waitForError(const std::string& text, int count = 1,
                      std::chrono::seconds limit = std::chrono::seconds(60));
    // Reads standard output until `text` appears, the process ends or `limit` has
    // passed; true when seen.
    bool waitForOutput(const std::string& text,
                       std::chrono::seconds limit = std::chrono::seconds(60));
    const std::string& error() const { return result_.err; }
    const std::string& output() const { return result_.out; }
    ProcessResult wait();
    // wait(), but a process still running after `limitMs` is killed and reported
    // with exitCode -1, so a hang fails the test instead of stopping the suite.
    ProcessResult waitWithin(int limitMs);

  private:
    void pump(int timeoutMs);

    int pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    ProcessResult result_;
};

std::filesystem::path cliProgram();

}  // namespace qzm::test
