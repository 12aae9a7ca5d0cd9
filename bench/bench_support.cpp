#include "bench/bench_support.h"
#include "logstore/station_paths.h"
#include "platform/file_system.h"
#include <QDir>

#include "logstore/log_file.h"
#include "logstore/qso_line.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <limits>

namespace tv::bench {

QList<Benchmark>& registry()
{
    static QList<Benchmark> all;
    return all;
}

Register::Register(const char* name, std::function<void()> run)
{
    registry().append({QString::fromLatin1(name), std::move(run)});
}

BenchStation::BenchStation(const QList<QByteArray>& log)
{
    installStationFiles(files, paths);
    files.replace(paths.log(), LogFile::joinLines(log));
}

QList<QByteArray> generatedLog(int count)
{
    static const char* const kBands[] = {"3.5 Mhz", "7.0 Mhz", "14 Mhz", "21 Mhz", "28 Mhz", "144 Mhz"};
    static const char* const kPrefixes[] = {"F", "F", "F", "TM", "ON", "DL", "G", "EA", "I", "HB9", "PA", "FG", "TK"};
    QList<QByteArray> lines;
    lines.reserve(count);
    quint32 seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    for (int i = 0; i < count; ++i) {
        QsoRecord r;
        const int minutes = i / 4;
        r.date = QByteArray::number(10 + (minutes / 1440) % 18) + "/06/15";
        const int hh = (minutes / 60) % 24;
        const int mm = minutes % 60;
        r.start = QByteArray::number(hh).rightJustified(2, '0') + ':' + QByteArray::number(mm).rightJustified(2, '0');
        r.end = r.start;
        const char* prefix = kPrefixes[next() % std::size(kPrefixes)];
        r.callsign = QByteArray(prefix) + QByteArray::number(next() % 10) + QByteArray::number(10000 + next() % 9000);
        r.callsign = r.callsign.left(12);
        const int dept = 1 + next() % 95;
        r.department = dept == 20 ? "2a" : QByteArray::number(dept).rightJustified(2, '0');
        r.band = kBands[next() % std::size(kBands)];
        r.mode = next() % 3 == 0 ? "CW" : "SSB";
        r.rstSent = "59";
        r.rstReceived = "59";
        const bool mill = next() % 4 == 0;
        r.activity = mill ? "1" : "0";
        r.millReference = mill ? "DMF " + r.department + QByteArray::number(100 + next() % 900) : QByteArray();
        if (r.band == "144 Mhz") {
            r.distance = QByteArray::number(next() % 900);
            r.points = r.distance;
            r.locator = "JN18DU";
        } else {
            r.points = "1";
        }
        r.newDepartmentFlag = "0";
        r.newPrefixFlag = "0";
        lines.append(*qsoline::build(r));
    }
    return lines;
}

double bestMs(int runs, const std::function<void()>& fn)
{
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        fn();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

void report(const QString& name, double ms, const QString& goal)
{
    std::printf("%-48s %10.2f ms   (goal: %s)\n", qPrintable(name), ms, qPrintable(goal));
    std::fflush(stdout);
}

void installStationFiles(FileSystem& files, const StationPaths& paths)
{
    const QDir shipped(QStringLiteral(TOURNEVENT_SHIPPED_DATA_DIR));
    for (bands::Mode mode : {bands::Mode::Ssb, bands::Mode::Cw}) {
        files.copy(shipped.filePath(QStringLiteral("FXXXX_Departement.txt")), paths.departments(mode));
        files.copy(shipped.filePath(QStringLiteral("FXXXX_Prefixe.txt")), paths.prefixes(mode));
    }
    files.copy(shipped.filePath(QStringLiteral("FXXXX_Departement.txt")), paths.departmentTemplate());
    files.copy(shipped.filePath(QStringLiteral("FXXXX_Prefixe.txt")), paths.prefixTemplate());
    files.replace(paths.nomenclature(), {});
    files.replace(paths.firstNames(), {});
}

} // namespace tv::bench
