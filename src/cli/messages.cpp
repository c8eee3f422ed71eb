// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/messages.h"

#include <cstdio>

#include "cli/cli_options.h"

namespace qzm::cli {

void printError(std::string_view message) {
    std::fprintf(stderr, "%s: %.*s\n", kProgramName, static_cast<int>(message.size()),
                 message.data());
    std::fflush(stderr);
}

std::optional<DocumentFile> loadOrReport(const std::string& path, const LanguageTexts& texts) {
    Result<DocumentFile> loaded = loadDocumentFile(path);
    if (loaded) {
        return std::move(loaded).value();
    }
    switch (static_cast<LoadFailure>(loaded.error().code)) {
        case LoadFailure::HeaderMismatch:
            // The program's own text for a file that is not one of its data files.
            printError(path + ": " + texts.text("IDS_WARN_LOAD"));
            break;
        case LoadFailure::Truncated:
            printError(path + ": " + loaded.error().text);
            break;
        case LoadFailure::None:
        case LoadFailure::Unreadable:
            printError(loaded.error().text);
            break;
    }
    return std::nullopt;
}

bool saveOrReport(const std::string& path, const DocumentFile& document) {
    Status saved = storeDataFile(path, document.header, document.image);
    if (!saved.ok()) {
        printError(saved.error().text);
    }
    return saved.ok();
}

}  // namespace qzm::cli
