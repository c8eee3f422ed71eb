// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace qzm {

// Why a serial port could not be opened.  The plain boolean `SerialPort::open`
// hides this; the port dialog and the transfer errors show it as a hint.
enum class PortOpenError {
    None,              // opened
    NotFound,          // no such device (or no device mapped to the port number)
    PermissionDenied,  // the user may not open the device
    InUse,             // another program (or another open here) holds it
    NoHardware,        // the device node exists but nothing answers behind it
    NotASerialPort,    // the path names something that is not a terminal
    Other,             // any other operating-system failure
};

// A short English name for logs and the command-line tool ("not found", "in use").
std::string_view portOpenErrorName(PortOpenError error);

// One sentence telling the user what to do about it; empty for None.
std::string_view portOpenErrorHint(PortOpenError error);

// The classification of an errno value left by open(2) or flock(2).
PortOpenError portOpenErrorFromErrno(int errorNumber);

}  // namespace qzm
