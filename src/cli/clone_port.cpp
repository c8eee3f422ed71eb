#include "cli/clone_port.h"

#include <sys/resource.h>

#include <cstdio>
#include <utility>

#include "link/port_error_text.h"
#include "link/transfer.h"
#include "link/wire_protocol.h"

namespace qzm::cli {
namespace {

using Clock = std::chrono::steady_clock;

// Two polls in a row without an answer mean the radio is gone: one lost frame
// on a noisy cable must not make the same radio count as the next one.
constexpr int kMissesForRemoval = 2;

double threadCpuSeconds() {
    rusage usage{};
    if (::getrusage(RUSAGE_THREAD, &usage) != 0) {
        return 0;
    }
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

RadioResult resultOfFailedRun(int status) {
    switch (status) {
        case StatusBadIdent:
            return RadioResult::BadIdent;
        case StatusNoConnection:
            return RadioResult::NoRadio;
        default:
            return RadioResult::WriteFailed;
    }
}

}  // namespace

std::string identToHex(const std::uint8_t* bytes, int count) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            text += ' ';
        }
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

std::vector<int> differingBlocks(const RadioImage& want, const RadioImage& got, std::size_t limit) {
    std::vector<int> blocks;
    for (int block = 0; block < wire::kBlockCount && blocks.size() < limit; ++block) {
        const auto start = static_cast<std::size_t>(wire::blockAddress(block));
        for (std::size_t i = start; i < start + wire::kBlockSize; ++i) {
            if (want.bytes[i] != got.bytes[i]) {
                blocks.push_back(block);
                break;
            }
        }
    }
    return blocks;
}

ClonePort::ClonePort(CloneTarget target, const RadioImage& image, CloneSettings settings)
    : target_(std::move(target)),
      image_(image),
      settings_(std::move(settings)),
      port_(std::make_shared<SerialPort>()) {}

ClonePort::~ClonePort() {
    requestStop();
    join();
}

void ClonePort::start() {
    thread_ = std::thread([this] {
        run();
        cpuSeconds_.store(threadCpuSeconds());
        setPhase(ClonePhase::Finished);
        finished_.store(true);
    });
}

void ClonePort::requestStop() {
    stop_.store(true);
    std::lock_guard lock(mutex_);
    if (job_) {
        job_->cancel.store(1);  // the block on the line is finished first
    }
    wake_.notify_all();
}

void ClonePort::join() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

ClonePortState ClonePort::state() const {
    std::lock_guard lock(mutex_);
    ClonePortState state = state_;
    if (job_ && (state.phase == ClonePhase::Backup || state.phase == ClonePhase::Writing ||
                 state.phase == ClonePhase::Verifying)) {
        state.percent = job_->progress.load();
    }
    return state;
}

std::vector<RadioRecord> ClonePort::takeRecords() {
    std::lock_guard lock(mutex_);
    return std::exchange(records_, {});
}

void ClonePort::setPhase(ClonePhase phase, int percent) {
    std::lock_guard lock(mutex_);
    state_.phase = phase;
    state_.percent = percent;
}

void ClonePort::addRecord(RadioRecord record) {
    record.finishedAt = std::chrono::system_clock::now();
    std::lock_guard lock(mutex_);
    if (record.result == RadioResult::Done) {
        ++state_.radiosDone;
    } else {
        ++state_.radiosFailed;
    }
    records_.push_back(std::move(record));
}

void ClonePort::run() {
    if (settings_.station) {
        runStation();
        return;
    }
    setPhase(ClonePhase::Opening);
    if (!openPort()) {
        return;
    }
    addRecord(programRadio());
    port_->close();
}

bool ClonePort::openPort() {
    const PortOpenError error = port_->openDevice(target_.device, wire::kBaudRate);
    if (error == PortOpenError::None) {
        return true;
    }
    if (!settings_.station) {
        RadioRecord record;
        record.portLabel = target_.label;
        record.device = target_.device;
        record.result = RadioResult::NoRadio;
        record.detail = std::string(portOpenErrorHint(error));
        addRecord(std::move(record));
    }
    return false;
}

int ClonePort::transfer(int direction, RadioImage& image, std::string& identHex, ClonePhase phase) {
    auto job = std::make_shared<TransferJob>(port_, std::filesystem::path{}, direction, image);
    job->useSettingsPort = false;
    {
        std::lock_guard lock(mutex_);
        if (stopping()) {
            return StatusIdle;
        }
        job_ = job;
        state_.phase = phase;
        state_.percent = 0;
    }
    runTransfer(*job);
    const int status = job->status.load(std::memory_order_acquire);
    if (job->identLength > 0) {
        identHex = identToHex(job->ident.data(), job->identLength);
    }
    if (status == StatusReadDone) {
        image = job->image;
    }
    std::lock_guard lock(mutex_);
    state_.percent = job->progress.load();  // shown until the next phase begins
    job_.reset();
    return status;
}

RadioRecord ClonePort::programRadio() {
    const auto started = Clock::now();
    RadioRecord record;
    record.portLabel = target_.label;
    record.device = target_.device;
    auto finish = [&](RadioResult result, std::string detail = {}) {
        record.result = stopping() && result != RadioResult::Done ? RadioResult::Cancelled : result;
        record.detail = std::move(detail);
        record.seconds = std::chrono::duration<double>(Clock::now() - started).count();
        return record;
    };

    if (settings_.backup) {
        RadioImage memory = image_;
        const int status = transfer(kDirectionRead, memory, record.identHex, ClonePhase::Backup);
        if (status != StatusReadDone) {
            return finish(
                status == StatusReadFailed ? RadioResult::ReadFailed : resultOfFailedRun(status),
                "the radio's memory could not be read for the backup; nothing was "
                "written");
        }
        if (auto problem = settings_.backup(memory, target_, record.identHex)) {
            return finish(RadioResult::BackupFailed,
                          "the backup could not be stored (" + *problem + "); nothing was written");
        }
    }

    RadioImage sent = image_;
    const int written = transfer(kDirectionWrite, sent, record.identHex, ClonePhase::Writing);
    if (written != StatusWriteDone) {
        return finish(resultOfFailedRun(written),
                      written == StatusWriteFailed
                          ? "a block was refused; the radio holds part of the image"
                          : std::string());
    }
    if (settings_.verify) {
        RadioImage readBack = image_;
        const int status =
            transfer(kDirectionRead, readBack, record.identHex, ClonePhase::Verifying);
        if (status != StatusReadDone) {
            return finish(RadioResult::VerifyFailed, "the radio could not be read back");
        }
        const auto blocks = differingBlocks(image_, readBack, 3);
        if (!blocks.empty()) {
            std::string list;
            for (int block : blocks) {
                list += (list.empty() ? "" : ", ") + std::to_string(block);
            }
            return finish(RadioResult::VerifyFailed, "read-back differs in block " + list);
        }
        record.verified = true;
    }
    return finish(RadioResult::Done);
}

bool ClonePort::waitPoll() {
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, kPollInterval, [this] { return stopping(); });
    return !stopping();
}

bool ClonePort::radioAnswers() {
    using namespace wire;
    while (port_->readByte(0) >= 0) {
        // stale input
    }
    const int sent =
        port_->write(kHandshakeFrame.data(), kHandshakeFrame.size(), kHandshakeByteDelayMs, true);
    return sent == static_cast<int>(kHandshakeFrame.size()) &&
           port_->readByte(kHandshakeAnswerTimeoutMs) == kAck;
}

void ClonePort::runStation() {
    while (!stopping()) {
        setPhase(ClonePhase::WaitingForRadio);
        if (!port_->isOpen() && !openPort()) {
            if (!waitPoll()) {
                break;
            }
            continue;
        }
        if (!radioAnswers()) {
            // A cable without a radio, or a radio not in programming mode.  The
            // device is reopened each time, so a cable plugged in again is found.
            port_->close();
            if (!waitPoll()) {
                break;
            }
            continue;
        }
        addRecord(programRadio());
        // The same radio must not be programmed twice: wait until it is gone.
        setPhase(ClonePhase::WaitingForRemoval);
        int misses = 0;
        while (misses < kMissesForRemoval && waitPoll()) {
            misses = port_->isOpen() && radioAnswers() ? 0 : misses + 1;
        }
        port_->close();
    }
    port_->close();
}

}  // namespace qzm::cli
