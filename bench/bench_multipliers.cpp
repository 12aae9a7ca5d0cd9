// Rebuilding the four multiplier files from a full log of 32767 QSOs, and the score, beside the
// per-line rebuild (one scratch-file rewrite of a multiplier file per QSO) on the same log.

#include "bench/bench_support.h"

#include "logstore/log_file.h"
#include "logstore/multiplier_rebuild.h"
#include "logstore/score.h"
#include "platform/qt_file_system.h"
#include "tests/logstore/multiplier_reference.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kFullLog = 32767;

bool installTemplates(tv::QtFileSystem& files, const QString& dir)
{
    const QDir shipped(QStringLiteral(TOURNEVENT_SHIPPED_DATA_DIR));
    for (const char* name : {"FXXXX_Prefixe.txt", "FXXXX_Departement.txt"}) {
        if (!files.copy(shipped.filePath(name), QDir(dir).filePath(name)).ok())
            return false;
    }
    return files.replace(QDir(dir).filePath(QStringLiteral("FXXXX.log")), {}).ok();
}

void multipliers()
{
    QTemporaryDir dir;
    tv::QtFileSystem files;
    if (!installTemplates(files, dir.path())) {
        std::printf("multiplier rebuild: the shipped templates are missing, nothing measured\n");
        return;
    }
    const QList<QByteArray> log = tv::bench::generatedLog(kFullLog);
    const tv::StationPaths paths(dir.path(), QStringLiteral("F0ZZZ"));
    files.replace(paths.log(), tv::LogFile::joinLines(log));

    const double rebuildMs = tv::bench::bestMs(5, [&] { tv::MultiplierRebuild(files, paths, nullptr).run(log); });
    tv::bench::report(QStringLiteral("rebuild the multiplier files, 32767 QSOs"), rebuildMs,
                      QStringLiteral("< 200 ms"));

    const QByteArray prefixTemplate = files.read(paths.prefixTemplate()).bytes;
    const QByteArray departmentTemplate = files.read(paths.departmentTemplate()).bytes;
    const double computeMs =
        tv::bench::bestMs(5, [&] { tv::MultiplierRebuild::compute(log, prefixTemplate, departmentTemplate, nullptr); });
    tv::bench::report(QStringLiteral("  of which computing the five files in memory"), computeMs,
                      QStringLiteral("the rest is the five atomic writes"));

    const double scoreMs = tv::bench::bestMs(5, [&] { tv::loadScore(files, paths); });
    tv::bench::report(QStringLiteral("score from the log and the four files"), scoreMs, QStringLiteral("< 100 ms"));

    // The per-line procedure: timed on the first lines of the same log, and on the whole log
    // only when that would take less than a minute.
    QTemporaryDir slowDir;
    installTemplates(files, slowDir.path());
    files.replace(QDir(slowDir.path()).filePath(QStringLiteral("F0ZZZ.log")), tv::LogFile::joinLines(log));
    int timedLines = 300;
    QElapsedTimer timer;
    timer.start();
    tv::test::reference::rebuildPerLine(slowDir.path(), QStringLiteral("F0ZZZ"), timedLines);
    double perLineMs = timer.nsecsElapsed() / 1e6;
    const double scaledMs = perLineMs * kFullLog / timedLines;
    QString how = QStringLiteral("timed on the first %1 lines, scaled linearly").arg(timedLines);
    if (scaledMs < 60000) {
        timer.restart();
        tv::test::reference::rebuildPerLine(slowDir.path(), QStringLiteral("F0ZZZ"));
        perLineMs = timer.nsecsElapsed() / 1e6;
        how = QStringLiteral("timed on the whole log");
        timedLines = kFullLog;
    }
    const double fullMs = perLineMs * kFullLog / timedLines;
    std::printf("%-48s %10.2f ms   (%s)\n", "per-line rebuild, 32767 QSOs", fullMs, qPrintable(how));
    std::printf("%-48s %10.0f x    (goal: at least 100 x)\n", "in-memory rebuild speed-up", fullMs / rebuildMs);
    std::fflush(stdout);
}

const tv::bench::Register kRegister("multipliers", multipliers);

} // namespace
