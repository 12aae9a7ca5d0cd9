#include "geo/clock_text.h"

namespace tv::clocktext {
namespace {

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

bool isDigit(QChar ch)
{
    return ch >= QLatin1Char('0') && ch <= QLatin1Char('9');
}

// True when every position holds a digit except the separator positions.
bool matchesForm(const QString& text, const char* form)
{
    const qsizetype length = qsizetype(qstrlen(form));
    if (text.size() != length)
        return false;
    for (qsizetype i = 0; i < length; ++i) {
        if (form[i] == '9') {
            if (!isDigit(text[i]))
                return false;
        } else if (text[i] != QLatin1Char(form[i])) {
            return false;
        }
    }
    return true;
}

int twoDigitsAt(const QString& text, int at)
{
    return (text[at].unicode() - '0') * 10 + (text[at + 1].unicode() - '0');
}

} // namespace

QString dateText(const CalendarTime& time)
{
    return twoDigits(time.day) + QLatin1Char('/') + twoDigits(time.month) + QLatin1Char('/') +
           twoDigits(time.year % 100);
}

QString timeText(const CalendarTime& time)
{
    return twoDigits(time.hour) + QLatin1Char(':') + twoDigits(time.minute) + QLatin1Char(':') + twoDigits(time.second);
}

bool isDateForm(const QString& text)
{
    return matchesForm(text, "99/99/99");
}

bool isTimeForm(const QString& text)
{
    return matchesForm(text, "99:99");
}

std::optional<QDate> calendarDate(const QString& text)
{
    if (!isDateForm(text))
        return std::nullopt;
    const int yy = twoDigitsAt(text, 6);
    const QDate date(yy >= 50 ? 1900 + yy : 2000 + yy, twoDigitsAt(text, 3), twoDigitsAt(text, 0));
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<int> minutesOfDay(const QString& text)
{
    if (!isTimeForm(text))
        return std::nullopt;
    const int hours = twoDigitsAt(text, 0);
    const int minutes = twoDigitsAt(text, 3);
    if (hours >= 24 || minutes >= 60)
        return std::nullopt;
    return hours * 60 + minutes;
}

bool isValidDate(const QString& text)
{
    return calendarDate(text).has_value();
}

bool isValidTime(const QString& text)
{
    return minutesOfDay(text).has_value();
}

} // namespace tv::clocktext
