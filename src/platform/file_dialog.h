#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace qzm {

// The seam through which the document commands ask the user for a file name.
// The window code supplies a Qt implementation; tests supply scripted answers.

enum class FileDialogMode { Open, Save };

struct FileDialogRequest {
    FileDialogMode mode = FileDialogMode::Open;
    std::string title{};                  // UTF-8; empty: the platform's default title
    std::string filterName{};             // e.g. "Radio Program Data Files(*.836)"
    std::string filterPattern{};          // e.g. "*.836"
    std::string defaultExtension{};       // e.g. ".836", added to a typed name without one
    std::filesystem::path initialPath{};  // folder or file the dialog starts from
};

class FileDialogSeam {
  public:
    virtual ~FileDialogSeam() = default;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::filesystem::path> choose(const FileDialogRequest& request) = 0;
};

}  // namespace qzm
