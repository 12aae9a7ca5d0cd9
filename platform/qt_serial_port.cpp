#include "platform/qt_serial_port.h"

#include <QDeadlineTimer>
#include <QSerialPortInfo>

namespace tv {

QString QtSerialPort::open(const QString& portName, int baud)
{
    close();
    // A full path (/dev/ttyUSB0) is taken as it is, a bare name (ttyUSB0, COM3) in the
    // system's device folder.
    m_port.setPortName(portName);
    m_port.setBaudRate(baud);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite))
        return m_port.errorString();
    return {};
}

void QtSerialPort::close()
{
    if (m_port.isOpen())
        m_port.close();
}

QString QtSerialPort::setBaudRate(int baud)
{
    if (!m_port.setBaudRate(baud))
        return m_port.errorString();
    return {};
}

QString QtSerialPort::write(const QByteArray& bytes)
{
    if (!m_port.isOpen())
        return QStringLiteral("port fermé");
    if (m_port.write(bytes) != bytes.size())
        return m_port.errorString();
    return {};
}

bool QtSerialPort::waitForBytesWritten(int msecs)
{
    // QSerialPort waits on the device itself, without the program's event loop.
    const QDeadlineTimer deadline(msecs);
    while (m_port.bytesToWrite() > 0) {
        if (deadline.hasExpired() || !m_port.waitForBytesWritten(int(deadline.remainingTime())))
            return m_port.bytesToWrite() == 0;
    }
    return true;
}

QStringList QtSerialPorts::names() const
{
    QStringList out;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        out << info.systemLocation();
    out.sort();
    return out;
}

} // namespace tv
