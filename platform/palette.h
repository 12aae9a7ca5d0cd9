#pragma once

#include <QtGlobal>

#include <optional>

namespace tv::palette {

// Every colour the windows paint, as 0xRRGGBB: a window makes it a QColor (QColor(QRgb)), so
// the core names colours without any GUI header.
using Rgb = quint32;

inline constexpr Rgb kExpected = 0xC0FFC0;      // light green: the field expecting input, the chosen sort
inline constexpr Rgb kPassed = 0xFFFFC0;        // light yellow: a field already passed
inline constexpr Rgb kNewDepartment = 0xFFC0C0; // light red: a department a QSO makes new
inline constexpr Rgb kWorked = 0x909090;        // grey: a callsign or multiplier already contacted (operator aids)
inline constexpr Rgb kPaper = 0xFFFFFF;         // the label preview's sheet
inline constexpr Rgb kLabelOutline = 0xB0B0B0;  // the label preview's label edges (dashed)
inline constexpr Rgb kPaperEdge = 0x808080;     // the label preview's paper edge
inline constexpr Rgb kInk = 0x000000;           // the label preview's texts

// The colour of a department mark on the multiplier grid, and of an activation rank on the
// department map: 1 light red, 2 yellow, 3 light cyan, 4 light green; no colour for any other.
constexpr std::optional<Rgb> markColour(int mark)
{
    switch (mark) {
    case 1:
        return 0xFFC0C0;
    case 2:
        return 0xFFFF00;
    case 3:
        return 0x80FFFF;
    case 4:
        return 0x80FF80;
    default:
        return std::nullopt;
    }
}

} // namespace tv::palette
