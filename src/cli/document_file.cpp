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

DocumentLoadResult loadDocumentFile(const std::string& path) {
    DocumentLoadResult result;
    FileBytes file = readDataFileBytes(path);
    if (!file.result.ok) {
        result.failure = LoadFailure::Unreadable;
        result.error = file.result.errorText;
        return result;
    }
    if (auto contents = decodeDataFile(file.bytes)) {
        result.document = *contents;
        return result;
    }
    FileHeader header;
    if (file.bytes.size() >= kFileHeaderSize) {
        std::copy_n(file.bytes.begin(), kFileHeaderSize, header.bytes.begin());
    }
    if (header.hasMagic()) {
        result.failure = LoadFailure::Truncated;
        result.error = "the file is truncated (" + std::to_string(file.bytes.size()) + " of " +
                       std::to_string(kDataFileSize) + " bytes)";
    } else {
        result.failure = LoadFailure::HeaderMismatch;
    }
    return result;
}

}  // namespace qzm::cli
