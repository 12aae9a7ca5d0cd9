#include "reports/adif_export.h"

#include "geo/clock_text.h"
#include "logstore/bands.h"
#include "logstore/cp1252.h"
#include "logstore/fixed_text.h"
#include "logstore/log_columns.h"
#include "logstore/log_file.h"
#include "logstore/qso_line.h"
#include "logstore/station_paths.h"
#include "platform/dialogs.h"
#include "platform/version.h"
#include "reports/report_files.h"
#include "station/station_session.h"

#include <QDir>

namespace tv::adif {
namespace {

using logcol::Column;

// The wider pieces of the line that the export trims: each field with the blanks after it.
QByteArray piece(const QByteArray& line, Column column, int width)
{
    return qsoline::field(line, Column{column.first, width});
}

#ifdef Q_OS_WIN
constexpr bool kFloppyDrive = true;
#else
constexpr bool kFloppyDrive = false;
#endif

// The fields after the comment, each only when the line has a value for it: the locator, the
// distance in km, the first name; the two new-marks flags; and the Windows-1252 text of the
// first name and the mill name when it is not plain ASCII.
QByteArray extraFields(const QByteArray& line, const QByteArray& millName)
{
    QByteArray out;
    const QByteArray locator = qsoline::field(line, logcol::kLocator);
    const QByteArray distance = qsoline::field(line, logcol::kDistance);
    const QByteArray firstName = qsoline::field(line, logcol::kFirstName);
    const QByteArray marks =
        qsoline::rawField(line, logcol::kNewDepartmentFlag) + qsoline::rawField(line, logcol::kNewPrefixFlag);
    if (!locator.isEmpty())
        out += specifier("gridsquare", locator);
    if (fixedtext::isDigits(distance))
        out += specifier("distance", distance);
    if (!firstName.isEmpty())
        out += specifier("name", firstName);
    if (marks.trimmed().size() == 2)
        out += specifier(kMarksField, marks);
    if (!cp1252::isAscii(firstName))
        out += ownSpecifier(kFirstNameField, firstName);
    if (!cp1252::isAscii(millName))
        out += ownSpecifier(kMillNameField, millName);
    return out;
}

} // namespace

QByteArray ownSpecifier(const QByteArray& tag, const QByteArray& value)
{
    return '<' + tag + ':' + QByteArray::number(value.size()) + '>' + value;
}

std::optional<QByteArray> band(const QByteArray& logBand)
{
    if (const bands::Band* found = bands::find(logBand))
        return found->adif;
    return std::nullopt;
}

QByteArray specifier(const QByteArray& tag, const QByteArray& value)
{
    const QByteArray ascii = cp1252::toAscii(value);
    return '<' + tag + ':' + QByteArray::number(ascii.size()) + '>' + ascii;
}

QByteArray date(const QByteArray& ddmmyy)
{
    if (!clocktext::isValidDate(QString::fromLatin1(ddmmyy)))
        return {};
    return "20" + ddmmyy.mid(6, 2) + ddmmyy.mid(3, 2) + ddmmyy.mid(0, 2);
}

QByteArray time(const QByteArray& hhmm)
{
    if (!clocktext::isValidTime(QString::fromLatin1(hhmm)))
        return {};
    return hhmm.left(2) + hhmm.right(2);
}

QList<QByteArray> headerLines(const QString& storedCallsign)
{
    return {
        "Exportation du carnet de trafic J.N.M. de " + cp1252::encode(storedCallsign) + " au format ADIF",
        "",
        cp1252::encode(QStringLiteral("Fichier créé par le logiciel Tournevent Rev") + revisionText()) + " " +
            specifier("adif_ver", "3.1.4") + " " + specifier("programid", "Tournevent"),
        "",
        "",
        "<eoh>",
    };
}

QByteArray record(const QByteArray& line)
{
    QByteArray out;
    out += specifier("call", piece(line, logcol::kCallsign, 12));
    if (const auto adifBand = band(piece(line, logcol::kBand, 10)))
        out += specifier("band", *adifBand);
    out += specifier("mode", piece(line, logcol::kMode, 5));
    out += specifier("qso_date", date(piece(line, logcol::kDate, 10)));
    out += specifier("time_on", time(piece(line, logcol::kStart, 7)));
    out += specifier("time_off", time(piece(line, logcol::kEnd, 7)));
    out += specifier("rst_sent", piece(line, logcol::kRstSent, 8));
    out += specifier("rst_rcvd", piece(line, logcol::kRstReceived, 8));
    const QByteArray millName = piece(line, logcol::kMillName, 30);
    out += specifier("comment", "Dpt:" + piece(line, logcol::kDepartment, 4) + "  " +
                                    piece(line, logcol::kMillReference, 20) + ' ' + millName);
    out += extraFields(line, millName);
    out += "<eor>";
    return out;
}

QByteArray file(const QString& storedCallsign, const QList<QByteArray>& logLines, const Progress& progress)
{
    constexpr int kStep = 1024;
    const int total = int(logLines.size());
    QList<QByteArray> lines = headerLines(storedCallsign);
    lines.reserve(lines.size() + total);
    for (int i = 0; i < total; ++i) {
        if (progress && i % kStep == 0)
            progress(i, total);
        lines << record(logLines[i]);
    }
    if (progress)
        progress(total, total);
    return LogFile::joinLines(lines);
}

FileResult writeFile(FileSystem& files, const StationPaths& paths, bool hfSession, const QList<QByteArray>& logLines,
                     const Progress& progress)
{
    return files.replace(paths.file(reportfiles::adif(paths.callsign(), hfSession)),
                         file(paths.callsign(), logLines, progress));
}

QString errorMessage(const FileResult& result, const QString& fileName)
{
    QString text = QStringLiteral("Erreur ") + QString::number(result.errorNumber);
    if (result.errorNumber == FileResult::kDeviceError)
        text += QStringLiteral(" pas de disuette dans le lecteur");
    else if (result.errorNumber == FileResult::kPermissionDenied)
        text += QStringLiteral(" Disquette protegée");
    return text + QStringLiteral("\r\nLe fichier ") + fileName + QStringLiteral(" : ") + result.reason() +
           QStringLiteral(", l'exportation s'est arrêtée là.");
}

FileResult run(const Services& services, const QString& storedCallsign)
{
    const StationPaths paths(services.programDir, storedCallsign);
    const bool hfSession = reportfiles::isHfSession(services.settings, storedCallsign);
    const QString adifName = reportfiles::adif(storedCallsign, hfSession);
    const QString logName = reportfiles::logCopy(storedCallsign, hfSession);
    const LogFile::Loaded log = LogFile(services.files, paths.existingLog(services.files)).load();
    const auto progress = [&services, &adifName](int done, int total) {
        services.dialogs.progress(QStringLiteral("Écriture de ") + adifName + QStringLiteral("…"), done, total);
    };
    FileResult result = log.result.ok() ? writeFile(services.files, paths, hfSession, log.lines, progress) : log.result;
    if (!result.ok()) {
        services.dialogs.message(errorMessage(
            result, log.result.ok() ? adifName : StationPaths::fileName(paths.existingLog(services.files))));
        return result;
    }
    if (!services.dialogs.askYesNo(QStringLiteral("Sauvegarder également sur disquette ?")))
        return result;

    QString target;
    if (kFloppyDrive) {
        services.dialogs.message(QStringLiteral("Inserer une disquette formatée dans le lecteur A"));
        target = QStringLiteral("A:/");
    } else {
        target = services.dialogs.chooseFolder(QStringLiteral("Dossier où copier ") + adifName +
                                               QStringLiteral(" et ") + logName);
        if (target.isEmpty())
            return result;
    }

    const QDir targetDir(target);
    QString copied = adifName;
    result = services.files.copy(paths.file(adifName), targetDir.filePath(adifName));
    if (result.ok()) {
        copied = logName;
        result = services.files.copy(paths.existingLog(services.files), targetDir.filePath(logName));
    }
    if (!result.ok())
        services.dialogs.message(errorMessage(result, QDir::toNativeSeparators(targetDir.filePath(copied))));
    return result;
}

} // namespace tv::adif
