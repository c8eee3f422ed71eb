// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The radio emulator (tools/sim) as the tests start it in-process, on a
// pseudo-terminal of its own.

#include "radio/radio_image.h"
#include "radio_emulator.h"

namespace qzm::test {

// A radio holding `image` that answers without line time: the tests that are not
// about the line's pace stay short.
inline sim::EmulatorConfig fastRadio(const RadioImage& image) {
    sim::EmulatorConfig config;
    config.image = image;
    config.lineSpeed = 0;
    return config;
}

}  // namespace qzm::test
