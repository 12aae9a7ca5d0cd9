// The statistics and the search on a full log of 32767 QSOs, computed from the lines in memory
// as their windows compute them on every click and every QSO recorded.

#include "bench/bench_support.h"

#include "logstore/country_file.h"
#include "logstore/log_file.h"
#include "platform/qt_file_system.h"
#include "stats/activation_stats.h"
#include "stats/department_qsos.h"
#include "stats/distance_stats.h"
#include "stats/prefix_stats.h"
#include "stats/qso_search.h"

#include <QDir>

#include <cstdio>
#include <list>

namespace {

constexpr int kFullLog = 32767;

void statistics()
{
    const QList<QByteArray> log = tv::bench::generatedLog(kFullLog);
    const QString goal = QStringLiteral("< 20 ms");
    const auto time = [&](const char* name, const std::function<void()>& fn) {
        tv::bench::report(QString::fromUtf8(name), tv::bench::bestMs(5, fn), goal);
    };
    time("distance statistics, 32767 QSOs", [&] { tv::distancestats::count(log); });
    time("activation statistics, 14 Mhz SSB", [&] { tv::activationstats::entries(log, "14 Mhz", "SSB"); });

    tv::QtFileSystem files;
    const QByteArray prefixes =
        files.read(QDir(QStringLiteral(TOURNEVENT_SHIPPED_DATA_DIR)).filePath(QStringLiteral("FXXXX_Prefixe.txt")))
            .bytes;
    // The first listing resolves every callsign of the band and mode; the next ones (another
    // click, a QSO recorded) find them resolved.
    const auto prefixStats = [&](const char* name, const tv::CountryFile* countries) {
        std::list<tv::PrefixStats> fresh;
        time(name, [&] { fresh.emplace_back(countries, tv::LogFile::splitLines(prefixes)); });
        auto next = fresh.begin();
        time("  first listing, 14 Mhz SSB", [&] { (next++)->entries(log, "14 Mhz", tv::bands::Mode::Ssb); });
        const tv::PrefixStats stats(countries, tv::LogFile::splitLines(prefixes));
        stats.entries(log, "14 Mhz", tv::bands::Mode::Ssb);
        time("  listed again", [&] { stats.entries(log, "14 Mhz", tv::bands::Mode::Ssb); });
    };
    prefixStats("prefix statistics: opening, prefix file", nullptr);
    if (const auto countries = tv::CountryFile::load(files, tv::CountryFile::installedPath())) {
        prefixStats("prefix statistics: opening, country file", countries.get());
    } else {
        std::printf("prefix statistics with the country file: not installed, not measured\n");
    }

    using tv::qsosearch::Criterion;
    time("search by callsign F5", [&] { tv::qsosearch::search(log, Criterion::Callsign, "F5"); });
    time("search by date 12/06/15", [&] { tv::qsosearch::search(log, Criterion::Date, "12/06/15"); });
    time("search by department 59", [&] { tv::qsosearch::search(log, Criterion::Department, "59"); });
    time("search by locator JN18", [&] { tv::qsosearch::search(log, Criterion::Locator, "JN18"); });
    time("QSOs of department 2a", [&] { tv::departmentqsos::lines(log, "2a"); });
}

const tv::bench::Register kRegister("statistics", statistics);

} // namespace
