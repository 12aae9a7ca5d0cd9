#pragma once

#include <QString>
#include <QStringList>

class QTextStream;

namespace tv {

class CountryFile;
class FileSystem;
class SettingsStore;

// The command line `tournevent-cli`: the reports and checks of the program without its windows.
//
//   tournevent-cli --dir PATH [--call CALLSIGN] COMMAND
//   tournevent-cli --dir PATH lookup CALLSIGN...
//
// PATH is the program directory (its settings are the INI files of PATH/settings, as the
// program keeps them when started with --dir). The station callsign, the event date and the
// session come from those settings unless --call names the station. Commands write the same
// files as the windows, through the same core code.
namespace cli {

// Exit codes.
enum Exit {
    kOk = 0,
    kMalformedLines = 1, // check: the log holds malformed lines
    kUsage = 2,          // bad command line
    kStation = 3,        // no station, or a callsign or event date that cannot name files
    kReadFailed = 4,     // a station file is missing or cannot be read
    kWriteFailed = 5,    // a file could not be written (the previous one is left intact)
};

struct Options {
    bool help = false;
    QString dir;
    QString call;
    QString command;
    QStringList callsigns; // lookup: the callsigns to resolve
    QString error;         // the usage error, empty when the line is good
};

// Parses the arguments (without the program name).
Options parse(const QStringList& arguments);

QString helpText();

// Runs a parsed command line; messages go to `out`, errors to `err`, both in French.
// `countries` (may be null) resolves the callsigns, as in the program.
int execute(const Options& options, SettingsStore& settings, FileSystem& files, const CountryFile* countries,
            QTextStream& out, QTextStream& err);

} // namespace cli
} // namespace tv
