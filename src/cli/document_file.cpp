// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/document_file.h"

#include <algorithm>

namespace qzm::cli {

DocumentFile newDocument(int bandIndex) {
    DocumentFile document;
    document.header.writeMagic();
    document.image.erase();
    document.image.setBandIndex(bandIndex);
    return document;
}

Result<DocumentFile> loadDocumentFile(const std::string& path) {
    FileBytes file = readDataFileBytes(path);
    if (!file.result.ok()) {
        return Error{file.result.error().text, static_cast<int>(LoadFailure::Unreadable)};
    }
    if (auto contents = decodeDataFile(file.bytes)) {
        return *contents;
    }
    FileHeader header;
    if (file.bytes.size() >= kFileHeaderSize) {
        std::copy_n(file.bytes.begin(), kFileHeaderSize, header.bytes.begin());
    }
    if (header.hasMagic()) {
        return Error{"the file is truncated (" + std::to_string(file.bytes.size()) + " of " +
                         std::to_string(kDataFileSize) + " bytes)",
                     static_cast<int>(LoadFailure::Truncated)};
    }
    return Error{{}, static_cast<int>(LoadFailure::HeaderMismatch)};
}

}  // namespace qzm::cli
