#include "station/station_session.h"

#include "logstore/bands.h"
#include "platform/settings_keys.h"
#include "platform/settings_store.h"

namespace tv {

StationSession::StationSession(SettingsStore* settings, QObject* parent)
    : QObject(parent), m_settings(settings), m_storedCallsign(keys::kNoCallsign), m_locator(keys::kNoLocator),
      m_eventDate(keys::kDefaultEventDate), m_band(bands::hfSession().value(0))
{
}

QString StationSession::displayForm(const QString& storedCallsign)
{
    QString shown = storedCallsign;
    shown.replace(QLatin1Char('_'), QLatin1Char('/'));
    return shown;
}

QString StationSession::displayCallsign() const
{
    return displayForm(m_storedCallsign);
}

QString StationSession::section() const
{
    return keys::stationSection(m_storedCallsign);
}

void StationSession::store(const QString& key, int value)
{
    if (m_settings && !m_settings->setInt(keys::kJnm, section(), key, value))
        Q_EMIT choiceNotStored();
}

void StationSession::setStation(const QString& storedCallsign, const QString& locator)
{
    if (storedCallsign == m_storedCallsign && locator == m_locator)
        return;
    m_storedCallsign = storedCallsign;
    m_locator = locator;
    Q_EMIT stationChanged();
}

void StationSession::setEventDate(const QString& date)
{
    if (date == m_eventDate)
        return;
    m_eventDate = date;
    Q_EMIT stationChanged();
}

void StationSession::readSettings()
{
    if (!m_settings)
        return;
    const SettingsStore& s = *m_settings;
    setSessionText(s.value(keys::kJnm, section(), keys::kSession, QStringLiteral("HF")));
    setStation(m_storedCallsign, s.value(keys::kJnm, keys::kSetup, keys::kLocatorStation, keys::kNoLocator));
    setEventDate(s.value(keys::kJnm, section(), keys::kDateJnm, keys::kDefaultEventDate));
    const int band = s.intValue(keys::kJnm, section(), keys::kBandeUtilisee, 0);
    const int mode = s.intValue(keys::kJnm, section(), keys::kModeUtilise, 0);
    const int activity = s.intValue(keys::kJnm, section(), keys::kActivite, 0);
    m_bandIndex = band >= 0 && band < bandList().size() ? band : 0;
    m_band = bandList().value(m_bandIndex);
    m_modeIndex = mode >= 0 && mode < modeList().size() ? mode : 0;
    m_mode = modeList()[m_modeIndex];
    m_activityIndex = activity >= 0 && activity < activityList().size() ? activity : 0;
    m_utc = s.boolValue(keys::kJnm, section(), keys::kHeureUtc, true);
    m_automaticDate = s.boolValue(keys::kJnm, section(), keys::kDateAutomatique, true);
    Q_EMIT bandOrModeChanged();
    Q_EMIT optionsChanged();
}

void StationSession::setSessionText(const QString& text)
{
    m_sessionText = text;
    if (text == QLatin1String("HF"))
        m_session = Session::Hf;
    else if (text == QLatin1String("VHF"))
        m_session = Session::Vhf;
    else
        m_session = Session::Other;
    if (!bandList().contains(m_band)) {
        m_bandIndex = 0;
        m_band = bandList().value(0);
        Q_EMIT bandOrModeChanged();
    }
    Q_EMIT sessionChanged();
}

const QList<QByteArray>& StationSession::bandList() const
{
    return m_session == Session::Vhf ? bands::vhfSession() : bands::hfSession();
}

const QList<QByteArray>& StationSession::modeList()
{
    static const QList<QByteArray> list = {bands::kSsb, bands::kCw};
    return list;
}

const QList<QByteArray>& StationSession::activityList()
{
    static const QList<QByteArray> list = {QByteArrayLiteral("QSO"), QByteArrayLiteral("MOULIN")};
    return list;
}

void StationSession::chooseBand(int index)
{
    if (index < 0 || index >= bandList().size())
        return;
    store(keys::kBandeUtilisee, index);
    if (index == m_bandIndex && m_band == bandList()[index])
        return;
    m_bandIndex = index;
    m_band = bandList()[index];
    Q_EMIT bandOrModeChanged();
}

void StationSession::chooseMode(int index)
{
    if (index < 0 || index >= modeList().size())
        return;
    store(keys::kModeUtilise, index);
    if (index == m_modeIndex)
        return;
    m_modeIndex = index;
    m_mode = modeList()[index];
    Q_EMIT bandOrModeChanged();
}

void StationSession::chooseActivity(int index)
{
    if (index < 0 || index >= activityList().size())
        return;
    store(keys::kActivite, index);
    m_activityIndex = index;
}

void StationSession::setUtc(bool utc)
{
    if (m_settings && !m_settings->setBool(keys::kJnm, section(), keys::kHeureUtc, utc))
        Q_EMIT choiceNotStored();
    if (utc == m_utc)
        return;
    m_utc = utc;
    Q_EMIT optionsChanged();
}

void StationSession::setAutomaticDate(bool automatic)
{
    if (m_settings && !m_settings->setBool(keys::kJnm, section(), keys::kDateAutomatique, automatic))
        Q_EMIT choiceNotStored();
    if (automatic == m_automaticDate)
        return;
    m_automaticDate = automatic;
    Q_EMIT optionsChanged();
}

void StationSession::setEditMode(bool on)
{
    if (on == m_editMode)
        return;
    m_editMode = on;
    Q_EMIT editModeChanged(on);
}

} // namespace tv
