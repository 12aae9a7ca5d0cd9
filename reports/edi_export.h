#pragma once

#include "platform/file_system.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace tv {
class EntityResolver;
class Logbook;
class SettingsStore;
class StationPaths;
struct Services;
} // namespace tv

// The EDI export of the VHF QSOs for VHF contest managers: the IARU Region 1 REG1TEST file
// (the "Vienna 1998" layout), one file per band, CALL_144.edi (CALL_50, _432, _1296, _2320,
// _5760, _10G, _24G for the other bands), CR LF after every line, ASCII (cp1252::toAscii).
//
// The file: "[REG1TEST;1]", the header keywords in their usual order, "[Remarks]" (no remark
// lines), "[QSORecords;N]" and one record per QSO of the band, in log order:
//   YYMMDD;HHMM;CALL;mode;RST sent;number sent;RST received;number received;exchange;WWL;
//   points;new exchange;new WWL;new DXCC;duplicate
// Choices where the layout leaves room:
// - TName is "Journee Nationale des Moulins"; TDate the first and last date of the band's QSOs
//   (the event date when none); PCall and RCall the station callsign with its "/"; PWWLo the
//   station's locator (empty when it has none); PBand "144 MHz" ("50 MHz", "432 MHz",
//   "1,3 GHz" ...); RName, RAdr1, RAdr2, RCoun and MOpe1 from the summary sheet's operator
//   fields; the other keywords are written empty. A ";" in a free text becomes ",";
// - mode 1 for SSB, 2 for CW, 0 otherwise. A report typed with its serial ("59 001") gives
//   the report and the number; otherwise the numbers are empty (the event sends none);
// - the exchange is the French department ("59", "2A");
// - the points are worked out from the two locators as VHF contests score them (not taken from
//   the line, whose distance follows the logbook's own rule): the great-circle distance between
//   the centres of the squares at 111.2 km a degree, truncated, plus 1 km. A QSO without a
//   locator that contest managers accept (fields A-R, sub-square A-X), or when the station has
//   none, has an empty WWL and 0 points, never a wrong distance;
// - "N" marks the first QSO of the file with a department, a big square (the locator's first
//   four characters) and a DXCC entity (EntityResolver; no marks without one);
// - "D" marks a QSO whose callsign and mode an earlier QSO of the band already has (the log's
//   duplicate rule): 0 points, no "N", not counted;
// - the claims: CQSOs the QSOs that are not duplicates with band multiplier 1; CQSOP the sum of
//   their points; CWWLs, CExcs and CDXCs the number of "N" marks of each kind, with bonus 0 and
//   multiplier 1 (their bonus lines 0); CToSc equal to CQSOP; CODXC the farthest QSO
//   (call;WWL;km, the first one on a tie, empty without any);
// - a line whose date or start time cannot be read is left out, and counted as such.
namespace tv::edi {

struct Station {
    QString storedCallsign;
    QString locator;   // "------" or another text that is no locator: none
    QString eventDate; // dd/mm/yy
    QString name, address1, address2, country, operators;
};
// The station as its settings hold it.
Station stationOf(const SettingsStore& settings, const QString& storedCallsign);

// The bands above 30 MHz that the lines hold, in band table order.
QList<QByteArray> bandsOf(const QList<QByteArray>& lines);
// "F4XYZ_144.edi".
QString fileName(const QString& storedCallsign, const QByteArray& band);

struct BandFile {
    QByteArray bytes;
    int records = 0;
    int leftOut = 0; // lines of the band whose date or time cannot be read
};
// The file of one band from the lines of the log (other bands' lines are passed over).
// `entities` may be null.
BandFile file(const Station& station, const QByteArray& band, const QList<QByteArray>& lines,
              const EntityResolver* entities);

struct Written {
    FileResult result;
    QString failedFile;  // the file that could not be written
    QStringList written; // "F4XYZ_144.edi (12 QSO)"
    int leftOut = 0;
};
// Writes one file per band into `folder`, each through the atomic replace; stops at the first
// failure.
Written writeFiles(FileSystem& files, const QString& folder, const Station& station, const QList<QByteArray>& lines,
                   const EntityResolver* entities);

// The QSOs of the VHF session: the live log in the VHF session, else the archive CALL.vhf
// (empty when there is none).
struct VhfLog {
    FileResult result;
    QString path;
    QList<QByteArray> lines;
};
VhfLog vhfLog(FileSystem& files, const StationPaths& paths, bool hfSession);

// The text that tells what was written: the files, the lines left out, or that there was no
// VHF QSO to export.
QString outcomeText(const Written& written);

// The export as the menu runs it, into the program directory: the Logbook's lines in the VHF
// session, the archive in the HF session; the outcome or the failure told in French.
FileResult run(const Services& services, const Logbook& logbook, bool hfSession);

} // namespace tv::edi
