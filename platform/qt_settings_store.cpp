#include "platform/qt_settings_store.h"

#include <QDir>
#include <QSettings>

#include <memory>

namespace tv {
namespace {

std::unique_ptr<QSettings> openStore(const QString& iniFolder, const QString& application)
{
    if (iniFolder.isEmpty())
        return std::make_unique<QSettings>(QStringLiteral("Tournevent"), application);
    return std::make_unique<QSettings>(QDir(iniFolder).filePath(application + QStringLiteral(".ini")),
                                       QSettings::IniFormat);
}

// QSettings takes "/" as a group separator; the store's sections and keys never hold one
// except through a callsign, which is stored with "_" in its place.
QString settingsKey(const QString& section, const QString& key)
{
    return section + QLatin1Char('/') + key;
}

} // namespace

QtSettingsStore::QtSettingsStore(const QString& iniFolder) : m_iniFolder(iniFolder)
{
}

QString QtSettingsStore::value(const QString& application, const QString& section, const QString& key,
                               const QString& defaultValue) const
{
    auto store = openStore(m_iniFolder, application);
    return store->value(settingsKey(section, key), defaultValue).toString();
}

bool QtSettingsStore::setValue(const QString& application, const QString& section, const QString& key,
                               const QString& value)
{
    auto store = openStore(m_iniFolder, application);
    if (!store->isWritable())
        return false;
    store->setValue(settingsKey(section, key), value);
    store->sync();
    return store->status() == QSettings::NoError;
}

QString QtSettingsStore::problem(const QString& application) const
{
    auto store = openStore(m_iniFolder, application);
    const QString where = store->fileName();
    switch (store->status()) {
    case QSettings::NoError:
        return {};
    case QSettings::AccessError:
        return QStringLiteral("les réglages ") + where + QStringLiteral(" ne peuvent pas être lus");
    case QSettings::FormatError:
        break;
    }
    return QStringLiteral("les réglages ") + where + QStringLiteral(" sont endommagés");
}

} // namespace tv
