#pragma once

#include "logstore/station_paths.h"
#include "platform/qt_file_system.h"
#include "platform/services.h"
#include "tests/support/fakes/fake_clock.h"
#include "tests/support/fakes/fake_dialogs.h"
#include "tests/support/fakes/fake_printer.h"
#include "tests/support/fakes/fake_settings_store.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <functional>

namespace tv::bench {

struct Benchmark {
    QString name;
    std::function<void()> run;
};

// Every benchmark, in the order they run.
QList<Benchmark>& registry();

// Registers a benchmark at static initialisation: static Register r{"name", fn};
struct Register {
    Register(const char* name, std::function<void()> run);
};

// A log of `count` QSO lines of mixed bands, modes, departments, mills and callsigns,
// always the same for the same count.
QList<QByteArray> generatedLog(int count);

// The station's four multiplier files from the shipped templates, and empty shared lists.
void installStationFiles(FileSystem& files, const StationPaths& paths);

// Station F0ZZZ in a temporary program directory: its multiplier files from the shipped
// templates and the given log, on the real file system, with the program's other services
// faked.
struct BenchStation {
    explicit BenchStation(const QList<QByteArray>& log);
    Services services(const CountryFile* countries = nullptr)
    {
        return {settings, dialogs, clock, files, printer, dir.path(), countries};
    }

    QTemporaryDir dir;
    QtFileSystem files;
    const StationPaths paths{dir.path(), QStringLiteral("F0ZZZ")};
    FakeSettingsStore settings;
    FakeDialogs dialogs;
    FakeClock clock;
    FakePrinter printer;
};

// Milliseconds taken by the function: the best of `runs` runs.
double bestMs(int runs, const std::function<void()>& fn);

void report(const QString& name, double ms, const QString& goal);

} // namespace tv::bench
