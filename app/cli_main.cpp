#include "aids/aids_cli.h"
#include "labels/labels_cli.h"
#include "logstore/country_file.h"
#include "platform/qt_file_system.h"
#include "platform/qt_printer.h"
#include "platform/qt_settings_store.h"
#include "reports/cli_commands.h"
#include "reports/exchange_cli.h"
#include "rig/rig_cli.h"
#include "spots/spots_cli.h"
#include "station/program_directory.h"
#include "stats/map_cli.h"
#include "stats/stats_cli.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <memory>

int main(int argc, char* argv[])
{
    // The commands of the subsystems above the reports.
    const QList<tv::cli::Command> commands = {
        tv::aids::scpCommand(),           tv::labels::cliCommand(&tv::QtPrinter::toPdf),
        tv::statscli::statsCommand(),     tv::statscli::searchCommand(),
        tv::activationmap::command(),     tv::spotsCommand(),
        tv::rigcli::tuneCommand(),        tv::exchangecli::ediCommand(),
        tv::exchangecli::importCommand(),
    };

    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    tv::cli::Options options = tv::cli::parse(arguments, commands);
    const bool paints = std::any_of(commands.begin(), commands.end(),
                                    [&](const tv::cli::Command& c) { return c.paints && c.name == options.command; });
    // Labels and maps are drawn with the platform's fonts and painter, without a screen.
    if (paints && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app =
        paints ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tournevent"));
    QCoreApplication::setOrganizationName(QStringLiteral("Tournevent"));
    // Without --dir, the directory the program itself uses (known once the names are set).
    const bool dirGiven = std::any_of(arguments.begin(), arguments.end(), [](const QString& a) {
        return a == QLatin1String("--dir") || a.startsWith(QLatin1String("--dir="));
    });
    if (!dirGiven)
        options =
            tv::cli::parse(QStringList{QStringLiteral("--dir"), tv::programdir::defaultDir()} + arguments, commands);

    QTextStream out(stdout);
    QTextStream err(stderr);

    // The program keeps the settings of a "--dir" directory beside its files, and those of the
    // default directory in the per-user store: read them where the program wrote them.
    const bool defaultDir = !options.dir.isEmpty() && QFileInfo(options.dir).canonicalFilePath() ==
                                                          QFileInfo(tv::programdir::defaultDir()).canonicalFilePath();
    tv::QtSettingsStore settings = defaultDir
                                       ? tv::QtSettingsStore()
                                       : tv::QtSettingsStore(QDir(options.dir).filePath(QStringLiteral("settings")));
    tv::QtFileSystem files;
    const std::shared_ptr<const tv::CountryFile> countries =
        tv::CountryFile::load(files, tv::CountryFile::installedPath());
    const int code = tv::cli::execute(options, settings, files, countries.get(), out, err, commands);
    out.flush();
    err.flush();
    return code;
}
