// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <thread>

#include "link/transfer_job.h"

namespace qzm {

// The worker procedure: reads the radio into job.image or writes job.image into the
// radio over job.port, reporting through the job only.  Returns 0 always; the result
// is the final status.  Never closes the port (whoever started the run does), never
// shows anything and never touches the document.
int runTransfer(TransferJob& job);

// Tests on a busy machine stretch every wait whose outcome decides the run (the
// answers to the handshake, the identification request and each block) by `factor`
// (1 or more).  The program never calls it: its time-outs stay what the radio needs.
void setAnswerTimeoutScaleForTests(int factor);

// Runs runTransfer on its own thread.  The thread holds a reference to the job, so a
// dialog may forget its worker after a cancel; the destructor then detaches it.
class TransferWorker {
  public:
    TransferWorker() = default;
    explicit TransferWorker(std::shared_ptr<TransferJob> job);
    ~TransferWorker();

    TransferWorker(TransferWorker&&) noexcept = default;
    TransferWorker& operator=(TransferWorker&& other) noexcept;

    // True once runTransfer has returned (or when nothing was started).
    bool finished() const;
    // Waits for the worker to end.
    void join();

    const std::shared_ptr<TransferJob>& job() const { return job_; }

  private:
    std::shared_ptr<TransferJob> job_;
    std::thread thread_;
};

}  // namespace qzm
