#pragma once

#include "logstore/log_columns.h"

#include <QByteArray>
#include <optional>

namespace tv {

// One contact as the log line holds it: every field as its stored Windows-1252 bytes,
// without the padding.
struct QsoRecord {
    QByteArray date; // dd/mm/yy
    QByteArray callsign;
    QByteArray start;      // hh:mm
    QByteArray end;        // hh:mm
    QByteArray department; // "59", "2a", or empty
    QByteArray locator;
    QByteArray band; // "14 Mhz"
    QByteArray mode; // "SSB", "CW"
    QByteArray rstSent;
    QByteArray rstReceived;
    QByteArray millReference; // "DMF 59045", "WIM 7001", or empty
    QByteArray firstName;
    QByteArray points;            // "3", or the distance on 144 Mhz
    QByteArray newDepartmentFlag; // "1", "0", or blank after an edit
    QByteArray newPrefixFlag;
    QByteArray countArea = QByteArrayLiteral("1"); // columns 135-154, "1" in a new line
    QByteArray distance;
    QByteArray azimuth;
    QByteArray activity; // "0" QSO, "1" mill
    QByteArray millName;

    bool operator==(const QsoRecord&) const = default;
};

// The 199-character QSO line: builder and parser, both from the column table.
namespace qsoline {

// Builds the line (without its CR LF). A field longer than its column would push every later
// column out of place for every reader of the log, so such a record is refused: the result is
// empty and *tooLong (when given) names the first field's column.
std::optional<QByteArray> build(const QsoRecord& record, const logcol::Column** tooLong = nullptr);

// Cuts every field out of a line by its column and trims it. A short line gives empty fields
// where it ends; nothing fails.
QsoRecord parse(const QByteArray& line);

// One field of a line, trimmed of blanks (empty when the line is shorter).
QByteArray field(const QByteArray& line, logcol::Column column);
// True when the field, trimmed of blanks, equals the value; allocates nothing (the duplicate
// search runs it over every line of the list).
bool fieldEquals(const QByteArray& line, logcol::Column column, const QByteArray& value);
// One field of a line with its padding kept, cut to what the line holds.
QByteArray rawField(const QByteArray& line, logcol::Column column);

// True when the line has the 199 characters, its "*" end marker, a valid date and a valid start
// time (clocktext::isValidDate, isValidTime), and a distance that can be one. The log keeps and
// lists other lines byte for byte; the checker reports them.
bool isWellFormed(const QByteArray& line);

// The distance of the line (columns 155-159, trimmed), when it is one: a number of kilometres
// from 0 to half the earth's circumference. Nothing when the field is blank or "?" (what the
// entry writes when it has no locator to work from); `problem` (when
// given) then stays empty, and for a field that is not a distance it says why, in French
// ("« -9e99 » est négative").
std::optional<double> distance(const QByteArray& line, QString* problem = nullptr);

// The moment of a line for ordering: minutes since 1 January 1950, with two-digit years 50-99
// read as 19yy and 00-49 as 20yy. Nothing when the date or the start time cannot be read: not
// valid by clocktext::isValidDate or isValidTime (31/02/07, 24:30).
std::optional<qint64> sortKey(const QByteArray& line);

// The list entry of a line: the row number right-aligned in 5 characters, one space, the line.
QByteArray listEntry(int rowNumber, const QByteArray& line);

} // namespace qsoline
} // namespace tv
