#include "platform/settings_store.h"

namespace tv {

bool SettingsStore::boolValue(const QString& application, const QString& section, const QString& key,
                              bool defaultValue) const
{
    const QString text = value(application, section, key, QString()).trimmed();
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || text == QLatin1String("Vrai"))
        return true;
    if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 || text == QLatin1String("Faux"))
        return false;
    bool isNumber = false;
    const int number = text.toInt(&isNumber);
    if (isNumber)
        return number != 0;
    return defaultValue;
}

bool SettingsStore::setBool(const QString& application, const QString& section, const QString& key, bool value)
{
    return setValue(application, section, key, value ? QStringLiteral("True") : QStringLiteral("False"));
}

int SettingsStore::intValue(const QString& application, const QString& section, const QString& key,
                            int defaultValue) const
{
    bool ok = false;
    const int number = value(application, section, key, QString()).trimmed().toInt(&ok);
    return ok ? number : defaultValue;
}

bool SettingsStore::setInt(const QString& application, const QString& section, const QString& key, int value)
{
    return setValue(application, section, key, QString::number(value));
}

} // namespace tv
