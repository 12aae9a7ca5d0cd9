#include "platform/clock.h"

#include <QDateTime>

namespace tv {
namespace {

CalendarTime fields(const QDateTime& moment)
{
    const QDate date = moment.date();
    const QTime time = moment.time();
    return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
}

} // namespace

CalendarTime SystemClock::utcNow() const
{
    return fields(QDateTime::currentDateTimeUtc());
}

CalendarTime SystemClock::localNow() const
{
    return fields(QDateTime::currentDateTime());
}

} // namespace tv
