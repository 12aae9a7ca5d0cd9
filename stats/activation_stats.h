#pragma once

#include <QByteArray>
#include <QList>

// The mill activations contacted on one band in one mode: every QSO whose activity index
// (columns 165-166, trimmed) is "1", whose band (columns 50-57, trimmed) equals the band and
// whose mode (columns 60-66, trimmed) equals the mode. A mill worked twice is listed twice.
namespace tv::activationstats {

// The list entry of a line: two spaces, then columns 89-103 (mill reference), 169-198 (mill
// name), 1-10 (date and its two blanks) and 11-22 (callsign), cut without trimming; a line too
// short for a field gets it padded with spaces.
QByteArray entryOf(const QByteArray& logLine);

// The entries of the activations contacted, sorted by their bytes.
QList<QByteArray> entries(const QList<QByteArray>& logLines, const QByteArray& band, const QByteArray& mode);

} // namespace tv::activationstats
