// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "link/port_open_error.h"
#include "link/serial_port.h"
#include "link/transfer_failure.h"
#include "link/transfer_settings.h"
#include "link/wire_protocol.h"
#include "platform/settings.h"
#include "radio/radio_image.h"

namespace qzm {

// Status codes shared by the transfer dialog and the worker.  Value 10 is unused.
enum TransferStatus : int {
    StatusIdle = 0,
    StatusNoConnection = 1,
    StatusBadIdent = 2,
    StatusConfirmModel = 3,  // never set by the protocol; the dialog still knows it
    StatusReading = 4,
    StatusReadFailed = 5,
    StatusReadDone = 6,
    StatusWriteFailed = 7,
    StatusWriting = 8,
    StatusWriteDone = 9,
    StatusSearching = 11,
    // The optional phases around a write (see TransferJob::beforeWrite and
    // verifyAfterWrite); a plain run never sets these.
    StatusBackupReading = 12,    // a block of the read before the write came; progress valid
    StatusBackupFailed = 13,     // that read failed: nothing was written
    StatusBackupNotStored = 14,  // beforeWrite refused (no backup stored): nothing was written
    StatusVerifying = 15,        // a block of the read-back came; progress valid
    StatusVerifyFailed = 16,     // the read-back failed: every block sent was written, not checked
    StatusVerifyMismatch = 17,   // the radio holds other bytes: see mismatchedBlocks
    StatusVerifyDone = 18,       // the radio holds exactly the bytes written
};

inline constexpr int kDirectionWrite = 0;
inline constexpr int kDirectionRead = 1;

// The record one transfer run shares between the user-interface thread and the
// worker.  Hold it in a std::shared_ptr (see TransferWorker): the worker keeps its
// own reference, so the record and its working image stay valid until the worker
// has really ended, even when the dialog that started it is gone.
//
// The worker writes status, progress, foundPort, portError, failure and the image; the
// user interface reads them at any time and writes cancel.  Every status is stored
// with release order after the image bytes and progress it announces; read it with
// acquire order (status.load(), the default) before looking at those.
struct TransferJob {
    TransferJob(std::shared_ptr<SerialPort> serialPort, std::filesystem::path settings,
                int transferDirection, const RadioImage& startImage)
        : port(std::move(serialPort)),
          settingsPath(std::move(settings)),
          direction(transferDirection),
          image(startImage) {}

    // For a port owned elsewhere (the application object's): the caller keeps it alive
    // until the worker has finished, e.g. by requestCancel() and TransferWorker::join()
    // before the owner goes.
    TransferJob(SerialPort& serialPort, std::filesystem::path settings, int transferDirection,
                const RadioImage& startImage)
        : TransferJob(std::shared_ptr<SerialPort>(std::shared_ptr<SerialPort>{}, &serialPort),
                      std::move(settings), transferDirection, startImage) {}

    const std::shared_ptr<SerialPort> port;
    const std::filesystem::path settingsPath;  // "setting.ini": setup/com, setup/searchcom
    const int direction;                       // kDirectionRead or kDirectionWrite

    // Values for this run only in place of setup/com and setup/searchcom (the command
    // line's --port and --no-search), so no settings file is copied for them.  Set
    // before the worker starts.  A port the search finds still goes into the file.
    std::optional<int> comPortOverride;
    std::optional<bool> searchComOverride;
    // In place of transfer/allblocks (the command line's --all-blocks, clone's choice).
    std::optional<bool> allBlocksOverride;

    int configuredPort() const {
        return comPortOverride ? *comPortOverride : readComPort(settingsPath);
    }
    bool searchEnabled() const {
        return searchComOverride ? *searchComOverride : readSearchComEnabled(settingsPath);
    }
    bool allBlocksWanted() const {
        return allBlocksOverride ? *allBlocksOverride : readAllBlocks(settingsPath);
    }

    // The working copy: sent by a write; bytes 0x000..0x3DF replaced by a read.
    // Read it only after the status announcing it (StatusReadDone) has been seen.
    RadioImage image;

    std::atomic<int> status{StatusIdle};
    // Percent done while blocks move; the port number being tried while searching.
    std::atomic<int> progress{0};
    std::atomic<int> cancel{0};
    // The port the search opened last, -1 once stored in the settings file.
    std::atomic<int> foundPort{-1};
    // Why the configured port did not open (None when it opened or was open).
    std::atomic<PortOpenError> portError{PortOpenError::None};
    // The radio's identification bytes and how many came; valid once the status
    // has moved past the identification (StatusReading, StatusWriting and later).
    std::array<std::uint8_t, wire::kIdentLength> ident{};
    int identLength = 0;
    // False: only the port already open is tried, never the settings' port or a
    // search (the command line's clone, which owns one port per radio).
    bool useSettingsPort = true;
    // What went wrong, written before a failure status (see TransferFailure).
    TransferFailure failure;
    // What a write has put into the radio, for the report at its end however it ends:
    // writeStarted once the first data frame went out; blocksWritten (below) the blocks
    // the radio took of the blocksToWrite the write sends.
    std::atomic<bool> writeStarted{false};
    // Set last of all, when the worker returns.
    std::atomic<bool> finished{false};

    // Optional phases of a write, set before the worker starts; a read ignores them.
    // Each phase is a session of its own (handshake, identification, blocks) on the
    // port the run found, so the radio sees nothing but ordinary reads and writes.
    //
    // beforeWrite: when set, the radio's memory is read first (StatusBackupReading) and
    // handed to this function on the worker thread; bytes beyond the transferred span
    // are the working image's.  Only when it returns true does the write begin; false
    // ends the run with StatusBackupNotStored, a failed read with StatusBackupFailed.
    std::function<bool(const RadioImage&)> beforeWrite;
    //
    // The read before the write tells what the radio holds, so the write sends only the
    // blocks whose bytes differ from it (ascending), unless allBlocksWanted(); none
    // differing, no block is sent at all and the run ends with StatusWriteDone (or
    // StatusVerifyDone) without a further session.  Without beforeWrite all 124 go.
    //
    // verifyAfterWrite: after the last block and the closing pause the radio is read
    // back (StatusVerifying): the blocks sent, whose bytes are compared;
    // StatusVerifyDone or StatusVerifyMismatch instead of StatusWriteDone.  The blocks
    // not sent were compared by the read before.
    bool verifyAfterWrite = false;
    // The blocks (0..123, ascending) whose read-back differed; written before
    // StatusVerifyMismatch is stored, so read it after seeing that status.
    std::vector<int> mismatchedBlocks;
    // How many blocks the write sends (124, or those that differ); -1 until known.  Set
    // before the write's first status (StatusWriting, or the end of a write that sends
    // none).  Progress while writing and checking counts these blocks only.
    std::atomic<int> blocksToWrite{-1};
    // How many of them the radio has acknowledged so far; after a cancel or a failure,
    // how many of the new image it holds.
    std::atomic<int> blocksWritten{0};
    // The blocks the write sends, ascending; read it once blocksToWrite is not -1.
    std::vector<int> writeList;

    // Cancels the run: sets cancel, then closes the port, which wakes the worker
    // from any wait.  A cancelled run moves no further block and writes no setting;
    // the worker ends within about 100 ms.  A dialog that goes away while a run is
    // active calls this rather than only closing the port: a run that merely loses
    // its port would go on to search the other ports.
    void requestCancel() {
        cancel.store(1);
        port->close();
    }
};

}  // namespace qzm
