#include "geo/clock_text.h"

#include <QDate>

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

bool isValidDate(const QString& text)
{
    if (!isDateForm(text))
        return false;
    const int yy = text.mid(6, 2).toInt();
    return QDate(yy >= 50 ? 1900 + yy : 2000 + yy, text.mid(3, 2).toInt(), text.left(2).toInt()).isValid();
}

bool isValidTime(const QString& text)
{
    return isTimeForm(text) && text.left(2).toInt() < 24 && text.mid(3, 2).toInt() < 60;
}

} // namespace tv::clocktext
