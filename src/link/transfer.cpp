// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/transfer.h"

#include <sys/prctl.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <string>
#include <vector>

#include "link/wire_protocol.h"
#include "platform/settings.h"

namespace qzm {

namespace {

using namespace wire;

using Clock = std::chrono::steady_clock;

constexpr unsigned long kTimerSlackNs = 1000;
// More stale bytes than the driver's queue holds would mean a line that never stops
// talking; the request then goes out anyway and its answer is searched for.
constexpr int kMaxStaleBytes = 4096;

std::atomic<int> gAnswerTimeoutScale{1};

int answerTimeout(int ms) {
    return ms * gAnswerTimeoutScale.load(std::memory_order_relaxed);
}

int msUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<long long>(left.count(), 0));
}

// A data block's first four bytes for some block of the radio's memory: then the
// twelve bytes are skipped whole, so that nothing inside them passes for a frame.
bool looksLikeDataFrameHead(const std::uint8_t* head) {
    return head[0] == kDataCommand && head[1] < 0x10 && head[2] % kBlockSize == 0 &&
           head[3] == kBlockLength;
}

// What came instead of the expected answer (kind None: the answer itself).
struct Answer {
    FailureKind problem = FailureKind::None;
    int received = 0;  // bytes of a short answer
};
// Between two sessions of one run (the read before a write, the write, the read-back)
// the line rests as after opening a port, so the radio sees the session end.
constexpr int kPauseBetweenSessionsMs = kPauseAfterOpenMs;

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
            if (readBlocks(job_.image, allBlocks(), StatusReading, StatusReadFailed)) {
                finish(StatusReadDone);
            }
            return;
        }
        std::vector<int> plan = allBlocks();
        if (job_.beforeWrite && readBeforeWrite(plan) == Step::Stop) {
            return;
        }
        job_.writeList = plan;
        job_.blocksToWrite.store(static_cast<int>(plan.size()), std::memory_order_release);
        if (plan.empty()) {
            // The radio holds this image already: no session at all, and the read a
            // moment ago is the check.
            job_.progress.store(100);
            finish(job_.verifyAfterWrite ? StatusVerifyDone : StatusWriteDone);
            return;
        }
        if (job_.beforeWrite && nextSession() == Step::Stop) {
            return;
        }
        if (!writeBlocks(plan)) {
            return;
        }
        if (job_.verifyAfterWrite) {
            verify(plan);
        } else {
            finish(StatusWriteDone);
        }
    }

  private:
    bool cancelled() const { return job_.cancel.load() != 0; }

    void finish(int status) { job_.status.store(status, std::memory_order_release); }

    // Input nobody asked for (a late answer, noise) would be taken for the answer to
    // the next request.
    void discardStaleInput() {
        for (int i = 0; i < kMaxStaleBytes && port_.readByte(0) >= 0; ++i) {
        }
    }

    // Waits for 0x06, passing over noise that comes before it; a NAK ends the wait.
    Answer awaitAck(int timeoutMs) {
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        bool heard = false;
        for (;;) {
            const int left = msUntil(deadline);
            const int byte = port_.readByte(left);
            if (byte == kAck) {
                return {};
            }
            if (byte == kNak) {
                return {FailureKind::Refused, 1};
            }
            if (byte < 0 || left == 0) {
                return {heard || byte >= 0 ? FailureKind::Unreadable : FailureKind::NoAnswer, 0};
            }
            heard = true;
        }
    }

    // Reads the data block for address high/low into `frame`.  Bytes before it (noise,
    // a late answer to an earlier request) are passed over, all within the one
    // time-out; no byte after the frame is taken.
    Answer readDataFrame(std::uint8_t high, std::uint8_t low,
                         std::array<std::uint8_t, kDataFrameSize>& frame, int timeoutMs) {
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        // Bytes that may still be the start of the frame; never more than a frame.
        std::array<std::uint8_t, kDataFrameSize> pending{};
        int have = 0;
        bool heard = false;
        bool foreign = false;
        bool timedOut = false;
        for (;;) {
            int start = 0;
            bool skippedFrame = false;
            while (start < have) {
                const std::uint8_t* head = pending.data() + start;
                const int n = have - start;
                if (head[0] != kDataCommand) {
                    ++start;
                    continue;
                }
                if ((n < 2 || head[1] == high) && (n < 3 || head[2] == low)) {
                    break;  // ours as far as it goes
                }
                if (n < 4) {
                    break;  // perhaps another block's frame: wait for its fourth byte
                }
                if (!looksLikeDataFrameHead(head)) {
                    ++start;
                    continue;
                }
                if (n < kDataFrameSize) {
                    break;
                }
                foreign = true;
                skippedFrame = true;
                start += kDataFrameSize;
            }
            std::copy(pending.begin() + start, pending.begin() + have, pending.begin());
            have -= start;
            if (have == kDataFrameSize) {
                frame = pending;
                return {};
            }
            if (timedOut) {
                if (foreign) {
                    return {FailureKind::WrongAddress, 0};
                }
                if (have > 0) {
                    return {FailureKind::ShortAnswer, have};
                }
                return {heard ? FailureKind::Unreadable : FailureKind::NoAnswer, 0};
            }
            // A whole block for another address with nothing behind it is the radio's
            // answer: the attempt fails now, as it always has, rather than at the time-out.
            const bool answeredWrongly = skippedFrame && have == 0;
            const int wanted = kDataFrameSize - have;
            const int got =
                port_.read(pending.data() + have, wanted, answeredWrongly ? 0 : msUntil(deadline));
            if (answeredWrongly && got == 0) {
                return {FailureKind::WrongAddress, 0};
            }
            have += got;
            heard = heard || got > 0;
            timedOut = got < wanted && !answeredWrongly;
        }
    }

    void recordFailure(FailureStep step, Answer answer, int block, int expected) {
        TransferFailure& failure = job_.failure;
        failure.kind = answer.problem;
        failure.step = step;
        failure.block = block;
        failure.received = answer.received;
        failure.expected = expected;
        failure.port = portNumber_;
        failure.device = port_.device().string();
    }

    // Up to ten handshakes on the open port; true when the radio answered one.
    bool handshake() {
        Answer last{FailureKind::NoAnswer, 0};
        for (int attempt = 0; attempt < kHandshakeAttempts; ++attempt) {
            if (cancelled() || !port_.isOpen()) {
                break;
            }
            discardStaleInput();
            const int sent = port_.write(kHandshakeFrame.data(), kHandshakeFrame.size(),
                                         kHandshakeByteDelayMs, true);
            if (sent != static_cast<int>(kHandshakeFrame.size())) {
                last = {FailureKind::NoAnswer, 0};
                continue;
            }
            last = awaitAck(answerTimeout(kHandshakeAnswerTimeoutMs));
            if (last.problem == FailureKind::None) {
                return true;
            }
        }
        // The configured port's failure is the one worth telling; the search's ports
        // are tried only in the hope of a radio.
        if (!handshakeFailureRecorded_) {
            handshakeFailureRecorded_ = true;
            recordFailure(FailureStep::Handshake, last, -1, 1);
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
        const bool search = job_.useSettingsPort && job_.searchEnabled();
        bool openedHere = false;
        if (!port_.isOpen() && job_.useSettingsPort) {
            const int configured = job_.configuredPort();
            portNumber_ = configured;
            job_.portError.store(port_.openWithReason(configured, kBaudRate));
            openedHere = port_.isOpen();
            // Then why it did not open is what the user is told, not a search port's silence.
            handshakeFailureRecorded_ = !openedHere;
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
            portNumber_ = candidate;
            job_.foundPort.store(candidate);
            job_.progress.store(candidate);
            finish(StatusSearching);
        }
    }

    Step identify() {
        std::array<std::uint8_t, kIdentLength> ident{};
        discardStaleInput();
        port_.writeByte(kStx, kFrameDelayMs);
        const int received = port_.read(ident.data(), kIdentLength, answerTimeout(kIdentTimeoutMs));
        if (cancelled()) {
            return Step::Stop;
        }
        if (received < kIdentLength) {
            recordFailure(
                FailureStep::Identification,
                {received == 0 ? FailureKind::NoAnswer : FailureKind::ShortAnswer, received}, -1,
                kIdentLength);
            finish(received == 0 ? StatusNoConnection : StatusBadIdent);
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
        // A port that cannot be stored stays in foundPort, for the caller to tell.
        if (found > 0 && !cancelled() && writeComPort(found, job_.settingsPath)) {
            job_.foundPort.store(-1);
        }
        return Step::Go;
    }

    static std::vector<int> allBlocks() {
        std::vector<int> blocks(kBlockCount);
        for (int block = 0; block < kBlockCount; ++block) {
            blocks[static_cast<std::size_t>(block)] = block;
        }
        return blocks;
    }

    // The blocks of the working image whose bytes differ from `current`'s.
    std::vector<int> changedBlocks(const RadioImage& current) const {
        std::vector<int> blocks;
        for (int block = 0; block < kBlockCount; ++block) {
            const auto begin = static_cast<std::ptrdiff_t>(blockAddress(block));
            if (!std::equal(current.bytes.begin() + begin,
                            current.bytes.begin() + begin + kBlockSize,
                            job_.image.bytes.begin() + begin)) {
                blocks.push_back(block);
            }
        }
        return blocks;
    }

    void reportBlock(int done, int total, int status) {
        job_.progress.store(progressAfter(done, total));
        finish(status);
    }

    // The listed blocks of the working image; true once all are in the radio and the
    // closing pause is over.  A failure has its status written; a cancel writes none.
    bool writeBlocks(const std::vector<int>& blocks) {
        const int total = static_cast<int>(blocks.size());
        for (int done = 0; done < total; ++done) {
            const int block = blocks[static_cast<std::size_t>(done)];
            const int address = blockAddress(block);
            std::array<std::uint8_t, kDataFrameSize> frame{kDataCommand, addressHigh(address),
                                                           addressLow(address), kBlockLength};
            for (int i = 0; i < kBlockSize; ++i) {
                frame[static_cast<std::size_t>(4 + i)] =
                    job_.image.bytes[static_cast<std::size_t>(address + i)];
            }
            Answer answer{FailureKind::NoAnswer, 0};
            for (int attempt = 0; attempt < kBlockAttempts && answer.problem != FailureKind::None;
                 ++attempt) {
                if (cancelled()) {
                    return false;
                }
                discardStaleInput();
                job_.writeStarted.store(true);
                port_.write(frame.data(), kDataFrameSize, kFrameDelayMs, false);
                answer = awaitAck(answerTimeout(kBlockAnswerTimeoutMs));
            }
            if (answer.problem != FailureKind::None) {
                if (!cancelled()) {
                    recordFailure(FailureStep::Block, answer, block, 1);
                    finish(StatusWriteFailed);
                }
                return false;
            }
            job_.blocksWritten.store(done + 1);
            reportBlock(done + 1, total, StatusWriting);
            if (cancelled()) {
                return false;
            }
        }
        // The radio stores the last block in its memory during this pause.
        port_.pause(kPauseAfterWriteMs);
        return !cancelled();
    }

    // The listed blocks into `target`, each announced with `blockStatus`; true once all
    // came.  A failure writes `failStatus`; a cancel writes none.
    bool readBlocks(RadioImage& target, const std::vector<int>& blocks, int blockStatus,
                    int failStatus) {
        const int total = static_cast<int>(blocks.size());
        for (int done = 0; done < total; ++done) {
            const int block = blocks[static_cast<std::size_t>(done)];
            const int address = blockAddress(block);
            const std::array<std::uint8_t, kReadRequestSize> request{
                kReadCommand, addressHigh(address), addressLow(address), kBlockLength};
            std::array<std::uint8_t, kDataFrameSize> answer{};
            Answer outcome{FailureKind::NoAnswer, 0};
            for (int attempt = 0; attempt < kBlockAttempts && outcome.problem != FailureKind::None;
                 ++attempt) {
                if (cancelled()) {
                    return false;
                }
                discardStaleInput();
                port_.write(request.data(), kReadRequestSize, kFrameDelayMs, false);
                // The length byte is not checked: the radio's answer defines it.
                outcome = readDataFrame(request[1], request[2], answer,
                                        answerTimeout(kBlockAnswerTimeoutMs));
            }
            if (outcome.problem != FailureKind::None) {
                if (!cancelled()) {
                    recordFailure(FailureStep::Block, outcome, block, kDataFrameSize);
                    finish(failStatus);
                }
                return false;
            }
            for (int i = 0; i < kBlockSize; ++i) {
                target.bytes[static_cast<std::size_t>(address + i)] =
                    answer[static_cast<std::size_t>(4 + i)];
            }
            port_.writeByte(kAck, kFrameDelayMs);
            port_.readByte(kAckAnswerTimeoutMs);
            reportBlock(done + 1, total, blockStatus);
            if (cancelled()) {
                return false;
            }
        }
        return true;
    }

    // A further session on the port this run found: handshakes and identification
    // only, no search (the radio is known to be there).
    Step nextSession() {
        port_.pause(kPauseBetweenSessionsMs);
        if (cancelled()) {
            return Step::Stop;
        }
        if (!handshake()) {
            if (!cancelled()) {
                finish(StatusNoConnection);
            }
            return Step::Stop;
        }
        return identify();
    }

    // What the radio holds goes to beforeWrite before a single block is written; it
    // also decides which blocks the write has to send.
    Step readBeforeWrite(std::vector<int>& plan) {
        RadioImage current = job_.image;
        if (!readBlocks(current, allBlocks(), StatusBackupReading, StatusBackupFailed)) {
            return Step::Stop;
        }
        if (!job_.beforeWrite(current)) {
            finish(StatusBackupNotStored);
            return Step::Stop;
        }
        if (!job_.allBlocksWanted()) {
            plan = changedBlocks(current);
        }
        return cancelled() ? Step::Stop : Step::Go;
    }

    // Reads the blocks written back and compares them with what was sent.
    void verify(const std::vector<int>& blocks) {
        if (nextSession() == Step::Stop) {
            return;
        }
        RadioImage readBack = job_.image;
        if (!readBlocks(readBack, blocks, StatusVerifying, StatusVerifyFailed)) {
            return;
        }
        job_.mismatchedBlocks.clear();
        for (const int block : blocks) {
            const auto begin = static_cast<std::ptrdiff_t>(blockAddress(block));
            if (!std::equal(readBack.bytes.begin() + begin,
                            readBack.bytes.begin() + begin + kBlockSize,
                            job_.image.bytes.begin() + begin)) {
                job_.mismatchedBlocks.push_back(block);
            }
        }
        finish(job_.mismatchedBlocks.empty() ? StatusVerifyDone : StatusVerifyMismatch);
    }

    TransferJob& job_;
    SerialPort& port_;
    int portNumber_ = 0;  // the port in use; 0 for one opened by path before the run
    bool handshakeFailureRecorded_ = false;
};

}  // namespace

void setAnswerTimeoutScaleForTests(int factor) {
    gAnswerTimeoutScale.store(std::max(factor, 1), std::memory_order_relaxed);
}

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
