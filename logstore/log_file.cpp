#include "logstore/log_file.h"

#include "logstore/qso_line.h"

#include <algorithm>
#include <utility>

namespace tv {

LogFile::LogFile(FileSystem& files, QString path) : m_files(files), m_path(std::move(path))
{
}

LogFile::LineSpan LogFile::lineAt(const QByteArray& bytes, qsizetype start)
{
    const qsizetype n = bytes.size();
    qsizetype end = start;
    while (end < n && bytes[end] != '\n' && bytes[end] != '\r')
        ++end;
    if (end == n)
        return {end, end};
    const bool crlf = bytes[end] == '\r' && end + 1 < n && bytes[end + 1] == '\n';
    return {end, end + (crlf ? 2 : 1)};
}

QList<QByteArray> LogFile::splitLines(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    for (qsizetype start = 0; start < bytes.size();) {
        const LineSpan span = lineAt(bytes, start);
        lines.append(bytes.mid(start, span.end - start));
        start = span.next;
    }
    return lines;
}

QByteArray LogFile::joinLines(const QList<QByteArray>& lines)
{
    QByteArray out;
    qsizetype total = 0;
    for (const QByteArray& line : lines)
        total += line.size() + 2;
    out.reserve(total);
    for (const QByteArray& line : lines) {
        out.append(line);
        out.append("\r\n", 2);
    }
    return out;
}

LogFile::Loaded LogFile::load() const
{
    Loaded loaded;
    const FileRead read = m_files.read(m_path);
    loaded.result = read.result;
    if (read.result.ok())
        loaded.lines = splitLines(read.bytes);
    return loaded;
}

FileResult LogFile::append(const QByteArray& line)
{
    // A last line without its line end (cut short, or edited by hand) must not swallow the new
    // line: it gets its CR LF first, in the same write.
    const FileRead tail = m_files.readTail(m_path, 1);
    if (!tail.result.ok() && !tail.result.notFound())
        return tail.result;
    const bool openLine =
        tail.result.ok() && !tail.bytes.isEmpty() && !tail.bytes.endsWith('\n') && !tail.bytes.endsWith('\r');
    return m_files.append(m_path, (openLine ? QByteArray("\r\n") : QByteArray()) + line + "\r\n");
}

LogFile::Cut LogFile::cutUnfinishedLine()
{
    Cut out;
    const FileRead read = m_files.read(m_path);
    if (!read.result.ok()) {
        out.result = read.result.notFound() ? FileResult::success() : read.result;
        return out;
    }
    const qsizetype lastEnd = std::max(read.bytes.lastIndexOf('\n'), read.bytes.lastIndexOf('\r'));
    const QByteArray piece = read.bytes.mid(lastEnd + 1);
    if (piece.isEmpty() || piece.size() >= logcol::kLineLength)
        return out;
    out.result = m_files.replace(m_path, read.bytes.left(lastEnd + 1));
    out.piece = piece;
    return out;
}

FileResult LogFile::rewrite(const QList<QByteArray>& lines)
{
    return m_files.replace(m_path, joinLines(lines));
}

namespace {

FileResult outOfStep()
{
    return FileResult::failure(FileResult::kAccessError, QStringLiteral("le journal a changé depuis son affichage"));
}

} // namespace

FileResult LogFile::removeAt(int index, const QByteArray& expectedLine)
{
    Loaded loaded = load();
    if (!loaded.result.ok())
        return loaded.result;
    if (index < 0 || index >= loaded.lines.size() || loaded.lines[index] != expectedLine)
        return outOfStep();
    loaded.lines.removeAt(index);
    return rewrite(loaded.lines);
}

int LogFile::orderedPosition(const QList<QByteArray>& lines, const QByteArray& newLine)
{
    const std::optional<qint64> key = qsoline::sortKey(newLine);
    if (key) {
        for (int i = 0; i < lines.size(); ++i) {
            const std::optional<qint64> other = qsoline::sortKey(lines[i]);
            if (other && *other >= *key)
                return i;
        }
    }
    return int(lines.size());
}

FileResult LogFile::replaceInOrder(std::optional<int> oldIndex, const QByteArray& oldLine, const QByteArray& newLine)
{
    Loaded loaded = load();
    if (!loaded.result.ok() && !(loaded.result.notFound() && !oldIndex))
        return loaded.result;
    if (oldIndex) {
        if (*oldIndex < 0 || *oldIndex >= loaded.lines.size() || loaded.lines[*oldIndex] != oldLine)
            return outOfStep();
        if (qsoline::sortKey(oldLine) && qsoline::sortKey(oldLine) == qsoline::sortKey(newLine)) {
            // Same date and start time: the line keeps its place among the QSOs of that minute.
            loaded.lines[*oldIndex] = newLine;
            return rewrite(loaded.lines);
        }
        loaded.lines.removeAt(*oldIndex);
    }
    loaded.lines.insert(orderedPosition(loaded.lines, newLine), newLine);
    return rewrite(loaded.lines);
}

FileResult LogFile::insertInOrder(const QList<QByteArray>& newLines)
{
    Loaded loaded = load();
    if (!loaded.result.ok() && !loaded.result.notFound())
        return loaded.result;
    // The moments are read once: a merge into a full log stays quick.
    QList<std::optional<qint64>> keys;
    keys.reserve(loaded.lines.size() + newLines.size());
    for (const QByteArray& line : loaded.lines)
        keys << qsoline::sortKey(line);
    // Placed last first: a line goes before the first one of its minute or later (as
    // orderedPosition places it), so the lines of one minute end in the order given.
    for (auto line = newLines.crbegin(); line != newLines.crend(); ++line) {
        const std::optional<qint64> key = qsoline::sortKey(*line);
        qsizetype at = keys.size();
        for (qsizetype i = 0; key && i < keys.size(); ++i) {
            if (keys[i] && *keys[i] >= *key) {
                at = i;
                break;
            }
        }
        loaded.lines.insert(at, *line);
        keys.insert(at, key);
    }
    return rewrite(loaded.lines);
}

} // namespace tv
