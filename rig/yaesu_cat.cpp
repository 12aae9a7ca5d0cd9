#include "rig/yaesu_cat.h"

#include "platform/serial_port.h"
#include "rig/spot_tuning.h"

namespace tv {
namespace yaesu {
namespace {

constexpr Model kModels[] = {{"FT-736", 4800}, {"FT-817", 4800}, {"FT-847", 57600}, {"FT-897", 4800}};

constexpr quint64 kLargestUnits = 99999999;

} // namespace

std::span<const Model> models()
{
    return kModels;
}

const Model* modelNamed(const QString& name)
{
    const QString wanted = name.trimmed().toUpper();
    for (const Model& m : kModels) {
        const QString full = QString::fromLatin1(m.name);
        if (wanted == full || wanted == full.mid(3))
            return &m;
    }
    return nullptr;
}

quint8 modeByte(RigMode mode)
{
    switch (mode) {
    case RigMode::Lsb:
        return 0x00;
    case RigMode::Usb:
        return 0x01;
    case RigMode::Cw:
        return 0x02;
    case RigMode::CwReverse:
        return 0x03;
    case RigMode::Am:
        return 0x04;
    case RigMode::Fm:
        return 0x08;
    }
    return 0x00;
}

QByteArray frame(quint8 opcode, std::array<quint8, 4> parameters)
{
    QByteArray out(5, '\0');
    for (int i = 0; i < 4; ++i)
        out[i] = char(parameters[i]);
    out[4] = char(opcode);
    return out;
}

std::optional<std::array<quint8, 4>> packTenHertz(quint64 units)
{
    if (units > kLargestUnits)
        return std::nullopt;
    std::array<quint8, 4> packed{};
    for (int i = 3; i >= 0; --i) {
        const quint64 pair = units % 100;
        packed[i] = quint8((pair / 10) << 4 | pair % 10);
        units /= 100;
    }
    return packed;
}

std::optional<QList<QByteArray>> frequencyFrames(Frequency hz)
{
    const std::optional<std::array<quint8, 4>> packed = packTenHertz((hz + 5) / 10);
    if (!packed)
        return std::nullopt;
    return QList<QByteArray>{frame(kOpen), frame(kSetFrequency, *packed), frame(kClose)};
}

QList<QByteArray> modeFrames(RigMode mode)
{
    return {frame(kOpen), frame(kSetMode, {modeByte(mode), 0, 0, 0}), frame(kClose)};
}

std::optional<QList<QByteArray>> tuneFrames(Frequency hz, RigMode mode)
{
    std::optional<QList<QByteArray>> frames = frequencyFrames(hz);
    if (frames)
        frames->insert(2, modeFrames(mode)[1]);
    return frames;
}

QString hexText(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

} // namespace yaesu

YaesuRig::YaesuRig(SerialPort& port, const yaesu::Model& model, QObject* parent)
    : RigBase(parent), m_port(port), m_model(model)
{
}

QString YaesuRig::sendFrequency(Frequency hz)
{
    return send(yaesu::frequencyFrames(hz), hz);
}

QString YaesuRig::sendMode(RigMode mode)
{
    return send(yaesu::modeFrames(mode), 0);
}

QString YaesuRig::sendTune(Frequency hz, RigMode mode)
{
    return send(yaesu::tuneFrames(hz, mode), hz);
}

QString YaesuRig::send(const std::optional<QList<QByteArray>>& frames, Frequency hz)
{
    m_sent.clear();
    if (!frames)
        return QStringLiteral("La fréquence %1 kHz est hors de portée du %2")
            .arg(spottuning::kilohertzText(hz), QString::fromLatin1(m_model.name));
    const QString port = m_port.portName();
    if (!m_port.isOpen())
        return port.isEmpty() ? QStringLiteral("Aucun port n'est ouvert")
                              : QStringLiteral("Le port %1 n'est pas ouvert").arg(port);
    for (const QByteArray& f : *frames) {
        const QString error = m_port.write(f);
        if (!error.isEmpty())
            return QStringLiteral("Le port %1 refuse la commande (%2)").arg(port, error);
        if (!m_port.waitForBytesWritten(kFrameTimeoutMs))
            return QStringLiteral("Le port %1 n'a pas envoyé la commande en %2 s")
                .arg(port)
                .arg(kFrameTimeoutMs / 1000);
        m_sent << f;
    }
    return {};
}

} // namespace tv
