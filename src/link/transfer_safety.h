// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

#include "link/transfer_job.h"
#include "platform/result.h"
#include "radio/file_header.h"
#include "radio/radio_image.h"

namespace qzm {

// What a transfer asks of the layer that keeps the radio's memory safe (backups and
// the check after a write).  The transfer dialog works through it, so the link does
// not depend on where or how backups are kept; the program gives it the real one.
class TransferSafety {
  public:
    virtual ~TransferSafety() = default;

    // Whether a write is checked by reading it back, as last chosen.
    virtual bool verifyAfterWrite() const = 0;
    virtual void rememberVerifyAfterWrite(bool verify) = 0;

    // Arms a write job with the backup before its first block.  An error says why the
    // write must not start (backups are on but have nowhere to go).
    virtual Status armWrite(TransferJob& job) = 0;
    // Why the backup of the last armed write could not be stored; read it once the job
    // reported StatusBackupNotStored.
    virtual std::string beforeWriteProblem() const = 0;
    // The file that holds the radio's memory from before the last armed write (empty
    // when none was stored); there once the write's first block has gone out.
    virtual std::filesystem::path beforeWritePath() const = 0;

    // Keeps the image of a finished read; an error says why it could not be kept.
    virtual Status keepRead(const FileHeader& header, const RadioImage& image) = 0;
};

}  // namespace qzm
