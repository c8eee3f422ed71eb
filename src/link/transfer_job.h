#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>

#include "link/port_open_error.h"
#include "link/serial_port.h"
#include "link/wire_protocol.h"
#include "link/transfer_failure.h"
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
    // Set last of all, when the worker returns.
    std::atomic<bool> finished{false};

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
