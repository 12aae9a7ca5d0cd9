#pragma once

#include "platform/serial_port.h"

#include <QSerialPort>

namespace tv {

// A serial port of the machine through QSerialPort: 8N1, no flow control.
class QtSerialPort final : public SerialPort {
public:
    QString open(const QString& portName, int baud) override;
    void close() override;
    bool isOpen() const override { return m_port.isOpen(); }
    QString portName() const override { return m_port.portName(); }
    QString setBaudRate(int baud) override;
    QString write(const QByteArray& bytes) override;
    bool waitForBytesWritten(int msecs) override;

private:
    QSerialPort m_port;
};

// The machine's ports, listed by QSerialPortInfo.
class QtSerialPorts final : public SerialPorts {
public:
    QStringList names() const override;
    std::unique_ptr<SerialPort> make() override { return std::make_unique<QtSerialPort>(); }
};

} // namespace tv
