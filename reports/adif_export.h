#pragma once

#include "platform/file_system.h"
#include "platform/services.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace tv {
class StationPaths;
}

// The ADIF export of the station log: callsign + ".adi" in the program directory (callsign +
// "_VHF.adi" in the VHF session, reportfiles::adif), written in one replace, and on request a
// copy of it and of the log (reportfiles::logCopy) to a removable medium.
//
// The file holds a six-line header (the third line names the program and carries the
// standard "adif_ver" and "programid" fields), then one record line per log line:
// call, band, mode, qso_date, time_on, time_off, rst_sent, rst_rcvd and comment; then, when the
// line holds them, gridsquare, distance (km) and name; then the program's own fields (below);
// then <eor>. The standard fields' values are ASCII, as ADIF wants them: the Windows-1252 text
// of the log is written through cp1252::toAscii (accents dropped, any other byte above 127 as
// "?"), and every length counts the bytes written.
//
// The program's own fields carry what the standard ones cannot, so that the import gives back
// the very line: app_tournevent_marks, the new-department and new-entity flags of the line
// ("10", "0N": an entity the operator refused to count); app_tournevent_name and
// app_tournevent_mill, the first name and the mill name in Windows-1252, written only when they
// are not plain ASCII. Other programs skip them by their length.
//
// Values that cannot be converted are left empty rather than written wrong: a band outside
// the band table has no band field at all; a date or a time that the program cannot read
// (clocktext::isValidDate, isValidTime: 31/06/15, 25:10) is written with length 0.
namespace tv::adif {

inline constexpr const char* kMarksField = "app_tournevent_marks";
inline constexpr const char* kFirstNameField = "app_tournevent_name";
inline constexpr const char* kMillNameField = "app_tournevent_mill";

// "<tag:length>value" with the value's own bytes (the program's Windows-1252 fields).
QByteArray ownSpecifier(const QByteArray& tag, const QByteArray& value);

// The ADIF band of a log band ("14 Mhz" gives "20m"), for every band of the band table.
std::optional<QByteArray> band(const QByteArray& logBand);

// "<tag:length>value", the value made ASCII first; the length counts its bytes.
QByteArray specifier(const QByteArray& tag, const QByteArray& value);

// dd/mm/yy as "20" + yy + mm + dd (the century is always "20"); empty for a date that is not
// valid.
QByteArray date(const QByteArray& ddmmyy);
// hh:mm as hhmm; empty for a time that is not valid.
QByteArray time(const QByteArray& hhmm);

QList<QByteArray> headerLines(const QString& storedCallsign);
QByteArray record(const QByteArray& logLine);
// Told the records made so far and the number of records, every 1024 records and at the end.
using Progress = std::function<void(int done, int total)>;
// The whole file: header, one record per log line, CR LF after each line.
QByteArray file(const QString& storedCallsign, const QList<QByteArray>& logLines, const Progress& progress = {});

// Writes the session's ADIF file (replacing it) from the lines of the log.
FileResult writeFile(FileSystem& files, const StationPaths& paths, bool hfSession, const QList<QByteArray>& logLines,
                     const Progress& progress = {});

// The message for a failed step: "Erreur " + number, plus " pas de disuette dans le lecteur"
// for 57 or " Disquette protegée" for 70; then, on a line of its own, the file the step was
// writing or reading and the cause in words ("disque plein").
QString errorMessage(const FileResult& result, const QString& fileName);

// The whole export as the menu runs it, for the session of the station's settings: write the
// file (its progress shown through Dialogs::progress), ask "Sauvegarder également sur
// disquette ?", and on Yes copy the ADIF file and the log to the medium. On Windows the medium
// is drive A: (after "Inserer une disquette formatée dans le lecteur A"); elsewhere the
// operator chooses a folder, a cancel stopping there. The first failing step stops the export
// and shows errorMessage. Returns that step's result (success when all went well or the
// operator stopped).
FileResult run(const Services& services, const QString& storedCallsign);

} // namespace tv::adif
