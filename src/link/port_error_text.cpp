// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/port_error_text.h"

namespace qzm {
namespace {

const char* keyOf(PortOpenError error) {
    switch (error) {
        case PortOpenError::None:
            return nullptr;
        case PortOpenError::NotFound:
            return "IDS_PORT_NOTFOUND";
        case PortOpenError::PermissionDenied:
            return "IDS_PORT_DENIED";
        case PortOpenError::InUse:
            return "IDS_PORT_INUSE";
        case PortOpenError::NoHardware:
            return "IDS_PORT_NOHARDWARE";
        case PortOpenError::NotASerialPort:
            return "IDS_PORT_NOTSERIAL";
        case PortOpenError::Other:
            break;
    }
    return "IDS_PORT_OTHER";
}

}  // namespace

std::string portOpenErrorText(PortOpenError error, const TextSource& texts) {
    const char* key = keyOf(error);
    return key == nullptr ? std::string() : textOr(texts, key, portOpenErrorHint(error));
}

std::string noDeviceText(const TextSource& texts) {
    return textOr(texts, "IDS_PORT_NODEVICE", "no device");
}

}  // namespace qzm
