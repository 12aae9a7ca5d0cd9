#include "reports/adif_import.h"

#include "geo/clock_text.h"
#include "geo/locator.h"
#include "logstore/bands.h"
#include "logstore/cp1252.h"
#include "logstore/fixed_text.h"
#include "logstore/qso_line.h"
#include "platform/dialogs.h"
#include "platform/services.h"
#include "reports/adif_export.h"
#include "reports/report_messages.h"
#include "station/logbook.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>

namespace tv::adifimport {
namespace {

// Windows-1252 bytes of a value: UTF-8 when it is valid UTF-8, else taken as it is.
QByteArray storedBytes(const QByteArray& value)
{
    if (cp1252::isAscii(value))
        return value;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(value);
    return utf8.hasError() ? value : cp1252::encode(text);
}

QString quoted(const QByteArray& bytes)
{
    return QStringLiteral("« ") + cp1252::decode(bytes) + QStringLiteral(" »");
}

// Where the records start: after the header's <eoh> when the file does not start with "<".
qsizetype recordsStart(const QByteArray& bytes)
{
    if (bytes.startsWith('<'))
        return 0;
    const qsizetype eoh = bytes.toLower().indexOf("<eoh>");
    return eoh < 0 ? 0 : eoh + 5;
}

} // namespace

Parsed parse(const QByteArray& bytes)
{
    Parsed parsed;
    Record current;
    qsizetype pos = recordsStart(bytes);
    while (true) {
        const qsizetype open = bytes.indexOf('<', pos);
        if (open < 0)
            break;
        const qsizetype close = bytes.indexOf('>', open);
        if (close < 0) {
            parsed.error = QStringLiteral("balise non fermée à l'octet %1").arg(open + 1);
            return parsed;
        }
        const QList<QByteArray> parts = bytes.mid(open + 1, close - open - 1).split(':');
        const QByteArray name = parts[0].trimmed().toLower();
        pos = close + 1;
        if (parts.size() == 1) {
            if (name == "eor" && !current.isEmpty())
                parsed.records << current;
            if (name == "eor" || name == "eoh")
                current.clear();
            continue;
        }
        bool number = false;
        const qlonglong length = parts[1].trimmed().toLongLong(&number);
        if (!number || length < 0) {
            parsed.error = QStringLiteral("la longueur %1 du champ %2 n'est pas un nombre (octet %3)")
                               .arg(quoted(parts[1]), quoted(name))
                               .arg(open + 1);
            return parsed;
        }
        if (length > bytes.size() - pos) {
            parsed.error = QStringLiteral("le champ %1 annonce %2 caractères, le fichier finit avant (octet %3)")
                               .arg(quoted(name))
                               .arg(length)
                               .arg(open + 1);
            return parsed;
        }
        if (!current.contains(name)) {
            const QByteArray value = bytes.mid(pos, length);
            current.insert(name, name.startsWith("app_tournevent_") ? value : storedBytes(value));
        }
        pos += length;
    }
    parsed.unterminated = !current.isEmpty();
    return parsed;
}

namespace {

QByteArray value(const Record& record, const char* name)
{
    return record.value(QByteArray(name)).trimmed();
}

// YYYYMMDD as dd/mm/yy, for years 1950 to 2049 and real dates.
std::optional<QByteArray> logDate(const QByteArray& adif)
{
    static const QRegularExpression form(QStringLiteral("^(19[5-9]\\d|20[0-4]\\d)(\\d\\d)(\\d\\d)$"));
    const QRegularExpressionMatch m = form.match(QString::fromLatin1(adif));
    if (!m.hasMatch())
        return std::nullopt;
    const QString date = m.captured(3) + '/' + m.captured(2) + '/' + m.captured(1).right(2);
    if (!clocktext::isValidDate(date))
        return std::nullopt;
    return date.toLatin1();
}

// HHMM or HHMMSS as hh:mm.
std::optional<QByteArray> logTime(const QByteArray& adif)
{
    if ((adif.size() != 4 && adif.size() != 6) || !fixedtext::isDigits(adif))
        return std::nullopt;
    const QByteArray time = adif.left(2) + ':' + adif.mid(2, 2);
    if (!clocktext::isValidTime(QString::fromLatin1(time)))
        return std::nullopt;
    return time;
}

const bands::Band* bandOf(const Record& record)
{
    const QByteArray name = value(record, "band").toLower();
    for (const bands::Band& band : bands::table()) {
        if (!name.isEmpty() && band.adif == name)
            return &band;
    }
    bool number = false;
    const double mhz = value(record, "freq").toDouble(&number);
    if (!number || mhz <= 0)
        return nullptr;
    return bands::ofFrequency(quint64(std::llround(mhz * 1e6)));
}

std::optional<QByteArray> logMode(const QByteArray& adif)
{
    const QByteArray mode = adif.toUpper();
    if (mode == "SSB" || mode == "USB" || mode == "LSB")
        return bands::kSsb;
    if (mode == "CW")
        return bands::kCw;
    return std::nullopt;
}

// "59", "2a": a French department as the log writes it; nothing for any other text.
std::optional<QByteArray> department(const QByteArray& text)
{
    const QByteArray lower = text.toLower();
    if (lower == "2a" || lower == "2b")
        return lower;
    bool number = false;
    const int n = text.toInt(&number);
    if (!number || text.size() != 2 || n < 1 || n > 95)
        return std::nullopt;
    return text;
}

// The department, the mill reference and the mill name of the comment this program's export
// writes: "Dpt:" + department + two spaces + reference + one space + name.
bool fromOwnComment(const QByteArray& comment, QsoRecord& r)
{
    static const QRegularExpression form(QStringLiteral("^Dpt:(\\S{0,3})(?:  (.*))?$"),
                                         QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression reference(QStringLiteral("^([A-Za-z]+ \\d+|\\S+)(?: (.*))?$"),
                                              QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = form.match(cp1252::decode(comment));
    if (!m.hasMatch())
        return false;
    r.department = m.captured(1).toLatin1();
    const QString rest = m.captured(2);
    if (rest.startsWith(QLatin1Char(' '))) { // no reference
        r.millName = cp1252::encode(rest.trimmed());
        return true;
    }
    const QRegularExpressionMatch ref = reference.match(rest);
    r.millReference = cp1252::encode(ref.captured(1));
    r.millName = cp1252::encode(ref.captured(2).trimmed());
    return true;
}

void fromStandardFields(const Record& record, QsoRecord& r)
{
    r.department = department(value(record, "state")).value_or(QByteArray());
    const QByteArray sig = value(record, "sig");
    const QByteArray info = value(record, "sig_info");
    r.millReference = fixedtext::isDigits(info) && !sig.isEmpty() ? sig.toUpper() + ' ' + info : info;
}

// Points, distance and azimuth as the entry sets them.
void setPoints(const bands::Band& band, const QString& station, QsoRecord& r)
{
    if (band.points != bands::kDistancePoints) {
        r.points = QByteArray::number(band.points);
        return;
    }
    const QString other = QString::fromLatin1(r.locator);
    r.azimuth = "?";
    if (other.isEmpty() || !locator::isValidLocator(station)) {
        r.distance = "?";
    } else if (other == station) {
        r.distance = "0";
    } else {
        r.azimuth = QByteArray::number(locator::azimuthDegrees(station, other));
        r.distance = locator::distanceText(station, other).toLatin1();
    }
    r.points = r.distance;
}

bool isCallsign(const QByteArray& call)
{
    return !call.isEmpty() && call.size() <= logcol::kCallsign.width &&
           std::all_of(call.begin(), call.end(),
                       [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/'; });
}

// The required fields; false with the reason when one is missing or unreadable.
bool requiredFields(const Record& record, QsoRecord& r, const bands::Band*& band, QString* reason)
{
    r.callsign = value(record, "call").toUpper();
    const std::optional<QByteArray> date = logDate(value(record, "qso_date"));
    const std::optional<QByteArray> start = logTime(value(record, "time_on"));
    band = bandOf(record);
    const std::optional<QByteArray> mode = logMode(value(record, "mode"));
    if (!isCallsign(r.callsign))
        *reason = QStringLiteral("indicatif %1 invalide").arg(quoted(r.callsign));
    else if (!date)
        *reason = QStringLiteral("date %1 invalide").arg(quoted(value(record, "qso_date")));
    else if (!start)
        *reason = QStringLiteral("heure %1 invalide").arg(quoted(value(record, "time_on")));
    else if (!band)
        *reason = QStringLiteral("bande inconnue (BAND %1, FREQ %2)")
                      .arg(quoted(value(record, "band")), quoted(value(record, "freq")));
    else if (!mode)
        *reason = QStringLiteral("mode %1 : le log ne tient que SSB et CW").arg(quoted(value(record, "mode")));
    else {
        r.date = *date;
        r.start = *start;
        r.band = band->text;
        r.mode = *mode;
        return true;
    }
    return false;
}

// The Windows-1252 text of the program's own field when it is the accented form of the ASCII
// text the standard field gave; that text otherwise.
QByteArray ownText(const Record& record, const char* field, const QByteArray& ascii)
{
    const QByteArray own = value(record, field);
    return !own.isEmpty() && cp1252::toAscii(own) == cp1252::toAscii(ascii) ? own : ascii;
}

// The new-marks flags as the exporting log had them ("10", "0N"); blank when absent or unknown.
void setMarks(const QByteArray& marks, QsoRecord& r)
{
    const bool known = marks.size() == 2 && (marks[0] == '0' || marks[0] == '1') &&
                       (marks[1] == '0' || marks[1] == '1' || marks[1] == logcol::kEntityRefused);
    r.newDepartmentFlag = known ? marks.left(1) : " ";
    r.newPrefixFlag = known ? marks.right(1) : " ";
}

} // namespace

std::optional<QByteArray> logLine(const Record& record, const QString& stationLocator, QString* reason)
{
    QsoRecord r;
    const bands::Band* band = nullptr;
    if (!requiredFields(record, r, band, reason))
        return std::nullopt;
    r.end = logTime(value(record, "time_off")).value_or(QByteArray());
    r.rstSent = value(record, "rst_sent");
    r.rstReceived = value(record, "rst_rcvd");
    if (!fromOwnComment(value(record, "comment"), r))
        fromStandardFields(record, r);
    const QByteArray grid = value(record, "gridsquare").toUpper().left(6);
    if (!band->hf && locator::isValidLocator(QString::fromLatin1(grid)))
        r.locator = grid;
    r.firstName = cp1252::encode(cp1252::upperCase(cp1252::decode(value(record, "name")))).left(15).trimmed();
    r.firstName = ownText(record, adif::kFirstNameField, r.firstName);
    r.millName = ownText(record, adif::kMillNameField, r.millName.left(logcol::kMillName.width).trimmed());
    r.activity = r.millReference.isEmpty() ? "0" : "1";
    setMarks(value(record, adif::kMarksField), r);
    setPoints(*band, stationLocator, r);
    const logcol::Column* tooLong = nullptr;
    const std::optional<QByteArray> line = qsoline::build(r, &tooLong);
    if (!line)
        *reason = QStringLiteral("un champ est trop long pour les colonnes %1 à %2 du log")
                      .arg(tooLong->first)
                      .arg(tooLong->last());
    return line;
}

namespace {

QByteArray duplicateKey(const QByteArray& line)
{
    QByteArray key;
    for (const logcol::Column& c : {logcol::kCallsign, logcol::kBand, logcol::kMode, logcol::kDate, logcol::kStart})
        key += qsoline::field(line, c) + '\t';
    return key;
}

// "F5ABC 21/06/15 09:41 14 Mhz SSB".
QString describe(const QByteArray& line)
{
    QStringList parts;
    for (const logcol::Column& c : {logcol::kCallsign, logcol::kDate, logcol::kStart, logcol::kBand, logcol::kMode})
        parts << cp1252::decode(qsoline::field(line, c));
    return parts.join(QLatin1Char(' '));
}

} // namespace

int Plan::count(Fate fate) const
{
    return int(std::count_if(entries.begin(), entries.end(), [fate](const Entry& e) { return e.fate == fate; }));
}

QList<QByteArray> Plan::linesToAdd() const
{
    QList<QByteArray> out;
    for (const Entry& e : entries) {
        if (e.fate == Fate::Added)
            out << e.line;
    }
    return out;
}

Plan plan(const QByteArray& fileBytes, const QList<QByteArray>& logLines, const QString& stationLocator)
{
    Plan result;
    const Parsed parsed = parse(fileBytes);
    result.error = parsed.error;
    result.unterminated = parsed.unterminated;
    if (!parsed.error.isEmpty())
        return result;
    QSet<QByteArray> held;
    for (const QByteArray& line : logLines)
        held.insert(duplicateKey(line));
    for (int i = 0; i < parsed.records.size(); ++i) {
        QString reason;
        const std::optional<QByteArray> line = logLine(parsed.records[i], stationLocator, &reason);
        if (!line) {
            result.entries << Entry{Fate::Refused, i + 1, {}, reason};
            continue;
        }
        const QByteArray key = duplicateKey(*line);
        const Fate fate = held.contains(key) ? Fate::Duplicate : Fate::Added;
        held.insert(key);
        result.entries << Entry{fate, i + 1, *line, {}};
    }
    return result;
}

QString summary(const Plan& plan)
{
    return QStringLiteral("%1 QSO à ajouter, %2 déjà dans le log, %3 refusé(s)")
        .arg(plan.count(Fate::Added))
        .arg(plan.count(Fate::Duplicate))
        .arg(plan.count(Fate::Refused));
}

QStringList details(const Plan& plan)
{
    QStringList out;
    for (const Entry& e : plan.entries) {
        if (e.fate == Fate::Added)
            out << QStringLiteral("Ajouté : ") + describe(e.line);
        else if (e.fate == Fate::Duplicate)
            out << QStringLiteral("Déjà dans le log : ") + describe(e.line);
        else
            out << QStringLiteral("Refusé (enregistrement %1) : ").arg(e.number) + e.reason;
    }
    if (plan.unterminated)
        out << QStringLiteral("La fin du fichier n'a pas de <eor> : ses derniers champs sont ignorés.");
    return out;
}

int run(const Services& services, Logbook& logbook, const QString& stationLocator)
{
    const QString path = services.dialogs.chooseFile(QStringLiteral("Fichier ADIF à importer (*.adi)"));
    if (path.isEmpty())
        return 0;
    const QString name = QFileInfo(path).fileName();
    const FileRead read = services.files.read(path);
    if (!read.result.ok()) {
        services.dialogs.message(reportmessages::notReadable(name, read.result));
        return 0;
    }
    const Plan planned = plan(read.bytes, logbook.lines(), stationLocator);
    if (!planned.error.isEmpty()) {
        services.dialogs.message(QStringLiteral("Le fichier ") + name + QStringLiteral(" n'est pas lisible : ") +
                                 planned.error + QStringLiteral(". Rien n'a été importé."));
        return 0;
    }
    QStringList shown = details(planned);
    constexpr int kShownLines = 30;
    if (shown.size() > kShownLines) {
        const qsizetype more = shown.size() - kShownLines;
        shown = shown.mid(0, kShownLines);
        shown << QStringLiteral("… et %1 autre(s)").arg(more);
    }
    const QString text = name + QStringLiteral(" : ") + summary(planned) + QStringLiteral("\r\n\r\n") +
                         shown.join(QStringLiteral("\r\n"));
    const QList<QByteArray> lines = planned.linesToAdd();
    if (lines.isEmpty()) {
        services.dialogs.message(text + QStringLiteral("\r\n\r\nAucun QSO à ajouter."));
        return 0;
    }
    if (!services.dialogs.askYesNo(text + QStringLiteral("\r\n\r\nAjouter ces QSO au log ?")))
        return 0;
    const QsoWriteOutcome outcome = logbook.merge(lines);
    if (!outcome.logWritten()) {
        services.dialogs.message(QStringLiteral("Le log n'a pas pu être écrit : ") + Logbook::errorText(outcome.log) +
                                 QStringLiteral(". Rien n'a été importé."));
        return 0;
    }
    QString done = QStringLiteral("%1 QSO ajouté(s) au log.").arg(lines.size());
    if (!outcome.failures.isEmpty())
        done += QStringLiteral("\r\nFichiers non reconstruits : ") + outcome.failures.join(QStringLiteral(", "));
    services.dialogs.message(done);
    return int(lines.size());
}

} // namespace tv::adifimport
