#include "logstore/qso_line.h"

#include "geo/clock_text.h"
#include "geo/locator.h"
#include "logstore/cp1252.h"

#include <QDate>

#include <algorithm>
#include <cmath>

namespace tv::qsoline {
namespace {

using logcol::Column;

struct Slot {
    Column column;
    QByteArray QsoRecord::*member;
};

// The fields in line order.
const Slot kSlots[] = {
    {logcol::kDate, &QsoRecord::date},
    {logcol::kCallsign, &QsoRecord::callsign},
    {logcol::kStart, &QsoRecord::start},
    {logcol::kEnd, &QsoRecord::end},
    {logcol::kDepartment, &QsoRecord::department},
    {logcol::kLocator, &QsoRecord::locator},
    {logcol::kBand, &QsoRecord::band},
    {logcol::kMode, &QsoRecord::mode},
    {logcol::kRstSent, &QsoRecord::rstSent},
    {logcol::kRstReceived, &QsoRecord::rstReceived},
    {logcol::kMillReference, &QsoRecord::millReference},
    {logcol::kFirstName, &QsoRecord::firstName},
    {logcol::kPoints, &QsoRecord::points},
    {logcol::kNewDepartmentFlag, &QsoRecord::newDepartmentFlag},
    {logcol::kNewPrefixFlag, &QsoRecord::newPrefixFlag},
    {logcol::kCountArea, &QsoRecord::countArea},
    {logcol::kDistance, &QsoRecord::distance},
    {logcol::kAzimuth, &QsoRecord::azimuth},
    {logcol::kActivity, &QsoRecord::activity},
    {logcol::kMillName, &QsoRecord::millName},
};

} // namespace

std::optional<QByteArray> build(const QsoRecord& record, const Column** tooLong)
{
    QByteArray line(logcol::kLineLength, ' ');
    for (const Slot& slot : kSlots) {
        const QByteArray& value = record.*slot.member;
        if (value.size() > slot.column.width) {
            if (tooLong) {
                for (const Slot& s : kSlots) {
                    if (s.member == slot.member)
                        *tooLong = &s.column;
                }
            }
            return std::nullopt;
        }
        line.replace(slot.column.index(), value.size(), value);
    }
    line[logcol::kEndMarker.index()] = '*';
    return line;
}

QByteArray rawField(const QByteArray& line, Column column)
{
    if (line.size() <= column.index())
        return {};
    return line.mid(column.index(), column.width);
}

QByteArray field(const QByteArray& line, Column column)
{
    return rawField(line, column).trimmed();
}

bool fieldEquals(const QByteArray& line, Column column, const QByteArray& value)
{
    qsizetype begin = column.index();
    qsizetype end = std::min<qsizetype>(line.size(), column.index() + column.width);
    if (begin >= end)
        return value.isEmpty();
    const char* data = line.constData();
    // The blanks QByteArray::trimmed() removes, so that this agrees with field().
    auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (begin < end && blank(data[begin]))
        ++begin;
    while (end > begin && blank(data[end - 1]))
        --end;
    return end - begin == value.size() && std::equal(data + begin, data + end, value.constData());
}

QsoRecord parse(const QByteArray& line)
{
    QsoRecord record;
    for (const Slot& slot : kSlots)
        record.*slot.member = field(line, slot.column);
    return record;
}

std::optional<qint64> sortKey(const QByteArray& line)
{
    const std::optional<QDate> day = clocktext::calendarDate(QString::fromLatin1(rawField(line, logcol::kDate)));
    if (!day)
        return std::nullopt;
    const std::optional<int> minutes = clocktext::minutesOfDay(QString::fromLatin1(rawField(line, logcol::kStart)));
    if (!minutes)
        return std::nullopt;
    return QDate(1950, 1, 1).daysTo(*day) * 24 * 60 + *minutes;
}

std::optional<double> distance(const QByteArray& line, QString* problem)
{
    const QByteArray text = field(line, logcol::kDistance);
    if (text.isEmpty() || text == "?") // "?": the entry could not work it out (no locator)
        return std::nullopt;
    bool numeric = false;
    const double km = text.toDouble(&numeric);
    QString why;
    if (!numeric || !std::isfinite(km))
        why = QStringLiteral(" n'est pas un nombre");
    else if (km < 0)
        why = QStringLiteral(" est négative");
    else if (km > locator::kCircumferenceKm / 2)
        why = QStringLiteral(" dépasse la moitié du tour de la Terre");
    if (why.isEmpty())
        return km;
    if (problem)
        *problem = QStringLiteral("distance « ") + cp1252::decode(text) + QStringLiteral(" »") + why;
    return std::nullopt;
}

bool isWellFormed(const QByteArray& line)
{
    QString badDistance;
    distance(line, &badDistance);
    return line.size() == logcol::kLineLength && line[logcol::kEndMarker.index()] == '*' && sortKey(line).has_value() &&
           badDistance.isEmpty();
}

QByteArray listEntry(int rowNumber, const QByteArray& line)
{
    return QByteArray::number(rowNumber).rightJustified(5, ' ') + ' ' + line;
}

} // namespace tv::qsoline
