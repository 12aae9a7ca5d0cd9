#pragma once

#include "platform/file_system.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace tv {

// The two lists shared by every station: "Nomenclature.txt" (department and locator of each
// station already worked) and "Liste_Prenom.txt" (department and first name of each operator).
//
// Nomenclature line: callsign in columns 1-10, blank, department in 12-13, blank, locator in
// 15-20 (the department may take column 14 as well: a 3-character department typed in the
// editor is kept). Callsigns are told apart by their first 10 characters only, so an 11- or
// 12-character callsign shares its line with any callsign that begins with the same 10.
// First-name line: callsign in columns 1-12, blank, department in 14-15, blank, first name
// from column 17 to the end.
//
// Responsibilities: look a callsign up in either list, write its line back (every line of the
// callsign replaced, or the line added at the end), load and save the whole nomenclature for
// its editor. Every change is one atomic replace of the file; a list that does not exist yet
// is created by the first change. Lines are read whole: a line is never cut at a comma and
// double quotes are kept as they are (neither can stand in a callsign, a department or a
// locator).
// Collaborations: FileSystem for every access; StationPaths names the files.
class NameLists {
public:
    NameLists(FileSystem& files, const QString& programDir);

    const QString& nomenclaturePath() const { return m_nomenclature; }
    const QString& firstNamesPath() const { return m_firstNames; }

    // ---- Nomenclature.txt

    struct Station {
        FileResult result; // a missing file is error 53 (an empty list as far as the look-up goes)
        bool found = false;
        QByteArray department; // columns 12-13 trimmed; "5" is read back as "05"
        QByteArray locator;    // columns 15-20 trimmed
    };
    // The first line whose callsign field (columns 1-10, trimmed) equals the first 10
    // characters of the callsign.
    Station findStation(const QByteArray& callsign) const;

    // Writes "callsign department locator" in the layout, in place of every line of the
    // callsign, or at the end when there was none.
    FileResult rememberStation(const QByteArray& callsign, const QByteArray& department, const QByteArray& locator);

    struct Lines {
        FileResult result;
        QList<QByteArray> lines; // without their line ends, in file order
    };
    // Every line of the file, in file order (for the editor's list).
    Lines loadStations() const;
    // Rewrites the file with these lines, each followed by CR LF.
    FileResult saveStations(const QList<QByteArray>& lines);

    // The lines to save from an editor that loaded `atOpening` and holds `edited`, when the
    // file now holds `now` (stations remembered by recordings, or saved by another editor,
    // while the editor was open): the editor's additions, changes and removals win; a line the
    // editor left alone takes the file's line of that callsign, or is dropped when the file no
    // longer has that callsign (it is never brought back); stations added meanwhile are kept at
    // the end.
    static QList<QByteArray> mergeStations(const QList<QByteArray>& atOpening, const QList<QByteArray>& edited,
                                           const QList<QByteArray>& now);

    // The line as written: callsign (at most 10 characters) padded to 11 characters,
    // department (at most 3) padded to 3, locator (at most 6).
    static QByteArray stationLine(const QByteArray& callsign, const QByteArray& department, const QByteArray& locator);
    // The callsign field of a line (columns 1-10, trimmed).
    static QByteArray stationCallsign(const QByteArray& line);

    // ---- Liste_Prenom.txt

    struct FirstName {
        FileResult result;
        // Whether some line has the callsign. Hand it to rememberFirstName() when the QSO is
        // recorded: a callsign not found at the look-up is added to the list then.
        bool found = false;
        QByteArray department; // columns 14-15, trimmed
        QByteArray firstName;  // column 17 on, trimmed, in upper case
        // Shown to the operator when the list cannot be read: "Attention il vous faut le
        // fichier 'Liste_Prenom.txt'". Empty otherwise.
        QString message;
    };
    // Reads every line; each line whose callsign field (columns 1-12, trimmed) equals the
    // callsign fills the result, so the last such line wins.
    FirstName findFirstName(const QByteArray& callsign) const;

    // Writes a complete first-name line: it replaces every line whose callsign field equals
    // its own; when `foundAtLookUp` is false (the look-up of this callsign found nothing) and
    // no line was replaced, it is added at the end. A line already in the list is never added
    // a second time.
    FileResult rememberFirstName(const QByteArray& line, bool foundAtLookUp);

    // The line as the recording step builds it: callsign (at most 12) padded to 13 characters,
    // department (at most 2) padded to 3, first name.
    static QByteArray firstNameLine(const QByteArray& callsign, const QByteArray& department,
                                    const QByteArray& firstName);
    // The callsign field of a line (columns 1-12, trimmed).
    static QByteArray firstNameCallsign(const QByteArray& line);

    static QString missingFirstNamesText();

private:
    FileSystem& m_files;
    QString m_nomenclature;
    QString m_firstNames;
};

} // namespace tv
