#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace qzm {

// A channel list file read whole for an import.  Only regular files, up to
// kChannelListFileLimit bytes: a fifo or a device never blocks the caller and
// a huge file is refused rather than read.
inline constexpr std::size_t kChannelListFileLimit = 4 * 1024 * 1024;

struct ChannelListFile {
    std::optional<std::string> contents;  // empty when refused
    std::string error;                    // why, for the user
};

ChannelListFile readChannelListFile(const std::filesystem::path& path);

}  // namespace qzm
