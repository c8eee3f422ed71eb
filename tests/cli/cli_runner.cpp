// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

extern char** environ;

namespace qzm::test {
namespace {

struct Pipe {
    int read = -1;
    int write = -1;
    Pipe() {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) == 0) {
            read = fds[0];
            write = fds[1];
        }
    }
};

pid_t spawn(const std::filesystem::path& program, const std::vector<std::string>& arguments, int in,
            int out, int err) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in, 0);
    posix_spawn_file_actions_adddup2(&actions, out, 1);
    posix_spawn_file_actions_adddup2(&actions, err, 2);
    std::vector<std::string> words{program.string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
        pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

int exitCodeOf(int status) {
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
    }
    if (WIFSIGNALED(status)) {
        return 128 + WTERMSIG(status);
    }
    return -1;
}

int waitForExit(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return exitCodeOf(status);
}

// Moves what is waiting on `fd` into `sink`; closes it at its end.
void drain(int& fd, std::string& sink) {
    char buffer[4096];
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got > 0) {
        sink.append(buffer, static_cast<std::size_t>(got));
    } else if (got == 0 || errno != EINTR) {
        ::close(fd);
        fd = -1;
    }
}

}  // namespace

std::filesystem::path cliProgram() {
    return std::filesystem::path(QZM_TEST_PROGRAM_DIR) / "qzm836-cli";
}

RunningProcess::RunningProcess(const std::filesystem::path& program,
                               const std::vector<std::string>& arguments,
                               const std::filesystem::path& input) {
    int devNull = ::open(input.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (devNull >= 0) {
        ::fcntl(devNull, F_SETFL, 0);  // the child reads blocking, as from a shell
    }
    Pipe out;
    Pipe err;
    pid_ = spawn(program, arguments, devNull, out.write, err.write);
    ::close(devNull);
    ::close(out.write);
    ::close(err.write);
    outFd_ = out.read;
    errFd_ = err.read;
}

RunningProcess::~RunningProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
    }
    wait();
}

void RunningProcess::pump(int timeoutMs) {
    pollfd fds[2] = {{outFd_, POLLIN, 0}, {errFd_, POLLIN, 0}};
    if (::poll(fds, 2, timeoutMs) <= 0) {
        return;
    }
    if (outFd_ >= 0 && fds[0].revents != 0) {
        drain(outFd_, result_.out);
    }
    if (errFd_ >= 0 && fds[1].revents != 0) {
        drain(errFd_, result_.err);
    }
}

bool RunningProcess::waitForError(const std::string& text, int count, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    auto seen = [&] {
        int found = 0;
        for (auto at = result_.err.find(text); at != std::string::npos;
             at = result_.err.find(text, at + text.size())) {
            ++found;
        }
        return found >= count;
    };
    while (!seen()) {
        if (errFd_ < 0 || std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        pump(200);
    }
    return true;
}

bool RunningProcess::waitForOutput(const std::string& text, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (result_.out.find(text) == std::string::npos) {
        if (outFd_ < 0 || std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        pump(200);
    }
    return true;
}

ProcessResult RunningProcess::wait() {
    while (outFd_ >= 0 || errFd_ >= 0) {
        pump(1000);
    }
    if (pid_ > 0) {
        result_.exitCode = waitForExit(pid_);
        pid_ = -1;
    }
    return result_;
}

ProcessResult RunningProcess::waitWithin(int limitMs) {
    constexpr int kStepMs = 100;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (outFd_ >= 0 || errFd_ >= 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(pid_, SIGKILL);
            wait();
            result_.exitCode = -1;
            return result_;
        }
        pump(kStepMs);
    }
    return wait();
}

ProcessResult runProcess(const std::filesystem::path& program,
                         const std::vector<std::string>& arguments, const std::string& input) {
    ::signal(SIGPIPE, SIG_IGN);  // the program may exit before it took all its input
    Pipe in;
    Pipe out;
    Pipe err;
    pid_t pid = spawn(program, arguments, in.read, out.write, err.write);
    ::close(in.read);
    ::close(out.write);
    ::close(err.write);
    ProcessResult result;
    std::size_t fed = 0;
    int inFd = in.write;
    int outFd = out.read;
    int errFd = err.read;
    if (input.empty()) {
        ::close(inFd);
        inFd = -1;
    }
    // Feed and drain together, so a large input or output cannot deadlock.
    while (inFd >= 0 || outFd >= 0 || errFd >= 0) {
        pollfd fds[3] = {{inFd, POLLOUT, 0}, {outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
        if (::poll(fds, 3, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        if (inFd >= 0 && fds[0].revents != 0) {
            ssize_t put = ::write(inFd, input.data() + fed, input.size() - fed);
            if (put > 0) {
                fed += static_cast<std::size_t>(put);
            }
            if (put <= 0 || fed == input.size()) {
                ::close(inFd);
                inFd = -1;
            }
        }
        if (outFd >= 0 && fds[1].revents != 0) {
            drain(outFd, result.out);
        }
        if (errFd >= 0 && fds[2].revents != 0) {
            drain(errFd, result.err);
        }
    }
    for (int fd : {inFd, outFd, errFd}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    if (pid > 0) {
        result.exitCode = waitForExit(pid);
    }
    return result;
}

}  // namespace qzm::test
