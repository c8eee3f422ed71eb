// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

#include "cli/cli_environment.h"
#include "radio/radio_image.h"

namespace qzm::cli {

// The settings panel and the channel grid as the editor shows them, as text:
// the same captions, list entries and cell texts, from the same language file.
std::string showDocument(const RadioImage& image, const LanguageTexts& texts,
                         const std::filesystem::path& settingsPath);

// The warning the editor gives on opening an image with values the radio cannot
// use: their count and channels, then the first few with their stored bytes.
// Empty for a sound image.
std::string damagedValuesWarning(const RadioImage& image, const LanguageTexts& texts);

}  // namespace qzm::cli
