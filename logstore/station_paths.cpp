#include "logstore/station_paths.h"

#include <QFileInfo>

#include "logstore/callsign_rule.h"
#include "platform/file_system.h"

#include <QDir>
#include <utility>

namespace tv {

StationPaths::StationPaths(QString programDir, QString storedCallsign)
    : m_dir(std::move(programDir)), m_callsign(std::move(storedCallsign))
{
}

bool StationPaths::isSafeCallsign(const QString& storedCallsign)
{
    return callsign::isStoredForm(storedCallsign);
}

QString StationPaths::fileName(const QString& path)
{
    return QFileInfo(path).fileName();
}

QString StationPaths::file(const QString& name) const
{
    return QDir(m_dir).filePath(name);
}

QString StationPaths::stationFile(const QString& suffix) const
{
    return file(m_callsign + suffix);
}

QString StationPaths::existingLog(const FileSystem& files) const
{
    const QString exact = log();
    if (files.exists(exact))
        return exact;
    const QString wanted = m_callsign + QStringLiteral(".log");
    const QStringList names = files.fileNames(m_dir);
    for (const QString& name : names) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return file(name);
    }
    return exact;
}

QString StationPaths::departments(bands::Mode mode) const
{
    return stationFile(mode == bands::Mode::Ssb ? QStringLiteral("_Departement_SSB.txt")
                                                : QStringLiteral("_Departement_CW.txt"));
}

QString StationPaths::prefixes(bands::Mode mode) const
{
    return stationFile(mode == bands::Mode::Ssb ? QStringLiteral("_Prefixe_SSB.txt")
                                                : QStringLiteral("_Prefixe_CW.txt"));
}

namespace {

// The name of each file of the set without its extension, after the callsign.
const QStringList& setStems()
{
    static const QStringList stems{QString(), QStringLiteral("_Departement_SSB"), QStringLiteral("_Departement_CW"),
                                   QStringLiteral("_Prefixe_SSB"), QStringLiteral("_Prefixe_CW")};
    return stems;
}

} // namespace

QStringList StationPaths::fileSet() const
{
    return {log(), departments(bands::Mode::Ssb), departments(bands::Mode::Cw), prefixes(bands::Mode::Ssb),
            prefixes(bands::Mode::Cw)};
}

QStringList StationPaths::copySet(const QString& extension) const
{
    QStringList out;
    for (const QString& stem : setStems())
        out << stationFile(stem + extension);
    return out;
}

} // namespace tv
