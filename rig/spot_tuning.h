#pragma once

#include "rig/rig.h"

#include <QString>

#include <optional>

// From a spot to what the radio is told: its frequency and the mode to listen in.
namespace tv::spottuning {

// The frequency of a line of the spot list, whose QRG stands right-aligned in columns 29-36 in
// kHz ("  14025.0"): columns 28-36, blanks trimmed, read as kilohertz with any number of
// decimals (one, as the list writes it, or none), rounded to the hertz. Nothing when the
// columns hold no positive number (a short line, letters, a comma).
std::optional<Frequency> displayLineFrequency(const QString& line);

// The same reading of a QRG text in kHz ("14025.0", "7025", "144300.25").
std::optional<Frequency> kilohertz(const QString& text);

// The frequency in kHz with one decimal, as the spot list writes it: "14025.0".
QString kilohertzText(Frequency hz);

// The mode to set for a spot: CW inside the CW segment of a band, else USB from 10 MHz up and
// LSB below. The CW segments (both edges included, IARU Region 1 band plan, where the
// telegraphy calling and contest activity sits):
//   1810-1838, 3500-3570, 7000-7040, 10100-10130, 14000-14070, 18068-18095, 21000-21070,
//   24890-24915, 28000-28070 kHz; 50.000-50.100, 144.000-144.150, 432.000-432.100,
//   1296.000-1296.150 MHz.
RigMode spotMode(Frequency hz);

} // namespace tv::spottuning
