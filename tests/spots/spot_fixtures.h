#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace tv::test {

// One row of a spot page: seven lines as the spot server writes them.
inline QByteArray pageRow(const QByteArray& dx, const QByteArray& qrg, const QByteArray& time,
                          const QByteArray& spotter, const QByteArray& remark)
{
    return "<TR>\n<TD><A HREF=\"/dx?c=" + dx + "\" TARGET=\"_blank\">" + dx + "</A></TD>\n<TD ALIGN=\"right\">" + qrg +
           " &nbsp;</TD>\n<TD ALIGN=\"left\"> " + time + "&nbsp;</TD>\n<TD><A HREF=\"/dx?c=" + spotter +
           "\" target=\"_blank\">" + spotter + "</A></TD>\n<TD ALIGN=\"left\"> " + remark + "</TD>\n</TR>\n";
}
// A table's start and its seven head fields.
inline const QByteArray kTableHead =
    "<table>\n<TR>\n<TH>DX</TH>\n<TH>QRG</TH>\n<TH>Date</TH>\n<TH>Spotter</TH>\n<TH>Remarques</TH>\n</TR>\n";
inline QByteArray page(const QByteArray& rows)
{
    return "<html><body>\n" + kTableHead + rows + "</table>\n</body></html>\n";
}

// A spot server on 127.0.0.1 for the tests: answers GET of the pages it was given (404 for any
// other), after `delayMs`, then closes; records every path asked for.
class SpotHttpServer : public QTcpServer {
public:
    SpotHttpServer()
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { serve(socket); });
        });
    }
    QString base() const { return QStringLiteral("http://127.0.0.1:%1").arg(serverPort()); }

    QHash<QString, QByteArray> pages;
    int delayMs = 0;
    QStringList requests;

private:
    void serve(QTcpSocket* socket)
    {
        QByteArray& received = m_received[socket];
        received += socket->readAll();
        if (!received.contains("\r\n\r\n"))
            return;
        const QString path = QString::fromLatin1(received.split(' ').value(1));
        requests << path;
        const bool found = pages.contains(path);
        const QByteArray body = pages.value(path);
        QPointer<QTcpSocket> guard(socket);
        QTimer::singleShot(delayMs, this, [guard, found, body] {
            if (!guard)
                return;
            guard->write((found ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n") +
                         QByteArray("Content-Type: text/html\r\nConnection: close\r\nContent-Length: ") +
                         QByteArray::number(body.size()) + "\r\n\r\n" + body);
            guard->disconnectFromHost();
        });
    }
    QHash<QTcpSocket*, QByteArray> m_received;
};

// A DX cluster on 127.0.0.1 for the tests: greets each caller with a telnet option request and
// a login prompt, records what each sends, sends `afterLogin` once the caller has answered,
// and sends lines to everyone connected.
class TelnetCluster : public QTcpServer {
public:
    TelnetCluster()
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                clients << socket;
                received << QByteArray();
                const qsizetype index = received.size() - 1;
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket, index] {
                    const bool first = !received[index].contains("\r\n");
                    received[index] += socket->readAll();
                    if (first && received[index].contains("\r\n"))
                        socket->write(afterLogin);
                });
                socket->write(QByteArray("\xff\xfd\x18", 3) +
                              "Welcome to the test cluster\r\nPlease enter your call: ");
            }
        });
    }
    void send(const QByteArray& lines)
    {
        for (QTcpSocket* socket : std::as_const(clients))
            if (socket && socket->state() == QAbstractSocket::ConnectedState)
                socket->write(lines);
    }
    void hangUp()
    {
        for (QTcpSocket* socket : std::as_const(clients))
            if (socket)
                socket->disconnectFromHost();
    }

    QByteArray afterLogin; // sent to each caller once it has given its callsign
    QList<QPointer<QTcpSocket>> clients;
    QList<QByteArray> received; // what each connection sent, in order of connection
};

// A port on 127.0.0.1 where nobody listens.
inline quint16 deadPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return server.serverPort();
}

} // namespace tv::test
