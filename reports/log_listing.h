#pragma once

#include "platform/file_system.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace tv {
class StationPaths;
}

// The log listing: the readable, column-aligned version of the station log that goes with the
// summary sheet, shown in a window, saved as a text file and printed.
//
// A listing line is the row number right-aligned in 5 characters and a space, then pieces of
// the QSO line copied with their blanks: date (columns 1-10), callsign (11-22), department
// (37-40), start time (23-29), band (50-59), mode (60-64), report received (79-86), report
// sent (69-76) and mill reference (89-106). A line shorter than a piece is padded with
// spaces so that the later pieces keep their place. A row number above 99999 (a log longer
// than the program ever writes) is never cut: it is written whole, followed by its space, and
// only that row is wider.
namespace tv::listing {

QByteArray line(int rowNumber, const QByteArray& logLine);

// The list of the window: title, a line holding one space, the header ("No"), a line holding
// one space, then one listing line per log line.
QList<QByteArray> windowLines(const QString& storedCallsign, const QString& eventDate,
                              const QList<QByteArray>& logLines);

// The file: title (15 leading spaces), empty line, header ("N°", shifted 5 columns), empty
// line, 5 spaces + each listing line, empty line, 30 spaces + sign-off, empty line.
QList<QByteArray> fileLines(const QString& storedCallsign, const QString& eventDate, const QList<QByteArray>& logLines);

// The printout: the file's title and header, each line preceded by a line holding one space,
// the listing lines, a line holding one space, the sign-off.
QList<QByteArray> printLines(const QString& storedCallsign, const QString& eventDate,
                             const QList<QByteArray>& logLines);

// Writes the listing file of these log lines (the live log of the session) in one replace,
// under the session's name (reportfiles::logListing); the message is the one the window shows
// (the saved name, or why nothing was saved).
struct SaveOutcome {
    FileResult result;
    QString fileName;
    QString message; // what the window shows, success or failure
};
SaveOutcome save(FileSystem& files, const StationPaths& paths, const QString& eventDate, bool hfSession,
                 const QList<QByteArray>& logLines);

} // namespace tv::listing
