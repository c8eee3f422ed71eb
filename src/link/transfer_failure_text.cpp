// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/transfer_failure_text.h"

#include <cstdio>

#include "link/wire_protocol.h"
#include "platform/placeholders.h"

namespace qzm {
namespace {

std::string stepText(const TransferFailure& failure, const TextSource& texts) {
    switch (failure.step) {
        case FailureStep::Handshake:
            return textOr(texts, "IDS_FAIL_HANDSHAKE", "handshake");
        case FailureStep::Identification:
            return textOr(texts, "IDS_FAIL_IDENT", "identification");
        case FailureStep::Block:
            break;
    }
    char address[16];
    std::snprintf(address, sizeof address, "0x%04X", wire::blockAddress(failure.block));
    return fillPlaceholders(textOr(texts, "IDS_FAIL_BLOCK", "block %1 (address %2)"),
                            {std::to_string(failure.block), address});
}

std::string kindText(const TransferFailure& failure, const TextSource& texts) {
    switch (failure.kind) {
        case FailureKind::None:
        case FailureKind::NoAnswer:
            break;
        case FailureKind::ShortAnswer:
            return fillPlaceholders(
                textOr(texts, "IDS_FAIL_SHORT", "short answer, %1 of %2 bytes"),
                {std::to_string(failure.received), std::to_string(failure.expected)});
        case FailureKind::WrongAddress:
            return textOr(texts, "IDS_FAIL_ADDRESS", "the answer was for another address");
        case FailureKind::Refused:
            return textOr(texts, "IDS_FAIL_NAK", "the radio refused it (NAK)");
        case FailureKind::Unreadable:
            return textOr(texts, "IDS_FAIL_GARBLED", "the answer could not be read");
    }
    return textOr(texts, "IDS_FAIL_NOANSWER", "no answer");
}

}  // namespace

std::string failurePortText(const TransferFailure& failure) {
    if (failure.port <= 0) {
        return failure.device;
    }
    std::string text = "COM" + std::to_string(failure.port);
    if (!failure.device.empty()) {
        text += " (" + failure.device + ")";
    }
    return text;
}

std::string transferFailureText(const TransferFailure& failure, const TextSource& texts) {
    if (failure.kind == FailureKind::None) {
        return {};
    }
    const std::string where = failurePortText(failure);
    if (where.empty()) {
        return stepText(failure, texts) + ": " + kindText(failure, texts);
    }
    return fillPlaceholders(textOr(texts, "IDS_FAIL_DETAIL", "%1, %2: %3"),
                            {where, stepText(failure, texts), kindText(failure, texts)});
}

}  // namespace qzm
