// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/port_open_error.h"

#include <cerrno>

namespace qzm {

std::string_view portOpenErrorName(PortOpenError error) {
    switch (error) {
        case PortOpenError::None:
            return "opened";
        case PortOpenError::NotFound:
            return "not found";
        case PortOpenError::PermissionDenied:
            return "permission denied";
        case PortOpenError::InUse:
            return "in use";
        case PortOpenError::NoHardware:
            return "no hardware";
        case PortOpenError::NotASerialPort:
            return "not a serial port";
        case PortOpenError::Other:
            break;
    }
    return "cannot be opened";
}

std::string_view portOpenErrorHint(PortOpenError error) {
    switch (error) {
        case PortOpenError::None:
            return "";
        case PortOpenError::NotFound:
            return "not found: plug in the programming cable, or name the device for this port in "
                   "section [ports] of setting.ini (for example COM1=/dev/ttyUSB0)";
        case PortOpenError::PermissionDenied:
            return "permission denied: add your user to the group that owns it, usually dialout, "
                   "then log in again";
        case PortOpenError::InUse:
            return "in use: another program has the port open; close it and try again";
        case PortOpenError::NoHardware:
            return "no hardware: the device exists but no serial adapter answers behind it";
        case PortOpenError::NotASerialPort:
            return "not a serial port: the device named for this port is no terminal device";
        case PortOpenError::Other:
            break;
    }
    return "the port cannot be opened";
}

PortOpenError portOpenErrorFromErrno(int errorNumber) {
    switch (errorNumber) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
        case ENOTDIR:
            return PortOpenError::NotFound;
        case EACCES:
        case EPERM:
        case EROFS:
            return PortOpenError::PermissionDenied;
        case EBUSY:
        case EWOULDBLOCK:
            return PortOpenError::InUse;
        case EIO:
            return PortOpenError::NoHardware;
        case ENOTTY:
            return PortOpenError::NotASerialPort;
        default:
            return PortOpenError::Other;
    }
}

}  // namespace qzm
