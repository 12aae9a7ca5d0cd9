#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace tv::test {

// A pseudo-terminal pair: the program opens the slave as its serial port, the test reads what
// reaches the master. Closed at the end of the test.
class PtyPair {
public:
    PtyPair()
    {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0)
            return;
        termios raw{};
        tcgetattr(m_master, &raw);
        cfmakeraw(&raw);
        tcsetattr(m_master, TCSANOW, &raw);
        m_slave = QString::fromLatin1(ptsname(m_master));
    }
    ~PtyPair()
    {
        if (m_master >= 0)
            ::close(m_master);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return !m_slave.isEmpty(); }
    const QString& slave() const { return m_slave; }

    // What reached the master: `count` bytes, or fewer when none came for `msecs`.
    QByteArray read(int count, int msecs = 3000)
    {
        QByteArray out;
        const QDeadlineTimer deadline(msecs);
        while (out.size() < count && !deadline.hasExpired()) {
            pollfd p{m_master, POLLIN, 0};
            if (poll(&p, 1, int(deadline.remainingTime())) <= 0 || !(p.revents & POLLIN))
                break;
            char buffer[256];
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n <= 0)
                break;
            out.append(buffer, n);
        }
        return out;
    }

private:
    int m_master = -1;
    QString m_slave;
};

} // namespace tv::test
