#include "reports/edi_export.h"

#include "geo/clock_text.h"
#include "geo/locator.h"
#include "logstore/bands.h"
#include "logstore/cp1252.h"
#include "logstore/entity_resolver.h"
#include "logstore/fixed_text.h"
#include "logstore/log_file.h"
#include "logstore/qso_line.h"
#include "logstore/station_paths.h"
#include "platform/dialogs.h"
#include "platform/services.h"
#include "platform/settings_keys.h"
#include "platform/settings_store.h"
#include "reports/report_files.h"
#include "reports/report_messages.h"
#include "station/logbook.h"

#include <QDir>
#include <QSet>

#include <cmath>

namespace tv::edi {
namespace {

struct EdiBand {
    const char* log;  // the log's band text
    const char* edi;  // PBand
    const char* name; // in the file name
};
constexpr EdiBand kBands[] = {
    {"50 Mhz", "50 MHz", "50"},     {"144 Mhz", "144 MHz", "144"},  {"432 Mhz", "432 MHz", "432"},
    {"1.3 Ghz", "1,3 GHz", "1296"}, {"2.3 Ghz", "2,3 GHz", "2320"}, {"5.7 Ghz", "5,7 GHz", "5760"},
    {"10 Ghz", "10 GHz", "10G"},    {"24 Ghz", "24 GHz", "24G"},
};

const EdiBand* ediBand(const QByteArray& band)
{
    for (const EdiBand& b : kBands) {
        if (band == b.log)
            return &b;
    }
    return nullptr;
}

// Free text for a header value: ASCII, and no ";" (the field separator).
QByteArray text(const QString& value)
{
    return cp1252::toAscii(cp1252::encode(value.trimmed())).replace(';', ',');
}

// dd/mm/yy as yyyymmdd.
QByteArray fullDate(const QByteArray& ddmmyy)
{
    const int yy = ddmmyy.mid(6, 2).toInt();
    return QByteArray(yy >= 50 ? "19" : "20") + ddmmyy.mid(6, 2) + ddmmyy.mid(3, 2) + ddmmyy.left(2);
}

bool isDigits(const QByteArray& s, int low, int high)
{
    return s.size() >= low && s.size() <= high && fixedtext::isDigits(s);
}

// The report and the serial number of an RST field: "59", "599", "59 001".
std::pair<QByteArray, QByteArray> reportAndNumber(const QByteArray& field)
{
    const QList<QByteArray> parts = field.simplified().split(' ');
    const QByteArray report = isDigits(parts.value(0), 2, 3) ? parts.value(0) : QByteArray();
    const QByteArray number = parts.size() == 2 && isDigits(parts[1], 3, 4) ? parts[1] : QByteArray();
    return {report, number};
}

// A locator as contest managers take it: fields "A"-"R", sub-square "A"-"X".
bool isContestLocator(const QString& text)
{
    return locator::isValidLocator(text) && text[0] <= QLatin1Char('R') && text[1] <= QLatin1Char('R') &&
           text[4] <= QLatin1Char('X') && text[5] <= QLatin1Char('X');
}

// The QSO points of VHF contests: 111.2 km a degree of the great circle between the centres of
// the two squares, truncated, plus 1.
int contestPoints(const QString& station, const QString& other)
{
    const double degrees = locator::centralAngle(station, other).value_or(0) * locator::kRadiansToDegrees;
    return int(std::floor(111.2 * degrees)) + 1;
}

QByteArray modeCode(const QByteArray& mode)
{
    if (mode == bands::kSsb)
        return "1";
    if (mode == bands::kCw)
        return "2";
    return "0";
}

struct Claims {
    int qsos = 0;
    qint64 points = 0;
    int squares = 0, exchanges = 0, entities = 0;
    int bestKm = -1;
    QByteArray best; // call;WWL;km
};

// The marks and points of the records, in order.
class Records {
public:
    Records(const QString& stationLocator, const EntityResolver* entities)
        : m_station(stationLocator), m_entities(entities)
    {
    }

    QByteArray record(const QByteArray& line)
    {
        const QsoRecord r = qsoline::parse(line);
        const QByteArray call = cp1252::toAscii(r.callsign);
        const bool duplicate = m_worked.contains(call + '\t' + r.mode);
        m_worked.insert(call + '\t' + r.mode);
        const bool located = isContestLocator(QString::fromLatin1(r.locator)) && isContestLocator(m_station);
        const QByteArray wwl = located ? r.locator : QByteArray();
        const int km = located && !duplicate ? contestPoints(m_station, QString::fromLatin1(r.locator)) : 0;
        const QByteArray exchange = cp1252::toAscii(r.department).toUpper();
        QByteArray newExchange, newSquare, newEntity;
        if (!duplicate) {
            ++m_claims.qsos;
            m_claims.points += km;
            newExchange = firstOf(m_departments, exchange, m_claims.exchanges);
            newSquare = firstOf(m_squares, wwl.left(4), m_claims.squares);
            newEntity = firstOf(m_entityCodes, entityCode(r.callsign), m_claims.entities);
            if (!wwl.isEmpty() && km > m_claims.bestKm) {
                m_claims.bestKm = km;
                m_claims.best = call + ';' + wwl + ';' + QByteArray::number(km);
            }
        }
        const auto [sent, sentNumber] = reportAndNumber(r.rstSent);
        const auto [received, receivedNumber] = reportAndNumber(r.rstReceived);
        const QList<QByteArray> fields = {
            r.date.mid(6, 2) + r.date.mid(3, 2) + r.date.left(2),
            r.start.left(2) + r.start.mid(3, 2),
            call,
            modeCode(r.mode),
            sent,
            sentNumber,
            received,
            receivedNumber,
            exchange,
            wwl,
            QByteArray::number(km),
            newExchange,
            newSquare,
            newEntity,
            duplicate ? "D" : "",
        };
        return fields.join(';');
    }
    const Claims& claims() const { return m_claims; }

private:
    static QByteArray firstOf(QSet<QByteArray>& seen, const QByteArray& key, int& count)
    {
        if (key.isEmpty() || seen.contains(key))
            return {};
        seen.insert(key);
        ++count;
        return "N";
    }
    QByteArray entityCode(const QByteArray& callsign) const
    {
        if (!m_entities)
            return {};
        const EntityResolver::Result found = m_entities->resolve(callsign);
        const bool counts = found.kind == EntityResolver::Kind::Entity || found.kind == EntityResolver::Kind::NoLine;
        return counts ? found.code : QByteArray();
    }

    QString m_station;
    const EntityResolver* m_entities;
    QSet<QByteArray> m_worked, m_departments, m_squares, m_entityCodes;
    Claims m_claims;
};

QList<QByteArray> header(const Station& s, const EdiBand& band, const QByteArray& firstDate, const QByteArray& lastDate,
                         const Claims& c)
{
    const QByteArray call = text(QString(s.storedCallsign).replace(QLatin1Char('_'), QLatin1Char('/')));
    const QByteArray wwl = isContestLocator(s.locator) ? s.locator.toLatin1() : QByteArray();
    const QByteArray n = QByteArray::number(c.qsos), points = QByteArray::number(c.points);
    return {
        "[REG1TEST;1]",
        "TName=Journee Nationale des Moulins",
        "TDate=" + firstDate + ';' + lastDate,
        "PCall=" + call,
        "PWWLo=" + wwl,
        "PExch=",
        "PAdr1=",
        "PAdr2=",
        "PSect=",
        "PBand=" + QByteArray(band.edi),
        "PClub=",
        "RName=" + text(s.name),
        "RCall=" + call,
        "RAdr1=" + text(s.address1),
        "RAdr2=" + text(s.address2),
        "RPoCo=",
        "RCity=",
        "RCoun=" + text(s.country),
        "RPhon=",
        "RHBBS=",
        "MOpe1=" + text(s.operators),
        "MOpe2=",
        "STXEq=",
        "SPowe=",
        "SRXEq=",
        "SAnte=",
        "SAntH=",
        "CQSOs=" + n + ";1",
        "CQSOP=" + points,
        "CWWLs=" + QByteArray::number(c.squares) + ";0;1",
        "CWWLB=0",
        "CExcs=" + QByteArray::number(c.exchanges) + ";0;1",
        "CExcB=0",
        "CDXCs=" + QByteArray::number(c.entities) + ";0;1",
        "CDXCB=0",
        "CToSc=" + points,
        "CODXC=" + c.best,
        "[Remarks]",
    };
}

} // namespace

Station stationOf(const SettingsStore& settings, const QString& storedCallsign)
{
    const QString section = keys::stationSection(storedCallsign);
    const auto get = [&](const QString& key) { return settings.value(keys::kJnm, section, key, QString()).trimmed(); };
    Station s;
    s.storedCallsign = storedCallsign;
    s.locator = settings.value(keys::kJnm, keys::kSetup, keys::kLocatorStation, keys::kNoLocator);
    s.eventDate = settings.value(keys::kJnm, section, keys::kDateJnm, keys::kDefaultEventDate);
    s.name = (get(keys::kPrenom) + QLatin1Char(' ') + get(keys::kNom)).trimmed();
    s.address1 = get(keys::kAdresse1);
    s.address2 = get(keys::kAdresse2);
    s.country = get(keys::kPays);
    s.operators = get(keys::kOperateurs);
    return s;
}

QList<QByteArray> bandsOf(const QList<QByteArray>& lines)
{
    QSet<QByteArray> present;
    for (const QByteArray& line : lines)
        present.insert(qsoline::field(line, logcol::kBand));
    QList<QByteArray> out;
    for (const EdiBand& b : kBands) {
        if (present.contains(b.log))
            out << b.log;
    }
    return out;
}

QString fileName(const QString& storedCallsign, const QByteArray& band)
{
    const EdiBand* b = ediBand(band);
    return storedCallsign + QLatin1Char('_') + QLatin1String(b ? b->name : "") + QStringLiteral(".edi");
}

BandFile file(const Station& station, const QByteArray& band, const QList<QByteArray>& lines,
              const EntityResolver* entities)
{
    BandFile out;
    const EdiBand* b = ediBand(band);
    if (!b)
        return out;
    Records records(station.locator, entities);
    QList<QByteArray> body;
    QByteArray first, last;
    for (const QByteArray& line : lines) {
        if (qsoline::field(line, logcol::kBand) != band)
            continue;
        if (!qsoline::sortKey(line)) {
            ++out.leftOut;
            continue;
        }
        body << records.record(line);
        const QByteArray date = fullDate(qsoline::field(line, logcol::kDate));
        first = first.isEmpty() || date < first ? date : first;
        last = date > last ? date : last;
    }
    if (first.isEmpty() && clocktext::isValidDate(station.eventDate))
        first = last = fullDate(station.eventDate.toLatin1());
    QList<QByteArray> all = header(station, *b, first, last, records.claims());
    all << "[QSORecords;" + QByteArray::number(body.size()) + ']';
    all += body;
    out.records = int(body.size());
    out.bytes = LogFile::joinLines(all);
    return out;
}

Written writeFiles(FileSystem& files, const QString& folder, const Station& station, const QList<QByteArray>& lines,
                   const EntityResolver* entities)
{
    Written out;
    for (const QByteArray& band : bandsOf(lines)) {
        const BandFile made = file(station, band, lines, entities);
        const QString name = fileName(station.storedCallsign, band);
        out.result = files.replace(QDir(folder).filePath(name), made.bytes);
        if (!out.result.ok()) {
            out.failedFile = name;
            return out;
        }
        out.written << name + QStringLiteral(" (%1 QSO)").arg(made.records);
        out.leftOut += made.leftOut;
    }
    return out;
}

VhfLog vhfLog(FileSystem& files, const StationPaths& paths, bool hfSession)
{
    VhfLog out;
    out.path = hfSession ? reportfiles::otherSessionLog(paths, true) : paths.existingLog(files);
    LogFile::Loaded loaded = LogFile(files, out.path).load();
    if (hfSession && loaded.result.notFound())
        return out; // no VHF session yet
    out.result = loaded.result;
    out.lines = std::move(loaded.lines);
    return out;
}

QString outcomeText(const Written& written)
{
    if (!written.result.ok())
        return reportmessages::notWritten(written.failedFile, written.result);
    if (written.written.isEmpty())
        return QStringLiteral("Aucun QSO VHF à exporter : aucun fichier EDI n'a été écrit.");
    QString text = QStringLiteral("Fichier(s) EDI écrit(s) : ") + written.written.join(QStringLiteral(", "));
    if (written.leftOut > 0)
        text += QStringLiteral("\r\n%1 QSO laissé(s) de côté : date ou heure illisible.").arg(written.leftOut);
    return text;
}

FileResult run(const Services& services, const Logbook& logbook, bool hfSession)
{
    const StationPaths paths = logbook.paths();
    VhfLog log{{}, {}, logbook.lines()};
    if (hfSession)
        log = vhfLog(services.files, paths, true);
    if (!log.result.ok()) {
        services.dialogs.message(reportmessages::notReadable(StationPaths::fileName(log.path), log.result));
        return log.result;
    }
    const FileRead prefixes = services.files.read(paths.prefixes(bands::Mode::Ssb));
    const EntityResolver entities(services.countries, LogFile::splitLines(prefixes.bytes));
    const Written written = writeFiles(services.files, services.programDir,
                                       stationOf(services.settings, logbook.storedCallsign()), log.lines, &entities);
    services.dialogs.message(outcomeText(written));
    return written.result;
}

} // namespace tv::edi
