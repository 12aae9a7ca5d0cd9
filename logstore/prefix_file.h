#pragma once

#include "logstore/bands.h"
#include "logstore/entity_resolver.h"
#include "logstore/station_paths.h"
#include "platform/file_system.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

#include <optional>

namespace tv {

// A station's prefix file of one mode (CALL_Prefixe_SSB.txt, CALL_Prefixe_CW.txt): one line
// per prefix, fixed columns counted from 1:
//   1-6    prefix, left-aligned, blank-padded
//   8-24   one mark per band, in the order of the band table: "0" not contacted, "1" contacted
//   27-32  entity code: the prefix of the DXCC entity (its own line holds the entity's marks)
//   34-    description: the entity's name
//
// The entity's own line is the first line whose prefix equals the entity code. Which entity a
// callsign belongs to is for EntityResolver to say, from the country file or from these lines.
//
// Responsibilities: the look-up of a callsign's entity and its mark, marking an entity on a
// band (the whole file rewritten once, atomically), and the size check of the start.
// Collaborations: FileSystem for every access, StationPaths for the file names, EntityResolver.
class PrefixFile {
public:
    static constexpr int kPrefixWidth = 6;
    static constexpr int kFirstMarkColumn = 8;
    static constexpr int kEntityColumn = 27;
    static constexpr int kEntityWidth = 6;
    static constexpr int kDescriptionColumn = 34;
    // The length the template and the station's SSB file must have.
    static constexpr qint64 kExpectedSize = 50700;

    PrefixFile(FileSystem& files, StationPaths paths);

    // What the operator is told when a look-up finds no entity line, and when an entity to mark
    // has no line.
    static QString unknownPrefixMessage() { return QStringLiteral("Prefixe Unknown"); }
    static QString unknownEntityMessage() { return QStringLiteral("Prefixe Inconnu"); }

    // The French prefix set: the DXCC prefixes whose stations give a department and whose mill
    // contacts carry a "DMF " reference of five characters.
    static bool isFrench(QByteArrayView dxccPrefix);

    struct Lookup {
        FileResult result; // 53 when the file is missing
        EntityResolver::Result entity;
        QByteArray prefix; // the prefix of the entity's own line (its DXCC prefix)
        QByteArray mark;   // the mark of the entity's own line at the band's column; empty when
                           // there is no such line or the band is unknown
    };
    // The entity of a callsign in the prefix file of the mode, resolved with the country file
    // when one is given.
    Lookup lookUp(const CountryFile* countries, QByteArrayView callsign, const QByteArray& band,
                  bands::Mode mode) const;

    struct MarkResult {
        FileResult result;
        // The prefix of the line that holds the entity's marks; nothing when no line is the
        // entity's own ("Prefixe Inconnu"), in which case the file is not written.
        std::optional<QByteArray> prefix;
        bool changed = false; // a "0" mark became "1" and the file was rewritten
    };
    // Marks the entity on the band: its own line gets "1" at the band's column if its mark
    // there is "0".
    MarkResult markEntity(const QByteArray& entity, const QByteArray& band, bands::Mode mode);

    static QByteArray prefixOf(const QByteArray& line);
    static QByteArray entityOf(const QByteArray& line);

    // The column (counted from 1) of a band's mark, the band compared exactly.
    static std::optional<int> markColumn(const QByteArray& band);

    // The warnings of the start when "FXXXX_Prefixe.txt" or the station's SSB prefix file is
    // not 50700 bytes long (a missing file counts as 0 bytes), in that order; empty when both
    // are right.
    static QStringList sizeWarnings(const FileSystem& files, const StationPaths& paths);

private:
    FileSystem& m_files;
    StationPaths m_paths;
};

} // namespace tv
