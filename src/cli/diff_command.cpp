// SPDX-License-Identifier: GPL-3.0-or-later
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/image_diff_text.h"
#include "cli/messages.h"

namespace qzm::cli {
namespace {

// A private folder for the radio's image, removed with everything in it.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::error_code error;
        std::string pattern =
            (std::filesystem::temp_directory_path(error) / "qzm836-diff-XXXXXX").string();
        if (!error && ::mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~ScratchFolder() {
        if (!path_.empty()) {
            std::error_code error;
            std::filesystem::remove_all(path_, error);
        }
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// The radio's memory through the very path `read` takes, into a scratch file.
std::optional<DocumentFile> readRadio(const CliOptions& options, const CliEnvironment& environment,
                                      const LanguageTexts& texts, int& exitCode) {
    ScratchFolder scratch;
    if (scratch.path().empty()) {
        printError("cannot create a temporary folder for the radio's memory");
        exitCode = kExitFileError;
        return std::nullopt;
    }
    CliOptions read = options;
    read.command = Command::Read;
    read.operands = {(scratch.path() / "radio.836").string()};
    exitCode = runTransferCommand(read, environment);
    if (exitCode != kExitSuccess) {
        // 1 means "different" here; a failed block is a radio that stopped answering.
        if (exitCode == kExitBlockFailed) {
            exitCode = kExitNoRadio;
        }
        return std::nullopt;
    }
    auto loaded = loadOrReport(read.operands[0], texts);
    if (!loaded) {
        exitCode = kExitFileError;
    }
    return loaded;
}

}  // namespace

int runDiffCommand(const CliOptions& options, const CliEnvironment& environment) {
    const LanguageTexts texts(environment.languagePath);
    std::optional<DocumentFile> file = loadOrReport(options.operands.front(), texts);
    if (!file) {
        return kExitFileError;
    }
    std::optional<DocumentFile> other;
    if (options.radio) {
        int exitCode = kExitSuccess;
        other = readRadio(options, environment, texts, exitCode);
        if (!other) {
            return exitCode;
        }
    } else {
        other = loadOrReport(options.operands.back(), texts);
        if (!other) {
            return kExitFileError;
        }
    }
    const bool radioIsOld = options.radio && options.radioFirst;
    const RadioImage& before = radioIsOld ? other->image : file->image;
    const RadioImage& after = radioIsOld ? file->image : other->image;
    // Only what travels can differ from a radio; the rest of a file never reaches it.
    const ImageDifference difference =
        compareImages(before, after, options.radio ? kRadioTransferSize : kImageSize);
    std::string out;
    for (const std::string& line :
         imageDifferenceLines(before, after, difference, texts, environment.settingsPath)) {
        out += line + "\n";
    }
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) {
        printError("cannot write to standard output");
        return kExitFileError;
    }
    return difference.empty() ? kExitSuccess : kExitDifferent;
}

}  // namespace qzm::cli
