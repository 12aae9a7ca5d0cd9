#include "logstore/country_file.h"
#include "platform/qt_file_system.h"
#include "platform/qt_settings_store.h"
#include "reports/cli_commands.h"
#include "station/program_directory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tournevent"));
    QCoreApplication::setOrganizationName(QStringLiteral("Tournevent"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    const tv::cli::Options options = tv::cli::parse(QCoreApplication::arguments().mid(1));

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
    const int code = tv::cli::execute(options, settings, files, countries.get(), out, err);
    out.flush();
    err.flush();
    return code;
}
