#pragma once

#include "rig/rig.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <optional>
#include <span>

namespace tv {

class SerialPort;

// The five-byte CAT commands of the Yaesu transceivers the program tunes: four parameter
// bytes P1-P4, then the opcode. The radio answers nothing the program reads.
namespace yaesu {

// A model the operator can choose, in the order of the "Transceiver" setting.
struct Model {
    const char* name; // "FT-847", as the transceiver list shows it
    int defaultBaud;  // the CAT speed the radio leaves the factory with
};
// FT-736, FT-817, FT-847 (the default), FT-897: one command family, so a model is a row.
std::span<const Model> models();
inline constexpr int kDefaultModel = 2;
// The model of a name, "FT-817" or "817", in any case; nothing for another name.
const Model* modelNamed(const QString& name);

// Opcodes. Opening (0x00) and closing (0x80) frame each command: CAT on and off for the
// FT-736 and FT-847, dial lock on and off for the FT-817 and FT-897.
inline constexpr quint8 kOpen = 0x00;
inline constexpr quint8 kSetFrequency = 0x01;
inline constexpr quint8 kSetMode = 0x07;
inline constexpr quint8 kClose = 0x80;

// P1 of the mode command: LSB 00, USB 01, CW 02, CWR 03, AM 04, FM 08.
quint8 modeByte(RigMode mode);

// One command: P1-P4 then the opcode.
QByteArray frame(quint8 opcode, std::array<quint8, 4> parameters = {});

// A frequency in 10 Hz units as eight packed decimal digits, the most significant pair first:
// 1402500 (14025.0 kHz) gives 01 40 25 00. Nothing above 99999999 (999.99999 MHz).
std::optional<std::array<quint8, 4>> packTenHertz(quint64 units);

// The frames of each command, opening and closing included; the frequency is rounded to the
// nearest 10 Hz, and is nothing out of the packing's reach. A click on a spot at 14025.0 kHz,
// in LSB, sends 00 00 00 00 00 / 01 40 25 00 01 / 00 00 00 00 07 / 00 00 00 00 80.
std::optional<QList<QByteArray>> frequencyFrames(Frequency hz);
QList<QByteArray> modeFrames(RigMode mode);
std::optional<QList<QByteArray>> tuneFrames(Frequency hz, RigMode mode);

// The bytes in hexadecimal, upper case, separated by spaces: "01 40 25 00 01".
QString hexText(const QByteArray& bytes);

} // namespace yaesu

// A Yaesu transceiver reached over a serial port that its owner opens and closes.
//
// Responsibilities: send each command as its frames, waiting a bounded time for each frame to
// go out (no other event of the program runs meanwhile); a closed port, a refused write or a
// line that does not drain is a failure in French.
// Collaborations: SerialPort (not owned, outlives the rig); the rig panel and `tune`.
class YaesuRig final : public RigBase {
    Q_OBJECT
public:
    YaesuRig(SerialPort& port, const yaesu::Model& model, QObject* parent = nullptr);

    const yaesu::Model& model() const { return m_model; }
    // The frames of the last command, as far as they went out.
    const QList<QByteArray>& lastFrames() const { return m_sent; }

    static constexpr int kFrameTimeoutMs = 1000;

protected:
    QString sendFrequency(Frequency hz) override;
    QString sendMode(RigMode mode) override;
    QString sendTune(Frequency hz, RigMode mode) override;

private:
    QString send(const std::optional<QList<QByteArray>>& frames, Frequency hz);

    SerialPort& m_port;
    const yaesu::Model& m_model;
    QList<QByteArray> m_sent;
};

} // namespace tv
