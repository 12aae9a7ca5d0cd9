#include "spots/telnet_spot_source.h"

#include "logstore/cp1252.h"
#include "spots/spot_list.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace tv {

namespace {

// Telnet commands (RFC 854).
constexpr uchar kIac = 255, kDont = 254, kDo = 253, kWont = 252, kWill = 251, kSb = 250;
constexpr qsizetype kMaxLineBytes = 4096;
constexpr qsizetype kMaxPendingBytes = 64 * 1024;
constexpr int kConnectTimeoutMs = 10000;
// A spot timed a little after our clock is today's: the cluster's clock may run ahead.
constexpr int kClockSkewMinutes = 10;

const QRegularExpression& spotPattern()
{
    // spotter, frequency in kHz, DX call, comment, time; an optional locator at the end.
    static const QRegularExpression pattern(
        QStringLiteral("^DX\\s+DE\\s+([^\\s:]+)(?::\\s*|\\s+)(\\d+(?:\\.\\d+)?)\\s+(\\S+)\\s*(.*?)\\s*(\\d{2})(\\d{2})Z"
                       "(?:\\s+[A-R]{2}\\d{2}(?:[A-X]{2})?)?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

const QRegularExpression& promptPattern()
{
    static const QRegularExpression pattern(QStringLiteral("\\b(login|call|callsign)\\s*:\\s*$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

bool sameSpot(const Spot& a, const Spot& b)
{
    return a.callsign == b.callsign && a.frequency == b.frequency && a.spotter == b.spotter && a.time == b.time;
}

} // namespace

TelnetSpotSource::TelnetSpotSource(QString host, quint16 port, QString callsign, const Clock& clock, QObject* parent)
    : SpotSource(parent), m_host(std::move(host)), m_port(port), m_callsign(std::move(callsign)), m_clock(clock)
{
    m_retry.setSingleShot(true);
    m_connectTimeout.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &TelnetSpotSource::connectNow);
    connect(&m_connectTimeout, &QTimer::timeout, this, [this] {
        const QString reason = QStringLiteral("Le cluster %1 ne répond pas.").arg(site());
        onLost(reason);
        m_socket.abort();
    });
    connect(&m_socket, &QTcpSocket::connected, this, &TelnetSpotSource::onConnected);
    connect(&m_socket, &QTcpSocket::readyRead, this, &TelnetSpotSource::onReadyRead);
    connect(&m_socket, &QTcpSocket::disconnected, this,
            [this] { onLost(QStringLiteral("Le cluster %1 a fermé la liaison.").arg(site())); });
    connect(&m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        switch (error) {
        case QAbstractSocket::ConnectionRefusedError:
            return onLost(QStringLiteral("Le cluster %1 refuse la connexion.").arg(site()));
        case QAbstractSocket::HostNotFoundError:
            return onLost(QStringLiteral("Le cluster %1 est introuvable.").arg(site()));
        case QAbstractSocket::RemoteHostClosedError:
            return onLost(QStringLiteral("Le cluster %1 a fermé la liaison.").arg(site()));
        default:
            return onLost(QStringLiteral("La liaison avec le cluster %1 est coupée.").arg(site()));
        }
    });
}

TelnetSpotSource::~TelnetSpotSource()
{
    m_socket.disconnect(this);
    m_socket.abort();
}

QString TelnetSpotSource::site() const
{
    return QStringLiteral("%1:%2").arg(m_host).arg(m_port);
}

void TelnetSpotSource::setBackoff(int firstMs, int maxMs)
{
    m_firstDelayMs = m_delayMs = firstMs;
    m_maxDelayMs = maxMs;
}

void TelnetSpotSource::start()
{
    if (m_started)
        return;
    m_started = true;
    m_delayMs = m_firstDelayMs;
    connectNow();
}

void TelnetSpotSource::stop()
{
    m_started = false;
    m_retry.stop();
    m_connectTimeout.stop();
    m_socket.abort();
    m_loggedIn = false;
    for (const QString& token : std::exchange(m_waiting, {}))
        Q_EMIT fetchFailed(token, QStringLiteral("La liaison avec le cluster %1 est arrêtée.").arg(site()));
}

void TelnetSpotSource::connectNow()
{
    m_socket.abort();
    m_raw.clear();
    m_buffer.clear();
    m_loggedIn = false;
    m_connectTimeout.start(kConnectTimeoutMs);
    m_socket.connectToHost(m_host, m_port);
}

void TelnetSpotSource::onConnected()
{
    m_connectTimeout.stop();
    m_lastFailure.clear();
    Q_EMIT linkChanged(true, QString());
    for (const QString& token : std::exchange(m_waiting, {}))
        answer(token);
}

void TelnetSpotSource::onLost(const QString& reason)
{
    if (!m_started || m_retry.isActive())
        return;
    m_connectTimeout.stop();
    m_loggedIn = false;
    m_lastFailure = reason;
    m_retry.start(m_delayMs);
    m_delayMs = std::min(m_delayMs * 2, m_maxDelayMs);
    Q_EMIT linkChanged(false, reason);
    for (const QString& token : std::exchange(m_waiting, {}))
        Q_EMIT fetchFailed(token, reason);
}

void TelnetSpotSource::onReadyRead()
{
    m_raw += m_socket.readAll();
    m_buffer += takeTelnetCommands();
    qsizetype start = 0;
    for (qsizetype i = 0; i < m_buffer.size(); ++i) {
        if (m_buffer[i] != '\r' && m_buffer[i] != '\n')
            continue;
        if (i > start)
            handleText(cp1252::decode(m_buffer.mid(start, i - start)), true);
        start = i + 1;
    }
    m_buffer.remove(0, start);
    if (m_buffer.size() > kMaxLineBytes)
        m_buffer.clear(); // no line is that long: noise
    else if (!m_buffer.isEmpty())
        handleText(cp1252::decode(m_buffer), false); // a prompt waits on its line
}

// Takes the telnet commands out of the bytes received, refusing every option asked for; an
// incomplete command stays for the next read.
QByteArray TelnetSpotSource::takeTelnetCommands()
{
    QByteArray data, refusals;
    qsizetype i = 0;
    while (i < m_raw.size()) {
        const uchar c = uchar(m_raw[i]);
        if (c != kIac) {
            data += char(c);
            ++i;
            continue;
        }
        if (i + 1 >= m_raw.size())
            break;
        const uchar command = uchar(m_raw[i + 1]);
        if (command == kIac) {
            data += char(kIac);
            i += 2;
        } else if (command >= kWill && command <= kDont) {
            if (i + 2 >= m_raw.size())
                break;
            if (command == kWill || command == kDo)
                refusals += QByteArray(1, char(kIac)) + char(command == kWill ? kDont : kWont) + m_raw[i + 2];
            i += 3;
        } else if (command == kSb) {
            const qsizetype end = m_raw.indexOf(QByteArray("\xff\xf0"), i + 2);
            if (end < 0)
                break;
            i = end + 2;
        } else {
            i += 2;
        }
    }
    m_raw.remove(0, i);
    if (m_raw.size() > kMaxPendingBytes)
        m_raw.clear();
    if (!refusals.isEmpty())
        m_socket.write(refusals);
    return data;
}

void TelnetSpotSource::handleText(const QString& line, bool complete)
{
    if (!m_loggedIn && promptPattern().match(line).hasMatch()) {
        m_socket.write(m_callsign.toLatin1() + "\r\n");
        m_loggedIn = true;
        m_delayMs = m_firstDelayMs; // a real cluster answered: start the back-off afresh next time
        if (!complete)
            m_buffer.clear();
        return;
    }
    if (!complete)
        return;
    const std::optional<Spot> spot = parseLine(line, m_clock.utcNow());
    if (!spot || std::any_of(m_spots.begin(), m_spots.end(), [&](const Spot& s) { return sameSpot(s, *spot); }))
        return;
    m_spots << *spot;
    while (m_spots.size() > std::max(m_maxSpots, 1))
        m_spots.removeFirst();
    Q_EMIT spotReceived(*spot);
}

void TelnetSpotSource::fetch(const QString& token)
{
    start();
    if (isConnected())
        answer(token);
    else if (m_retry.isActive())
        Q_EMIT fetchFailed(token, m_lastFailure);
    else if (!m_waiting.contains(token))
        m_waiting << token;
}

void TelnetSpotSource::answer(const QString& token)
{
    const auto range = spotlist::tokenRange(token);
    if (!range) {
        Q_EMIT fetchFailed(token, QStringLiteral("Aucune bande ne correspond à « %1 ».").arg(token));
        return;
    }
    QList<Spot> inBand;
    for (const Spot& spot : std::as_const(m_spots))
        if (spot.frequency >= range->first && spot.frequency <= range->second)
            inBand << spot;
    Q_EMIT spotsFetched(token, inBand);
}

std::optional<Spot> TelnetSpotSource::parseLine(const QString& line, const CalendarTime& utcNow)
{
    const QRegularExpressionMatch m = spotPattern().match(line.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    bool ok = false;
    const double khz = QLocale::c().toDouble(m.captured(2), &ok);
    const int hour = m.captured(5).toInt(), minute = m.captured(6).toInt();
    if (!ok || !(khz > 0) || khz > 1e9 || hour > 23 || minute > 59)
        return std::nullopt;
    QDate day(utcNow.year, utcNow.month, utcNow.day);
    if (hour * 60 + minute > utcNow.hour * 60 + utcNow.minute + kClockSkewMinutes)
        day = day.addDays(-1);
    Spot spot;
    spot.spotter = m.captured(1).toUpper();
    spot.frequency = static_cast<quint64>(std::llround(khz * 1000.0));
    spot.qrg = QString::number(khz, 'f', 1);
    spot.callsign = m.captured(3).toUpper();
    spot.comment = m.captured(4).trimmed();
    spot.time = day.toString(QStringLiteral("yy-MM-dd ")) + m.captured(5) + m.captured(6);
    return spot;
}

} // namespace tv
