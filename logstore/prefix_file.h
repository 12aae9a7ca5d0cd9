#pragma once

#include "logstore/bands.h"
#include "logstore/station_paths.h"
#include "platform/file_system.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QStringList>

#include <optional>
#include <unordered_map>

namespace tv {

// A station's prefix file of one mode (CALL_Prefixe_SSB.txt, CALL_Prefixe_CW.txt): one line
// per prefix, fixed columns counted from 1:
//   1-6    prefix, left-aligned, blank-padded
//   8-24   one mark per band, in the order of the band table: "0" not contacted, "1" contacted
//   27-32  entity code: the prefix of the DXCC entity (its own line holds the entity's marks)
//   34-    description
//
// A line matches a text (a callsign or an entity code) when its trimmed prefix field begins
// the text; the first matching line in file order wins, so longer prefixes stand first. The
// look-up and the recording take the prefix from columns 1-5, the rebuild from columns 1-6.
// A line whose prefix field is blank matches nothing.
//
// Responsibilities: the look-up of a callsign or an entity, marking an entity on a band (the
// whole file rewritten once, atomically), and the size check of the start.
// Collaborations: FileSystem for every access, StationPaths for the file names.
class PrefixFile {
public:
    static constexpr int kLookupPrefixWidth = 5;
    static constexpr int kRebuildPrefixWidth = 6;
    static constexpr int kFirstMarkColumn = 8;
    static constexpr int kEntityColumn = 27;
    static constexpr int kEntityWidth = 6;
    static constexpr int kDescriptionColumn = 34;
    // The length the template and the station's SSB file must have.
    static constexpr qint64 kExpectedSize = 50700;

    PrefixFile(FileSystem& files, StationPaths paths);

    // What the operator is told when a look-up finds no line, and when an entity to mark has
    // no line.
    static QString unknownPrefixMessage() { return QStringLiteral("Prefixe Unknown"); }
    static QString unknownEntityMessage() { return QStringLiteral("Prefixe Inconnu"); }

    // The French prefix set: the DXCC prefixes whose stations give a department and whose mill
    // contacts carry a "DMF " reference of five characters.
    static bool isFrench(QByteArrayView dxccPrefix);

    struct Match {
        QByteArray mark;        // the mark at the band's column; empty when the band is unknown
        QByteArray prefix;      // the matched prefix, trimmed
        QByteArray entity;      // columns 27-32, trimmed
        QByteArray description; // from column 34 to the end of the line
        int lineIndex = -1;
    };
    struct Lookup {
        FileResult result;          // 53 when the file is missing
        std::optional<Match> match; // nothing when no line matches ("Prefixe Unknown")
    };
    Lookup find(const QByteArray& text, const QByteArray& band, bands::Mode mode) const;

    struct MarkResult {
        FileResult result;
        // The prefix of the line that holds the entity's marks; nothing when no line matches
        // the entity code ("Prefixe Inconnu"), in which case the file is not written.
        std::optional<QByteArray> prefix;
        bool changed = false; // a "0" mark became "1" and the file was rewritten
    };
    // Marks the entity on the band: the first line whose prefix (columns 1-5) begins the entity
    // code gets "1" at the band's column if its mark there is "0".
    MarkResult markEntity(const QByteArray& entity, const QByteArray& band, bands::Mode mode);

    // The same on the lines of a file.
    static std::optional<Match> findIn(const QList<QByteArray>& lines, const QByteArray& text, const QByteArray& band,
                                       int prefixWidth = kLookupPrefixWidth);
    // The index of the first line whose prefix (trimmed columns 1..prefixWidth) begins the
    // text, or -1.
    static int firstMatch(const QList<QByteArray>& lines, const QByteArray& text, int prefixWidth);
    static QByteArray prefixOf(const QByteArray& line, int prefixWidth);
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

// The first-match search of a prefix file as a hash of its prefixes, for the many look-ups of
// a rebuild: firstMatch() gives the same line as PrefixFile::firstMatch.
class PrefixIndex {
public:
    // `prefixWidth` is at most 7.
    PrefixIndex(const QList<QByteArray>& lines, int prefixWidth);
    int firstMatch(QByteArrayView text) const;

private:
    std::unordered_map<quint64, int> m_first; // packed trimmed prefix -> first line that has it
    int m_width;
};

} // namespace tv
