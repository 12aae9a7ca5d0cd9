#include "logstore/name_lists.h"

#include "logstore/cp1252.h"
#include "logstore/log_file.h"
#include "logstore/station_paths.h"

#include <QHash>
#include <QSet>

namespace tv {

namespace {

constexpr int kStationCallsignWidth = 10;
constexpr int kStationDepartmentColumn = 11; // 0-based: column 12
constexpr int kStationLocatorColumn = 14;    // column 15
constexpr int kLocatorWidth = 6;

constexpr int kFirstNameCallsignWidth = 12;
constexpr int kFirstNameDepartmentColumn = 13; // column 14
constexpr int kFirstNameColumn = 16;           // column 17

// The text cut to `kept` characters, then padded with blanks to `width`.
QByteArray padded(const QByteArray& text, qsizetype kept, qsizetype width)
{
    return text.left(kept).leftJustified(width, ' ');
}

// Upper case of Windows-1252 text, letter by letter ("é" becomes "É").
QByteArray upper(const QByteArray& bytes)
{
    return cp1252::encode(cp1252::upperCase(cp1252::decode(bytes)));
}

struct ReadLines {
    FileResult result;
    QList<QByteArray> lines;
};

// The lines of a list before a change: a list that does not exist yet is empty; any other
// failure is returned so that nothing is written over a file that could not be read.
ReadLines linesForChange(const FileSystem& files, const QString& path)
{
    const FileRead read = files.read(path);
    if (read.result.notFound())
        return {};
    if (!read.result.ok())
        return {read.result, {}};
    return {FileResult::success(), LogFile::splitLines(read.bytes)};
}

} // namespace

NameLists::NameLists(FileSystem& files, const QString& programDir) : m_files(files)
{
    const StationPaths paths(programDir, QString());
    m_nomenclature = paths.nomenclature();
    m_firstNames = paths.firstNames();
}

// ---- Nomenclature.txt

QList<QByteArray> NameLists::mergeStations(const QList<QByteArray>& atOpening, const QList<QByteArray>& edited,
                                           const QList<QByteArray>& now)
{
    const QSet<QByteArray> opened(atOpening.cbegin(), atOpening.cend());
    QSet<QByteArray> openedCallsigns;
    for (const QByteArray& line : atOpening)
        openedCallsigns.insert(stationCallsign(line));
    QHash<QByteArray, QByteArray> current;
    for (const QByteArray& line : now)
        current.insert(stationCallsign(line), line);

    QList<QByteArray> merged;
    QSet<QByteArray> seen;
    for (const QByteArray& line : edited) {
        const QByteArray call = stationCallsign(line);
        seen.insert(call);
        if (!opened.contains(line)) {
            merged << line; // added or changed in the editor
        } else if (const auto found = current.constFind(call); found != current.cend()) {
            merged << *found; // left alone: the file's line, which a recording may have changed
        }
        // Left alone and gone from the file: it stays gone.
    }
    for (const QByteArray& line : now) {
        const QByteArray call = stationCallsign(line);
        if (!openedCallsigns.contains(call) && !seen.contains(call)) {
            merged << line; // remembered meanwhile
            seen.insert(call);
        }
    }
    return merged;
}

QByteArray NameLists::stationCallsign(const QByteArray& line)
{
    return line.left(kStationCallsignWidth).trimmed();
}

QByteArray NameLists::stationLine(const QByteArray& callsign, const QByteArray& department, const QByteArray& locator)
{
    return padded(callsign, kStationCallsignWidth, kStationCallsignWidth + 1) + padded(department, 3, 3) +
           locator.left(kLocatorWidth);
}

NameLists::Station NameLists::findStation(const QByteArray& callsign) const
{
    Station station;
    const QByteArray key = callsign.left(kStationCallsignWidth).trimmed();
    const FileRead read = m_files.read(m_nomenclature);
    station.result = read.result;
    if (!read.result.ok() || key.isEmpty())
        return station;
    for (const QByteArray& line : LogFile::splitLines(read.bytes)) {
        if (stationCallsign(line) != key)
            continue;
        station.found = true;
        station.department = line.mid(kStationDepartmentColumn, 2).trimmed();
        if (station.department.size() == 1)
            station.department.prepend('0');
        station.locator = line.mid(kStationLocatorColumn, kLocatorWidth).trimmed();
        break;
    }
    return station;
}

FileResult NameLists::rememberStation(const QByteArray& callsign, const QByteArray& department,
                                      const QByteArray& locator)
{
    const QByteArray key = callsign.left(kStationCallsignWidth).trimmed();
    if (key.isEmpty())
        return FileResult::failure(FileResult::kAccessError, QStringLiteral("no callsign"));
    ReadLines current = linesForChange(m_files, m_nomenclature);
    if (!current.result.ok())
        return current.result;
    const QByteArray newLine = stationLine(key, department, locator);
    bool found = false;
    for (QByteArray& line : current.lines) {
        if (stationCallsign(line) == key) {
            line = newLine;
            found = true;
        }
    }
    if (!found)
        current.lines.append(newLine);
    return m_files.replace(m_nomenclature, LogFile::joinLines(current.lines));
}

NameLists::Lines NameLists::loadStations() const
{
    const FileRead read = m_files.read(m_nomenclature);
    Lines loaded;
    loaded.result = read.result;
    if (read.result.ok())
        loaded.lines = LogFile::splitLines(read.bytes);
    return loaded;
}

FileResult NameLists::saveStations(const QList<QByteArray>& lines)
{
    return m_files.replace(m_nomenclature, LogFile::joinLines(lines));
}

// ---- Liste_Prenom.txt

QString NameLists::missingFirstNamesText()
{
    return QStringLiteral("Attention il vous faut le fichier 'Liste_Prenom.txt'");
}

QByteArray NameLists::firstNameCallsign(const QByteArray& line)
{
    return line.left(kFirstNameCallsignWidth).trimmed();
}

QByteArray NameLists::firstNameLine(const QByteArray& callsign, const QByteArray& department,
                                    const QByteArray& firstName)
{
    return padded(callsign, kFirstNameCallsignWidth, kFirstNameCallsignWidth + 1) + padded(department, 2, 3) +
           firstName;
}

NameLists::FirstName NameLists::findFirstName(const QByteArray& callsign) const
{
    FirstName result;
    const FileRead read = m_files.read(m_firstNames);
    result.result = read.result;
    if (!read.result.ok()) {
        result.message = missingFirstNamesText();
        return result;
    }
    const QByteArray key = callsign.left(kFirstNameCallsignWidth).trimmed();
    if (key.isEmpty())
        return result;
    for (const QByteArray& line : LogFile::splitLines(read.bytes)) {
        if (firstNameCallsign(line) != key)
            continue;
        result.found = true;
        result.department = line.mid(kFirstNameDepartmentColumn, 2).trimmed();
        result.firstName = upper(line.mid(kFirstNameColumn).trimmed());
    }
    return result;
}

FileResult NameLists::rememberFirstName(const QByteArray& line, bool foundAtLookUp)
{
    const QByteArray key = firstNameCallsign(line);
    if (key.isEmpty())
        return FileResult::failure(FileResult::kAccessError, QStringLiteral("no callsign"));
    ReadLines current = linesForChange(m_files, m_firstNames);
    if (!current.result.ok())
        return current.result;
    bool replaced = false;
    for (QByteArray& existing : current.lines) {
        if (firstNameCallsign(existing) == key) {
            existing = line;
            replaced = true;
        }
    }
    if (!replaced && !foundAtLookUp)
        current.lines.append(line);
    if (!replaced && foundAtLookUp)
        return FileResult::success(); // nothing to change
    return m_files.replace(m_firstNames, LogFile::joinLines(current.lines));
}

} // namespace tv
