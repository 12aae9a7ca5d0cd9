#pragma once

// Multiplier files for tests, and the per-line rebuild procedure that the in-memory rebuild
// must reproduce byte for byte. Shared by the tests and the benchmark.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>

#include <stdexcept>

namespace tv::test {

// 17 marks "0", with `mark` at the position of the band (0 = "1.8 Mhz" ... 16 = "24 Ghz").
inline QByteArray marks(int bandPosition = -1, char mark = '1')
{
    QByteArray m(17, '0');
    if (bandPosition >= 0)
        m[bandPosition] = mark;
    return m;
}

// A department line: code at 1-2, blank, marks at 4-20, blank, name from 22.
inline QByteArray departmentLine(const QByteArray& code, const QByteArray& marks17, const QByteArray& name)
{
    return code.leftJustified(2, ' ') + ' ' + marks17 + ' ' + name;
}

// A prefix line: prefix at 1-6, blank, marks at 8-24, two blanks, entity at 27-32, blank,
// description from 34.
inline QByteArray prefixLine(const QByteArray& prefix, const QByteArray& marks17, const QByteArray& entity,
                             const QByteArray& description)
{
    return prefix.leftJustified(6, ' ') + ' ' + marks17 + "  " + entity.leftJustified(6, ' ') + ' ' + description;
}

namespace reference {

// The rebuild done the slow way: each station file starts as a copy of its template, and each
// log line rewrites it through a scratch file ("Temporaire.txt"): copy line by line with the
// change, delete the file, copy the scratch file back, delete the scratch file.
//
// The sound rules of the logbook apply: a callsign that matches no prefix (or whose prefix line
// has no entity code) marks nothing and is written to the absent list; a blank prefix field
// matches nothing; Corsica is "2A", "2a" or "96" (and "2B", "2b", "97"); an unknown band marks
// nothing.
namespace detail {

inline QList<QByteArray> readLines(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("reference: cannot read " + path.toStdString());
    QList<QByteArray> lines;
    while (!f.atEnd()) {
        QByteArray line = f.readLine();
        if (line.endsWith('\n'))
            line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
        lines.append(line);
    }
    return lines;
}

inline void copyFile(const QString& from, const QString& to)
{
    QFile::remove(to);
    if (!QFile::copy(from, to))
        throw std::runtime_error("reference: cannot copy " + from.toStdString());
}

inline QByteArray mid(const QByteArray& line, int column, int width)
{
    return column - 1 < line.size() ? line.mid(column - 1, width) : QByteArray();
}

inline QByteArray trim(QByteArray s)
{
    while (s.startsWith(' '))
        s.remove(0, 1);
    while (s.endsWith(' '))
        s.chop(1);
    return s;
}

// The value of a one-character mark: its digit, 0 for anything else.
inline int val(const QByteArray& mark)
{
    return !mark.isEmpty() && mark[0] >= '0' && mark[0] <= '9' ? mark[0] - '0' : 0;
}

// The position of a band in the table, compared in upper case; -1 when not there.
inline int bandPosition(const QByteArray& band)
{
    static const char* const kUpper[] = {"1.8 MHZ", "3.5 MHZ", "7.0 MHZ", "10 MHZ", "14 MHZ",  "18 MHZ",
                                         "21 MHZ",  "24 MHZ",  "28 MHZ",  "50 MHZ", "144 MHZ", "432 MHZ",
                                         "1.3 GHZ", "2.3 GHZ", "5.7 GHZ", "10 GHZ", "24 GHZ"};
    const QByteArray upper = band.toUpper();
    for (int i = 0; i < 17; ++i) {
        if (upper == kUpper[i])
            return i;
    }
    return -1;
}

inline QByteArray corsica(const QByteArray& code)
{
    if (code == "2A" || code == "2a" || code == "96")
        return "96";
    if (code == "2B" || code == "2b" || code == "97")
        return "97";
    return code;
}

// Rewrites `file` through the scratch file, calling change(line, &done) on each line.
template <typename Change> void rewriteThroughScratch(const QString& dir, const QString& file, Change change)
{
    const QString scratch = QDir(dir).filePath(QStringLiteral("Temporaire.txt"));
    const QList<QByteArray> lines = readLines(file);
    {
        QFile out(scratch);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw std::runtime_error("reference: cannot write the scratch file");
        bool done = false;
        for (QByteArray line : lines) {
            if (!done)
                change(line, &done);
            out.write(line + "\r\n");
        }
    }
    QFile::remove(file);
    copyFile(scratch, file);
    QFile::remove(scratch);
}

} // namespace detail

// Rebuilds CALL_Prefixe_SSB/CW.txt, CALL_Absent.txt, then CALL_Departement_SSB/CW.txt in `dir`
// from CALL.log and the templates. Only the first `maxLines` lines of the log are taken when
// it is not negative.
inline void rebuildPerLine(const QString& dir, const QString& call, int maxLines = -1)
{
    using namespace detail;
    const QDir d(dir);
    QList<QByteArray> log = readLines(d.filePath(call + ".log"));
    if (maxLines >= 0)
        log = log.mid(0, maxLines);

    for (const char* mode : {"SSB", "CW"}) {
        const QString station = d.filePath(call + "_Prefixe_" + mode + ".txt");
        const QString absentPath = d.filePath(call + "_Absent.txt");
        copyFile(d.filePath("FXXXX.log"), absentPath);
        copyFile(d.filePath("FXXXX_Prefixe.txt"), station);
        QFile absent(absentPath);
        if (!absent.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw std::runtime_error("reference: cannot write the absent list");
        for (const QByteArray& line : log) {
            const QByteArray callsign = trim(mid(line, 11, 12));
            const QByteArray band = trim(mid(line, 50, 8));
            if (trim(mid(line, 60, 7)) != mode)
                continue;
            // Look-up of the callsign: prefixes from columns 1-5.
            QByteArray entity;
            bool matched = false;
            for (const QByteArray& p : readLines(station)) {
                const QByteArray prefix = trim(mid(p, 1, 5));
                if (!prefix.isEmpty() && callsign.startsWith(prefix)) {
                    entity = trim(mid(p, 27, 6));
                    matched = true;
                    break;
                }
            }
            if (!matched || entity.isEmpty()) {
                if (!callsign.isEmpty())
                    absent.write(callsign + "\r\n");
                continue;
            }
            // The entity's own line: prefixes from columns 1-6.
            bool found = false;
            rewriteThroughScratch(dir, station, [&](QByteArray& p, bool* done) {
                const QByteArray prefix = trim(mid(p, 1, 6));
                if (prefix.isEmpty() || !entity.startsWith(prefix))
                    return;
                *done = found = true;
                const int position = bandPosition(band);
                const int column = 8 + position;
                if (position >= 0 && column <= p.size() && val(mid(p, column, 1)) == 0)
                    p[column - 1] = '1';
            });
            if (!found)
                absent.write(entity + "\r\n");
        }
    }

    for (const char* mode : {"SSB", "CW"}) {
        const QString station = d.filePath(call + "_Departement_" + mode + ".txt");
        copyFile(d.filePath("FXXXX_Departement.txt"), station);
        for (const QByteArray& line : log) {
            const QByteArray code = trim(mid(line, 37, 2)).toUpper();
            const QByteArray band = trim(mid(line, 50, 8));
            const QByteArray mark = trim(mid(line, 135, 1));
            if (trim(mid(line, 60, 7)) != mode)
                continue;
            rewriteThroughScratch(dir, station, [&](QByteArray& dl, bool* done) {
                const QByteArray lineCode = trim(mid(dl, 1, 2));
                if (code.isEmpty() || corsica(lineCode) != corsica(code))
                    return;
                *done = true;
                const int position = bandPosition(band);
                const int column = 4 + position;
                if (position >= 0 && column <= dl.size() && !mark.isEmpty() && val(mark) > val(mid(dl, column, 1)))
                    dl[column - 1] = mark[0];
            });
        }
    }
}

} // namespace reference
} // namespace tv::test
