// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/clone_port.h"

namespace qzm::cli {

std::string phaseText(ClonePhase phase);
std::string resultText(RadioResult result);
// The exit status a radio's result stands for (0 when done).
int exitCodeOf(RadioResult result);

// What one port's live line shows.
struct ClonePortLine {
    std::string label;
    ClonePortState state;
};

// The live view of a clone run on standard error.  On a terminal one line per
// port is redrawn in place; otherwise each change of phase and every quarter of
// a transfer is a plain line, for logs.
class CloneDisplay {
  public:
    CloneDisplay(std::FILE* stream, bool terminal) : stream_(stream), terminal_(terminal) {}
    CloneDisplay(const CloneDisplay&) = delete;
    CloneDisplay& operator=(const CloneDisplay&) = delete;

    void update(const std::vector<ClonePortLine>& lines);
    // A line of its own above the live lines (a finished radio, a message).
    void announce(const std::string& text, bool bell);
    // Leaves the live lines as they are and moves below them.
    void finish();

  private:
    void eraseLive();
    void drawLive();

    std::FILE* stream_;
    bool terminal_;
    std::vector<ClonePortLine> shown_;
    std::size_t liveLines_ = 0;  // lines of the live block on the terminal now
};

// The table printed at the end: port, identification, result, seconds, and in
// station mode the count of radios per port.
std::string cloneSummary(const std::vector<RadioRecord>& records,
                         const std::vector<ClonePortLine>& ports, bool station);

// One line of the clone log: local time, port, device, identification, result,
// verified, seconds.
std::string cloneLogLine(const RadioRecord& record);
inline constexpr const char* kCloneLogHeader =
    "time,port,device,identification,result,verified,seconds";

// Opens the log before any radio is touched: creates it, or writes the header into
// an empty one; the reason when it cannot be written.
std::optional<std::string> openCloneLog(const std::filesystem::path& path);

// Appends one line to the log (the header first when the file is new or empty);
// the reason on failure.
std::optional<std::string> appendCloneLog(const std::filesystem::path& path,
                                          const std::string& line);

}  // namespace qzm::cli
