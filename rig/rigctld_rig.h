#pragma once

#include "rig/rig.h"

#include <QStringList>
#include <QTcpSocket>

#include <optional>

namespace tv {

// Any radio Hamlib knows, through its network daemon rigctld and the daemon's text protocol:
// "F 14025000\n" sets the frequency in hertz, "M CW 0\n" the mode (0: the radio's default
// passband); each answers "RPRT 0\n" when taken, "RPRT -n" when refused. "f\n" reads the
// frequency back (one line), "m\n" the mode (two lines: the mode, then the passband).
//
// Responsibilities: connect on the first command and keep the connection, reconnect after a
// failure; wait at most kTimeoutMs for the connection and for each reply, without running
// other events of the program; report a daemon that is absent, silent or refusing in French.
// Collaborations: QTcpSocket; the rig panel and `tune`.
class RigctldRig final : public RigBase {
    Q_OBJECT
public:
    RigctldRig(QString host, quint16 port, QObject* parent = nullptr);

    static constexpr int kTimeoutMs = 2000;
    static constexpr quint16 kDefaultPort = 4532;

    const QString& host() const { return m_host; }
    quint16 port() const { return m_port; }
    // The commands of the last command sent, without their line ends: "F 14025000", "M CW 0".
    const QStringList& lastCommands() const { return m_sent; }

    // What the radio holds now, read back from the daemon, or the failure in French.
    struct ReadBack {
        std::optional<RigState> state;
        QString error;
    };
    ReadBack readBack();

protected:
    QString sendFrequency(Frequency hz) override;
    QString sendMode(RigMode mode) override;
    QString sendTune(Frequency hz, RigMode mode) override;

private:
    QString connectIfNeeded();
    // Sends one command and reads `lines` reply lines (without their line ends).
    QString request(const QString& command, int lines, QStringList& reply);
    // Sends a set command and checks its "RPRT 0".
    QString set(const QString& command);
    QString fail(const QString& error);
    QString where() const;

    QString m_host;
    quint16 m_port;
    QTcpSocket m_socket;
    QStringList m_sent;
};

} // namespace tv
