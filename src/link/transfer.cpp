#include "link/transfer.h"

#include <sys/prctl.h>

#include <algorithm>
#include <array>
#include <string>

#include "link/wire_protocol.h"
#include "platform/settings.h"

namespace qzm {

namespace {

using namespace wire;

constexpr unsigned long kTimerSlackNs = 1000;

// What a phase of the run came to.
enum class Step { Go, Stop };

class Transfer {
  public:
    explicit Transfer(TransferJob& job) : job_(job), port_(*job.port) {}

    void run() {
        if (connect() == Step::Stop || identify() == Step::Stop || rememberPort() == Step::Stop) {
            return;
        }
        if (job_.direction == kDirectionRead) {
            readBlocks();
        } else {
            writeBlocks();
        }
    }

  private:
    bool cancelled() const { return job_.cancel.load() != 0; }

    void finish(int status) { job_.status.store(status, std::memory_order_release); }

    // Up to ten handshakes on the open port; true when the radio answered one.
    bool handshake() {
        for (int attempt = 0; attempt < kHandshakeAttempts; ++attempt) {
            if (cancelled() || !port_.isOpen()) {
                return false;
            }
            while (port_.readByte(0) >= 0) {
                // stale input from an earlier exchange
            }
            const int sent = port_.write(kHandshakeFrame.data(), kHandshakeFrame.size(),
                                         kHandshakeByteDelayMs, true);
            if (sent == static_cast<int>(kHandshakeFrame.size()) &&
                port_.readByte(kHandshakeAnswerTimeoutMs) == kAck) {
                return true;
            }
        }
        return false;
    }

    // A port that opened needs a moment before the first byte.  When the run was
    // cancelled meanwhile, whoever cancelled has already closed the port and will
    // not come back for the one opened here, so it is closed again.
    bool settleAfterOpen() {
        port_.pause(kPauseAfterOpenMs);
        if (cancelled()) {
            port_.close();
            return false;
        }
        return true;
    }

    Step connect() {
        const bool search = job_.useSettingsPort && readSearchComEnabled(job_.settingsPath);
        bool openedHere = false;
        if (!port_.isOpen() && job_.useSettingsPort) {
            const int configured = readComPort(job_.settingsPath);
            job_.portError.store(port_.openWithReason(configured, kBaudRate));
            openedHere = port_.isOpen();
        }
        if (openedHere) {
            if (!settleAfterOpen()) {
                return Step::Stop;
            }
        } else {
            port_.pause(kPauseAfterOpenMs);
        }
        for (int candidate = kFirstPortNumber;; ++candidate) {
            if (cancelled()) {
                return Step::Stop;
            }
            if (port_.isOpen() && handshake()) {
                return Step::Go;
            }
            if (cancelled()) {
                return Step::Stop;
            }
            if (!search) {
                finish(StatusNoConnection);
                return Step::Stop;
            }
            port_.close();
            // Ports that do not open are skipped at once.
            for (; candidate <= kLastPortNumber && !port_.open(candidate, kBaudRate); ++candidate) {
                if (cancelled()) {
                    return Step::Stop;
                }
            }
            if (candidate > kLastPortNumber) {
                finish(StatusNoConnection);
                return Step::Stop;
            }
            if (!settleAfterOpen()) {
                return Step::Stop;
            }
            job_.foundPort.store(candidate);
            job_.progress.store(candidate);
            finish(StatusSearching);
        }
    }

    Step identify() {
        std::array<std::uint8_t, kIdentLength> ident{};
        port_.writeByte(kStx, kFrameDelayMs);
        const int received = port_.read(ident.data(), kIdentLength, kIdentTimeoutMs);
        if (cancelled()) {
            return Step::Stop;
        }
        if (received == 0) {
            finish(StatusNoConnection);
            return Step::Stop;
        }
        if (received < kIdentLength) {
            finish(StatusBadIdent);
            return Step::Stop;
        }
        // The identification is not interpreted, only kept for the caller's records.
        std::copy(ident.begin(), ident.end(), job_.ident.begin());
        job_.identLength = received;
        port_.writeByte(kAck, kFrameDelayMs);
        port_.readByte(kAckAnswerTimeoutMs);
        return cancelled() ? Step::Stop : Step::Go;
    }

    Step rememberPort() {
        const int found = job_.foundPort.load();
        if (found > 0 && !cancelled()) {
            writeComPort(found, job_.settingsPath);
            job_.foundPort.store(-1);
        }
        return Step::Go;
    }

    void reportBlock(int block, int status) {
        job_.progress.store(progressAfter(block + 1));
        finish(status);
    }

    void writeBlocks() {
        for (int block = 0; block < kBlockCount; ++block) {
            const int address = blockAddress(block);
            std::array<std::uint8_t, kDataFrameSize> frame{kDataCommand, addressHigh(address),
                                                           addressLow(address), kBlockLength};
            for (int i = 0; i < kBlockSize; ++i) {
                frame[static_cast<std::size_t>(4 + i)] =
                    job_.image.bytes[static_cast<std::size_t>(address + i)];
            }
            bool accepted = false;
            for (int attempt = 0; attempt < kBlockAttempts && !accepted; ++attempt) {
                if (cancelled()) {
                    return;
                }
                port_.write(frame.data(), kDataFrameSize, kFrameDelayMs, false);
                accepted = port_.readByte(kBlockAnswerTimeoutMs) == kAck;
            }
            if (!accepted) {
                if (!cancelled()) {
                    finish(StatusWriteFailed);
                }
                return;
            }
            reportBlock(block, StatusWriting);
            if (cancelled()) {
                return;
            }
        }
        // The radio stores the last block in its memory during this pause.
        port_.pause(kPauseAfterWriteMs);
        if (!cancelled()) {
            finish(StatusWriteDone);
        }
    }

    void readBlocks() {
        for (int block = 0; block < kBlockCount; ++block) {
            const int address = blockAddress(block);
            const std::array<std::uint8_t, kReadRequestSize> request{
                kReadCommand, addressHigh(address), addressLow(address), kBlockLength};
            std::array<std::uint8_t, kDataFrameSize> answer{};
            bool accepted = false;
            for (int attempt = 0; attempt < kBlockAttempts && !accepted; ++attempt) {
                if (cancelled()) {
                    return;
                }
                port_.write(request.data(), kReadRequestSize, kFrameDelayMs, false);
                // The length byte is not checked: the radio's answer defines it.
                accepted = port_.read(answer.data(), kDataFrameSize, kBlockAnswerTimeoutMs) ==
                               kDataFrameSize &&
                           answer[0] == kDataCommand && answer[1] == request[1] &&
                           answer[2] == request[2];
            }
            if (!accepted) {
                if (!cancelled()) {
                    finish(StatusReadFailed);
                }
                return;
            }
            for (int i = 0; i < kBlockSize; ++i) {
                job_.image.bytes[static_cast<std::size_t>(address + i)] =
                    answer[static_cast<std::size_t>(4 + i)];
            }
            port_.writeByte(kAck, kFrameDelayMs);
            port_.readByte(kAckAnswerTimeoutMs);
            reportBlock(block, StatusReading);
            if (cancelled()) {
                return;
            }
        }
        finish(StatusReadDone);
    }

    TransferJob& job_;
    SerialPort& port_;
};

}  // namespace

int runTransfer(TransferJob& job) {
    // The pacing sleeps are 1 ms; the default 50 us of timer slack on each of them
    // would add up over a transfer.  The setting belongs to the calling thread only.
    const int previousSlack = ::prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0);
    (void)::prctl(PR_SET_TIMERSLACK, kTimerSlackNs, 0, 0, 0);
    Transfer(job).run();
    if (previousSlack > 0) {
        (void)::prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(previousSlack), 0, 0, 0);
    }
    job.finished.store(true, std::memory_order_release);
    return 0;
}

TransferWorker::TransferWorker(std::shared_ptr<TransferJob> job) : job_(std::move(job)) {
    thread_ = std::thread([job = job_] { runTransfer(*job); });
}

TransferWorker::~TransferWorker() {
    if (thread_.joinable()) {
        thread_.detach();
    }
}

TransferWorker& TransferWorker::operator=(TransferWorker&& other) noexcept {
    if (this != &other) {
        if (thread_.joinable()) {
            thread_.detach();
        }
        job_ = std::move(other.job_);
        thread_ = std::move(other.thread_);
    }
    return *this;
}

bool TransferWorker::finished() const {
    return !job_ || job_->finished.load();
}

void TransferWorker::join() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

}  // namespace qzm
