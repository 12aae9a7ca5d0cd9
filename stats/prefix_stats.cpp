#include "stats/prefix_stats.h"

#include "logstore/fixed_text.h"
#include "logstore/log_columns.h"
#include "logstore/log_file.h"
#include "logstore/prefix_file.h"

#include <algorithm>

namespace tv {

PrefixStats::PrefixStats(const CountryFile* countries, QList<QByteArray> prefixLines)
    : m_lines(std::move(prefixLines)), m_resolver(countries, m_lines)
{
}

QByteArray PrefixStats::entryOf(const QByteArray& prefixLine)
{
    QByteArray prefix = PrefixFile::prefixOf(prefixLine);
    if (prefix.size() < 5)
        prefix.append(5 - prefix.size(), ' ');
    const QByteArray description = fixedtext::trimSpaces(prefixLine.mid(PrefixFile::kDescriptionColumn - 1));
    return QByteArray("  ") + prefix + ' ' + description;
}

QList<QByteArray> PrefixStats::entries(const QList<QByteArray>& logLines, const QByteArray& band,
                                       bands::Mode mode) const
{
    const QByteArray wantedMode = bands::modeText(mode);
    const QByteArray wantedBand = fixedtext::trimSpaces(band);
    QList<bool> counted(m_lines.size(), false);
    for (const QByteArray& line : logLines) {
        if (fixedtext::fieldView(line, logcol::kMode.first, logcol::kMode.width) != wantedMode ||
            fixedtext::fieldView(line, logcol::kBand.first, logcol::kBand.width)
                    .compare(wantedBand, Qt::CaseInsensitive) != 0 ||
            fixedtext::at(line, logcol::kNewPrefixFlag.first) == logcol::kEntityRefused)
            continue;
        const QByteArrayView callsign = fixedtext::fieldView(line, logcol::kCallsign.first, logcol::kCallsign.width);
        auto found = m_lineOf.constFind(QByteArray::fromRawData(callsign.data(), callsign.size()));
        if (found == m_lineOf.cend()) {
            const EntityResolver::Result entity = m_resolver.resolve(callsign);
            found =
                m_lineOf.insert(callsign.toByteArray(), entity.kind == EntityResolver::Kind::Entity ? entity.line : -1);
        }
        if (found.value() >= 0)
            counted[found.value()] = true;
    }
    QList<QByteArray> out;
    for (int i = 0; i < m_lines.size(); ++i) {
        if (counted[i])
            out.append(entryOf(m_lines[i]));
    }
    std::sort(out.begin(), out.end());
    return out;
}

PrefixStats::Lines PrefixStats::readPrefixLines(const FileSystem& files, const StationPaths& paths)
{
    Lines out;
    out.path = paths.prefixes(bands::Mode::Ssb);
    const FileRead read = files.read(out.path);
    out.result = read.result;
    if (read.result.ok())
        out.lines = LogFile::splitLines(read.bytes);
    return out;
}

} // namespace tv
