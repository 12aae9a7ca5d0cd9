// A day of logging on a full log, killed (SIGKILL) at random times and at every file step of
// its operations; after each kill the station is started again on what was left. The log
// must then hold every operation the driver completed, and the one in progress whole or not
// at all; the multiplier files must be what a rebuild makes of that log; no temporary file
// may stay; the program and the command line must start on it.
//
// TOURNEVENT_KILL_SEED=N repeats the random kills of an earlier run.

#include "bench/bench_support.h"
#include "logstore/country_file.h"
#include "logstore/log_file.h"
#include "logstore/multiplier_rebuild.h"
#include "station/logbook.h"
#include "station/startup.h"
#include "tests/support/test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QThread>

#include <atomic>
#include <csignal>
#include <cstdio>

namespace tv {
namespace {

constexpr int kLogSize = 5000;
constexpr int kRandomKills = 24;

// One operation of the driver's day and the file steps it took in the run without faults.
struct Op {
    int number = 0;
    QString name;
    long firstStep = 0;
    long lastStep = 0;     // firstStep - 1 when it took none
    QStringList stepNames; // "rename F0ZZZ.log", by step from firstStep
};

// A run of the driver: with a fault of the file layer, or killed after a delay.
struct Point {
    QString label;
    QString fault;
    int delayMs = -1;
};

struct DriverRun {
    bool killed = false;
    int exitCode = 0;
    QString errors;
    int done = 0; // operations the journal says were completed
};

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class KillTest : public ::testing::Test {
protected:
    // The station before the day: a full log and multiplier files rebuilt from it.
    static inline test::TempProgramDir* master = nullptr;
    static inline std::shared_ptr<const CountryFile> countries;
    static inline QList<Op> ops;
    static inline QList<QByteArray> snapshots; // the log after each operation, [0] before any
    static inline int referenceMs = 0;
    static inline std::atomic<int> killPoints = 0;

    static void SetUpTestSuite()
    {
        master = new test::TempProgramDir;
        master->installShippedData();
        master->installStationFiles("F0ZZZ");
        QtFileSystem files;
        countries = CountryFile::load(files, CountryFile::installedPath());
        const QList<QByteArray> lines = bench::generatedLog(kLogSize);
        master->write("F0ZZZ.log", LogFile::joinLines(lines));
        ASSERT_TRUE(
            MultiplierRebuild(files, StationPaths(master->path(), "F0ZZZ"), countries.get()).run(lines).result.ok());
        referenceRun();
    }
    static void TearDownTestSuite()
    {
        std::printf("kill points tried: %d\n", killPoints.load());
        delete master;
        master = nullptr;
    }

    // The day without faults, with every file step traced and the log kept after each operation.
    static void referenceRun()
    {
        const QTemporaryDir dir(scratchRoot() + QStringLiteral("/tournevent-kill-XXXXXX")), shots;
        copyStation(dir.path());
        QProcess driver;
        driver.setProcessEnvironment(faultEnvironment("trace"));
        QElapsedTimer timer;
        timer.start();
        driver.start(KILL_DRIVER, {dir.path(), dir.filePath("journal"), shots.path()});
        ASSERT_TRUE(driver.waitForFinished(60000));
        referenceMs = int(timer.elapsed());
        const QString trace = QString::fromUtf8(driver.readAllStandardError());
        ASSERT_EQ(driver.exitCode(), 0) << trace.right(2000);
        static const QRegularExpression line(QStringLiteral("^(?:op (\\d+) (begin (\\S+)|end)|tournevent-fault (\\d+) "
                                                            "(.*))$"),
                                             QRegularExpression::MultilineOption);
        long step = 0;
        for (auto it = line.globalMatch(trace); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            if (!m.captured(3).isEmpty())
                ops.append({m.captured(1).toInt(), m.captured(3), step + 1, step, {}});
            else if (!m.captured(4).isEmpty()) {
                step = m.captured(4).toLong();
                ASSERT_FALSE(ops.isEmpty()) << "a file step before the first operation";
                ops.last().lastStep = step;
                ops.last().stepNames << m.captured(5);
            }
        }
        for (int n = 0; n <= ops.size(); ++n)
            snapshots << readAll(QDir(shots.path()).filePath(QStringLiteral("%1.log").arg(n)));
        ASSERT_EQ(ops.size(), 8);
    }

    static QProcessEnvironment faultEnvironment(const QString& fault)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TOURNEVENT_FAULT", fault);
        return env;
    }

    static void copyStation(const QString& to)
    {
        const QDir from(master->path());
        for (const QString& name : from.entryList(QDir::Files))
            QFile::copy(from.filePath(name), QDir(to).filePath(name));
    }

    // Runs the driver on a fresh copy of the station, with the fault, or killed after `delayMs`.
    static DriverRun runDriver(const QTemporaryDir& dir, const QString& fault, int delayMs = -1)
    {
        copyStation(dir.path());
        QProcess driver;
        driver.setProcessEnvironment(faultEnvironment(fault));
        driver.start(KILL_DRIVER, {dir.path(), dir.filePath("journal")});
        driver.waitForStarted();
        if (delayMs >= 0 && !driver.waitForFinished(delayMs))
            ::kill(pid_t(driver.processId()), SIGKILL);
        driver.waitForFinished(60000);
        ++killPoints;
        DriverRun run;
        run.killed = driver.exitStatus() == QProcess::CrashExit;
        run.exitCode = driver.exitCode();
        run.errors = QString::fromUtf8(driver.readAllStandardError()).right(600);
        const QByteArray journal = readAll(dir.filePath("journal"));
        run.done = int(journal.count('\n'));
        QFile::remove(dir.filePath("journal"));
        return run;
    }

    // Starts the station on what the driver left and says what is wrong with it (empty: nothing).
    static QString checkStart(const QTemporaryDir& dir, const DriverRun& run, bool inProgressMayBeDone)
    {
        QtFileSystem files;
        const StationPaths paths(dir.path(), "F0ZZZ");
        startup::repairFiles(files, paths, countries.get());
        FakeSettingsStore settings;
        FakeDialogs dialogs;
        FakeClock clock;
        FakePrinter printer;
        Logbook logbook(Services{settings, dialogs, clock, files, printer, dir.path(), countries.get()});
        logbook.setStation("F0ZZZ");
        if (!logbook.load().ok())
            return "the log does not load";
        for (const QString& name : QDir(dir.path()).entryList(QDir::Files)) {
            if (name.contains(FileSystem::kTemporaryMark) || name == QFileInfo(paths.rebuildMarker()).fileName())
                return name + " left after the start";
        }
        const QByteArray log = readAll(paths.log());
        const int done = run.done;
        if (log != snapshots[done] &&
            !(inProgressMayBeDone && done + 1 < snapshots.size() && log == snapshots[done + 1]))
            return QStringLiteral("the log is neither as after operation %1 nor as after the next (%2 lines, %3 "
                                  "expected)")
                .arg(done)
                .arg(logbook.count())
                .arg(LogFile::splitLines(snapshots[done]).size());
        const MultiplierRebuild::Computed rebuilt =
            MultiplierRebuild::compute(logbook.lines(), files.read(paths.prefixTemplate()).bytes,
                                       files.read(paths.departmentTemplate()).bytes, countries.get());
        const std::pair<QString, const QByteArray*> marks[] = {
            {paths.prefixes(bands::Mode::Ssb), &rebuilt.files.prefixSsb},
            {paths.prefixes(bands::Mode::Cw), &rebuilt.files.prefixCw},
            {paths.departments(bands::Mode::Ssb), &rebuilt.files.departmentSsb},
            {paths.departments(bands::Mode::Cw), &rebuilt.files.departmentCw}};
        for (const auto& [path, expected] : marks) {
            if (files.read(path).bytes != *expected)
                return QFileInfo(path).fileName() + " differs from a rebuild of the log";
        }
        QProcess cli;
        cli.start(TOURNEVENT_CLI, {"--dir", dir.path(), "--call", "F0ZZZ", "check"});
        if (!cli.waitForFinished(30000) || cli.exitStatus() != QProcess::NormalExit || cli.exitCode() != 0)
            return "tournevent-cli check: " +
                   QString::fromUtf8(cli.readAllStandardError() + cli.readAllStandardOutput());
        return {};
    }

    // What is wrong after each point (empty: nothing), on two workers.
    static QStringList runAll(const QList<Point>& points)
    {
        QStringList found(points.size());
        std::atomic<int> next{0};
        const auto work = [&] {
            for (int i = next++; i < points.size(); i = next++) {
                const QTemporaryDir dir(scratchRoot() + QStringLiteral("/tournevent-kill-XXXXXX"));
                const DriverRun run = runDriver(dir, points[i].fault, points[i].delayMs);
                const bool mustBeKilled = !points[i].fault.isEmpty();
                if (mustBeKilled ? !run.killed : !run.killed && run.exitCode != 0)
                    found[i] = QStringLiteral("the driver was not killed: ") + run.errors;
                else
                    found[i] = checkStart(dir, run, run.killed);
            }
        };
        std::unique_ptr<QThread> helper(QThread::create(work));
        helper->start();
        work();
        helper->wait();
        return found;
    }

    // Kills need no disk: a memory file system spares the flushes where there is one.
    static QString scratchRoot()
    {
        const QFileInfo shm(QStringLiteral("/dev/shm"));
        return shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
    }

    static QString describe(long step)
    {
        for (const Op& op : ops) {
            if (step >= op.firstStep && step <= op.lastStep)
                return QStringLiteral("op %1 %2, %3").arg(op.number).arg(op.name, op.stepNames[step - op.firstStep]);
        }
        return QStringLiteral("after the last operation");
    }
};

TEST_F(KillTest, KilledAtEveryFileStepTheStationStartsWhole)
{
    // Every step of the operation of each kind that takes the most; a tear is an append
    // stopped half way (a temporary file torn is one more temporary file).
    QMap<QString, Op> longest;
    for (const Op& op : ops) {
        if (op.lastStep - op.firstStep > longest.value(op.name).lastStep - longest.value(op.name).firstStep)
            longest[op.name] = op;
    }
    ASSERT_EQ(longest.keys(), QStringList({"delete", "edit", "rebuild", "record", "record-in-order"}));
    QList<Point> points;
    for (const Op& op : longest) {
        for (long step = op.firstStep; step <= op.lastStep; ++step) {
            const QString where = QStringLiteral(" (%1)").arg(describe(step));
            points.append({QStringLiteral("kill-at=%1").arg(step) + where, QStringLiteral("kill-at=%1").arg(step)});
            if (where.contains(", write ") && !where.contains(FileSystem::kTemporaryMark))
                points.append({QStringLiteral("tear-at=%1").arg(step) + where, QStringLiteral("tear-at=%1").arg(step)});
        }
    }
    ASSERT_GT(points.size(), 100);
    const QStringList found = runAll(points);
    for (int i = 0; i < points.size(); ++i) {
        SCOPED_TRACE(qPrintable(points[i].label));
        EXPECT_EQ(found[i], QString());
    }
}

TEST_F(KillTest, KilledAtRandomTimesTheStationStartsWhole)
{
    const quint32 seed = qEnvironmentVariableIsSet("TOURNEVENT_KILL_SEED")
                             ? quint32(qEnvironmentVariableIntValue("TOURNEVENT_KILL_SEED"))
                             : QRandomGenerator::global()->generate();
    std::printf("random kills: seed %u (TOURNEVENT_KILL_SEED=%u repeats them), within %d ms\n", seed, seed,
                referenceMs);
    QRandomGenerator random(seed);
    QList<Point> points;
    for (int i = 0; i < kRandomKills; ++i) {
        const int delay = random.bounded(referenceMs + 1);
        points.append({QStringLiteral("killed after %1 ms").arg(delay), QString(), delay});
    }
    const QStringList found = runAll(points);
    for (int i = 0; i < points.size(); ++i) {
        SCOPED_TRACE(qPrintable(points[i].label));
        EXPECT_EQ(found[i], QString());
    }
}

TEST_F(KillTest, AFailedStepIsReportedAndLeavesTheStationWhole)
{
    // The first write of the day is the append of the first QSO's line.
    const long append = ops[0].firstStep + ops[0].stepNames.indexOf(QRegularExpression("^write F0ZZZ.log$"));
    ASSERT_GE(append, ops[0].firstStep);
    const struct {
        const char* error;
        const char* shown;
    } cases[] = {{"ENOSPC", "Erreur N° 61"}, {"EIO", "Erreur N° 57"}, {"EROFS", "Erreur N° 70"}};
    for (const auto& c : cases) {
        const QString fault = QStringLiteral("fail-at=%1:%2").arg(append).arg(c.error);
        SCOPED_TRACE(qPrintable(fault));
        const QTemporaryDir dir(scratchRoot() + QStringLiteral("/tournevent-kill-XXXXXX"));
        const DriverRun run = runDriver(dir, fault);
        EXPECT_FALSE(run.killed);
        EXPECT_EQ(run.exitCode, 3) << run.errors;
        EXPECT_TRUE(run.errors.contains(QString::fromUtf8(c.shown))) << run.errors;
        EXPECT_EQ(checkStart(dir, run, false), QString());
    }
}

} // namespace
} // namespace tv
