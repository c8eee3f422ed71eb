// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "link/transfer_failure.h"
#include "platform/text_source.h"

namespace qzm {

// Where and how a run failed, in one line of the language behind `texts`, e.g.
// "COM3 (/dev/ttyUSB0), block 40 (address 0x0140): no answer".  A key the
// language file lacks falls back to its English text.  Without a port or device the
// line starts at the step.  Empty for FailureKind::None.
std::string transferFailureText(const TransferFailure& failure, const TextSource& texts);

// The port part alone: "COM3 (/dev/ttyUSB0)", "COM3" or the device path.
std::string failurePortText(const TransferFailure& failure);

}  // namespace qzm
