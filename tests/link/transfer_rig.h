// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "emulated_radio.h"
#include "link/transfer.h"
#include "link/wire_protocol.h"
#include "pty_pair.h"
#include "radio_emulator.h"
#include "test_files.h"
#include "test_images.h"

namespace qzm::test {

// One run of runTransfer on its worker thread, watched the way the transfer
// dialog watches it: every status and progress change is recorded.
struct Observed {
    std::vector<std::pair<int, int>> changes;  // (status, progress) as they came
    int finalStatus = -1;
    int finalProgress = -1;
    bool ended = false;

    std::vector<int> searchedPorts() const {
        std::vector<int> ports;
        for (const auto& [status, progress] : changes) {
            if (status == StatusSearching) {
                ports.push_back(progress);
            }
        }
        return ports;
    }
};

// How much longer than the radio's time-outs the tests wait for an answer: on a
// busy machine the emulator's thread may come late to a 50 ms answer.  Tests that
// are about the time-outs themselves set 1.
inline constexpr int kBusyMachineTimeoutScale = 3;

// A settings file, a port mapped through it and nothing else: port numbers not named
// in [ports] map to no device, whatever the machine has plugged in.
class TransferRig {
  public:
    TransferRig()
        : settings_(folder_ / "setting.ini"),
          port_(
              std::make_shared<SerialPort>(PortMap(settings_, folder_ / "dev", folder_ / "sys"))) {
        setAnswerTimeoutScaleForTests(kBusyMachineTimeoutScale);
    }

    void writeSettings(const std::string& setup, const std::map<int, std::string>& ports) {
        std::string text = "[setup]\n" + setup + "\n[ports]\n";
        for (const auto& [number, device] : ports) {
            text += "COM" + std::to_string(number) + "=" + device + "\n";
        }
        writeFile(settings_, text);
    }
    std::string settingsText() const { return readFile(settings_); }
    const std::filesystem::path& settingsPath() const { return settings_; }

    std::shared_ptr<TransferJob> makeJob(int direction, const RadioImage& image) {
        return std::make_shared<TransferJob>(port_, settings_, direction, image);
    }

    // Runs the job to its end; `onPoll` sees the job every millisecond (a cancel
    // button, say).  A run that never ends fails the test after `limit`.
    Observed run(const std::shared_ptr<TransferJob>& job,
                 const std::function<void(TransferJob&)>& onPoll = {},
                 std::chrono::seconds limit = std::chrono::seconds(60)) {
        Observed seen;
        TransferWorker worker(job);
        const auto start = std::chrono::steady_clock::now();
        std::pair<int, int> last{-1, -1};
        while (!worker.finished() && std::chrono::steady_clock::now() - start < limit) {
            const int status = job->status.load(std::memory_order_acquire);
            const std::pair<int, int> now{status, job->progress.load()};
            if (now != last) {
                seen.changes.push_back(now);
                last = now;
            }
            if (onPoll) {
                onPoll(*job);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        seen.ended = worker.finished();
        if (seen.ended) {
            worker.join();
        } else {
            job->requestCancel();
            worker.join();
        }
        seen.finalStatus = job->status.load();
        seen.finalProgress = job->progress.load();
        port_->close();
        return seen;
    }

    SerialPort& port() { return *port_; }

  private:
    TempFolder folder_;
    std::filesystem::path settings_;
    std::shared_ptr<SerialPort> port_;
};

}  // namespace qzm::test
