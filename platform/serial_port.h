#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

namespace tv {

// A serial line, 8 data bits, no parity, one stop bit, no flow control. The program only
// writes to it.
//
// Responsibilities: open a port of the machine by name at a speed, change the speed, write
// bytes and wait a bounded time until they are sent. Waiting runs no other event of the
// program: no handler is re-entered while a command goes out.
// Collaborations: QtSerialPort (QSerialPort), FakeSerialPort in the tests; YaesuRig writes
// its frames through it, the rig panel opens and closes it.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Opens the port ("/dev/ttyUSB0", "COM3") at `baud` bit/s; an empty text when it is open,
    // else the reason. An open port is closed first.
    virtual QString open(const QString& portName, int baud) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual QString portName() const = 0;
    // Sets the speed, open or not (it holds for the next open); an empty text when taken.
    virtual QString setBaudRate(int baud) = 0;
    // Queues the bytes; an empty text when taken, else the reason.
    virtual QString write(const QByteArray& bytes) = 0;
    // Waits until every queued byte is sent, at most `msecs`; false when some are left.
    virtual bool waitForBytesWritten(int msecs) = 0;
};

// The serial ports of the machine: their names, and a port object to open one of them.
class SerialPorts {
public:
    virtual ~SerialPorts() = default;
    // The port names of the machine, sorted ("/dev/ttyS0", "/dev/ttyUSB0"; "COM1" on Windows).
    virtual QStringList names() const = 0;
    virtual std::unique_ptr<SerialPort> make() = 0;
};

} // namespace tv
