// Recording one QSO as the operator does it: the callsign (duplicate search over the list,
// first-name, prefix and nomenclature look-ups), the department look-up, then the recording
// (line appended, marks, reference lists) and the score the main window shows after it.

#include "bench/bench_support.h"

#include "entry/qso_entry.h"
#include "logstore/log_file.h"
#include "logstore/score.h"
#include "logstore/station_paths.h"
#include "platform/qt_file_system.h"
#include "station/station_session.h"
#include "tests/support/fakes/fake_clock.h"
#include "tests/support/fakes/fake_dialogs.h"
#include "tests/support/fakes/fake_printer.h"
#include "tests/support/fakes/fake_settings_store.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

namespace {

double recordOnLogOf(int count)
{
    QTemporaryDir dir;
    tv::QtFileSystem files;
    const QDir shipped(QStringLiteral(TOURNEVENT_SHIPPED_DATA_DIR));
    const tv::StationPaths paths(dir.path(), QStringLiteral("F0ZZZ"));
    for (tv::bands::Mode mode : {tv::bands::Mode::Ssb, tv::bands::Mode::Cw}) {
        files.copy(shipped.filePath(QStringLiteral("FXXXX_Departement.txt")), paths.departments(mode));
        files.copy(shipped.filePath(QStringLiteral("FXXXX_Prefixe.txt")), paths.prefixes(mode));
    }
    files.replace(paths.nomenclature(), {});
    files.replace(paths.firstNames(), {});
    QList<QByteArray> lines = tv::bench::generatedLog(count);
    files.replace(paths.log(), tv::LogFile::joinLines(lines));

    tv::FakeSettingsStore settings;
    tv::FakeDialogs dialogs;
    tv::FakeClock clock;
    tv::FakePrinter printer;
    tv::StationSession session;
    session.setStation(QStringLiteral("F0ZZZ"), QStringLiteral("JN18DU"));
    session.setSessionText(QStringLiteral("HF"));
    session.setQsoCount(int(lines.size()));
    tv::QsoEntry entry({settings, dialogs, clock, files, printer, dir.path()}, session,
                       [&lines]() -> const QList<QByteArray>& { return lines; });
    entry.setBandList({"3.5 Mhz", "7.0 Mhz", "14 Mhz", "21 Mhz", "28 Mhz"});

    int serial = 0;
    return tv::bench::bestMs(5, [&] {
        using F = tv::EntryField;
        tv::EntryForm& form = entry.form();
        form.setText(F::Band, QStringLiteral("14 Mhz"));
        form.setText(F::Mode, QStringLiteral("SSB"));
        form.setText(F::Callsign, QStringLiteral("F9Z%1").arg(++serial, 3, 10, QLatin1Char('0')));
        for (int i = 0; i < 4; ++i)
            dialogs.answer(true);
        entry.enter(F::Callsign);
        form.setText(F::Department, QStringLiteral("59"));
        entry.enter(F::Department);
        form.setText(F::Activity, QStringLiteral("QSO"));
        entry.enter(F::Activity);
        entry.enter(F::RstReceived);
        entry.enter(F::RstSent);
        entry.enter(F::FirstName);
        entry.enter(F::MillName);
        const tv::EntryEffects effects = entry.record();
        if (effects.appendedLine)
            lines.append(*effects.appendedLine);
        session.setQsoCount(int(lines.size()));
        QByteArray marks[4];
        int i = 0;
        for (tv::bands::Mode mode : {tv::bands::Mode::Ssb, tv::bands::Mode::Cw})
            marks[i++] = files.read(paths.departments(mode)).bytes;
        for (tv::bands::Mode mode : {tv::bands::Mode::Ssb, tv::bands::Mode::Cw})
            marks[i++] = files.read(paths.prefixes(mode)).bytes;
        volatile double score = tv::score(tv::tallyScore(lines, marks[0], marks[1], marks[2], marks[3]), true);
        (void)score;
    });
}

void recordOneQso()
{
    for (int count : {1000, 10000, 32767}) {
        tv::bench::report(QStringLiteral("record one QSO on a log of %1 QSOs").arg(count), recordOnLogOf(count),
                          QStringLiteral("< 20 ms, growing at most linearly"));
    }
}

const tv::bench::Register kRegister("record", recordOneQso);

} // namespace
