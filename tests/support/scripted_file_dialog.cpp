// SPDX-License-Identifier: GPL-3.0-or-later
#include "scripted_file_dialog.h"

#include <gtest/gtest.h>

namespace qzm::test {
namespace {

const char* modeName(FileDialogMode mode) {
    return mode == FileDialogMode::Open ? "open" : "save";
}

}  // namespace

ScriptedFileDialog::~ScriptedFileDialog() {
    for (const Answer& answer : answers_) {
        ADD_FAILURE() << "expected " << modeName(answer.mode) << " dialog never shown";
    }
}

ScriptedFileDialog& ScriptedFileDialog::expect(FileDialogMode mode,
                                               std::optional<std::filesystem::path> answer,
                                               std::size_t fileType) {
    answers_.push_back({mode, std::move(answer), fileType});
    return *this;
}

std::optional<std::filesystem::path> ScriptedFileDialog::choose(const FileDialogRequest& request) {
    return next(request).path;
}

std::optional<FileChoice> ScriptedFileDialog::chooseTyped(const FileDialogRequest& request) {
    Answer answer = next(request);
    if (!answer.path) {
        return std::nullopt;
    }
    if (answer.fileType >= request.fileTypes.size() && answer.fileType != 0) {
        ADD_FAILURE() << "file type " << answer.fileType << " not offered";
    }
    return FileChoice{*answer.path, answer.fileType};
}

ScriptedFileDialog::Answer ScriptedFileDialog::next(const FileDialogRequest& request) {
    asked_.push_back(request);
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected " << modeName(request.mode) << " dialog";
        return {request.mode, std::nullopt};
    }
    Answer answer = answers_.front();
    answers_.pop_front();
    if (answer.mode != request.mode) {
        ADD_FAILURE() << "expected a " << modeName(answer.mode) << " dialog, got a "
                      << modeName(request.mode) << " dialog";
    }
    return answer;
}

}  // namespace qzm::test
