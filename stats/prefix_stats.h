#pragma once

#include "logstore/bands.h"
#include "logstore/country_file.h"
#include "logstore/entity_resolver.h"
#include "logstore/station_paths.h"
#include "platform/file_system.h"

#include <QByteArray>
#include <QHash>
#include <QList>

namespace tv {

// The DXCC entities contacted on one band in one mode, worked out from the log lines as the
// rebuild of the multiplier files marks them: each QSO of the mode (columns 60-66, trimmed,
// "SSB" or "CW") on the band (columns 50-57, trimmed, compared in upper case) counts the
// entity of its callsign (EntityResolver, with the country file when there is one), unless its
// new-prefix flag (column 134) is "N" (the operator refused that entity). So the list equals
// the marked lines of the prefix file after a rebuild, whatever marks the file holds now.
//
// Each entity is listed once, by the entry of its own line in the prefix file: two spaces, its
// prefix (columns 1-6, trimmed, padded to 5), one space, its description (column 34 on,
// trimmed). Entries are sorted by their bytes.
class PrefixStats {
public:
    // `countries` may be null; `prefixLines` are the lines of the station's prefix file.
    PrefixStats(const CountryFile* countries, QList<QByteArray> prefixLines);

    // Each callsign is resolved once and remembered, so that listing again after a QSO is
    // recorded costs a look-up per QSO.
    QList<QByteArray> entries(const QList<QByteArray>& logLines, const QByteArray& band, bands::Mode mode) const;

    static QByteArray entryOf(const QByteArray& prefixLine);

    struct Lines {
        FileResult result;
        QString path; // the file read
        QList<QByteArray> lines;
    };
    // The lines of the station's SSB prefix file (both modes' files hold the same prefixes).
    static Lines readPrefixLines(const FileSystem& files, const StationPaths& paths);

private:
    QList<QByteArray> m_lines;
    EntityResolver m_resolver;
    mutable QHash<QByteArray, int> m_lineOf; // callsign -> its entity's own line, or -1
};

} // namespace tv
