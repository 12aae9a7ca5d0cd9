// Recording one QSO as the operator does it: the callsign (duplicate search over the list,
// first-name, prefix and nomenclature look-ups), the department look-up, then the recording
// (line appended, marks, reference lists) and the score the main window shows after it.

#include "bench/bench_support.h"

#include "entry/qso_entry.h"
#include "logstore/country_file.h"
#include "logstore/log_file.h"
#include "logstore/score.h"
#include "logstore/station_paths.h"
#include "platform/qt_file_system.h"
#include "station/logbook.h"
#include "station/station_session.h"

#include <QDir>

#include <cstdio>

namespace {

double recordOnLogOf(int count)
{
    tv::bench::BenchStation station(tv::bench::generatedLog(count));
    tv::StationSession session;
    session.setStation(QStringLiteral("F0ZZZ"), QStringLiteral("JN18DU"));
    session.setSessionText(QStringLiteral("HF"));
    session.chooseBand(2); // 14 Mhz
    // As the program runs: with the installed country file when there is one.
    const std::shared_ptr<const tv::CountryFile> countries =
        tv::CountryFile::load(station.files, tv::CountryFile::installedPath());
    const tv::Services services = station.services(countries.get());
    tv::Logbook logbook(services);
    logbook.setStation(QStringLiteral("F0ZZZ"));
    logbook.load();
    tv::QsoEntry entry(services, session, logbook);

    int serial = 0;
    const double ms = tv::bench::bestMs(5, [&] {
        using F = tv::EntryField;
        tv::EntryForm& form = entry.form();
        form.setText(F::Band, QStringLiteral("14 Mhz"));
        form.setText(F::Mode, QStringLiteral("SSB"));
        form.setText(F::Callsign, QStringLiteral("F9Z%1").arg(++serial, 3, 10, QLatin1Char('0')));
        for (int i = 0; i < 4; ++i)
            station.dialogs.answer(true);
        entry.enter(F::Callsign);
        form.setText(F::Department, QStringLiteral("59"));
        entry.enter(F::Department);
        form.setText(F::Activity, QStringLiteral("QSO"));
        entry.enter(F::Activity);
        entry.enter(F::RstReceived);
        entry.enter(F::RstSent);
        entry.enter(F::FirstName);
        entry.enter(F::MillName);
        entry.record();
        volatile double score = logbook.score(true);
        (void)score;
    });
    if (logbook.count() != count + serial) {
        std::fprintf(stderr, "recording failed: %d QSOs in the log after %d recordings on %d\n", logbook.count(),
                     serial, count);
        return -1;
    }
    return ms;
}

void recordOneQso()
{
    for (int count : {1000, 10000, 32767}) {
        tv::bench::report(QStringLiteral("record one QSO on a log of %1 QSOs").arg(count), recordOnLogOf(count),
                          QStringLiteral("< 3 ms, the same on any log"));
    }
}

const tv::bench::Register kRegister("record", recordOneQso);

} // namespace
