// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

#include "cli/cli_environment.h"
#include "radio/image_diff.h"
#include "radio/radio_image.h"

namespace qzm::cli {

// The name of a field as the editor shows it: the grid's column title for a channel
// field, the settings panel's caption for a setting.
std::string fieldLabel(ImageField field, const LanguageTexts& texts);

// The value of a field as the editor shows it (band name, list entry, "[x]", tone text,
// "Yes"/"No" ...).  An empty frequency and a value a list has no entry for give the empty
// text.  `channel` counts for channel fields only.
std::string fieldValueText(const RadioImage& image, ImageField field, int channel,
                           const LanguageTexts& texts, const std::filesystem::path& settingsPath);

}  // namespace qzm::cli
