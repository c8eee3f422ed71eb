// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

namespace qzm {

// Whether Num Lock is on: the window system's own keyboard state where it can
// tell (X11), else the keyboard LEDs in sysfs.  Nothing when neither knows.
std::optional<bool> numLockState();

// The keyboard LEDs in sysfs (the window system keeps them in step with its
// state on a real console).  Nothing when no keyboard reports the LED, e.g. in
// a virtual machine, a remote session or without a keyboard.
std::optional<bool> numLockLedState(const std::filesystem::path& ledsFolder = "/sys/class/leds");

// The modifier bit of the X11 key state that Num Lock sets: the modifier (Shift,
// Lock, Control, Mod1..Mod5, in that order) one of whose keys produces the
// Num_Lock symbol.  `modifierKeys` holds `keysPerModifier` key codes for each of
// the eight modifiers (0: none); `symbols` holds `symbolsPerKey` symbols for
// each key code from `firstKeyCode` on.  Nothing when no modifier has the key.
std::optional<std::uint16_t> numLockModifierMask(std::span<const std::uint8_t> modifierKeys,
                                                 int keysPerModifier,
                                                 std::span<const std::uint32_t> symbols,
                                                 int symbolsPerKey, int firstKeyCode);

}  // namespace qzm
