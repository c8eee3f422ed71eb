// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/stop_signals.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>

namespace qzm {
namespace {

int gWakeFds[2] = {-1, -1};

// Only what is safe in a handler: one byte to the main thread's notifier.
extern "C" void onTerminate(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(gWakeFds[0], &byte, 1);
}

}  // namespace

void installWindowStopSignals() {
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGHUP, SIG_IGN);
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, gWakeFds) != 0) {
        return;  // SIGTERM keeps its default action
    }
    auto* notifier =
        new QSocketNotifier(gWakeFds[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char byte = 0;
        while (::read(gWakeFds[1], &byte, 1) > 0) {
        }
        QCoreApplication::exit(128 + SIGTERM);
    });
    struct sigaction action {};
    action.sa_handler = onTerminate;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
}

}  // namespace qzm
