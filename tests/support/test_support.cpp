#include "tests/support/test_support.h"

#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include "logstore/cp1252.h"
#include "logstore/log_file.h"
#include "logstore/qso_line.h"
#include "platform/settings_keys.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace tv::test {

TempProgramDir::TempProgramDir()
{
    if (!m_dir.isValid())
        throw std::runtime_error("no temporary directory");
}

QString TempProgramDir::file(const QString& name) const
{
    return QDir(m_dir.path()).filePath(name);
}

void TempProgramDir::write(const QString& name, const QByteArray& bytes) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file");
}

QByteArray TempProgramDir::read(const QString& name) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return f.readAll();
}

bool TempProgramDir::exists(const QString& name) const
{
    return QFileInfo(file(name)).isFile();
}

QMap<QString, QByteArray> TempProgramDir::files() const
{
    QMap<QString, QByteArray> out;
    for (const QString& name : QDir(m_dir.path()).entryList(QDir::Files))
        out.insert(name, read(name));
    return out;
}

void TempProgramDir::installShippedData() const
{
    const QString shipped = QStringLiteral(TOURNEVENT_SHIPPED_DATA_DIR);
    QDirIterator it(shipped, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString to = file(QDir(shipped).relativeFilePath(from));
        QDir().mkpath(QFileInfo(to).absolutePath());
        QFile::copy(from, to);
    }
}

void TempProgramDir::installStationFiles(const QString& callsign) const
{
    for (const char* mode : {"SSB", "CW"}) {
        for (const char* kind : {"Departement", "Prefixe"}) {
            const QString name = QStringLiteral("FXXXX_%1.txt").arg(kind);
            if (!exists(name))
                throw std::runtime_error("no template to install the station from");
            write(QStringLiteral("%1_%2_%3.txt").arg(callsign, kind, mode), read(name));
        }
    }
}

void Fixture::installStation(const QString& callsign, const QString& session)
{
    dir.installShippedData();
    dir.installStationFiles(callsign);
    dir.write(callsign + ".log", "");
    setCurrentStation(settings, callsign, session);
}

void setCurrentStation(FakeSettingsStore& settings, const QString& callsign, const QString& session,
                       const QString& locator)
{
    settings.setValue(keys::kJnm, keys::kSetup, keys::kIndicatifStation, callsign);
    settings.setValue(keys::kJnm, keys::kSetup, keys::kLocatorStation, locator);
    settings.setValue(keys::kJnm, keys::stationSection(callsign), keys::kSession, session);
    settings.setValue(keys::kJnm, keys::stationSection(callsign), keys::kDateJnm, QStringLiteral("21/06/15"));
    settings.clearWrites();
}

QByteArray cp(const char* utf8)
{
    return cp1252::encode(QString::fromUtf8(utf8));
}

QByteArray qso(const char* date, const char* callsign, const char* start, const char* band, const char* mode,
               const char* department, const char* activity, const char* distance)
{
    QsoRecord r;
    r.date = date;
    r.callsign = callsign;
    r.start = start;
    r.end = start;
    r.department = department;
    r.band = band;
    r.mode = mode;
    r.rstSent = "59";
    r.rstReceived = "59";
    r.activity = activity;
    r.distance = distance;
    r.points = distance;
    r.newDepartmentFlag = "0";
    r.newPrefixFlag = "0";
    const auto line = qsoline::build(r);
    if (!line)
        throw std::runtime_error("test QSO does not fit the line");
    return *line;
}

QsoRecord frenchMillRecord()
{
    QsoRecord r;
    r.date = "21/06/15";
    r.callsign = "F5ABC";
    r.start = "09:41";
    r.end = "09:43";
    r.department = "59";
    r.band = "14 Mhz";
    r.mode = "SSB";
    r.rstSent = "59";
    r.rstReceived = "57";
    r.millReference = "DMF 59045";
    r.firstName = cp("RENÉ");
    r.points = "3";
    r.newDepartmentFlag = "1";
    r.newPrefixFlag = "0";
    r.countArea = "1";
    r.activity = "1";
    r.millName = cp("Moulin de Hondschoote");
    return r;
}

QList<QByteArray> numberedLog(int count, const char* stem)
{
    QList<QByteArray> lines;
    for (int i = 1; i <= count; ++i)
        lines << qso("21/06/15", QByteArray(stem + QByteArray::number(i % 10000)).constData(), "10:00", "14 Mhz",
                     "SSB");
    return lines;
}

QByteArray crlf(std::initializer_list<QByteArray> lines)
{
    return LogFile::joinLines(QList<QByteArray>(lines));
}

QByteArray put(QByteArray line, int column, const QByteArray& text)
{
    return line.replace(column - 1, text.size(), text);
}

CliRun runCli(const TempProgramDir& dir, const QStringList& arguments)
{
    QProcess process;
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            loop.quit();
    });
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    process.setWorkingDirectory(dir.path());
    process.start(QStringLiteral(TOURNEVENT_CLI), QStringList{"--dir", dir.path()} + arguments);
    loop.exec();
    if (process.error() == QProcess::FailedToStart)
        return {};
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

std::optional<QString> pdfToText(const QString& option, const QString& pdf)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return std::nullopt;
    QProcess process;
    process.start(tool, {option, pdf, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace tv::test
