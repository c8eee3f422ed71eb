// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <memory>

#include "link/transfer_safety.h"
#include "platform/text_source.h"

namespace qzm {

struct StoredBackup;

// The window's safety net: backups in the user's backup folder while "setting.ini"
// has them on, and the check after a write as last chosen there.  The settings are
// read at each use, so a change made meanwhile counts at the next run.  Its
// problems are told in the language behind `texts` (the window's).
class SettingsTransferSafety final : public TransferSafety {
  public:
    SettingsTransferSafety(std::filesystem::path settings, TextSource texts);
    ~SettingsTransferSafety() override;

    bool verifyAfterWrite() const override;
    void rememberVerifyAfterWrite(bool verify) override;
    Status armWrite(TransferJob& job) override;
    std::string beforeWriteProblem() const override;
    std::filesystem::path beforeWritePath() const override;
    Status keepRead(const FileHeader& header, const RadioImage& image) override;

  private:
    std::filesystem::path settings_;
    TextSource texts_;
    std::shared_ptr<const StoredBackup> beforeWrite_;
};

}  // namespace qzm
