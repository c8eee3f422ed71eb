// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/progress_display.h"

#include <unistd.h>

#include <algorithm>

namespace qzm::cli {
namespace {

constexpr int kBarWidth = 30;

}  // namespace

bool ProgressDisplay::isTerminal(std::FILE* stream) {
    return ::isatty(::fileno(stream)) == 1;
}

void ProgressDisplay::drawLine(const std::string& line) {
    if (terminal_) {
        // Back to the start of the line and clear it, then draw the new state.
        std::fputs("\r\x1b[K", stream_);
        std::fputs(line.c_str(), stream_);
        lineOpen_ = true;
    } else {
        std::fputs(line.c_str(), stream_);
        std::fputc('\n', stream_);
    }
    std::fflush(stream_);
}

void ProgressDisplay::showSearching(std::string_view searchingText, int port) {
    if (port == lastPort_) {
        return;
    }
    lastPort_ = port;
    lastPercent_ = -1;
    drawLine(std::string(searchingText) + " COM" + std::to_string(port));
}

void ProgressDisplay::showProgress(std::string_view promptText, std::string_view plainWord,
                                   int percent) {
    percent = std::clamp(percent, 0, 100);
    if (percent == lastPercent_ && plainWord == lastWord_) {
        return;
    }
    lastWord_ = plainWord;
    if (lastPort_ != -1 && terminal_) {
        // The search line stays visible as a record of the port found.
        finish();
    }
    lastPercent_ = percent;
    lastPort_ = -1;
    if (!terminal_) {
        drawLine(std::string(plainWord) + " " + std::to_string(percent) + "%");
        return;
    }
    const int filled = percent * kBarWidth / 100;
    std::string line(promptText);
    line += " [";
    line.append(static_cast<std::size_t>(filled), '#');
    line.append(static_cast<std::size_t>(kBarWidth - filled), '.');
    line += "] ";
    line += std::to_string(percent);
    line += '%';
    drawLine(line);
}

void ProgressDisplay::finish() {
    if (lineOpen_) {
        std::fputc('\n', stream_);
        std::fflush(stream_);
        lineOpen_ = false;
    }
}

}  // namespace qzm::cli
