#pragma once

#include <QString>

namespace tv {

class Clock;
class Dialogs;
class FileSystem;
class Printer;
class SettingsStore;

// What the program reaches outside itself, handed to every window and core service that
// needs it. Built once in main() with the real implementations, in tests with the fakes.
struct Services {
    SettingsStore& settings;
    Dialogs& dialogs;
    Clock& clock;
    FileSystem& files;
    Printer& printer;   // the program's one printer, its selection dialog included
    QString programDir; // where every station file and shared list lives
};

} // namespace tv
