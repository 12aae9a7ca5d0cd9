#pragma once

#include "platform/clock.h"
#include "spots/spot_source.h"

#include <QByteArray>
#include <QStringList>
#include <QTcpSocket>
#include <QTimer>

#include <optional>

namespace tv {

// Spots from a telnet DX cluster.
//
// Responsibilities: stay connected to HOST:PORT, answer the login prompt ("login:", "Please
// enter your call:", any line ending in "login:", "call:" or "callsign:") with the station's
// callsign, keep the latest spots of the "DX de" lines (the last kDefaultMaxSpots), and after a
// lost or refused connection try again after 2, 4, 8 ... up to 60 s. fetch(token) answers the
// spots received so far whose frequency lies in the token's band (spotlist::tokenRange); while
// a connection is being made it answers once the connection is up or has failed; while the
// link is down it fails with the reason. Telnet option requests are refused.
// Collaborations: QTcpSocket; the Clock dates the spots; the cluster window and the command line.
class TelnetSpotSource final : public SpotSource {
    Q_OBJECT
public:
    static constexpr int kDefaultMaxSpots = 500;

    // `callsign` as shown ("F0ZZZ/P"), sent at the login prompt.
    TelnetSpotSource(QString host, quint16 port, QString callsign, const Clock& clock, QObject* parent = nullptr);
    ~TelnetSpotSource() override;

    // Connects (fetch() does it too when the source is not started); stop() hangs up for good.
    void start();
    void stop();
    bool isConnected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }
    bool isLoggedIn() const { return m_loggedIn; }

    // The delay before the first new attempt, doubled after each failure up to `maxMs`.
    void setBackoff(int firstMs, int maxMs);
    void setMaxSpots(int count) { m_maxSpots = count; }
    const QList<Spot>& spots() const { return m_spots; } // oldest first

    void fetch(const QString& token) override;

    // One cluster line as a spot: "DX de F5ABC:     14025.0  DL1ABC   comment   1234Z" (also
    // "DX de F5ABC 14025.0 ...", with a locator after the time, in any case). The time shown is
    // "yy-MM-dd hhmm" (13 characters, in date order), dated by `utcNow`: the day before when the
    // spot's time is more than 10 minutes later than now. The QRG is written with one decimal ("14025.0").
    static std::optional<Spot> parseLine(const QString& line, const CalendarTime& utcNow);

Q_SIGNALS:
    // The link came up (`up`, no reason) or went down, with the reason in French.
    void linkChanged(bool up, const QString& reason);
    void spotReceived(const tv::Spot& spot);

private:
    void connectNow();
    void onConnected();
    void onLost(const QString& reason);
    void onReadyRead();
    QByteArray takeTelnetCommands();
    void handleText(const QString& line, bool complete);
    void answer(const QString& token);
    QString site() const;

    QString m_host;
    quint16 m_port;
    QString m_callsign;
    const Clock& m_clock;
    QTcpSocket m_socket;
    QTimer m_retry;
    QTimer m_connectTimeout;
    QByteArray m_raw;    // bytes received, telnet commands not yet taken out
    QByteArray m_buffer; // text of the line being received
    QList<Spot> m_spots;
    QStringList m_waiting; // tokens to answer when the connection is up or has failed
    QString m_lastFailure;
    bool m_started = false;
    bool m_loggedIn = false;
    int m_firstDelayMs = 2000;
    int m_maxDelayMs = 60000;
    int m_delayMs = 2000;
    int m_maxSpots = kDefaultMaxSpots;
};

} // namespace tv
