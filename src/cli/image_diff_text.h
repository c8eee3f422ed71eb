// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_environment.h"
#include "radio/image_diff.h"

namespace qzm::cli {

// The lines of `diff`: one per differing field, "<field>: <old> -> <new>", a channel
// field after "channel N:", and last the count of differing bytes without a field.
// Where both values read alike (a clamped setting, an unknown band code) the stored
// bytes follow in brackets, so a difference never looks like none.
std::vector<std::string> imageDifferenceLines(const RadioImage& before, const RadioImage& after,
                                              const ImageDifference& difference,
                                              const LanguageTexts& texts,
                                              const std::filesystem::path& settingsPath);

}  // namespace qzm::cli
