// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "exchange/csv.h"

namespace qzm {

// The syntax of the channel table's fields: exactly what a user can enter in
// the window's editors.  Each check gives what is wrong, or nothing when the
// text is well formed (the editor's repairs, band limit and grid snapping,
// still apply to it afterwards).

// Empty, or digits with at most one point, at most 9 characters (the frequency
// editor's length).  The problem names the field's `column`; its line is 0.
std::optional<CsvError> frequencyFieldProblem(std::string_view column, std::string_view text);

// Empty or "off" (any case); a CTCSS tone of 67.0 to 254.1 Hz with at most one
// decimal; or D, three octal digits and N or I (any case).
std::optional<CsvError> toneFieldProblem(std::string_view column, std::string_view text);

// What the channel table holds for a value whose bytes hold no valid value (a
// frequency with a hex digit, a tone code of no tone): written by export, and
// left alone by import, which keeps what the radio image has there.
inline constexpr std::string_view kDamagedValue = "damaged";
// The marker, in any case and with blanks around it.
bool isDamagedMarker(std::string_view text);

// Whether a well-formed tone field means "off".
bool isOffTone(std::string_view text);

// `text` in single quotes for a message, cut to a few dozen characters and with
// control characters shown as '?', so junk cannot flood or garble the terminal.
std::string quotedForMessage(std::string_view text);

}  // namespace qzm
