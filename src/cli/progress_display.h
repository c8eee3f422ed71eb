// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace qzm::cli {

// Progress of a radio transfer on standard error.  On a terminal one line is
// redrawn in place (text, bar, percentage); otherwise, for logs and scripts,
// each new value is a plain line such as "read 25%".
class ProgressDisplay {
  public:
    ProgressDisplay(std::FILE* stream, bool terminal) : stream_(stream), terminal_(terminal) {}
    ProgressDisplay(const ProgressDisplay&) = delete;
    ProgressDisplay& operator=(const ProgressDisplay&) = delete;
    ~ProgressDisplay() { finish(); }

    // The searching text with the port being tried.
    void showSearching(std::string_view searchingText, int port);
    // `promptText` is the language text of the run; `plainWord` ("read" or
    // "write") starts the plain lines.
    void showProgress(std::string_view promptText, std::string_view plainWord, int percent);
    // Ends an open terminal line, so a message that follows starts on its own.
    void finish();

    static bool isTerminal(std::FILE* stream);

  private:
    void drawLine(const std::string& line);

    std::FILE* stream_;
    bool terminal_;
    bool lineOpen_ = false;
    int lastPercent_ = -1;
    std::string lastWord_;  // a new phase shows its percentage even when it is the same
    int lastPort_ = -1;
};

}  // namespace qzm::cli
