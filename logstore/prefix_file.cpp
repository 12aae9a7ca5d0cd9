#include "logstore/prefix_file.h"

#include "logstore/fixed_text.h"
#include "logstore/log_file.h"

#include <algorithm>

#include <utility>

namespace tv {

bool PrefixFile::isFrench(QByteArrayView dxccPrefix)
{
    static constexpr const char* kFrench[] = {"F", "TH", "TM", "TP", "TQ", "TV", "TW", "HW", "HX", "HY"};
    for (const char* prefix : kFrench) {
        if (dxccPrefix == prefix)
            return true;
    }
    return false;
}

PrefixFile::PrefixFile(FileSystem& files, StationPaths paths) : m_files(files), m_paths(std::move(paths))
{
}

std::optional<int> PrefixFile::markColumn(const QByteArray& band)
{
    return bands::markColumn(band, kFirstMarkColumn);
}

QByteArray PrefixFile::prefixOf(const QByteArray& line)
{
    return fixedtext::field(line, 1, kPrefixWidth);
}

QByteArray PrefixFile::entityOf(const QByteArray& line)
{
    return fixedtext::field(line, kEntityColumn, kEntityWidth);
}

PrefixFile::Lookup PrefixFile::lookUp(const CountryFile* countries, QByteArrayView callsign, const QByteArray& band,
                                      bands::Mode mode) const
{
    Lookup out;
    const FileRead read = m_files.read(m_paths.prefixes(mode));
    out.result = read.result;
    if (!read.result.ok())
        return out;
    const QList<QByteArray> lines = LogFile::splitLines(read.bytes);
    out.entity = EntityResolver(countries, lines).resolve(callsign);
    if (out.entity.line >= 0) {
        const QByteArray& line = lines[out.entity.line];
        out.prefix = prefixOf(line);
        if (const std::optional<int> column = markColumn(band))
            out.mark = fixedtext::mid(line, *column, 1);
    }
    return out;
}

PrefixFile::MarkResult PrefixFile::markEntity(const QByteArray& entity, const QByteArray& band, bands::Mode mode)
{
    MarkResult out;
    const QString path = m_paths.prefixes(mode);
    const FileRead read = m_files.read(path);
    if (!read.result.ok()) {
        out.result = read.result;
        return out;
    }
    const QList<QByteArray> lines = LogFile::splitLines(read.bytes);
    const int i = EntityResolver::ownLine(lines, entity);
    if (i < 0)
        return out;
    out.prefix = prefixOf(lines[i]);
    const std::optional<int> column = markColumn(band);
    if (!column || fixedtext::at(lines[i], *column) != '0')
        return out;

    // Change the one byte in place: every other byte of the file stays as it was.
    qsizetype lineStart = 0;
    for (int k = 0; k < i; ++k)
        lineStart = LogFile::lineAt(read.bytes, lineStart).next;
    QByteArray bytes = read.bytes;
    bytes[lineStart + *column - 1] = '1';
    out.result = m_files.replace(path, bytes);
    out.changed = out.result.ok();
    return out;
}

QStringList PrefixFile::sizeWarnings(const FileSystem& files, const StationPaths& paths)
{
    QStringList out;
    // The size follows the text with a leading space, as numbers are printed in these texts.
    auto sizeText = [&](const QString& path) {
        return QLatin1Char(' ') + QString::number(files.size(path).value_or(0));
    };
    const QString templ = paths.prefixTemplate();
    if (files.size(templ).value_or(0) != kExpectedSize) {
        out << QStringLiteral("Le fichier FXXXX_Prefixe.txt ne convient pas a cette version ") + sizeText(templ) +
                   QStringLiteral(" octets");
    }
    const QString station = paths.prefixes(bands::Mode::Ssb);
    if (files.size(station).value_or(0) != kExpectedSize) {
        out << QStringLiteral("Le fichier ") + paths.callsign() +
                   QStringLiteral("_Prefixe_SSB.txt ne convient pas a cette version") + sizeText(station) +
                   QStringLiteral(" octets");
    }
    return out;
}

} // namespace tv
