// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/port_error_text.h"

#include "lang/text_lookup.h"

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

// A language file of an older release may lack the key; the English sentence
// still says more than "Not Found".
std::string textOr(const char* key, std::string_view fallback) {
    std::string text = lookupText(key);
    return text.empty() || text == kNotFoundText ? std::string(fallback) : text;
}

}  // namespace

std::string portOpenErrorText(PortOpenError error) {
    const char* key = keyOf(error);
    return key == nullptr ? std::string() : textOr(key, portOpenErrorHint(error));
}

std::string noDeviceText() {
    return textOr("IDS_PORT_NODEVICE", "no device");
}

}  // namespace qzm
