#pragma once

#include <QChar>
#include <QString>

namespace tv::callsign {

// The one rule for callsigns, in two kinds:
//  - the station's own callsign, stored in the settings and naming the station's files and its
//    settings section: 1 to 12 characters among "0"-"9", "A"-"Z" and "_", a "/" of the callsign
//    being typed and stored as "_" and shown as "/" again;
//  - a contacted station's callsign, as the nomenclature keeps it: typed in capitals, "/" kept,
//    told apart by its first 10 characters (the width of the list's callsign column).

enum class Kind { Station, Contacted };

inline constexpr int kStationMaxLength = 12;
inline constexpr int kNomenclatureLength = 10;

// Whether the character may stand in a stored station callsign.
bool isStationCharacter(QChar ch);
// A stored station callsign: not empty, at most 12 characters, every one a station character.
// Such a callsign names files that stay in the program directory on every system.
bool isStoredForm(const QString& stored);

// The typing filter, applied to what is typed or pasted: "a"-"z" become "A"-"Z" (accented
// letters stay as typed); in the station's callsign "/" becomes "_".
QString typed(QString text, Kind kind);

// The stored form of a station callsign written by hand (the command line): capitals, "_" for "/".
QString toStored(const QString& written);
// The callsign as shown: every "_" shown as "/".
QString toShown(const QString& stored);

} // namespace tv::callsign
