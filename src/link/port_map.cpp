// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/port_map.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <string_view>
#include <system_error>

#include "link/cable_adapters.h"
#include "platform/profile.h"

namespace qzm {
namespace fs = std::filesystem;

namespace {

// Settings values are device paths; PATH_MAX is the most a path can be.
constexpr std::size_t kDeviceValueSize = 4096;

// The serial device families, in the order port numbers count them.
constexpr std::string_view kFamilies[] = {"ttyUSB", "ttyACM", "ttyS"};

// The number after `prefix` when `name` is exactly prefix + decimal digits.
std::optional<unsigned> familyIndex(std::string_view name, std::string_view prefix) {
    if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) {
        return std::nullopt;
    }
    const std::string_view digits = name.substr(prefix.size());
    unsigned value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc{} || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

std::string readFirstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
        line.pop_back();
    }
    return line;
}

std::string uartTypeName(int type) {
    switch (type) {
        case 1:
            return "UART 8250";
        case 2:
            return "UART 16450";
        case 3:
            return "UART 16550";
        case 4:
            return "UART 16550A";
        default:
            return "UART";
    }
}

int parseInt(const std::string& text) {
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

}  // namespace

PortMap::PortMap(fs::path settingsPath, fs::path devRoot, fs::path sysRoot)
    : settingsPath_(std::move(settingsPath)),
      devRoot_(std::move(devRoot)),
      sysRoot_(std::move(sysRoot)) {}

std::optional<fs::path> PortMap::configuredDevice(int number) const {
    if (settingsPath_.empty()) {
        return std::nullopt;
    }
    const std::string value = readProfileString(
        settingsPath_, "ports", "COM" + std::to_string(number), "", kDeviceValueSize);
    if (value.empty()) {
        return std::nullopt;
    }
    fs::path device(value);
    return device.is_absolute() ? device : devRoot_ / device;
}

bool PortMap::hasRealUart(const std::string& ttyName) const {
    const fs::path node = sysRoot_ / "class" / "tty" / ttyName;
    std::error_code error;
    if (!fs::exists(node / "device", error)) {
        return false;  // a legacy port the kernel made up without any device
    }
    // The kernel lists every legacy port; type 0 means no UART answered the probe.
    if (fs::exists(node / "type", error)) {
        return parseInt(readFirstLine(node / "type")) != 0;
    }
    return true;
}

std::vector<fs::path> PortMap::presentDevices() const {
    std::vector<fs::path> result;
    std::error_code error;
    std::vector<std::pair<unsigned, std::string>> found[std::size(kFamilies)];
    for (fs::directory_iterator it(devRoot_, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        for (std::size_t family = 0; family < std::size(kFamilies); ++family) {
            if (const auto index = familyIndex(name, kFamilies[family])) {
                found[family].emplace_back(*index, name);
                break;
            }
        }
    }
    for (std::size_t family = 0; family < std::size(kFamilies); ++family) {
        auto& devices = found[family];
        std::sort(devices.begin(), devices.end());
        for (const auto& [index, name] : devices) {
            if (kFamilies[family] == "ttyS" && !hasRealUart(name)) {
                continue;
            }
            result.push_back(devRoot_ / name);
        }
    }
    return result;
}

std::optional<fs::path> PortMap::deviceFor(int number) const {
    if (number < kFirstPortNumber || number > kLastPortNumber) {
        return std::nullopt;
    }
    if (auto configured = configuredDevice(number)) {
        return configured;
    }
    const auto devices = presentDevices();
    const auto index = static_cast<std::size_t>(number - kFirstPortNumber);
    if (index < devices.size()) {
        return devices[index];
    }
    return std::nullopt;
}

std::string PortMap::adapterName(const fs::path& device) const {
    std::error_code error;
    // A /dev/serial/by-id link or a name in the settings file: look at what it points to.
    fs::path real = fs::weakly_canonical(device, error);
    if (error) {
        real = device;
    }
    const std::string ttyName = real.filename().string();
    const fs::path node = sysRoot_ / "class" / "tty" / ttyName;
    const fs::path deviceDir = fs::weakly_canonical(node / "device", error);
    if (error || !fs::exists(deviceDir, error)) {
        return {};
    }
    if (familyIndex(ttyName, "ttyS")) {
        return uartTypeName(parseInt(readFirstLine(node / "type")));
    }
    // USB adapters carry their names a few levels above the tty's device.
    const fs::path root = fs::weakly_canonical(sysRoot_, error);
    fs::path dir = deviceDir;
    for (int level = 0; level < 4 && !dir.empty() && dir != root && dir != dir.root_path();
         ++level) {
        // A known cable bridge by its chip: many report only "USB Serial" or nothing.
        if (const auto known = findCableAdapter(readFirstLine(dir / "idVendor"),
                                                readFirstLine(dir / "idProduct"))) {
            return std::string(known->name);
        }
        if (fs::exists(dir / "product", error)) {
            const std::string maker = readFirstLine(dir / "manufacturer");
            const std::string product = readFirstLine(dir / "product");
            if (maker.empty() || product.rfind(maker, 0) == 0) {
                return product;
            }
            return maker + " " + product;
        }
        dir = dir.parent_path();
    }
    const fs::path driver = fs::read_symlink(deviceDir / "driver", error);
    return error ? std::string{} : driver.filename().string();
}

PortDescription PortMap::describe(int number) const {
    PortDescription description;
    description.number = number;
    if (auto configured = configuredDevice(number)) {
        description.device = *configured;
        description.fromSettings = true;
    } else if (auto device = deviceFor(number)) {
        description.device = *device;
    }
    if (!description.device.empty()) {
        description.adapter = adapterName(description.device);
    }
    return description;
}

}  // namespace qzm
