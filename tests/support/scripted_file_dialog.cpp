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
                                               std::optional<std::filesystem::path> answer) {
    answers_.push_back({mode, std::move(answer)});
    return *this;
}

std::optional<std::filesystem::path> ScriptedFileDialog::choose(const FileDialogRequest& request) {
    asked_.push_back(request);
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected " << modeName(request.mode) << " dialog";
        return std::nullopt;
    }
    Answer answer = answers_.front();
    answers_.pop_front();
    if (answer.mode != request.mode) {
        ADD_FAILURE() << "expected a " << modeName(answer.mode) << " dialog, got a "
                      << modeName(request.mode) << " dialog";
    }
    return answer.path;
}

}  // namespace qzm::test
