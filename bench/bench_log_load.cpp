// Loading a full log of 32767 QSOs into the main window's list and showing it.

#include "bench/bench_support.h"

#include "logstore/log_file.h"
#include "logstore/qso_list_model.h"
#include "platform/qt_file_system.h"

#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>

namespace {

void loadFullLog()
{
    QTemporaryDir dir;
    tv::QtFileSystem files;
    const QString path = dir.filePath(QStringLiteral("F0ZZZ.log"));
    files.replace(path, tv::LogFile::joinLines(tv::bench::generatedLog(32767)));

    const double ms = tv::bench::bestMs(5, [&] {
        tv::QsoListModel model;
        QTableView view;
        view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        view.verticalHeader()->setDefaultSectionSize(18);
        view.setModel(&model);
        view.resize(1000, 400);
        view.show();
        tv::LogFile log(files, path);
        model.setLines(log.load().lines);
        view.selectRow(model.rowCount() - 1);
        view.scrollToBottom();
        QApplication::processEvents();
    });
    tv::bench::report(QStringLiteral("load and show a log of 32767 QSOs"), ms, QStringLiteral("< 300 ms"));
}

const tv::bench::Register kRegister("log-load", loadFullLog);

} // namespace
