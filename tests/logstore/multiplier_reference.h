#pragma once

// Multiplier file lines for tests, and the per-line rebuild procedure that the in-memory rebuild
// must reproduce byte for byte. Shared by the tests and the benchmark.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>

#include <algorithm>
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

// A department line: code at 1-2, marks at 4-20, name from 22.
inline QByteArray departmentLine(const QByteArray& code, const QByteArray& marks17, const QByteArray& name)
{
    return code.leftJustified(2, ' ') + ' ' + marks17 + ' ' + name;
}

// A prefix line: prefix at 1-6, marks at 8-24, entity at 27-32, description from 34.
inline QByteArray prefixLine(const QByteArray& prefix, const QByteArray& marks17, const QByteArray& entity,
                             const QByteArray& description)
{
    return prefix.leftJustified(6, ' ') + ' ' + marks17 + "  " + entity.leftJustified(6, ' ') + ' ' + description;
}

namespace reference {
namespace detail {

inline QList<QByteArray> readLines(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("reference: cannot read " + path.toStdString());
    QList<QByteArray> lines = f.readAll().split('\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    for (QByteArray& line : lines)
        line.chop(line.endsWith('\r') ? 1 : 0);
    return lines;
}

inline void write(const QString& path, const QList<QByteArray>& lines)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("reference: cannot write " + path.toStdString());
    for (const QByteArray& line : lines)
        f.write(line + "\r\n");
}

inline QByteArray field(const QByteArray& line, int column, int width)
{
    return line.mid(column - 1, width).trimmed();
}
inline int digit(char c)
{
    return c >= '0' && c <= '9' ? c - '0' : 0;
}

// The position of a band in the table, compared in upper case; -1 when not there.
inline int bandPosition(const QByteArray& band)
{
    static const QList<QByteArray> kUpper = QByteArray("1.8 MHZ|3.5 MHZ|7.0 MHZ|10 MHZ|14 MHZ|18 MHZ|21 MHZ|24 MHZ|"
                                                       "28 MHZ|50 MHZ|144 MHZ|432 MHZ|1.3 GHZ|2.3 GHZ|5.7 GHZ|10 "
                                                       "GHZ|24 GHZ")
                                                .split('|');
    return int(kUpper.indexOf(band.toUpper()));
}

inline QByteArray corsica(const QByteArray& code)
{
    return code.toUpper() == "2A" ? "96" : code.toUpper() == "2B" ? "97" : code;
}

// Rewrites `file` through "Temporaire.txt": copy with the change made to the first line that
// `change` accepts, delete the file, copy the scratch file back, delete the scratch file.
template <typename Change> void rewriteThroughScratch(const QString& dir, const QString& file, Change change)
{
    const QString scratch = QDir(dir).filePath(QStringLiteral("Temporaire.txt"));
    QList<QByteArray> lines = readLines(file);
    std::find_if(lines.begin(), lines.end(), change);
    write(scratch, lines);
    QFile::remove(file);
    QFile::copy(scratch, file);
    QFile::remove(scratch);
}

} // namespace detail

// Rebuilds CALL_Prefixe_SSB/CW.txt, CALL_Absent.txt, then CALL_Departement_SSB/CW.txt in `dir`
// from CALL.log and the templates, one scratch-file rewrite per log line. A callsign that no
// prefix matches, or whose line has no entity code, marks nothing and goes to the absent list
// (as does an entity code without a line); Corsica is "2A", "2a" or "96". Only the first
// `maxLines` lines of the log are taken when it is not negative.
inline void rebuildPerLine(const QString& dir, const QString& call, int maxLines = -1)
{
    using namespace detail;
    const QDir d(dir);
    const QList<QByteArray> log = readLines(d.filePath(call + ".log")).mid(0, maxLines);
    for (const char* mode : {"SSB", "CW"}) {
        const QString station = d.filePath(call + "_Prefixe_" + mode + ".txt");
        write(station, readLines(d.filePath("FXXXX_Prefixe.txt")));
        QList<QByteArray> absent;
        for (const QByteArray& line : log) {
            const QByteArray callsign = field(line, 11, 12);
            const int column = 8 + bandPosition(field(line, 50, 8));
            if (field(line, 60, 7) != mode)
                continue;
            QByteArray entity;
            for (const QByteArray& p : readLines(station)) {
                const QByteArray prefix = field(p, 1, 5);
                if (!prefix.isEmpty() && callsign.startsWith(prefix)) {
                    entity = field(p, 27, 6);
                    break;
                }
            }
            bool found = false;
            if (!entity.isEmpty()) {
                rewriteThroughScratch(dir, station, [&](QByteArray& p) {
                    const QByteArray prefix = field(p, 1, 6);
                    if (prefix.isEmpty() || !entity.startsWith(prefix))
                        return false;
                    if (column >= 8 && column <= p.size() && digit(p[column - 1]) == 0)
                        p[column - 1] = '1';
                    return found = true;
                });
            }
            const QByteArray unplaced = entity.isEmpty() ? callsign : entity;
            if (!found && !unplaced.isEmpty())
                absent << unplaced;
        }
        write(d.filePath(call + "_Absent.txt"), absent);
    }
    for (const char* mode : {"SSB", "CW"}) {
        const QString station = d.filePath(call + "_Departement_" + mode + ".txt");
        write(station, readLines(d.filePath("FXXXX_Departement.txt")));
        for (const QByteArray& line : log) {
            const QByteArray code = corsica(field(line, 37, 2).toUpper());
            const int column = 4 + bandPosition(field(line, 50, 8));
            const QByteArray mark = field(line, 135, 1);
            if (field(line, 60, 7) != mode || code.isEmpty())
                continue;
            rewriteThroughScratch(dir, station, [&](QByteArray& dl) {
                if (corsica(field(dl, 1, 2)) != code)
                    return false;
                if (column >= 4 && column <= dl.size() && !mark.isEmpty() && digit(mark[0]) > digit(dl[column - 1]))
                    dl[column - 1] = mark[0];
                return true;
            });
        }
    }
}

} // namespace reference
} // namespace tv::test
