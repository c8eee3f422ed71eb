// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qzm {

// The seam through which the document commands ask the user for a file name.
// The window code supplies a Qt implementation; tests supply scripted answers.

enum class FileDialogMode { Open, Save };

// One entry of the dialog's file-type list.
struct FileType {
    std::string name;     // e.g. "CHIRP CSV (*.csv)"
    std::string pattern;  // e.g. "*.csv"
};

struct FileDialogRequest {
    FileDialogMode mode = FileDialogMode::Open;
    std::string title{};                  // UTF-8; empty: the platform's default title
    std::string filterName{};             // e.g. "Radio Program Data Files(*.836)"
    std::string filterPattern{};          // e.g. "*.836"
    std::string defaultExtension{};       // e.g. ".836", added to a typed name without one
    std::filesystem::path initialPath{};  // folder or file the dialog starts from
    // When not empty, these types are offered (first one selected) instead of
    // filterName and filterPattern; chooseTyped tells which one the user chose.
    std::vector<FileType> fileTypes{};
    // Files named by their date and time (backups): listed newest first, with
    // whole names and the dates beside them.
    bool newestFirst = false;
};

struct FileChoice {
    std::filesystem::path path;
    std::size_t fileType = 0;  // index into the request's fileTypes
};

class FileDialogSeam {
  public:
    virtual ~FileDialogSeam() = default;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::filesystem::path> choose(const FileDialogRequest& request) = 0;
    // The chosen path and the file type selected when the user confirmed.
    virtual std::optional<FileChoice> chooseTyped(const FileDialogRequest& request) {
        auto path = choose(request);
        if (!path) {
            return std::nullopt;
        }
        return FileChoice{std::move(*path), 0};
    }
};

}  // namespace qzm
