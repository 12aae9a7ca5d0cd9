#include "aids/mill_history.h"

#include "logstore/fixed_text.h"
#include "logstore/log_columns.h"
#include "logstore/log_file.h"
#include "logstore/qso_line.h"

#include <QDir>

#include <algorithm>

namespace tv {

MillHistory MillHistory::fromBytes(const QByteArray& bytes)
{
    MillHistory out;
    for (const QByteArray& line : LogFile::splitLines(bytes)) {
        const QList<QByteArray> fields = line.split(';');
        if (fields.size() < 3 || fields[0].trimmed().isEmpty())
            continue;
        const QByteArray name = line.mid(fields[0].size() + fields[1].size() + 2);
        const Mill mill{fields[0].trimmed(), fields[1].trimmed(), name.trimmed()};
        out.m_mills.insert(mill.reference, mill);
    }
    return out;
}

QByteArray MillHistory::toBytes() const
{
    QList<QByteArray> lines;
    for (const Mill& m : m_mills)
        lines << m.reference + ';' + m.department + ';' + m.name;
    return LogFile::joinLines(lines);
}

int MillHistory::learn(const QList<QByteArray>& logLines)
{
    int added = 0;
    for (const QByteArray& line : logLines) {
        if (qsoline::field(line, logcol::kActivity) != "1")
            continue;
        const QByteArray reference = qsoline::field(line, logcol::kMillReference).toUpper();
        if (reference.isEmpty() || reference.contains(';'))
            continue;
        Mill& mill = m_mills[reference];
        if (mill.reference.isEmpty()) {
            mill.reference = reference;
            ++added;
        }
        const QByteArray department = qsoline::field(line, logcol::kDepartment).toUpper();
        const QByteArray name = qsoline::field(line, logcol::kMillName).replace(';', ',');
        if (!department.isEmpty())
            mill.department = department;
        if (!name.isEmpty())
            mill.name = name;
    }
    return added;
}

QList<MillHistory::Mill> MillHistory::offers(const QByteArray& typed, int limit) const
{
    QByteArray key = typed.trimmed().toUpper();
    if (fixedtext::isDigits(key))
        key = "DMF " + key;
    QList<Mill> out;
    if (key.isEmpty())
        return out;
    for (auto it = m_mills.lowerBound(key); it != m_mills.end() && it.key().startsWith(key); ++it) {
        out << *it;
        if (out.size() == limit)
            break;
    }
    return out;
}

namespace millhistory {

FileResult update(FileSystem& files, const QString& programDir, const QList<QByteArray>& logLines, MillHistory* history)
{
    const QString path = QDir(programDir).filePath(MillHistory::fileName());
    MillHistory loaded;
    if (files.exists(path)) {
        const FileRead read = files.read(path);
        if (!read.result.ok())
            return read.result;
        loaded = MillHistory::fromBytes(read.bytes);
    }
    const QByteArray before = loaded.toBytes();
    loaded.learn(logLines);
    FileResult result = FileResult::success();
    const QByteArray after = loaded.toBytes();
    if (after != before)
        result = files.replace(path, after);
    if (history)
        *history = loaded;
    return result;
}

} // namespace millhistory
} // namespace tv
