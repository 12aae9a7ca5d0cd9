#pragma once

#include "platform/clock.h"

#include <QDate>
#include <QString>

#include <optional>

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

// The one rule for a date or a time that the program reads, everywhere it reads one (the entry,
// the log's order and its check, the exports, the report names).
//
// A date: the form dd/mm/yy and a real calendar date, two-digit years 50-99 read as 19yy and
// 00-49 as 20yy (29/02/00 is valid, 29/02/01 and 31/04/15 are not).
bool isValidDate(const QString& text);
// A time: the form hh:mm with hours below 24 and minutes below 60 (00:00 to 23:59).
bool isValidTime(const QString& text);

// The calendar date of a valid date text, or nothing.
std::optional<QDate> calendarDate(const QString& text);
// The minutes since midnight of a valid time text, or nothing.
std::optional<int> minutesOfDay(const QString& text);

} // namespace tv::clocktext
