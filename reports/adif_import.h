#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tv {
class Logbook;
struct Services;
} // namespace tv

// The ADIF import: QSOs of an ADI file (ADIF 3, or older) added to the station log.
//
// Reading the file:
// - a header is everything up to "<eoh>" when the file does not start with "<"; a file that
//   starts with "<" has none (its fields before a stray "<eoh>" are dropped too);
// - tags are read in any case and any order, with or without a type ("<CALL:5:S>"); a record
//   may run over several lines and text between fields is ignored; fields this program does
//   not use are ignored; a field given twice in a record keeps its first value;
// - a length counts bytes. A length that is not a number, or that runs past the end of the
//   file, makes the whole file refused: what follows could no longer be read safely;
// - values are made Windows-1252: a value that is valid UTF-8 is decoded as such, any other
//   is taken as Windows-1252 already;
// - fields after the last "<eor>" (a file cut short) make no QSO and are reported.
//
// Making log lines:
// - CALL (upper case, letters, digits and "/", 12 at most), QSO_DATE (YYYYMMDD, 1950-2049),
//   TIME_ON (HHMM or HHMMSS), the band (BAND, else FREQ in MHz) and MODE (SSB, USB or LSB as
//   SSB; CW) are required: a record without one of them is refused with the reason;
// - TIME_OFF, RST_SENT, RST_RCVD, GRIDSQUARE (kept when it is a six-character locator), NAME
//   (upper case, cut to 15 characters);
// - the department and the mill reference come from the comment this program's ADIF export
//   writes ("Dpt:59  DMF 59045 Moulin de ..."), the reference being one word or a word and a
//   number, the rest the mill name (cut to 30); without it, STATE when it is a French
//   department and SIG_INFO (with SIG before a bare number) as the mill reference;
// - the activity is a mill contact when there is a mill reference; the points are those of
//   the band, on 144 Mhz the distance worked out from the station's locator as the entry does
//   ("?" when either locator is missing or not valid), so the file's DISTANCE is not taken;
// - the new-marks flags come from this program's app_tournevent_marks field (an entity the
//   operator refused to count stays refused), blank without it; the multiplier files are
//   rebuilt from the log after the import; the count area is "1";
// - app_tournevent_name and app_tournevent_mill, read as Windows-1252 bytes, give back the
//   accents of the first name and the mill name when their ASCII form is the NAME and the
//   comment's name.
//
// A QSO is a duplicate, and skipped, when the log (or an earlier record of the file) holds a
// line with the same callsign, band, mode, date and start time: importing a file twice adds
// nothing, and another position's log of the same station adds only its own QSOs.
namespace tv::adifimport {

// One record: field names in lower case, values as their Windows-1252 bytes.
using Record = QHash<QByteArray, QByteArray>;

struct Parsed {
    QList<Record> records;
    bool unterminated = false; // fields after the last <eor>
    QString error;             // why the whole file is refused; empty when it was read
};
Parsed parse(const QByteArray& bytes);

// The log line of a record, or nothing with the reason in French.
std::optional<QByteArray> logLine(const Record& record, const QString& stationLocator, QString* reason);

enum class Fate { Added, Duplicate, Refused };
struct Entry {
    Fate fate;
    int number;      // the record's number in the file, from 1
    QByteArray line; // the log line (Added, Duplicate)
    QString reason;  // why it is refused
};

struct Plan {
    QString error; // the file is refused as a whole
    QList<Entry> entries;
    bool unterminated = false;

    int count(Fate fate) const;
    QList<QByteArray> linesToAdd() const;
};
Plan plan(const QByteArray& fileBytes, const QList<QByteArray>& logLines, const QString& stationLocator);

// "3 QSO à ajouter, 1 déjà dans le log, 1 refusé(s)".
QString summary(const Plan& plan);
// One line per record: "Ajouté : F5ABC 21/06/15 09:41 14 Mhz SSB", "Déjà dans le log : ...",
// "Refusé (enregistrement 4) : <reason>"; then the note of a file cut short.
QStringList details(const Plan& plan);

// The import as the menu runs it: the operator chooses the file, reads what will be added,
// skipped and refused, and confirms; the accepted QSOs then go into the log with
// Logbook::merge. Every failure is told in French. Returns the number of QSOs added.
int run(const Services& services, Logbook& logbook, const QString& stationLocator);

} // namespace tv::adifimport
