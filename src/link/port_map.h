// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qzm {

// The lowest and highest port number the user can name ("COM1" .. "COM255").
inline constexpr int kFirstPortNumber = 1;
inline constexpr int kLastPortNumber = 255;

// What a port number stands for, for tooltips and error texts.
struct PortDescription {
    int number = 0;
    std::filesystem::path device;  // empty when nothing is mapped to the number
    std::string adapter;           // adapter name from sysfs, empty when unknown
    bool fromSettings = false;     // named in section [ports] of the settings file
};

// Maps the user's port numbers to device files.  Port n is the device named by
// key "COM<n>" of section [ports] of the settings file, otherwise the n-th present
// serial device: /dev/ttyUSB* in numeric order, then /dev/ttyACM*, then the
// /dev/ttyS* that have a real UART behind them.  With one USB cable plugged in,
// COM1 is that cable whatever its kernel name.
//
// The roots are parameters so that tests can point the mapping at a fake tree.
// Nothing is cached: every call looks at the settings file and the folders anew.
class PortMap {
  public:
    // An empty settingsPath means: no [ports] section to consult.
    explicit PortMap(std::filesystem::path settingsPath = {},
                     std::filesystem::path devRoot = "/dev",
                     std::filesystem::path sysRoot = "/sys");

    // The device of port `number`, or nothing when the number maps to none.
    std::optional<std::filesystem::path> deviceFor(int number) const;

    // The present serial devices in the order port numbers count them.
    std::vector<std::filesystem::path> presentDevices() const;

    // Device and adapter name of port `number`.
    PortDescription describe(int number) const;

    // The adapter behind a device, found through sysfs: the chip of a known cable
    // bridge (kCableAdapters: "WCH CH340"), else the USB maker and product ("FTDI
    // FT232R USB UART"), the driver ("cdc_acm") or the UART ("UART 16550A"); empty
    // when sysfs knows nothing of it.
    std::string adapterName(const std::filesystem::path& device) const;

    const std::filesystem::path& settingsPath() const { return settingsPath_; }

  private:
    std::optional<std::filesystem::path> configuredDevice(int number) const;
    bool hasRealUart(const std::string& ttyName) const;

    std::filesystem::path settingsPath_;
    std::filesystem::path devRoot_;
    std::filesystem::path sysRoot_;
};

}  // namespace qzm
