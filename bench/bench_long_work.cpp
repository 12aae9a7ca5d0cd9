// The work a menu item or a button starts on a full log of 32767 QSOs: exports, reports, the
// label sheets, printing to PDF, the import and the rebuild. What takes more than 300 ms shows
// a progress window in the program.

#include "bench/bench_support.h"

#include "labels/label_print.h"
#include "labels/qso_selection.h"
#include "logstore/log_file.h"
#include "platform/qt_file_system.h"
#include "platform/qt_printer.h"
#include "reports/adif_export.h"
#include "reports/adif_import.h"
#include "reports/ctrafic_export.h"
#include "reports/edi_export.h"
#include "reports/log_listing.h"
#include "reports/report_text.h"
#include "reports/summary_sheet.h"
#include "station/logbook.h"

namespace {

constexpr int kFullLog = 32767;

void longWork()
{
    const QList<QByteArray> log = tv::bench::generatedLog(kFullLog);
    tv::bench::BenchStation station(log);
    tv::QtFileSystem& files = station.files;
    const tv::StationPaths& paths = station.paths;
    const QString goal = QStringLiteral("progress shown above 300 ms");
    const auto time = [&](const char* name, int runs, const std::function<void()>& fn) {
        tv::bench::report(QString::fromUtf8(name), tv::bench::bestMs(runs, fn), goal);
    };
    const QString pdf = station.dir.filePath(QStringLiteral("out.pdf"));

    time("ADIF export, 32767 QSOs", 3, [&] { tv::adif::writeFile(files, paths, true, log); });
    time("C_Trafic export", 3, [&] { tv::ctrafic::exportLog(files, paths, true); });
    const tv::edi::Station edi{QStringLiteral("F0ZZZ"), QStringLiteral("JN18DU"), QStringLiteral("21/06/15")};
    time("EDI export of the 144 Mhz QSOs", 3,
         [&] { tv::edi::writeFiles(files, station.dir.path(), edi, log, nullptr); });
    time("log listing saved", 3, [&] { tv::listing::save(files, paths, QStringLiteral("21/06/15"), true, log); });
    time("log listing printed (PDF)", 1, [&] {
        const auto printer = tv::QtPrinter::toPdf(pdf);
        tv::reporttext::printLines(*printer, tv::listing::printLines(QStringLiteral("F0ZZZ"), "21/06/15", log));
    });
    time("summary sheet counted and saved", 3, [&] {
        tv::summary::Sheet sheet;
        sheet.eventDate = QStringLiteral("21/06/15");
        sheet.cells = tv::summary::cellsFromTally(tv::summary::loadDayScore(files, paths, true, nullptr).tally, true);
        tv::summary::save(files, paths, sheet);
    });
    time("label selection filled, all chosen", 3, [&] {
        tv::QsoSelection selection;
        selection.setLines(log);
        selection.chooseAll();
    });
    tv::labels::LabelSettings labelSettings;
    labelSettings.ownCallsign = QStringLiteral("F0ZZZ");
    QList<tv::labels::Sheet> sheets;
    time("label sheets laid out, every QSO", 3, [&] { sheets = tv::labels::layOut(log, labelSettings); });
    time("label sheets to PDF, every QSO", 1, [&] { tv::labels::savePdf(files, pdf, &tv::QtPrinter::toPdf, sheets); });

    tv::Logbook logbook(station.services());
    logbook.setStation(QStringLiteral("F0ZZZ"));
    logbook.load();
    time("rebuild from the Logbook", 3, [&] { logbook.rebuildMultipliers(); });
    const QByteArray adi = tv::adif::file(QStringLiteral("F0ZZZ"), log);
    time("ADIF import planned, file of 32767 QSOs", 3,
         [&] { tv::adifimport::plan(adi, log.mid(0, kFullLog / 2), QStringLiteral("JN18DU")); });
    files.replace(paths.log(), tv::LogFile::joinLines(log.mid(0, kFullLog / 2)));
    logbook.load();
    const QList<QByteArray> added = log.mid(kFullLog / 2);
    time("ADIF import merged, 16384 QSOs", 1, [&] { logbook.merge(added); });
}

const tv::bench::Register kRegister("long-work", longWork);

} // namespace
