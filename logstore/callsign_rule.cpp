#include "logstore/callsign_rule.h"

namespace tv::callsign {

bool isStationCharacter(QChar ch)
{
    const char16_t u = ch.unicode();
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || u == '_';
}

bool isStoredForm(const QString& stored)
{
    if (stored.isEmpty() || stored.size() > kStationMaxLength)
        return false;
    for (const QChar ch : stored) {
        if (!isStationCharacter(ch))
            return false;
    }
    return true;
}

QString typed(QString text, Kind kind)
{
    for (QChar& ch : text) {
        if (ch >= QLatin1Char('a') && ch <= QLatin1Char('z'))
            ch = QChar(ch.unicode() - 'a' + 'A');
        else if (kind == Kind::Station && ch == QLatin1Char('/'))
            ch = QLatin1Char('_');
    }
    return text;
}

QString toStored(const QString& written)
{
    return typed(written, Kind::Station);
}

QString toShown(const QString& stored)
{
    QString shown = stored;
    shown.replace(QLatin1Char('_'), QLatin1Char('/'));
    return shown;
}

} // namespace tv::callsign
