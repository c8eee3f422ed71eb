// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace qzm {

// What the radio did wrong when a run failed, for the user's message.
enum class FailureKind {
    None,
    NoAnswer,      // nothing at all within the time-out
    ShortAnswer,   // the start of an answer, but not all of it
    WrongAddress,  // a data block for another address
    Refused,       // a NAK (0x15)
    Unreadable,    // bytes that were neither the expected answer nor part of it
};

// The exchange that failed.
enum class FailureStep {
    Handshake,
    Identification,
    Block,
};

// The worker fills this in before it stores a failure status (no connection, bad
// identification, read or write failed); read it only after seeing that status.
struct TransferFailure {
    FailureKind kind = FailureKind::None;
    FailureStep step = FailureStep::Handshake;
    int block = -1;      // 0..123 when step is Block
    int received = 0;    // bytes of the answer that arrived (a short answer)
    int expected = 0;    // bytes a whole answer has
    int port = 0;        // the port number it happened on; 0 for a device opened by path
    std::string device;  // the device of that port, when known
};

}  // namespace qzm
