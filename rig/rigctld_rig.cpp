#include "rig/rigctld_rig.h"

#include <QDeadlineTimer>

namespace tv {
namespace {

QString reasonOf(const QTcpSocket& socket, bool timedOut)
{
    if (timedOut)
        return QStringLiteral("pas de réponse en %1 s").arg(RigctldRig::kTimeoutMs / 1000);
    switch (socket.error()) {
    case QAbstractSocket::ConnectionRefusedError:
        return QStringLiteral("connexion refusée");
    case QAbstractSocket::HostNotFoundError:
        return QStringLiteral("hôte inconnu");
    case QAbstractSocket::RemoteHostClosedError:
        return QStringLiteral("connexion fermée par rigctld");
    case QAbstractSocket::SocketTimeoutError:
        return QStringLiteral("pas de réponse en %1 s").arg(RigctldRig::kTimeoutMs / 1000);
    default:
        return socket.errorString();
    }
}

std::optional<RigMode> modeNamed(const QString& name)
{
    for (RigMode m : {RigMode::Lsb, RigMode::Usb, RigMode::Cw, RigMode::CwReverse, RigMode::Am, RigMode::Fm}) {
        if (rigModeName(m) == name)
            return m;
    }
    return std::nullopt;
}

} // namespace

RigctldRig::RigctldRig(QString host, quint16 port, QObject* parent)
    : RigBase(parent), m_host(std::move(host)), m_port(port)
{
}

QString RigctldRig::where() const
{
    return m_host + QLatin1Char(':') + QString::number(m_port);
}

QString RigctldRig::fail(const QString& error)
{
    m_socket.abort(); // the next command starts on a new connection
    return error;
}

QString RigctldRig::connectIfNeeded()
{
    if (m_socket.state() == QAbstractSocket::ConnectedState)
        return {};
    m_socket.abort();
    m_socket.connectToHost(m_host, m_port);
    if (m_socket.waitForConnected(kTimeoutMs))
        return {};
    const bool timedOut = m_socket.error() == QAbstractSocket::SocketTimeoutError;
    return fail(QStringLiteral("rigctld ne répond pas sur %1 (%2)").arg(where(), reasonOf(m_socket, timedOut)));
}

QString RigctldRig::request(const QString& command, int lines, QStringList& reply)
{
    if (const QString error = connectIfNeeded(); !error.isEmpty())
        return error;
    m_sent << command;
    m_socket.write(command.toLatin1() + '\n');
    const QDeadlineTimer deadline(kTimeoutMs);
    while (reply.size() < lines) {
        if (m_socket.canReadLine()) {
            reply << QString::fromLatin1(m_socket.readLine()).trimmed();
            continue;
        }
        if (deadline.hasExpired() || !m_socket.waitForReadyRead(int(deadline.remainingTime()))) {
            return fail(QStringLiteral("rigctld (%1) n'a pas répondu à « %2 » (%3)")
                            .arg(where(), command, reasonOf(m_socket, deadline.hasExpired())));
        }
    }
    return {};
}

QString RigctldRig::set(const QString& command)
{
    QStringList reply;
    if (const QString error = request(command, 1, reply); !error.isEmpty())
        return error;
    if (reply[0] != QLatin1String("RPRT 0"))
        return fail(QStringLiteral("rigctld (%1) refuse « %2 » (%3)").arg(where(), command, reply[0]));
    return {};
}

QString RigctldRig::sendFrequency(Frequency hz)
{
    m_sent.clear();
    return set(QStringLiteral("F %1").arg(hz));
}

QString RigctldRig::sendMode(RigMode mode)
{
    m_sent.clear();
    return set(QStringLiteral("M %1 0").arg(rigModeName(mode)));
}

QString RigctldRig::sendTune(Frequency hz, RigMode mode)
{
    m_sent.clear();
    const QString error = set(QStringLiteral("F %1").arg(hz));
    return error.isEmpty() ? set(QStringLiteral("M %1 0").arg(rigModeName(mode))) : error;
}

RigctldRig::ReadBack RigctldRig::readBack()
{
    m_sent.clear();
    QStringList frequency, mode;
    QString error = request(QStringLiteral("f"), 1, frequency);
    if (error.isEmpty())
        error = request(QStringLiteral("m"), 2, mode);
    if (!error.isEmpty())
        return {std::nullopt, error};
    bool ok = false;
    const Frequency hz = frequency[0].toULongLong(&ok);
    const std::optional<RigMode> m = modeNamed(mode[0]);
    if (!ok || !m)
        return {std::nullopt, fail(QStringLiteral("rigctld (%1) répond « %2 » et « %3 », qui ne se lisent pas")
                                       .arg(where(), frequency[0], mode[0]))};
    return {RigState{hz, *m}, {}};
}

} // namespace tv
