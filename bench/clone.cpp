// SPDX-License-Identifier: GPL-3.0-or-later
// qzm836-cli clone against 1, 4 and 8 emulators on simulated 9600-baud lines: the
// wall time per radio relative to a single write on one port (target at most 1.05
// with 8 ports: the ports must not slow each other) and the CPU time of each
// port's thread as a share of its wall time (target at most 1 %).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/clone_port.h"
#include "radio_emulator.h"

namespace {

using namespace qzm;
using Clock = std::chrono::steady_clock;

struct Round {
    double wallPerRadioS = 0;  // the slowest port's radio
    double worstCpuShare = 0;  // of the busiest port
    int failures = 0;
};

Round cloneTo(int radioCount) {
    std::vector<std::unique_ptr<sim::RadioEmulator>> radios;
    std::vector<std::unique_ptr<cli::ClonePort>> ports;
    Round round;
    RadioImage image = RadioImage::fresh();
    image.setSquelchLevel(5);
    for (int i = 0; i < radioCount; ++i) {
        sim::EmulatorConfig config;
        config.lineSpeed = 1;
        radios.push_back(std::make_unique<sim::RadioEmulator>(config));
        std::string error;
        if (!radios.back()->start(error)) {
            std::fprintf(stderr, "bench/clone: %s\n", error.c_str());
            round.failures = radioCount;
            return round;
        }
        ports.push_back(std::make_unique<cli::ClonePort>(
            cli::CloneTarget{"COM" + std::to_string(i + 1), radios.back()->slavePath()}, image,
            cli::CloneSettings{}));
    }
    for (auto& port : ports) {
        port->start();
    }
    for (auto& port : ports) {
        port->join();
        for (const auto& record : port->takeRecords()) {
            if (record.result != cli::RadioResult::Done) {
                ++round.failures;
            }
            round.wallPerRadioS = std::max(round.wallPerRadioS, record.seconds);
            round.worstCpuShare =
                std::max(round.worstCpuShare, port->cpuSeconds() / std::max(record.seconds, 1e-9));
        }
    }
    return round;
}

}  // namespace

int main() {
    std::printf("clone at 9600 baud 8N1 against qzm836-sim, without backup or verify\n");
    // The single write is the median of three, the first of which also warms up.
    std::vector<Round> singles = {cloneTo(1), cloneTo(1), cloneTo(1)};
    std::sort(singles.begin(), singles.end(), [](const Round& a, const Round& b) {
        return a.wallPerRadioS < b.wallPerRadioS;
    });
    const Round single = singles[1];
    std::printf("1 port   wall per radio %6.2f s  (the single write)  cpu %.3f %%%s\n",
                single.wallPerRadioS, 100.0 * single.worstCpuShare,
                single.failures > 0 ? "  (A RADIO FAILED)" : "");
    for (const int count : {4, 8}) {
        const Round round = cloneTo(count);
        std::printf("%d ports  wall per radio %6.2f s  ratio %.4f  worst cpu per port %.3f %%%s\n",
                    count, round.wallPerRadioS, round.wallPerRadioS / single.wallPerRadioS,
                    100.0 * round.worstCpuShare, round.failures > 0 ? "  (A RADIO FAILED)" : "");
    }
    return 0;
}
