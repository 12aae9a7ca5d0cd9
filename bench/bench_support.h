#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

namespace tv {
class FileSystem;
class StationPaths;
} // namespace tv

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

// Milliseconds taken by the function: the best of `runs` runs.
double bestMs(int runs, const std::function<void()>& fn);

void report(const QString& name, double ms, const QString& goal);

} // namespace tv::bench
