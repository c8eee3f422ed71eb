// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/port_map.h"

#include <gtest/gtest.h>

#include "test_files.h"

namespace qzm {
namespace {

namespace fs = std::filesystem;

// A /dev and /sys the way the kernel lays them out for two USB adapters, a
// built-in UART and two legacy ports without hardware.
class PortMapTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"ttyUSB10", "ttyUSB2", "ttyACM0", "ttyS0", "ttyS1", "ttyS2",
                                 "ttyUSBx", "tty0", "ttyS", "null"}) {
            test::writeFile(dev() / name, "");
        }
        fs::create_directories(dev() / "serial" / "by-id");
        fs::create_symlink("../../ttyUSB2", dev() / "serial" / "by-id" / "usb-FTDI-if00-port0");

        const fs::path usb = sys() / "devices" / "pci0000:00" / "usb1" / "1-1";
        usbInterface(usb, "ttyUSB2");
        test::writeFile(usb / "manufacturer", "FTDI\n");
        test::writeFile(usb / "product", "FT232R USB UART\n");
        // A product name that already starts with the maker's name is not doubled.
        const fs::path usb2 = sys() / "devices" / "pci0000:00" / "usb1" / "1-2";
        usbInterface(usb2, "ttyUSB10");
        test::writeFile(usb2 / "manufacturer", "Prolific");
        test::writeFile(usb2 / "product", "Prolific USB-Serial Controller");
        // An ACM device known only by its driver.
        const fs::path acm = sys() / "devices" / "acm" / "1-3:1.0";
        fs::create_directories(acm);
        fs::create_directories(sys() / "bus" / "usb" / "drivers" / "cdc_acm");
        fs::create_symlink(sys() / "bus" / "usb" / "drivers" / "cdc_acm", acm / "driver");
        classEntry("ttyACM0", acm);

        const fs::path platform = sys() / "devices" / "platform" / "serial8250";
        fs::create_directories(platform);
        classEntry("ttyS0", platform, "4");
        classEntry("ttyS1", platform, "0");  // the kernel's placeholder: no UART answered
        fs::create_directories(sys() / "class" / "tty" / "ttyS2");  // no device at all
    }

    void usbInterface(const fs::path& usbDevice, const std::string& tty) {
        const fs::path interface = usbDevice / (usbDevice.filename().string() + ":1.0") / tty;
        fs::create_directories(interface);
        classEntry(tty, interface);
    }

    void classEntry(const std::string& tty, const fs::path& device, const char* type = nullptr) {
        const fs::path entry = sys() / "class" / "tty" / tty;
        fs::create_directories(entry);
        fs::create_symlink(device, entry / "device");
        if (type != nullptr) {
            test::writeFile(entry / "type", type);
        }
    }

    fs::path dev() const { return folder / "dev"; }
    fs::path sys() const { return folder / "sys"; }
    fs::path settings() const { return folder / "setting.ini"; }

    test::TempFolder folder;
};

TEST_F(PortMapTest, CountsUsbThenAcmThenRealUarts) {
    const PortMap map({}, dev(), sys());
    EXPECT_EQ(map.presentDevices(), (std::vector<fs::path>{dev() / "ttyUSB2", dev() / "ttyUSB10",
                                                           dev() / "ttyACM0", dev() / "ttyS0"}));
    struct Case {
        int number;
        std::optional<fs::path> device;
    };
    const Case cases[] = {
        {1, dev() / "ttyUSB2"}, {2, dev() / "ttyUSB10"}, {3, dev() / "ttyACM0"},
        {4, dev() / "ttyS0"},   {5, std::nullopt},       {0, std::nullopt},
        {-1, std::nullopt},     {256, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(map.deviceFor(c.number), c.device) << "COM" << c.number;
    }
}

TEST_F(PortMapTest, SettingsNameDevicesFirst) {
    test::writeFile(settings(), "[setup]\ncom=1\n[Ports]\ncom2 = " +
                                        (dev() / "serial/by-id/usb-FTDI-if00-port0").string() +
                                        "\nCOM7=ttyACM0\nCOM200=/dev/pts/9\nCOM3=\n");
    const PortMap map(settings(), dev(), sys());
    EXPECT_EQ(map.deviceFor(2), dev() / "serial/by-id/usb-FTDI-if00-port0");
    EXPECT_EQ(map.deviceFor(7), dev() / "ttyACM0");  // relative to the device folder
    EXPECT_EQ(map.deviceFor(200), fs::path("/dev/pts/9"));
    // Unnamed and empty keys fall back to counting.
    EXPECT_EQ(map.deviceFor(1), dev() / "ttyUSB2");
    EXPECT_EQ(map.deviceFor(3), dev() / "ttyACM0");

    const PortDescription named = map.describe(2);
    EXPECT_TRUE(named.fromSettings);
    EXPECT_EQ(named.adapter, "FTDI FT232R USB UART");  // through the by-id link
    const PortDescription counted = map.describe(4);
    EXPECT_FALSE(counted.fromSettings);
    EXPECT_EQ(counted.device, dev() / "ttyS0");
    const PortDescription none = map.describe(9);
    EXPECT_TRUE(none.device.empty());
    EXPECT_TRUE(none.adapter.empty());
}

TEST_F(PortMapTest, NamesAdaptersFromSysfs) {
    const PortMap map({}, dev(), sys());
    EXPECT_EQ(map.adapterName(dev() / "ttyUSB2"), "FTDI FT232R USB UART");
    EXPECT_EQ(map.adapterName(dev() / "ttyUSB10"), "Prolific USB-Serial Controller");
    EXPECT_EQ(map.adapterName(dev() / "ttyACM0"), "cdc_acm");
    EXPECT_EQ(map.adapterName(dev() / "ttyS0"), "UART 16550A");
    EXPECT_EQ(map.adapterName("/dev/pts/3"), "");
}

TEST(PortMap, MissingFoldersMeanNoDevices) {
    test::TempFolder folder;
    const PortMap map(folder / "no-settings.ini", folder / "no-dev", folder / "no-sys");
    EXPECT_TRUE(map.presentDevices().empty());
    EXPECT_EQ(map.deviceFor(1), std::nullopt);
}

}  // namespace
}  // namespace qzm
