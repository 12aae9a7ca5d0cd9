#pragma once

#include "platform/installed_files.h"

#include <QString>

namespace tv {

class Clock;
class CountryFile;
class Dialogs;
class FileSystem;
class Printer;
class Sound;
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
    // The installed DXCC country file, read once at the start; null when it is not installed
    // (the prefix file's own prefixes then resolve the callsigns).
    const CountryFile* countries = nullptr;
    // The alert sounds; null where none are played (the command line, most tests).
    Sound* sound = nullptr;
    // The master callsign file of the super check partial (absent: a shorter list).
    QString masterCallsignFile = installed::masterCallsignFile();
};

} // namespace tv
