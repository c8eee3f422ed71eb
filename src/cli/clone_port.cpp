// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/clone_port.h"

#include <sys/resource.h>

#include <cstdio>
#include <string>
#include <utility>

#include "link/port_error_text.h"
#include "link/transfer.h"
#include "link/wire_protocol.h"
#include "link/write_outcome.h"

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

// The port's phase while a job with the given status runs.
ClonePhase phaseOf(int status, ClonePhase current) {
    switch (status) {
        case StatusBackupReading:
            return ClonePhase::Backup;
        case StatusWriting:
            return ClonePhase::Writing;
        case StatusVerifying:
            return ClonePhase::Verifying;
        default:
            return current;
    }
}

std::string blockList(const std::vector<int>& blocks) {
    std::string list;
    for (std::size_t i = 0; i < blocks.size() && i < 3; ++i) {
        list += (i == 0 ? "" : ", ") + std::to_string(blocks[i]);
    }
    if (blocks.size() > 3) {
        list += " and " + std::to_string(blocks.size() - 3) + " more";
    }
    return list;
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

void ClonePort::stopAfterRadio() {
    stop_.store(true);
    std::lock_guard lock(mutex_);
    wake_.notify_all();
}

void ClonePort::cutShort() {
    stop_.store(true);
    std::lock_guard lock(mutex_);
    if (job_) {
        job_->requestCancel();
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
    if (job_) {
        const int status = job_->status.load();
        state.phase = phaseOf(status, state.phase);
        if (status == StatusBackupReading || status == StatusWriting || status == StatusVerifying) {
            state.percent = job_->progress.load();
        }
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

RadioRecord ClonePort::programRadio() {
    const auto started = Clock::now();
    RadioRecord record;
    record.portLabel = target_.label;
    record.device = target_.device;

    auto job =
        std::make_shared<TransferJob>(port_, std::filesystem::path{}, kDirectionWrite, image_);
    job->useSettingsPort = false;
    job->verifyAfterWrite = settings_.verify;
    // Each radio gets what differs from what it held, unless all blocks are asked for.
    job->allBlocksOverride = settings_.allBlocks;
    std::string backupProblem;
    if (settings_.backups) {
        // Runs on this thread inside runTransfer, once the radio has identified itself,
        // so the file can be named after the port and the radio.
        TransferJob* running = job.get();
        job->beforeWrite = [this, running, &backupProblem](const RadioImage& memory) {
            std::string tag = target_.label.substr(target_.label.rfind('/') + 1);
            if (running->identLength > 0) {
                std::string ident = identToHex(running->ident.data(), running->identLength);
                std::erase(ident, ' ');
                tag += "-" + ident;
            }
            const StoredBackup stored = settings_.backups->store(settings_.backupHeader, memory,
                                                                 BackupKind::BeforeWrite, tag);
            backupProblem = stored.result.ok() ? std::string() : stored.result.error().text;
            return stored.result.ok();
        };
    }
    {
        std::lock_guard lock(mutex_);
        if (stopping()) {
            record.result = RadioResult::Cancelled;
            return record;
        }
        job_ = job;
        state_.phase = settings_.backups ? ClonePhase::Backup : ClonePhase::Writing;
        state_.percent = 0;
    }
    runTransfer(*job);
    const int status = job->status.load(std::memory_order_acquire);
    {
        std::lock_guard lock(mutex_);
        state_.phase = phaseOf(status, state_.phase);
        state_.percent = job->progress.load();  // shown until the next phase begins
        job_.reset();
    }
    if (job->identLength > 0) {
        record.identHex = identToHex(job->ident.data(), job->identLength);
    }
    record.seconds = std::chrono::duration<double>(Clock::now() - started).count();
    const std::string failure =
        settings_.texts ? transferFailureText(job->failure, settings_.texts) : std::string();
    auto result = [&](RadioResult outcome, std::string detail) {
        record.result = outcome;
        record.detail = std::move(detail);
        if (!failure.empty() && outcome != RadioResult::BackupFailed) {
            record.detail += (record.detail.empty() ? "" : "; ") + failure;
        }
    };
    switch (status) {
        case StatusWriteDone:
            result(RadioResult::Done, {});
            break;
        case StatusVerifyDone:
            record.verified = true;
            result(RadioResult::Done, {});
            break;
        case StatusVerifyMismatch:
            result(RadioResult::VerifyFailed,
                   "the radio holds other data in block " + blockList(job->mismatchedBlocks));
            break;
        case StatusVerifyFailed:
            result(RadioResult::VerifyUnread, "written, but the radio could not be read back");
            break;
        case StatusBackupFailed:
            result(RadioResult::ReadFailed,
                   "the radio's memory could not be read for the backup; nothing was written");
            break;
        case StatusBackupNotStored:
            result(RadioResult::BackupFailed,
                   "the backup could not be stored (" + backupProblem + "); nothing was written");
            break;
        case StatusNoConnection:
            result(RadioResult::NoRadio, {});
            break;
        case StatusBadIdent:
            result(RadioResult::BadIdent, {});
            break;
        case StatusWriteFailed:
            result(RadioResult::WriteFailed,
                   "the radio holds part of the image (" +
                       std::to_string(job->blocksWritten.load()) + " of " +
                       std::to_string(job->blocksToWrite.load()) + " blocks to send were written)");
            break;
        default:
            result(RadioResult::Cancelled, {});
            break;
    }
    // Only a run that was told to stop was cancelled; one that failed says why.
    if (job->cancel.load() != 0 && record.result != RadioResult::Done) {
        record.result = RadioResult::Cancelled;
    }
    record.state = writeStateOf(*job);
    return record;
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
