// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace qzm {

// A USB vendor and product id, as udev rules and sysfs write them ("1a86", "7523").
struct UsbId {
    std::string_view vendor;
    std::string_view product;
    friend bool operator==(const UsbId&, const UsbId&) = default;
};

// A USB-serial bridge that radio programming cables are built on.
struct CableAdapter {
    UsbId id;
    std::string_view name;  // the chip, as PortMap and the doctor name the adapter
};

// The bridges as the kernel's serial drivers list them: the one list the udev rule
// res/udev/70-qzm836.rules names (a test compares the two), PortMap names adapters
// from and the doctor checks against.  Only these: a catch-all would hand every USB
// modem and GPS receiver to the desktop user and hide them from ModemManager.
inline constexpr CableAdapter kCableAdapters[] = {
    // WCH, driver ch341 (ttyUSB); 4348 is WCH's old vendor id.
    {{"1a86", "7523"}, "WCH CH340"},
    {{"1a86", "7522"}, "WCH CH340K"},
    {{"1a86", "5523"}, "WCH CH341"},
    {{"4348", "5523"}, "WCH CH341"},
    // WCH, driven by cdc_acm (ttyACM).
    {{"1a86", "55d4"}, "WCH CH9102"},
    {{"1a86", "55d3"}, "WCH CH343"},
    // Prolific, driver pl2303; 23a3..23f3 are the HXN family.
    {{"067b", "2303"}, "Prolific PL2303"},
    {{"067b", "23a3"}, "Prolific PL2303GC"},
    {{"067b", "23b3"}, "Prolific PL2303GB"},
    {{"067b", "23c3"}, "Prolific PL2303GT"},
    {{"067b", "23d3"}, "Prolific PL2303GL"},
    {{"067b", "23e3"}, "Prolific PL2303GE"},
    {{"067b", "23f3"}, "Prolific PL2303GS"},
    // Silicon Labs, driver cp210x.
    {{"10c4", "ea60"}, "Silicon Labs CP210x"},
    // FTDI, driver ftdi_sio.
    {{"0403", "6001"}, "FTDI FT232R"},
    {{"0403", "6015"}, "FTDI FT230X"},
};

// The ids alone, for searching rule files.
inline constexpr auto kCableAdapterIds = [] {
    std::array<UsbId, std::size(kCableAdapters)> ids{};
    for (std::size_t i = 0; i < ids.size(); ++i) {
        ids[i] = kCableAdapters[i].id;
    }
    return ids;
}();

// The file name the package installs the udev rule as (lib/udev/rules.d).
inline constexpr std::string_view kUdevRuleName = "70-qzm836.rules";

// The known bridge with this id (any case), or nothing.
std::optional<CableAdapter> findCableAdapter(std::string_view vendor, std::string_view product);

}  // namespace qzm
