#pragma once

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace tv::test {

// Hamlib's dummy rig behind rigctld on a free loopback port, started for one test and stopped
// with it.
class RigctldDaemon {
public:
    RigctldDaemon()
    {
        m_port = freePort();
        m_process.start(QStringLiteral("rigctld"), {"-m", "1", "-T", "127.0.0.1", "-t", QString::number(m_port)});
        if (!m_process.waitForStarted(5000)) {
            m_error = QStringLiteral("rigctld ne démarre pas : ") + m_process.errorString();
            return;
        }
        const QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired()) {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, m_port);
            if (probe.waitForConnected(200))
                return;
            QThread::msleep(50);
        }
        m_error = QStringLiteral("rigctld n'écoute pas sur le port %1").arg(m_port);
    }
    ~RigctldDaemon() { stop(); }

    bool started() const { return m_error.isEmpty(); }
    const QString& error() const { return m_error; }
    quint16 port() const { return m_port; }
    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.kill();
        m_process.waitForFinished(5000);
    }

    // A loopback port nobody listens on.
    static quint16 freePort()
    {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost, 0);
        return server.serverPort();
    }

private:
    QProcess m_process;
    quint16 m_port = 0;
    QString m_error;
};

} // namespace tv::test
