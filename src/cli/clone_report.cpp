// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/clone_report.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <map>

#include "cli/exit_codes.h"
#include "exchange/csv.h"

namespace qzm::cli {
namespace {

constexpr int kBarWidth = 20;

std::string fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string padded(std::string text, std::size_t width) {
    if (text.size() < width) {
        text.append(width - text.size(), ' ');
    }
    return text;
}

bool transferring(ClonePhase phase) {
    return phase == ClonePhase::Backup || phase == ClonePhase::Writing ||
           phase == ClonePhase::Verifying;
}

std::string liveText(const ClonePortLine& line, std::size_t labelWidth) {
    std::string text =
        padded(line.label, labelWidth) + "  " + padded(phaseText(line.state.phase), 20);
    if (transferring(line.state.phase)) {
        const int percent = std::clamp(line.state.percent, 0, 100);
        const int filled = percent * kBarWidth / 100;
        text += " [" + std::string(static_cast<std::size_t>(filled), '#') +
                std::string(static_cast<std::size_t>(kBarWidth - filled), '.') + "] " +
                std::to_string(percent) + "%";
    }
    if (line.state.radiosDone + line.state.radiosFailed > 0) {
        text += "  (" + std::to_string(line.state.radiosDone) + " done";
        if (line.state.radiosFailed > 0) {
            text += ", " + std::to_string(line.state.radiosFailed) + " failed";
        }
        text += ")";
    }
    return text;
}

std::string localTime(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm parts{};
    localtime_r(&seconds, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
    return text;
}

}  // namespace

std::string phaseText(ClonePhase phase) {
    switch (phase) {
        case ClonePhase::Opening:
            return "opening";
        case ClonePhase::WaitingForRadio:
            return "waiting for a radio";
        case ClonePhase::Backup:
            return "backup";
        case ClonePhase::Writing:
            return "write";
        case ClonePhase::Verifying:
            return "verify";
        case ClonePhase::WaitingForRemoval:
            return "done, remove radio";
        case ClonePhase::Finished:
            return "finished";
    }
    return {};
}

std::string resultText(RadioResult result) {
    switch (result) {
        case RadioResult::Done:
            return "done";
        case RadioResult::NoRadio:
            return "no radio answered";
        case RadioResult::BadIdent:
            return "wrong identification";
        case RadioResult::ReadFailed:
            return "backup read failed";
        case RadioResult::BackupFailed:
            return "backup not stored";
        case RadioResult::WriteFailed:
            return "write failed";
        case RadioResult::VerifyFailed:
            return "verify failed";
        case RadioResult::VerifyUnread:
            return "verify read failed";
        case RadioResult::Cancelled:
            return "cancelled";
    }
    return {};
}

int exitCodeOf(RadioResult result) {
    switch (result) {
        case RadioResult::Done:
            return kExitSuccess;
        case RadioResult::NoRadio:
            return kExitNoRadio;
        case RadioResult::BadIdent:
            return kExitBadIdent;
        case RadioResult::ReadFailed:
        case RadioResult::WriteFailed:
        case RadioResult::VerifyUnread:  // a failed read shows no other data: 1, as write's
            return kExitBlockFailed;
        case RadioResult::BackupFailed:
            return kExitFileError;
        case RadioResult::VerifyFailed:
            return kExitVerifyFailed;
        case RadioResult::Cancelled:
            return kExitCancelled;
    }
    return kExitBlockFailed;
}

void CloneDisplay::eraseLive() {
    if (liveLines_ == 0) {
        return;
    }
    // Up to the first live line, then clear everything below it.
    std::fprintf(stream_, "\x1b[%zuA\r\x1b[J", liveLines_);
    liveLines_ = 0;
}

void CloneDisplay::drawLive() {
    std::size_t width = 0;
    for (const auto& line : shown_) {
        width = std::max(width, line.label.size());
    }
    for (const auto& line : shown_) {
        std::fputs(liveText(line, width).c_str(), stream_);
        std::fputc('\n', stream_);
    }
    liveLines_ = shown_.size();
    std::fflush(stream_);
}

void CloneDisplay::update(const std::vector<ClonePortLine>& lines) {
    if (terminal_) {
        bool changed = lines.size() != shown_.size();
        for (std::size_t i = 0; !changed && i < lines.size(); ++i) {
            changed = liveText(lines[i], 0) != liveText(shown_[i], 0);
        }
        if (!changed) {
            return;
        }
        eraseLive();
        shown_ = lines;
        drawLive();
        return;
    }
    // Plain lines: a new phase, or the next quarter of a transfer.
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ClonePortLine& line = lines[i];
        const bool known = i < shown_.size();
        const bool newPhase = !known || shown_[i].state.phase != line.state.phase;
        const bool newQuarter = known && transferring(line.state.phase) &&
                                line.state.percent / 25 != shown_[i].state.percent / 25;
        if (newPhase || newQuarter) {
            std::string text = line.label + ": " + phaseText(line.state.phase);
            if (transferring(line.state.phase)) {
                text += " " + std::to_string(newPhase ? 0 : line.state.percent / 25 * 25) + "%";
            }
            std::fprintf(stream_, "%s\n", text.c_str());
        }
    }
    shown_ = lines;
    std::fflush(stream_);
}

void CloneDisplay::announce(const std::string& text, bool bell) {
    eraseLive();
    std::fprintf(stream_, "%s%s\n", bell ? "\a" : "", text.c_str());
    if (terminal_) {
        drawLive();
    }
    std::fflush(stream_);
}

void CloneDisplay::finish() {
    liveLines_ = 0;
    std::fflush(stream_);
}

std::string cloneSummary(const std::vector<RadioRecord>& records,
                         const std::vector<ClonePortLine>& ports, bool station) {
    std::size_t portWidth = 4;
    for (const auto& port : ports) {
        portWidth = std::max(portWidth, port.label.size());
    }
    std::string text = padded("port", portWidth) + "  " + padded("identification", 23) + "  " +
                       padded("result", 22) + "  seconds\n";
    for (const auto& record : records) {
        std::string result = resultText(record.result);
        if (record.verified) {
            result += ", verified";
        } else if (record.result != RadioResult::Done) {
            result += ", " + radioHoldsWord(record.state);
        }
        text += padded(record.portLabel, portWidth) + "  " +
                padded(record.identHex.empty() ? "-" : record.identHex, 23) + "  " +
                padded(result, 22) + "  " + fixed(record.seconds, 1) + "\n";
    }
    std::vector<std::string> failures;
    for (const auto& record : records) {
        if (record.result != RadioResult::Done) {
            failures.push_back(record.portLabel + " (" + record.device.string() +
                               "): " + resultText(record.result) +
                               (record.detail.empty() ? "" : ": " + record.detail));
        }
    }
    if (station) {
        text += "\n";
        for (const auto& port : ports) {
            text += padded(port.label, portWidth) + "  " + std::to_string(port.state.radiosDone) +
                    " radio" + (port.state.radiosDone == 1 ? "" : "s") + " programmed";
            if (port.state.radiosFailed > 0) {
                text += ", " + std::to_string(port.state.radiosFailed) + " failed";
            }
            text += "\n";
        }
    }
    if (!failures.empty()) {
        text += "\nFailed:\n";
        for (const auto& failure : failures) {
            text += "  " + failure + "\n";
        }
    }
    return text;
}

std::string cloneLogLine(const RadioRecord& record) {
    // A radio that did not get the whole image says what it holds: "cancelled; radio
    // part 67/124" (the columns stay those of older logs).
    std::string result = resultText(record.result);
    if (record.result != RadioResult::Done) {
        result += "; radio " + radioHoldsWord(record.state);
    }
    std::string line = formatCsvRecord({localTime(record.finishedAt), record.portLabel,
                                        record.device.string(), record.identHex, result,
                                        record.verified ? "yes" : "no", fixed(record.seconds, 1)});
    return line;
}

std::optional<std::string> openCloneLog(const std::filesystem::path& path) {
    return appendCloneLog(path, {});
}

std::optional<std::string> appendCloneLog(const std::filesystem::path& path,
                                          const std::string& line) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        return path.string() + ": " + std::strerror(errno);
    }
    std::string data;
    if (::lseek(fd, 0, SEEK_END) == 0) {
        data = std::string(kCloneLogHeader) + "\r\n";
    }
    data += line;
    if (data.empty()) {
        ::close(fd);
        return std::nullopt;
    }
    // One write per line: lines of ports finishing together never interleave.
    const auto written = ::write(fd, data.data(), data.size());
    int writeError = errno;
    // Synced, so a full disk is found at this line, not after the station has run.
    const bool synced = written == static_cast<ssize_t>(data.size()) && ::fsync(fd) == 0;
    if (!synced && written == static_cast<ssize_t>(data.size())) {
        writeError = errno == EINVAL || errno == EROFS ? 0 : errno;  // a pipe or a device
    }
    ::close(fd);
    if (written != static_cast<ssize_t>(data.size())) {
        return path.string() + ": " + std::strerror(written < 0 ? writeError : ENOSPC);
    }
    if (!synced && writeError != 0) {
        return path.string() + ": " + std::strerror(writeError);
    }
    return std::nullopt;
}

}  // namespace qzm::cli
