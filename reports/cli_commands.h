#pragma once

#include "logstore/station_paths.h"

#include <QString>
#include <QStringList>

#include <functional>

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
    kUnreachable = 6,    // a server, a cluster or a transceiver cannot be reached
};

struct Options {
    bool help = false;
    QString dir;
    QString call;
    QString command;
    QStringList args; // what follows the command, but --dir and --call: its own options and operands
    QString error;    // the usage error, empty when the line is good
};

// The options and operands of one command: "--name value", "--name=value", "--flag", operands.
// Each take removes what it took; finish() says what is left over as a usage error.
class CommandArgs {
public:
    explicit CommandArgs(QStringList args) : m_args(std::move(args)) {}
    // The value of "--name"; empty when absent. A "--name" without its value is an error.
    QString value(const QString& name);
    QStringList values(const QString& name); // every "--name", in order
    bool flag(const QString& name);
    QStringList operands(); // what does not start with "--"
    // Records a usage error (the first one is kept).
    void fail(const QString& error);
    // The usage error: the first recorded, else the first argument nobody took; empty when none.
    QString finish() const;

private:
    QStringList m_args;
    QString m_error;
};

// What every command knows of the station.
struct Station {
    StationPaths paths;
    QString eventDate;
    bool hfSession = true;
    const CountryFile* countries = nullptr; // resolves the callsigns; may be null
};

// What a command reaches.
struct Context {
    SettingsStore& settings;
    FileSystem& files;
    const CountryFile* countries;
    QTextStream& out;
    QTextStream& err;
};

// A command of a subsystem above the reports (labels, statistics, map, spots, rig), handed to
// parse() and execute() by the program's main() (app/cli_main.cpp lists them). `run` gets the
// station when `needsStation`, else null, takes its options from `args`, and before acting
// returns usageError(context, args) when that is not kOk; it returns an exit code of Exit.
struct Command {
    QString name;
    QString help; // the lines of the help text, each ending with "\n"
    bool needsStation = true;
    bool paints = false; // draws with fonts and a painter (labels, maps): the program starts its GUI side
    std::function<int(const Context&, const Station*, CommandArgs&)> run;
};

// kUsage, with the message on the error output, when `args` holds a usage error or an argument
// nobody took; kOk otherwise.
int usageError(const Context& context, const CommandArgs& args);

// Parses the arguments (without the program name).
Options parse(const QStringList& arguments, const QList<Command>& commands = {});

QString helpText(const QList<Command>& commands = {});

// Runs a parsed command line; messages go to `out`, errors to `err`, both in French.
// `countries` (may be null) resolves the callsigns, as in the program.
int execute(const Options& options, SettingsStore& settings, FileSystem& files, const CountryFile* countries,
            QTextStream& out, QTextStream& err, const QList<Command>& commands = {});

} // namespace cli
} // namespace tv
