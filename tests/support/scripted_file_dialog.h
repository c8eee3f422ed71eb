// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/file_dialog.h"

namespace qzm::test {

// Answers file dialogs from a queue, like ScriptedMessageBox: one answer per
// expected dialog; an unexpected dialog, a dialog of the wrong mode and
// answers left over fail the running test.
class ScriptedFileDialog final : public FileDialogSeam {
  public:
    ScriptedFileDialog() = default;
    ScriptedFileDialog(const ScriptedFileDialog&) = delete;
    ScriptedFileDialog& operator=(const ScriptedFileDialog&) = delete;
    ~ScriptedFileDialog() override;

    // The next dialog, of this mode, answers with the path (nothing = Cancel)
    // and, for a dialog with file types, the index of the type chosen.
    ScriptedFileDialog& expect(FileDialogMode mode, std::optional<std::filesystem::path> answer,
                               std::size_t fileType = 0);

    std::optional<std::filesystem::path> choose(const FileDialogRequest& request) override;
    std::optional<FileChoice> chooseTyped(const FileDialogRequest& request) override;

    const std::vector<FileDialogRequest>& asked() const { return asked_; }
    std::size_t pending() const { return answers_.size(); }

  private:
    struct Answer {
        FileDialogMode mode;
        std::optional<std::filesystem::path> path;
        std::size_t fileType = 0;
    };
    Answer next(const FileDialogRequest& request);
    std::deque<Answer> answers_;
    std::vector<FileDialogRequest> asked_;
};

}  // namespace qzm::test
