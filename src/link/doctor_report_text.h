// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "link/port_doctor.h"
#include "platform/text_source.h"

namespace qzm {

// The text of one finding, its %1, %2 ... filled in; the built-in English text when the
// language file lacks the key.
std::string findingText(const Finding& finding, const TextSource& lookup);

// The whole report, as the command line prints it and the port dialog shows it: one block
// per port headed "COM1: /dev/ttyUSB0  adapter", then the general findings.  Each finding
// starts with a mark: "[ok]", "[!!]" for a problem, "[i]" for a note.
std::string formatDoctorReport(const DoctorReport& report, const TextSource& lookup);

}  // namespace qzm
