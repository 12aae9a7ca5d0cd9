#pragma once

#include "logstore/country_file.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>

namespace tv {

// The DXCC entity of a callsign, and the line of the station's prefix file that holds the
// entity's marks. One resolver serves the entry, the rebuild of the multiplier files, the
// statistics and the command line, so that they all count the same entities.
//
// The rules, those of the contest loggers that read the country file:
// 1. an exact call of the country file names its entity ("=KC4AAA" is Antarctica);
// 2. otherwise the callsign is cut at "/". The suffixes that name no country (/P, /M, /A, /QRP,
//    /QRPP, /LH and numbers: "/2" moves a station inside its country) are set aside; /MM and /AM
//    (maritime and aeronautical mobile) make the callsign count for no entity. Of the parts
//    left, the shortest (the first on a tie) is tried first: "F/ON4XXX", "ON4XXX/F" are France,
//    "EA8/DL1ABC" the Canary Islands;
// 3. the longest prefix that begins the part gives the entity.
//
// The prefixes and exact calls come from the country file when one is given (the installed
// cty.dat); otherwise from the prefix file itself, whose prefixes (columns 1-6) each name their
// entity by its code (columns 27-32), with no exact calls. A callsign that no prefix of the
// country file begins is looked up in the prefix file too: an entity it alone holds still counts.
//
// The entity's own line is the line whose prefix equals the entity code. An entity of the
// country file is found in the prefix file by its name on its own line (column 34 on, the name
// as the country file spells it), else by its primary prefix, else by one of its prefixes.
class EntityResolver {
public:
    // `countries` may be null; `prefixLines` are the lines of a prefix file without their ends.
    EntityResolver(const CountryFile* countries, const QList<QByteArray>& prefixLines);

    enum class Kind {
        Entity,   // the entity and its own line
        NoEntity, // a maritime or aeronautical mobile: no entity to count
        Unknown,  // no prefix begins the callsign
        NoLine,   // an entity of the country file with no line of its own in the prefix file
    };
    struct Result {
        Kind kind = Kind::Unknown;
        int line = -1;   // the entity's own line
        QByteArray code; // its entity code; for NoLine the country file's primary prefix
        QByteArray name; // the entity's name: its own line's description, or the country file's
    };
    Result resolve(QByteArrayView callsign) const;

    // The own line of an entity code: the first line whose prefix equals the code; -1 if none.
    static int ownLine(const QList<QByteArray>& prefixLines, QByteArrayView code);

    bool usesCountryFile() const { return m_countries != nullptr; }

    // The parts of a callsign to try, in order; empty with `mobile` set for /MM and /AM.
    static QList<QByteArray> callsignParts(QByteArrayView callsign, bool* mobile);

private:
    Result entityResult(int entity) const;

    const CountryFile* m_countries;
    QList<QByteArray> m_lines;
    // The prefix file's prefixes: prefix -> first line of that prefix.
    QHash<QByteArray, int> m_prefixLines;
    int m_longest = 0;
    // With one: the entity's own line, or -1.
    QList<int> m_entityLine;
};

} // namespace tv
