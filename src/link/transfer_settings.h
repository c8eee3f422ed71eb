// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string_view>

#include "platform/program_paths.h"

namespace qzm {

// "setting.ini" section [transfer]: how a write moves its blocks.
inline constexpr std::string_view kTransferSection = "transfer";
inline constexpr std::string_view kAllBlocksKey = "allblocks";

// transfer/allblocks: a write sends (and checks) all 124 blocks even when the read
// before it showed which differ; for a radio that misbehaves with short sessions.
// Off unless the value is a number other than 0.
bool readAllBlocks(const std::filesystem::path& settings = settingsPath());

}  // namespace qzm
