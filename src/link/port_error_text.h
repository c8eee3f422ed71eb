// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "link/port_open_error.h"
#include "platform/text_source.h"

namespace qzm {

// The user's hint for a port that would not open, in the language behind
// `texts`; the built-in English sentence when the language file lacks the key
// (one of an older release may).  Empty for PortOpenError::None.
std::string portOpenErrorText(PortOpenError error, const TextSource& texts);

// The tooltip text for a port number without any device behind it.
std::string noDeviceText(const TextSource& texts);

}  // namespace qzm
