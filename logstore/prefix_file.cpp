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

QByteArray PrefixFile::prefixOf(const QByteArray& line, int prefixWidth)
{
    return fixedtext::field(line, 1, prefixWidth);
}

QByteArray PrefixFile::entityOf(const QByteArray& line)
{
    return fixedtext::field(line, kEntityColumn, kEntityWidth);
}

int PrefixFile::firstMatch(const QList<QByteArray>& lines, const QByteArray& text, int prefixWidth)
{
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray prefix = prefixOf(lines[i], prefixWidth);
        if (!prefix.isEmpty() && text.startsWith(prefix))
            return i;
    }
    return -1;
}

std::optional<PrefixFile::Match> PrefixFile::findIn(const QList<QByteArray>& lines, const QByteArray& text,
                                                    const QByteArray& band, int prefixWidth)
{
    const int i = firstMatch(lines, text, prefixWidth);
    if (i < 0)
        return std::nullopt;
    const QByteArray& line = lines[i];
    Match m;
    m.lineIndex = i;
    m.prefix = prefixOf(line, prefixWidth);
    if (const std::optional<int> column = markColumn(band))
        m.mark = fixedtext::mid(line, *column, 1);
    m.entity = entityOf(line);
    m.description = fixedtext::mid(line, kDescriptionColumn, int(line.size()));
    return m;
}

PrefixFile::Lookup PrefixFile::find(const QByteArray& text, const QByteArray& band, bands::Mode mode) const
{
    Lookup out;
    const FileRead read = m_files.read(m_paths.prefixes(mode));
    out.result = read.result;
    if (read.result.ok())
        out.match = findIn(LogFile::splitLines(read.bytes), text, band);
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
    const int i = firstMatch(lines, entity, kLookupPrefixWidth);
    if (i < 0)
        return out;
    out.prefix = prefixOf(lines[i], kLookupPrefixWidth);
    const std::optional<int> column = markColumn(band);
    if (!column || fixedtext::at(lines[i], *column) != '0')
        return out;

    // Change the one byte in place: every other byte of the file stays as it was.
    qsizetype lineStart = 0;
    for (int k = 0; k < i; ++k)
        lineStart = read.bytes.indexOf('\n', lineStart) + 1;
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

namespace {

// A text of up to 7 bytes as one number: its length, then its bytes.
quint64 packed(QByteArrayView text, qsizetype length)
{
    quint64 key = quint64(length);
    for (qsizetype i = 0; i < length; ++i)
        key |= quint64(uchar(text[i])) << (8 * (i + 1));
    return key;
}

} // namespace

PrefixIndex::PrefixIndex(const QList<QByteArray>& lines, int prefixWidth) : m_width(std::min(prefixWidth, 7))
{
    m_first.reserve(size_t(lines.size()));
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray prefix = PrefixFile::prefixOf(lines[i], m_width);
        if (!prefix.isEmpty())
            m_first.emplace(packed(prefix, prefix.size()), i); // keeps the first line of a prefix
    }
}

int PrefixIndex::firstMatch(QByteArrayView text) const
{
    int best = -1;
    const qsizetype longest = std::min<qsizetype>(text.size(), m_width);
    for (qsizetype len = 1; len <= longest; ++len) {
        const auto it = m_first.find(packed(text, len));
        if (it != m_first.end() && (best < 0 || it->second < best))
            best = it->second;
    }
    return best;
}

} // namespace tv
