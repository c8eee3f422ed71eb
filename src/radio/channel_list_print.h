// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_source.h"

namespace qzm {

// The numbers and texts of the printed channel list that need no window: the
// page mapping, which grid rows are printed, the date line and the settings
// pairs.  The painting itself is the editor form's.

inline constexpr std::string_view kPrintFontFace = "Times New Roman";
// Character heights: the measuring font in printer pixels, the print font in
// grid units.
inline constexpr int kMeasureFontHeight = 9;
inline constexpr int kPrintFontHeight = 11;
// The average character width is measured over these 52 letters.
inline constexpr std::string_view kMeasureLetters =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
inline constexpr int kPrintMarginCharacters = 4;
inline constexpr int kPrintRowsPerPage = 35;
// Left edges of the three text cells of the date and settings lines, in grid units.
inline constexpr int kPrintCellOffsets[] = {0, 300, 600};
inline constexpr std::string_view kPrintDateFormat = "%Y-%m-%d %A %H:%M";
inline constexpr std::string_view kPrintPairSeparator = " : ";

// Page geometry of one print job.  The logical page (W by H grid units) is
// stretched over the printable area, so the grid and its margins fill the
// width of the paper whatever the printer's resolution.
struct PrintPageLayout {
    int characterWidth = 0;  // printer pixels
    int printerWidth = 0;    // printable area, printer pixels
    int printerHeight = 0;
    int leftMargin = kPrintMarginCharacters;  // in character widths
    int rightMargin = kPrintMarginCharacters;
    int logicalWidth = 0;   // W, grid units
    int logicalHeight = 0;  // H = W x printer height / printer width

    // Window origin x: the left margin lies left of the grid's column 0.
    int originX() const { return -leftMargin * characterWidth; }
};

// The layout for a grid `gridWidth` units wide, the measured width of the 52
// letters and the printable area.  None for an empty printable area or grid,
// which could not be mapped.
std::optional<PrintPageLayout> printPageLayout(int gridWidth, int lettersWidth, int printerWidth,
                                               int printerHeight);

// The rows of one page: rows from `firstRow` below `rowCount` for which
// `programmed` holds, in order, at most kPrintRowsPerPage of them.
std::vector<int> printedRows(int firstRow, int rowCount,
                             const std::function<bool(int)>& programmed);

// Pages of the printout: the one page holds the first programmed rows.
inline constexpr int kPrintPageCount = 1;

// "2026-12-07 Monday 14:05": the date line's format with `weekday` (the full
// name in the language's locale) standing for %A.
std::string formatPrintDate(const std::tm& local, std::string_view weekday);

// "caption : value".
std::string printPair(std::string_view caption, std::string_view value);

// A check box of the settings block: "caption : " and IDS_YES or IDS_NO of the
// language behind `texts`, whatever the box's caption says.
std::string printCheckBox(std::string_view caption, bool checked, const TextSource& texts);

}  // namespace qzm
