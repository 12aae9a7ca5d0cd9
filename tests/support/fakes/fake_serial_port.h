#pragma once

#include "platform/serial_port.h"

#include <QList>
#include <QStringList>

#include <memory>

namespace tv {

// Serial ports for tests: the machine's port names are the test's, a name the test refuses
// cannot be opened, and every byte written through any port made here is recorded with the
// port and speed it went out on.
class FakeSerialPorts final : public SerialPorts {
public:
    struct Write {
        QString port;
        int baud = 0;
        QByteArray bytes;
        bool operator==(const Write&) const = default;
    };
    struct Shared {
        QStringList refused;     // names that cannot be opened
        bool failWrites = false; // every write fails
        QList<Write> writes;     // in order
        QStringList opened;      // every open, "name@baud"
        int openNow = 0;         // ports open at this moment
    };

    explicit FakeSerialPorts(QStringList names = {}) : m_names(std::move(names)) {}

    QStringList names() const override { return m_names; }
    std::unique_ptr<SerialPort> make() override { return std::make_unique<Port>(m_shared); }

    void refuse(const QString& name) { m_shared->refused << name; }
    void failWrites(bool fail) { m_shared->failWrites = fail; }
    const QList<Write>& writes() const { return m_shared->writes; }
    const QStringList& opened() const { return m_shared->opened; }
    int openNow() const { return m_shared->openNow; }
    // The bytes written, one frame of `size` bytes after another, as "00 00 00 00 80".
    QStringList frames(int size = 5) const
    {
        QByteArray all;
        for (const Write& w : m_shared->writes)
            all += w.bytes;
        QStringList out;
        for (int i = 0; i < all.size(); i += size)
            out << QString::fromLatin1(all.mid(i, size).toHex(' '));
        return out;
    }
    void clearWrites() { m_shared->writes.clear(); }

private:
    class Port final : public SerialPort {
    public:
        explicit Port(std::shared_ptr<Shared> shared) : m_shared(std::move(shared)) {}
        ~Port() override { close(); }
        QString open(const QString& portName, int baud) override
        {
            close();
            m_name = portName;
            m_baud = baud;
            if (m_shared->refused.contains(portName))
                return QStringLiteral("No such file or directory");
            m_open = true;
            ++m_shared->openNow;
            m_shared->opened << portName + QLatin1Char('@') + QString::number(baud);
            return {};
        }
        void close() override
        {
            if (m_open)
                --m_shared->openNow;
            m_open = false;
        }
        bool isOpen() const override { return m_open; }
        QString portName() const override { return m_name; }
        QString setBaudRate(int baud) override
        {
            m_baud = baud;
            return {};
        }
        QString write(const QByteArray& bytes) override
        {
            if (!m_open || m_shared->failWrites)
                return QStringLiteral("Input/output error");
            m_shared->writes.append({m_name, m_baud, bytes});
            return {};
        }
        bool waitForBytesWritten(int) override { return m_open; }

    private:
        std::shared_ptr<Shared> m_shared;
        QString m_name;
        int m_baud = 0;
        bool m_open = false;
    };

    QStringList m_names;
    std::shared_ptr<Shared> m_shared = std::make_shared<Shared>();
};

} // namespace tv
