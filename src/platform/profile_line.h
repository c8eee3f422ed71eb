// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace qzm::profile_detail {

// How one line of a profile file reads.  The reader and the writer share this,
// so a key the writer replaces is exactly the key the reader would find.
enum class LineKind { Other, Section, Key };

struct ProfileLine {
    LineKind kind = LineKind::Other;
    std::string_view name;   // section or key name, blanks removed
    std::string_view value;  // key value, blanks removed
};

// `line` without its line end.
ProfileLine classifyLine(std::string_view line);

bool namesEqual(std::string_view a, std::string_view b);

std::string_view trimBlanks(std::string_view text);

// A descriptor for reading `file`, or -1.  Only regular files open: a fifo or
// a device named like a settings file would otherwise block or never end.
int openRegularFile(const char* file);

}  // namespace qzm::profile_detail
