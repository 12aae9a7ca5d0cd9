// Loading a full log of 32767 QSOs as the program does (the Logbook reads the log and the
// multiplier files, tallies the score and indexes the duplicates) and showing it in the list.

#include "bench/bench_support.h"

#include "logstore/log_file.h"
#include "logstore/qso_list_model.h"
#include "platform/qt_file_system.h"
#include "station/logbook.h"

#include <QApplication>
#include <QHeaderView>
#include <QTableView>

namespace {

void loadFullLog()
{
    tv::bench::BenchStation station(tv::bench::generatedLog(32767));
    tv::Logbook logbook(station.services());
    logbook.setStation(QStringLiteral("F0ZZZ"));

    const double ms = tv::bench::bestMs(5, [&] {
        tv::QsoListModel model;
        QTableView view;
        view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        view.verticalHeader()->setDefaultSectionSize(18);
        view.setModel(&model);
        view.resize(1000, 400);
        view.show();
        logbook.load();
        model.setLines(logbook.lines());
        view.selectRow(model.rowCount() - 1);
        view.scrollToBottom();
        QApplication::processEvents();
    });
    tv::bench::report(QStringLiteral("load and show a log of 32767 QSOs"), ms, QStringLiteral("< 300 ms"));
}

const tv::bench::Register kRegister("log-load", loadFullLog);

} // namespace
