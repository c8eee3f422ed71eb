// SPDX-License-Identifier: GPL-3.0-or-later
// A full read and a full write against the emulator on a simulated 9600-baud line.
// For each: the wall time, the floor (what the protocol's pacing, pauses and waits
// plus the line time of every byte on the critical path cost at the least), their
// ratio, and the CPU time (user+sys) of the worker thread as a share of the wall
// time.  Targets: ratio at most 1.03, CPU at most 1 %.
//
// Then the safe write (backup read and stored, then only the blocks that differ, with
// and without the check) against the bare full write, for 0, 1, 4 and all 16 channels
// changed.  Target: up to 4 channels with the check at most 1.6 times the bare write.
#include <stdlib.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "link/transfer.h"
#include "link/wire_protocol.h"
#include "radio_emulator.h"
#include "safety/backup_store.h"
#include "safety/transfer_backups.h"

namespace {

using namespace qzm;
using namespace qzm::wire;

// QZM_BENCH_RUNS=n runs each transfer n times instead of 3.
int runCount() {
    const char* text = std::getenv("QZM_BENCH_RUNS");
    return text != nullptr && std::atoi(text) > 0 ? std::atoi(text) : 3;
}
constexpr double kByteMs = 10.0 * 1000.0 / kBaudRate;  // 10 bits a byte

// Time the protocol cannot avoid.  Pacing sleeps come before the bytes; while the
// handshake's 16 ms sleeps run, its earlier bytes are already on the line, so only
// its last byte adds line time.  Every answer costs its bytes' line time; the
// emulator answers the acknowledgements, so those waits end after one byte.
double floorMs(int direction) {
    double ms = kPauseAfterOpenMs;
    ms += kHandshakeFrame.size() * kHandshakeByteDelayMs + kByteMs /*last byte*/ + kByteMs /*0x06*/;
    ms += kFrameDelayMs + kByteMs + kIdentLength * kByteMs;  // identification
    ms += kFrameDelayMs + kByteMs + kByteMs;                 // its acknowledgement
    if (direction == kDirectionRead) {
        const double block = kFrameDelayMs + kReadRequestSize * kByteMs + kDataFrameSize * kByteMs +
                             kFrameDelayMs + kByteMs + kByteMs;
        ms += kBlockCount * block;
    } else {
        const double block = kFrameDelayMs + kDataFrameSize * kByteMs + kByteMs;
        ms += kBlockCount * block + kPauseAfterWriteMs;
    }
    return ms;
}

double threadCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    auto ms = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_usec) / 1000.0;
    };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

struct Figures {
    double wallMs = 0;
    double cpuMs = 0;
    int status = -1;
};

Figures runJob(const std::shared_ptr<SerialPort>& port, const std::shared_ptr<TransferJob>& job) {
    Figures figures;
    std::thread worker([&] {
        const double cpuBefore = threadCpuMs();
        const auto start = std::chrono::steady_clock::now();
        runTransfer(*job);
        figures.wallMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        figures.cpuMs = threadCpuMs() - cpuBefore;
    });
    worker.join();
    figures.status = job->status.load();
    port->close();
    return figures;
}

Figures runOnce(const std::shared_ptr<SerialPort>& port, const std::filesystem::path& settings,
                int direction) {
    return runJob(port,
                  std::make_shared<TransferJob>(port, settings, direction, RadioImage::fresh()));
}

double medianMs(std::vector<Figures> runs) {
    std::sort(runs.begin(), runs.end(),
              [](const Figures& a, const Figures& b) { return a.wallMs < b.wallMs; });
    return runs[runs.size() / 2].wallMs;
}

// The radio's memory with the first `channels` channels given other frequencies.
RadioImage withChangedChannels(const RadioImage& memory, int channels) {
    RadioImage image = memory;
    for (int n = 1; n <= channels; ++n) {
        image.setFrequencyText(n, ChannelSide::Receive, n % 2 == 0 ? "446.09375" : "446.15625");
        image.setFrequencyText(n, ChannelSide::Transmit, n % 2 == 0 ? "446.09375" : "446.15625");
    }
    if (channels >= kChannelCount) {
        // "All changed": every block of the span differs.
        for (std::size_t i = 0; i < kRadioTransferSize; i += kBlockSize) {
            image.bytes[i] = static_cast<std::uint8_t>(memory.bytes[i] ^ 0x01);
        }
    }
    return image;
}

// One write against a fresh radio holding `memory` at line speed: the bare full write
// (no backup, no check), or the safe write with its backup stored in `backups`.
Figures timedWrite(const std::filesystem::path& folder, const RadioImage& memory,
                   const RadioImage& image, bool safe, bool verify) {
    sim::EmulatorConfig config;
    config.lineSpeed = 1;
    config.image = memory;
    sim::RadioEmulator radio(config);
    std::string error;
    if (!radio.start(error)) {
        std::fprintf(stderr, "bench/transfer: %s\n", error.c_str());
        return {};
    }
    const auto settings = folder / "setting.ini";
    std::ofstream(settings) << "[setup]\ncom=1\nsearchcom=0\n[ports]\nCOM1=" << radio.slavePath()
                            << "\n";
    auto port = std::make_shared<SerialPort>(PortMap(settings, folder / "dev", folder / "sys"));
    auto job = std::make_shared<TransferJob>(port, settings, kDirectionWrite, image);
    if (safe) {
        backUpBeforeWrite(*job, BackupStore(folder / "backups"));
        job->verifyAfterWrite = verify;
    }
    Figures figures = runJob(port, job);
    const RadioImage held = radio.image();
    radio.stop();
    if (!std::equal(held.bytes.begin(),
                    held.bytes.begin() + static_cast<std::ptrdiff_t>(kRadioTransferSize),
                    image.bytes.begin())) {
        figures.status = -1;
    }
    return figures;
}

void compareSafeWrites(const std::filesystem::path& folder, int runs) {
    RadioImage memory = RadioImage::fresh();
    for (int n = 1; n <= kChannelCount; ++n) {
        memory.setFrequencyText(n, ChannelSide::Receive, "446.00625");
        memory.setFrequencyText(n, ChannelSide::Transmit, "446.00625");
    }
    std::vector<Figures> bare;
    for (int i = 0; i < runs; ++i) {
        bare.push_back(timedWrite(folder, memory, withChangedChannels(memory, 1), false, false));
    }
    const double bareMs = medianMs(bare);
    std::printf(
        "\nsafe write (backup read, changed blocks only) against the bare full write "
        "(%.1f ms), median of %d runs\n",
        bareMs, runs);
    for (const int channels : {0, 1, 4, kChannelCount}) {
        const RadioImage image = withChangedChannels(memory, channels);
        for (const bool verify : {false, true}) {
            std::vector<Figures> safe;
            for (int i = 0; i < runs; ++i) {
                safe.push_back(timedWrite(folder, memory, image, true, verify));
            }
            const bool ok = std::all_of(safe.begin(), safe.end(), [&](const Figures& f) {
                return f.status == (verify ? StatusVerifyDone : StatusWriteDone);
            });
            const double ms = medianMs(safe);
            std::printf("%2d channel%s %-13s wall %8.1f ms  = %.2f x bare%s\n", channels,
                        channels == 1 ? " " : "s", verify ? "with check" : "without check", ms,
                        ms / bareMs, ok ? "" : "  (A RUN FAILED)");
        }
    }
}

}  // namespace

int main() {
    const int kRuns = runCount();
    std::string folderName = (std::filesystem::temp_directory_path() / "qzm-bench-XXXXXX").string();
    if (mkdtemp(folderName.data()) == nullptr) {
        std::perror("bench/transfer: temporary folder");
        return 0;
    }
    const std::filesystem::path folder = folderName;

    sim::EmulatorConfig config;
    config.lineSpeed = 1;
    sim::RadioEmulator radio(config);
    std::string error;
    if (!radio.start(error)) {
        std::fprintf(stderr, "bench/transfer: %s\n", error.c_str());
        return 0;
    }
    const auto settings = folder / "setting.ini";
    std::ofstream(settings) << "[setup]\ncom=1\nsearchcom=0\n[ports]\nCOM1=" << radio.slavePath()
                            << "\n";
    auto port = std::make_shared<SerialPort>(PortMap(settings, folder / "dev", folder / "sys"));

    std::printf("full transfers at 9600 baud 8N1 against qzm836-sim, median of %d runs\n", kRuns);
    for (const int direction : {kDirectionRead, kDirectionWrite}) {
        std::vector<Figures> runs;
        for (int i = 0; i < kRuns; ++i) {
            runs.push_back(runOnce(port, settings, direction));
        }
        std::sort(runs.begin(), runs.end(),
                  [](const Figures& a, const Figures& b) { return a.wallMs < b.wallMs; });
        const Figures& median = runs[runs.size() / 2];
        const bool ok = std::all_of(runs.begin(), runs.end(), [&](const Figures& f) {
            return f.status == (direction == kDirectionRead ? StatusReadDone : StatusWriteDone);
        });
        const double floor = floorMs(direction);
        std::printf(
            "%-5s  wall %8.1f ms  floor %8.1f ms  ratio %.4f  cpu %6.2f ms = %.3f %% of wall%s\n",
            direction == kDirectionRead ? "read" : "write", median.wallMs, floor,
            median.wallMs / floor, median.cpuMs, 100.0 * median.cpuMs / median.wallMs,
            ok ? "" : "  (A RUN FAILED)");
        for (const Figures& run : runs) {
            if (run.status != (direction == kDirectionRead ? StatusReadDone : StatusWriteDone)) {
                std::printf("       a run ended with status %d after %.1f ms\n", run.status,
                            run.wallMs);
            }
        }
    }
    radio.stop();
    compareSafeWrites(folder, kRuns);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
