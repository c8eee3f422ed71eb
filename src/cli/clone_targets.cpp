// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/clone_targets.h"

#include <algorithm>
#include <system_error>

namespace qzm::cli {
namespace {

// The device a path finally names, so that a by-id link and the tty it points
// at count as one cable.
std::filesystem::path identity(const std::filesystem::path& device) {
    std::error_code error;
    auto canonical = std::filesystem::canonical(device, error);
    return error ? device : canonical;
}

bool isUsbSerial(const std::filesystem::path& device) {
    const std::string name = identity(device).filename().string();
    return name.starts_with("ttyUSB") || name.starts_with("ttyACM");
}

}  // namespace

std::vector<int> usbSerialPortNumbers(const PortMap& portMap) {
    std::vector<int> numbers;
    std::vector<std::filesystem::path> seen;
    for (int number = kFirstPortNumber; number <= kLastPortNumber; ++number) {
        auto device = portMap.deviceFor(number);
        if (!device || !isUsbSerial(*device)) {
            continue;
        }
        auto id = identity(*device);
        if (std::find(seen.begin(), seen.end(), id) == seen.end()) {
            seen.push_back(id);
            numbers.push_back(number);
        }
    }
    return numbers;
}

Result<std::vector<CloneTarget>> cloneTargets(const PortMap& portMap,
                                              const std::vector<std::string>& devices,
                                              const std::vector<int>& ports, bool allPorts) {
    std::vector<CloneTarget> targets;
    std::vector<std::filesystem::path> seen;
    auto add = [&](std::string label, std::filesystem::path device) {
        auto id = identity(device);
        if (std::find(seen.begin(), seen.end(), id) != seen.end()) {
            return;
        }
        seen.push_back(id);
        targets.push_back({std::move(label), std::move(device)});
    };
    for (const auto& device : devices) {
        add(device, device);
    }
    std::vector<int> numbers = ports;
    if (allPorts) {
        auto usb = usbSerialPortNumbers(portMap);
        numbers.insert(numbers.end(), usb.begin(), usb.end());
    }
    for (int number : numbers) {
        auto device = portMap.deviceFor(number);
        if (!device) {
            return Error{"COM" + std::to_string(number) + ": no serial device for this port"};
        }
        add("COM" + std::to_string(number), *device);
    }
    if (targets.empty()) {
        return Error{allPorts ? "no USB-serial cable is plugged in"
                              : "no port given: use --device, --port or --all"};
    }
    return targets;
}

}  // namespace qzm::cli
