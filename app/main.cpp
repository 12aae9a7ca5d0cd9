#include "app/main_window.h"
#include "logstore/country_file.h"
#include "platform/clock.h"
#include "platform/qt_dialogs.h"
#include "platform/qt_file_system.h"
#include "platform/qt_printer.h"
#include "platform/qt_settings_store.h"
#include "platform/qt_sound.h"
#include "station/program_directory.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

#include <memory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tournevent"));
    QApplication::setOrganizationName(QStringLiteral("Tournevent"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icones/tournevent.svg")));
    QGuiApplication::setDesktopFileName(QStringLiteral("tournevent")); // tournevent.desktop
    // Qt's own dialogs (printer, file chooser) in French.
    QTranslator qtFrench;
    if (qtFrench.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtFrench);

    const QStringList arguments = QApplication::arguments();
    const bool portable = arguments.contains(QStringLiteral("--dir")) ||
                          std::any_of(arguments.begin(), arguments.end(),
                                      [](const QString& a) { return a.startsWith(QLatin1String("--dir=")); });
    const QString programDir = tv::programdir::fromArguments(arguments);

    tv::QtFileSystem files;
    const QStringList failures = tv::programdir::populate(files, tv::programdir::shippedDataDir(), programDir);
    if (!failures.isEmpty()) {
        QMessageBox::critical(nullptr, QStringLiteral("Tournevent"),
                              QStringLiteral("Impossible de préparer le répertoire ") + programDir +
                                  QStringLiteral(" :\n") + failures.join(QLatin1Char('\n')));
        return 1;
    }

    // A portable directory keeps its own settings beside its files.
    auto settings = portable
                        ? std::make_unique<tv::QtSettingsStore>(QDir(programDir).filePath(QStringLiteral("settings")))
                        : std::make_unique<tv::QtSettingsStore>();
    tv::QtDialogs dialogs;
    tv::SystemClock clock;
    tv::QtPrinter printer;
    tv::QtSound sound;

    // The installed country file resolves the callsigns; without it, the prefix files do.
    const std::shared_ptr<const tv::CountryFile> countries =
        tv::CountryFile::load(files, tv::CountryFile::installedPath());

    tv::MainWindow window({*settings, dialogs, clock, files, printer, programDir, countries.get(), &sound});
    dialogs.setParent(&window);
    printer.setDialogParent(&window);
    QObject::connect(&window, &tv::MainWindow::programEnded, &app, [](int code) { QCoreApplication::exit(code); });
    window.show();
    if (!window.start())
        return 1;
    return app.exec();
}
