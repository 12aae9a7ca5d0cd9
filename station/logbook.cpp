#include "station/logbook.h"

#include "logstore/fixed_text.h"
#include "logstore/log_file.h"
#include "logstore/name_lists.h"
#include "logstore/prefix_file.h"
#include "logstore/qso_line.h"

namespace tv {
Logbook::Logbook(Services services, QObject* parent) : QObject(parent), m_services(services)
{
}

void Logbook::setStation(const QString& storedCallsign)
{
    m_callsign = storedCallsign;
}

StationPaths Logbook::paths() const
{
    return StationPaths(m_services.programDir, m_callsign);
}

QString Logbook::logPath() const
{
    return paths().existingLog(m_services.files);
}

QString Logbook::errorText(const FileResult& result)
{
    return QStringLiteral("Erreur N° ") + QString::number(result.errorNumber) + QStringLiteral(" (") + result.reason() +
           QLatin1Char(')');
}

QByteArray Logbook::duplicateKey(QByteArrayView callsign, QByteArrayView band, QByteArrayView mode)
{
    QByteArray key;
    key.reserve(callsign.size() + band.size() + mode.size() + 2);
    key.append(callsign).append('\t').append(band).append('\t').append(mode);
    return key;
}

std::optional<int> Logbook::findDuplicate(const QByteArray& callsign, const QByteArray& band,
                                          const QByteArray& mode) const
{
    const auto found = m_firstOf.constFind(
        duplicateKey(fixedtext::trimSpaces(callsign), fixedtext::trimSpaces(band), fixedtext::trimSpaces(mode)));
    if (found == m_firstOf.cend())
        return std::nullopt;
    return found.value();
}

void Logbook::indexLine(int row)
{
    const QByteArray& line = m_lines[row];
    const QByteArray key = duplicateKey(fixedtext::fieldView(line, logcol::kCallsign.first, logcol::kCallsign.width),
                                        fixedtext::fieldView(line, logcol::kBand.first, logcol::kBand.width),
                                        fixedtext::fieldView(line, logcol::kMode.first, logcol::kMode.width));
    if (!m_firstOf.contains(key)) // the duplicate search names the first QSO of a key
        m_firstOf.insert(key, row);
}

void Logbook::reindex()
{
    m_firstOf.clear();
    m_firstOf.reserve(m_lines.size());
    for (int row = 0; row < m_lines.size(); ++row)
        indexLine(row);
}

void Logbook::recountMultipliers()
{
    const MultiplierBytes marks = readMultiplierFiles(m_services.files, paths());
    if (!marks.result.ok()) {
        Q_EMIT fileFailed(marks.failedFile, marks.result);
        return;
    }
    scoring::countMultipliers(m_tally, marks.departmentSsb, marks.departmentCw, marks.prefixSsb, marks.prefixCw);
}

void Logbook::retally()
{
    // The QSOs, points and mills again from the lines; the multipliers stay as counted.
    for (auto& band : m_tally.cells) {
        for (BandModeTally& cell : band) {
            cell.qsos = cell.mills = 0;
            cell.points = 0;
        }
    }
    m_lastMillKind = false;
    m_tally.badDistances = 0;
    for (const QByteArray& line : m_lines)
        scoring::addQso(m_tally, line, m_lastMillKind);
}

Logbook::Failure Logbook::load()
{
    const QString path = logPath();
    LogFile::Loaded loaded = LogFile(m_services.files, path).load();
    if (!loaded.result.ok()) {
        Q_EMIT fileFailed(path, loaded.result);
        return {loaded.result, path};
    }
    const MultiplierBytes marks = readMultiplierFiles(m_services.files, paths());
    if (!marks.result.ok()) {
        Q_EMIT fileFailed(marks.failedFile, marks.result);
        return {marks.result, marks.failedFile};
    }
    m_lines = std::move(loaded.lines);
    retally();
    scoring::countMultipliers(m_tally, marks.departmentSsb, marks.departmentCw, marks.prefixSsb, marks.prefixCw);
    reindex();
    Q_EMIT reloaded();
    Q_EMIT marksChanged();
    Q_EMIT scoreChanged();
    return {};
}

bool Logbook::reloadLines()
{
    const QString path = logPath();
    LogFile::Loaded loaded = LogFile(m_services.files, path).load();
    if (!loaded.result.ok()) {
        Q_EMIT fileFailed(path, loaded.result);
        return false;
    }
    m_lines = std::move(loaded.lines);
    retally();
    reindex();
    Q_EMIT reloaded();
    return true;
}

DepartmentFile::Grid Logbook::departmentGrid(const QByteArray& band, bands::Mode mode) const
{
    return DepartmentFile(m_services.files, paths()).grid(band, mode);
}

bool Logbook::writeMarksAndLists(const QsoWrite& qso, QsoWriteOutcome& outcome)
{
    const StationPaths p = paths();
    bool written = true;
    const QByteArray band = qsoline::field(qso.line, logcol::kBand);
    const std::optional<bands::Mode> mode = bands::modeOf(qsoline::field(qso.line, logcol::kMode));
    bool marked = false;
    if (!qso.departmentToMark.isEmpty() && mode) {
        DepartmentFile departments(m_services.files, p);
        const DepartmentFile::MarkResult done = departments.setMark(qso.departmentToMark, '1', band, *mode);
        if (!done.result.ok())
            outcome.failures << StationPaths::fileName(p.departments(*mode)) + QStringLiteral(" : ") +
                                    errorText(done.result);
        written = written && done.result.ok();
        marked = marked || done.linesMarked > 0;
    }
    if (!qso.entityToMark.isEmpty() && mode) {
        PrefixFile prefixes(m_services.files, p);
        const PrefixFile::MarkResult done = prefixes.markEntity(qso.entityToMark, band, *mode);
        if (!done.result.ok())
            outcome.failures << StationPaths::fileName(p.prefixes(*mode)) + QStringLiteral(" : ") +
                                    errorText(done.result);
        written = written && done.result.ok();
        outcome.unknownEntity = done.result.ok() && !done.prefix;
        marked = marked || done.changed;
    }
    if (qso.station) {
        NameLists lists(m_services.files, m_services.programDir);
        const FileResult remembered = lists.rememberStation((*qso.station)[0], (*qso.station)[1], (*qso.station)[2]);
        if (!remembered.ok())
            outcome.failures << QStringLiteral("Nomenclature.txt : ") + errorText(remembered);
    }
    rememberFirstName(qso, outcome);
    if (marked) {
        recountMultipliers();
        Q_EMIT marksChanged();
    }
    return written;
}

void Logbook::beginMarkChange(QsoWriteOutcome& outcome)
{
    const FileResult begun = MultiplierRebuild::beginChange(m_services.files, paths());
    if (!begun.ok())
        outcome.failures << StationPaths::fileName(paths().rebuildMarker()) + QStringLiteral(" : ") + errorText(begun);
}

void Logbook::endMarkChange(QsoWriteOutcome& outcome)
{
    const FileResult ended = MultiplierRebuild::endChange(m_services.files, paths());
    if (!ended.ok())
        outcome.failures << StationPaths::fileName(paths().rebuildMarker()) + QStringLiteral(" : ") + errorText(ended);
}

void Logbook::rememberFirstName(const QsoWrite& qso, QsoWriteOutcome& outcome)
{
    if (qso.firstNameLine.isEmpty())
        return;
    NameLists lists(m_services.files, m_services.programDir);
    const FileResult named = lists.rememberFirstName(qso.firstNameLine, false);
    if (!named.ok())
        outcome.failures << QStringLiteral("Liste_Prenom.txt : ") + errorText(named);
}

QsoWriteOutcome Logbook::record(const QsoWrite& qso)
{
    QsoWriteOutcome outcome;
    const QString path = logPath();
    LogFile log(m_services.files, path);
    // The line goes in before its marks: the marker covers the moment between. A mark that
    // could not be written leaves it too, so that the next start puts the mark right.
    const bool marking = !qso.departmentToMark.isEmpty() || !qso.entityToMark.isEmpty();
    if (marking)
        beginMarkChange(outcome);
    outcome.log = qso.inDateOrder ? log.replaceInOrder(std::nullopt, QByteArray(logcol::kLineLength, ' '), qso.line)
                                  : log.append(qso.line);
    if (!outcome.log.ok()) {
        if (marking)
            endMarkChange(outcome);
        return outcome;
    }
    if (writeMarksAndLists(qso, outcome) && marking)
        endMarkChange(outcome);
    if (qso.inDateOrder) {
        reloadLines();
    } else {
        m_lines.append(qso.line);
        const int row = int(m_lines.size()) - 1;
        scoring::addQso(m_tally, qso.line, m_lastMillKind);
        indexLine(row);
        Q_EMIT appended(row);
    }
    Q_EMIT scoreChanged();
    return outcome;
}

void Logbook::rebuildAfterRewrite(QsoWriteOutcome& outcome)
{
    const MultiplierRebuild::Result rebuilt = rebuildMultipliers();
    if (!rebuilt.result.ok())
        outcome.failures << StationPaths::fileName(rebuilt.failedFile) + QStringLiteral(" : ") +
                                errorText(rebuilt.result);
}

QsoWriteOutcome Logbook::replace(int row, const QByteArray& oldLine, const QsoWrite& qso)
{
    QsoWriteOutcome outcome;
    // The rebuild that follows the rewrite ends the change the marker covers.
    beginMarkChange(outcome);
    outcome.log = LogFile(m_services.files, logPath()).replaceInOrder(row, oldLine, qso.line);
    if (!outcome.log.ok()) {
        endMarkChange(outcome);
        return outcome;
    }
    rememberFirstName(qso, outcome);
    afterRewrite(outcome);
    return outcome;
}

void Logbook::afterRewrite(QsoWriteOutcome& outcome)
{
    if (reloadLines())
        rebuildAfterRewrite(outcome);
    Q_EMIT scoreChanged();
}

QsoWriteOutcome Logbook::remove(int row, const QByteArray& line)
{
    QsoWriteOutcome outcome;
    beginMarkChange(outcome);
    outcome.log = LogFile(m_services.files, logPath()).removeAt(row, line);
    if (outcome.log.ok())
        afterRewrite(outcome);
    else
        endMarkChange(outcome);
    return outcome;
}

QsoWriteOutcome Logbook::merge(const QList<QByteArray>& newLines)
{
    QsoWriteOutcome outcome;
    beginMarkChange(outcome);
    outcome.log = LogFile(m_services.files, logPath()).insertInOrder(newLines);
    if (outcome.log.ok())
        afterRewrite(outcome);
    else
        endMarkChange(outcome);
    return outcome;
}

MultiplierRebuild::Result Logbook::rebuildMultipliers(const MultiplierRebuild::Progress& progress)
{
    MultiplierRebuild rebuild(m_services.files, paths(), m_services.countries);
    rebuild.setProgress(progress);
    const MultiplierRebuild::Result result = rebuild.run(m_lines);
    if (result.filesWritten > 0) {
        recountMultipliers();
        Q_EMIT marksChanged();
        Q_EMIT scoreChanged();
    }
    return result;
}

} // namespace tv
