// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "cli/radio_holds.h"
#include "link/serial_port.h"
#include "link/transfer_failure_text.h"
#include "link/transfer_job.h"
#include "platform/text_source.h"
#include "radio/radio_image.h"
#include "safety/backup_store.h"

namespace qzm::cli {

// One cable of a clone run: the name the user knows it by and its device.
struct CloneTarget {
    std::string label;  // "COM3", or the device path given with --device
    std::filesystem::path device;
};

enum class ClonePhase {
    Opening,          // the device is being opened
    WaitingForRadio,  // station mode: polling for a radio in programming mode
    Backup,           // reading the radio's memory before the write
    Writing,
    Verifying,          // reading back what was written
    WaitingForRemoval,  // station mode: the last radio still answers
    Finished,
};

enum class RadioResult {
    Done,
    NoRadio,       // the port did not open or nothing answered
    BadIdent,      // the identification was too short
    ReadFailed,    // the backup read failed: nothing was written
    BackupFailed,  // the backup could not be stored: nothing was written
    WriteFailed,   // a block was refused: the radio holds part of the image
    VerifyFailed,  // the read-back differs from the image
    VerifyUnread,  // every block was taken, but the read-back failed: unchecked
    Cancelled,
};

// What happened to one radio.
struct RadioRecord {
    std::string portLabel;
    std::filesystem::path device;
    std::string identHex;  // the identification bytes, empty when none came
    RadioResult result = RadioResult::NoRadio;
    std::string detail;  // the reason of a failure, for the user
    bool verified = false;
    WriteState state;  // what the radio holds now
    double seconds = 0;
    std::chrono::system_clock::time_point finishedAt;
};

struct CloneSettings {
    bool verify = false;
    bool station = false;
    // Send (and check) all 124 blocks, not only those that differ from the radio's
    // memory as the backup read found it; without backups every block goes anyway.
    bool allBlocks = false;
    // Where each radio's memory is kept before it is written; none: no backup.
    std::optional<BackupStore> backups;
    FileHeader backupHeader;  // the image file's header, kept in the backups
    TextSource texts;         // the language's texts for failure details; may be empty
};

struct ClonePortState {
    ClonePhase phase = ClonePhase::Opening;
    int percent = 0;
    int radiosDone = 0;
    int radiosFailed = 0;
};

// Programs the image into the radio on one port, on a thread of its own, with the
// protocol, pacing and retries of an ordinary write.  In station mode it goes on
// with the next radio once the last one stopped answering, until stopped.
class ClonePort {
  public:
    ClonePort(CloneTarget target, const RadioImage& image, CloneSettings settings);
    ~ClonePort();
    ClonePort(const ClonePort&) = delete;
    ClonePort& operator=(const ClonePort&) = delete;

    // Starts the thread.  Signals should be blocked by the caller around this call,
    // so that Ctrl+C reaches the main thread.
    void start();
    // Ends the run after the block on the line; a waiting station ends at once.
    void requestStop();
    // Lets a radio being programmed finish, then ends the run (a station whose log
    // cannot be written).
    void stopAfterRadio();
    // Ends it without waiting for the radio's answer to the block on the line (the
    // port is closed); the radio's record still says what it took.
    void cutShort();
    bool finished() const { return finished_.load(); }
    void join();

    ClonePortState state() const;
    // The radios finished since the last call, in order.
    std::vector<RadioRecord> takeRecords();
    // CPU time of the port's thread; final once finished().
    double cpuSeconds() const { return cpuSeconds_.load(); }
    const CloneTarget& target() const { return target_; }

    // The least time between two polls of a station, so a radio that is not in
    // programming mode is left alone.
    static constexpr auto kPollInterval = std::chrono::seconds(1);

  private:
    void run();
    void runStation();
    RadioRecord programRadio();
    bool openPort();
    bool radioAnswers();
    bool waitPoll();
    void setPhase(ClonePhase phase, int percent = 0);
    void addRecord(RadioRecord record);
    bool stopping() const { return stop_.load(); }

    const CloneTarget target_;
    const RadioImage image_;
    const CloneSettings settings_;
    std::shared_ptr<SerialPort> port_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> finished_{false};
    std::atomic<double> cpuSeconds_{0};

    mutable std::mutex mutex_;  // guards what follows
    std::shared_ptr<TransferJob> job_;
    ClonePortState state_;
    std::vector<RadioRecord> records_;
    std::condition_variable wake_;
};

// The identification bytes as hex pairs, "51 5A 4D ...".
std::string identToHex(const std::uint8_t* bytes, int count);

}  // namespace qzm::cli
