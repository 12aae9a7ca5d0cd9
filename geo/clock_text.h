#pragma once

#include "platform/clock.h"

#include <QString>

// Clock readings as the fields show them, and the form checks of typed dates and times.
namespace tv::clocktext {

// dd/mm/yy: day, month, year modulo 100, each on two digits.
QString dateText(const CalendarTime& time);
// hh:mm:ss on the 24-hour clock.
QString timeText(const CalendarTime& time);

inline QString utcDate(const Clock& clock)
{
    return dateText(clock.utcNow());
}
inline QString localDate(const Clock& clock)
{
    return dateText(clock.localNow());
}
inline QString utcTime(const Clock& clock)
{
    return timeText(clock.utcNow());
}
inline QString localTime(const Clock& clock)
{
    return timeText(clock.localNow());
}

// The date or time of the clock the operator chose (UTC or local).
inline QString date(const Clock& clock, bool utc)
{
    return utc ? utcDate(clock) : localDate(clock);
}
inline QString time(const Clock& clock, bool utc)
{
    return utc ? utcTime(clock) : localTime(clock);
}

// True when the text has the form dd/mm/yy: 8 characters, digits at 1-2, 4-5, 7-8 and "/" at
// 3 and 6. Values are not checked: 31/02/07 and 00/00/00 pass.
bool isDateForm(const QString& text);
// True when the text has the form hh:mm: 5 characters, digits at 1-2 and 4-5, ":" at 3.
// Values are not checked: 24:00 and 99:99 pass.
bool isTimeForm(const QString& text);

// A date of the form dd/mm/yy that names a real day (years 50-99 are 19yy, 00-49 20yy).
bool isValidDate(const QString& text);
// A time of the form hh:mm with hours below 24 and minutes below 60.
bool isValidTime(const QString& text);

} // namespace tv::clocktext
