#include "station/station_session.h"

#include "platform/settings_keys.h"

namespace tv {

StationSession::StationSession(QObject* parent)
    : QObject(parent), m_storedCallsign(keys::kNoCallsign), m_locator(keys::kNoLocator),
      m_eventDate(keys::kDefaultEventDate)
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

void StationSession::setSessionText(const QString& text)
{
    m_sessionText = text;
    if (text == QLatin1String("HF"))
        m_session = Session::Hf;
    else if (text == QLatin1String("VHF"))
        m_session = Session::Vhf;
    else
        m_session = Session::Other;
    Q_EMIT sessionChanged();
}

void StationSession::setBand(const QByteArray& band)
{
    if (band == m_band)
        return;
    m_band = band;
    Q_EMIT bandOrModeChanged();
}

void StationSession::setMode(const QByteArray& mode)
{
    if (mode == m_mode)
        return;
    m_mode = mode;
    Q_EMIT bandOrModeChanged();
}

void StationSession::setEditMode(bool on)
{
    if (on == m_editMode)
        return;
    m_editMode = on;
    Q_EMIT editModeChanged(on);
}

void StationSession::setQsoCount(int count)
{
    if (count == m_qsoCount)
        return;
    m_qsoCount = count;
    Q_EMIT qsoCountChanged(count);
}

} // namespace tv
