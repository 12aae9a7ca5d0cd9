#pragma once

// The colours of the program's windows, as 0xRRGGBB values (QColor takes them as they are).
namespace tv::palette {

inline constexpr unsigned kExpected = 0xC0FFC0;      // the field expecting input: light green
inline constexpr unsigned kPassed = 0xFFFFC0;        // a field already passed: light yellow
inline constexpr unsigned kNewDepartment = 0xFFC0C0; // a department the QSO makes new: light red

} // namespace tv::palette
