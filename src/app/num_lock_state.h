#pragma once

#include <filesystem>
#include <optional>

namespace qzm {

// Whether Num Lock is on, as the keyboard LEDs in sysfs report it (the window
// system keeps them in step with its own state).  Nothing when no keyboard
// reports the LED, e.g. in a virtual machine or without a keyboard.
std::optional<bool> numLockState(const std::filesystem::path& ledsFolder = "/sys/class/leds");

}  // namespace qzm
