// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/file_descriptor.h"
#include "platform/file_error_text.h"

namespace qzm {

std::vector<std::uint8_t> encodeDataFile(const FileHeader& header, const RadioImage& image) {
    std::vector<std::uint8_t> file(header.bytes.begin(), header.bytes.end());
    file.insert(file.end(), image.bytes.begin(), image.bytes.end());
    return file;
}

std::optional<DataFileContents> decodeDataFile(std::span<const std::uint8_t> file) {
    if (file.size() < kDataFileSize) {
        return std::nullopt;
    }
    DataFileContents contents;
    std::copy_n(file.begin(), kFileHeaderSize, contents.header.bytes.begin());
    if (!contents.header.hasMagic()) {
        return std::nullopt;
    }
    std::copy_n(file.begin() + kFileHeaderSize, kImageSize, contents.image.bytes.begin());
    return contents;
}

DataFileKind classifyDataFile(std::span<const std::uint8_t> file) {
    const std::size_t compared = std::min(file.size(), kCheckedMagicLength);
    if (!std::equal(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(compared),
                    kFileMagic.begin(), [](std::uint8_t byte, char magic) {
                        return byte == static_cast<std::uint8_t>(magic);
                    })) {
        return DataFileKind::Foreign;
    }
    return file.size() < kDataFileSize ? DataFileKind::Incomplete : DataFileKind::Ours;
}

FileBytes readDataFileBytes(const std::filesystem::path& file) {
    FileBytes out;
    // Non-blocking, so that a named pipe given as a data file cannot hang the program.
    FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0) {
        out.result = fileFailure("Cannot open", file, errno);
        return out;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        out.result = fileFailure("Cannot read", file, errno);
        return out;
    }
    if (!S_ISREG(info.st_mode)) {
        out.result = S_ISDIR(info.st_mode) ? fileFailure("Cannot open", file, EISDIR)
                                           : fileFailure("Cannot open", file, kNotARegularFile);
        return out;
    }
    out.bytes.resize(kDataFileSize);
    std::size_t have = 0;
    while (have < out.bytes.size()) {
        const ssize_t n = ::read(fd.get(), out.bytes.data() + have, out.bytes.size() - have);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            out.result = fileFailure("Cannot read", file, errno);
            out.bytes.clear();
            return out;
        }
        if (n == 0) {
            break;
        }
        have += static_cast<std::size_t>(n);
    }
    out.bytes.resize(have);
    return out;
}

LoadedDataFile loadDataFile(const std::filesystem::path& file) {
    LoadedDataFile loaded;
    const FileBytes read = readDataFileBytes(file);
    if (!read.result.ok()) {
        loaded.errorText = read.result.error().text;
        return loaded;
    }
    if (auto contents = decodeDataFile(read.bytes)) {
        loaded.status = LoadStatus::Loaded;
        loaded.contents = *contents;
    } else {
        loaded.status = LoadStatus::NotADataFile;
    }
    return loaded;
}

Status storeDataFile(const std::filesystem::path& file, const FileHeader& header,
                     const RadioImage& image) {
    return writeFileAtomically(file, encodeDataFile(header, image));
}

}  // namespace qzm
