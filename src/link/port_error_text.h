// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "link/port_open_error.h"

namespace qzm {

// The user's hint for a port that would not open, in the current language;
// the built-in English sentence when the language file lacks the key.  Empty
// for PortOpenError::None.
std::string portOpenErrorText(PortOpenError error);

// The tooltip text for a port number without any device behind it.
std::string noDeviceText();

}  // namespace qzm
