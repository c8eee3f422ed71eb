#include "cli/document_file.h"

#include <algorithm>
#include <string_view>

#include "cli/file_io.h"

namespace qzm::cli {
namespace {

constexpr std::string_view kFileMagic = "QZM-836 Radio Program data v1.04";
constexpr std::size_t kComparedMagicLength = 26;
constexpr std::size_t kHeaderSize = 48;
constexpr std::size_t kFileSize = kHeaderSize + kImageSize;

}  // namespace

DocumentFile newDocument(int bandIndex) {
    DocumentFile document;
    std::copy(kFileMagic.begin(), kFileMagic.end(), document.header.begin());
    document.image.erase();
    document.image.setBandIndex(bandIndex);
    return document;
}

DocumentLoadResult loadDocumentFile(const std::string& path) {
    DocumentLoadResult result;
    FileReadResult file = readWholeFile(path);
    if (!file.contents) {
        result.failure = LoadFailure::Unreadable;
        result.error = file.error;
        return result;
    }
    const std::string& data = *file.contents;
    if (data.size() < kHeaderSize ||
        !std::equal(kFileMagic.begin(), kFileMagic.begin() + kComparedMagicLength, data.begin())) {
        result.failure = LoadFailure::HeaderMismatch;
        return result;
    }
    if (data.size() < kFileSize) {
        result.failure = LoadFailure::Truncated;
        result.error = "the file is truncated (" + std::to_string(data.size()) + " of " +
                       std::to_string(kFileSize) + " bytes)";
        return result;
    }
    DocumentFile document;
    std::copy_n(reinterpret_cast<const std::uint8_t*>(data.data()), kHeaderSize,
                document.header.begin());
    std::copy_n(reinterpret_cast<const std::uint8_t*>(data.data()) + kHeaderSize, kImageSize,
                document.image.bytes.begin());
    result.document = document;
    return result;
}

std::optional<std::string> saveDocumentFile(const std::string& path, const DocumentFile& document) {
    std::string data;
    data.reserve(kFileSize);
    data.append(reinterpret_cast<const char*>(document.header.data()), document.header.size());
    data.append(reinterpret_cast<const char*>(document.image.bytes.data()),
                document.image.bytes.size());
    return writeFileAtomically(path, data);
}

}  // namespace qzm::cli
