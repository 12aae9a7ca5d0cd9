#include "station/program_directory.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStandardPaths>

namespace tv::programdir {

QString shippedDataDir(const QString& programFolder)
{
    const QStringList candidates = {
        programFolder + QStringLiteral("/" TOURNEVENT_DATA_FROM_PROGRAM),
        programFolder + QStringLiteral("/data"),
        QStringLiteral(TOURNEVENT_SHIPPED_DATA_DIR),
    };
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate + QStringLiteral("/FXXXX.log")).isFile())
            return QDir(candidate).canonicalPath();
    }
    return QStringLiteral(TOURNEVENT_SHIPPED_DATA_DIR);
}

QString shippedDataDir()
{
    return shippedDataDir(QCoreApplication::applicationDirPath());
}

QString defaultDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString fromArguments(const QStringList& arguments)
{
    const qsizetype at = arguments.indexOf(QStringLiteral("--dir"));
    if (at >= 0 && at + 1 < arguments.size())
        return QDir(arguments[at + 1]).absolutePath();
    for (const QString& argument : arguments) {
        if (argument.startsWith(QLatin1String("--dir=")))
            return QDir(argument.mid(6)).absolutePath();
    }
    return defaultDir();
}

QStringList populate(FileSystem& files, const QString& shippedDir, const QString& targetDir)
{
    QStringList failures;
    // A program installed without its files would start on no template at all.
    if (!QFileInfo(QDir(shippedDir).filePath(QStringLiteral("FXXXX.log"))).isFile())
        return {QStringLiteral("fichiers livrés avec le programme introuvables (") + shippedDir + QLatin1Char(')')};
    const QDir source(shippedDir);
    QDirIterator it(shippedDir, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString relative = source.relativeFilePath(from);
        const QString to = QDir(targetDir).filePath(relative);
        if (files.exists(to)) {
            // The manual is the program's own: a newer one replaces the copy.
            if (!relative.startsWith(QLatin1String("aide/")) || files.read(to).bytes == files.read(from).bytes)
                continue;
        }
        if (!QDir().mkpath(QFileInfo(to).absolutePath())) {
            failures << relative + QStringLiteral(" : le dossier ne peut pas être créé");
            continue;
        }
        const FileResult copied = files.copy(from, to);
        if (!copied.ok())
            failures << relative + QStringLiteral(" : ") + copied.reason() + QStringLiteral(" (erreur N° ") +
                            QString::number(copied.errorNumber) + QLatin1Char(')');
    }
    return failures;
}

} // namespace tv::programdir
