#pragma once

#include "platform/file_system.h"

#include <QString>
#include <QStringList>

namespace tv {

// The program directory: where every station file, shared list and report lives.
//
// On Linux it is the per-user data directory, filled on first start from the shipped data
// folder; `tournevent --dir PATH` uses PATH instead (portable use, tests, several stations
// side by side). A file the user already has is never overwritten, except the manual.
namespace programdir {

// The folder of the files shipped with the program: for a program in `programFolder`, the
// installed one (../share/tournevent from bin/), else ./data beside it, else the source tree's
// data folder (a program run from its build folder). The first that holds FXXXX.log.
QString shippedDataDir(const QString& programFolder);
// The same for the running program.
QString shippedDataDir();

// The per-user data directory.
QString defaultDir();

// The directory named by "--dir PATH" among the arguments, or the default one.
QString fromArguments(const QStringList& arguments);

// Copies every shipped file that the directory lacks (sub-folders included), creating the
// directory if needed; the manual (folder "aide") is the program's own and is brought up to
// date. Returns the failures, one French text per file ("NAME : disque plein (erreur N° 61)");
// empty when all went well. A shipped folder without FXXXX.log is a failure of its own:
// nothing is copied.
QStringList populate(FileSystem& files, const QString& shippedDir, const QString& targetDir);

} // namespace programdir
} // namespace tv
