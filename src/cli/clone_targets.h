// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "cli/clone_port.h"
#include "link/port_map.h"
#include "platform/result.h"

namespace qzm::cli {

// The cables of a clone run: every --device, every --port (through the port
// mapping) and, with `allPorts`, every present USB-serial port.  A device named
// twice is used once.  Fails, saying why, when no cable at all comes of it.
Result<std::vector<CloneTarget>> cloneTargets(const PortMap& portMap,
                                              const std::vector<std::string>& devices,
                                              const std::vector<int>& ports, bool allPorts);

// The port numbers whose device is a USB-serial adapter (ttyUSB*, ttyACM*).
std::vector<int> usbSerialPortNumbers(const PortMap& portMap);

}  // namespace qzm::cli
