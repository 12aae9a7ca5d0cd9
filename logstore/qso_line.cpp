#include "logstore/qso_line.h"

#include <QDate>

#include <algorithm>

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

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int twoDigits(const QByteArray& text, int at)
{
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

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
    const QByteArray date = rawField(line, logcol::kDate);
    const QByteArray time = rawField(line, logcol::kStart);
    if (date.size() != 8 || time.size() != 5)
        return std::nullopt;
    for (int i : {0, 1, 3, 4, 6, 7}) {
        if (!isDigit(date[i]))
            return std::nullopt;
    }
    if (date[2] != '/' || date[5] != '/')
        return std::nullopt;
    if (!isDigit(time[0]) || !isDigit(time[1]) || time[2] != ':' || !isDigit(time[3]) || !isDigit(time[4]))
        return std::nullopt;
    const int yy = twoDigits(date, 6);
    const QDate day(yy >= 50 ? 1900 + yy : 2000 + yy, twoDigits(date, 3), twoDigits(date, 0));
    if (!day.isValid())
        return std::nullopt;
    const qint64 days = QDate(1950, 1, 1).daysTo(day);
    return days * 24 * 60 + twoDigits(time, 0) * 60 + twoDigits(time, 3);
}

bool isWellFormed(const QByteArray& line)
{
    return line.size() == logcol::kLineLength && line[logcol::kEndMarker.index()] == '*' && sortKey(line).has_value();
}

QByteArray listEntry(int rowNumber, const QByteArray& line)
{
    return QByteArray::number(rowNumber).rightJustified(5, ' ') + ' ' + line;
}

} // namespace tv::qsoline
