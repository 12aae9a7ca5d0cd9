#include "reports/log_listing.h"

#include "logstore/cp1252.h"
#include "logstore/log_columns.h"
#include "logstore/log_file.h"
#include "logstore/qso_line.h"
#include "logstore/station_paths.h"
#include "reports/report_files.h"
#include "reports/report_messages.h"
#include "reports/report_text.h"

namespace tv::listing {
namespace {

using logcol::Column;
using reporttext::spaces;

// The pieces of a listing line, in order; each takes the blanks that follow its field.
constexpr Column kPieces[] = {
    {logcol::kDate.first, 10},       {logcol::kCallsign.first, 12}, {logcol::kDepartment.first, 4},
    {logcol::kStart.first, 7},       {logcol::kBand.first, 10},     {logcol::kMode.first, 5},
    {logcol::kRstReceived.first, 8}, {logcol::kRstSent.first, 8},   {logcol::kMillReference.first, 18},
};

QByteArray title(int indent, const QString& storedCallsign, const QString& eventDate)
{
    return spaces(indent) + "Journee Nationale des Moulins " + reporttext::fieldBytes(eventDate) + " Station " +
           reporttext::fieldBytes(storedCallsign);
}

QByteArray fileHeader()
{
    return cp1252::encode(
        QStringLiteral("        N°   Date   Indicatif    Dpt  QTR   Bande    Mode RstR    RstE     N° Moulin"));
}

} // namespace

QByteArray line(int rowNumber, const QByteArray& logLine)
{
    QByteArray out = QByteArray::number(rowNumber).rightJustified(5, ' ') + ' ';
    for (const Column& piece : kPieces)
        out += qsoline::rawField(logLine, piece).leftJustified(piece.width, ' ');
    return out;
}

QList<QByteArray> windowLines(const QString& storedCallsign, const QString& eventDate,
                              const QList<QByteArray>& logLines)
{
    QList<QByteArray> out;
    out.reserve(logLines.size() + 4);
    out << title(12, storedCallsign, eventDate) << " "
        << "   No   Date   Indicatif    Dpt  QTR   Bande    Mode RstR    RstE     No Moulin"
        << " ";
    int row = 0;
    for (const QByteArray& logLine : logLines)
        out << line(++row, logLine);
    return out;
}

QList<QByteArray> fileLines(const QString& storedCallsign, const QString& eventDate, const QList<QByteArray>& logLines)
{
    QList<QByteArray> out;
    out.reserve(logLines.size() + 7);
    out << title(15, storedCallsign, eventDate) << "" << fileHeader() << "";
    int row = 0;
    for (const QByteArray& logLine : logLines)
        out << spaces(5) + line(++row, logLine);
    out << "" << spaces(30) + reporttext::signOff() << "";
    return out;
}

QList<QByteArray> printLines(const QString& storedCallsign, const QString& eventDate, const QList<QByteArray>& logLines)
{
    QList<QByteArray> out;
    out.reserve(logLines.size() + 8);
    out << " " << title(15, storedCallsign, eventDate) << " " << fileHeader() << " ";
    int row = 0;
    for (const QByteArray& logLine : logLines)
        out << spaces(5) + line(++row, logLine);
    out << " " << spaces(30) + reporttext::signOff();
    return out;
}

SaveOutcome save(FileSystem& files, const StationPaths& paths, const QString& eventDate, bool hfSession,
                 const QList<QByteArray>& logLines)
{
    SaveOutcome outcome;
    outcome.fileName = reportfiles::logListing(paths.callsign(), eventDate, hfSession);
    if (outcome.fileName.isEmpty()) {
        outcome.result = FileResult::failure(FileResult::kAccessError, QStringLiteral("event date"));
        outcome.message = reportmessages::badEventDate(eventDate);
        return outcome;
    }
    const QList<QByteArray> lines = fileLines(paths.callsign(), eventDate, logLines);
    outcome.result = files.replace(paths.file(outcome.fileName), LogFile::joinLines(lines));
    if (!outcome.result.ok()) {
        outcome.message = reportmessages::notWritten(outcome.fileName, outcome.result);
        return outcome;
    }
    outcome.message = QStringLiteral("Le Log de ") + paths.callsign() +
                      QStringLiteral(" a été sauvegardé sous le nom : ") + outcome.fileName;
    return outcome;
}

} // namespace tv::listing
