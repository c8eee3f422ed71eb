// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "radio/file_header.h"
#include "radio/radio_image.h"

namespace qzm {

// A data file (".836") is the header followed by the image, nothing else.
inline constexpr std::size_t kDataFileSize = kFileHeaderSize + kImageSize;  // 4144
inline constexpr const char* kDataFileExtension = ".836";

struct DataFileContents {
    FileHeader header;
    RadioImage image;
};

// The 4144 bytes of a data file.
std::vector<std::uint8_t> encodeDataFile(const FileHeader& header, const RadioImage& image);

// Header and image of a data file, or nothing when the first 26 header bytes are not ours
// or the file is shorter than 4144 bytes.  Bytes after the image are ignored.
std::optional<DataFileContents> decodeDataFile(std::span<const std::uint8_t> file);

// What a file's first bytes say it is: ours, another program's file, or one of
// ours cut short (its bytes so far are our header's, but the image is not all there).
enum class DataFileKind { Ours, Foreign, Incomplete };
DataFileKind classifyDataFile(std::span<const std::uint8_t> file);

struct FileBytes {
    Status result;
    std::vector<std::uint8_t> bytes;  // at most kDataFileSize
};

// The first kDataFileSize bytes of a file (fewer when it is shorter).
FileBytes readDataFileBytes(const std::filesystem::path& file);

enum class LoadStatus { Loaded, NotADataFile, FileError };

struct LoadedDataFile {
    LoadStatus status = LoadStatus::FileError;
    DataFileContents contents;  // meaningful when Loaded
    std::string errorText;      // for FileError
};

// Reading and decoding in one step, for callers without a document (the command line).
LoadedDataFile loadDataFile(const std::filesystem::path& file);
Status storeDataFile(const std::filesystem::path& file, const FileHeader& header,
                     const RadioImage& image);

}  // namespace qzm
