#include "rig/rig.h"

namespace tv {

QString rigModeName(RigMode mode)
{
    switch (mode) {
    case RigMode::Lsb:
        return QStringLiteral("LSB");
    case RigMode::Usb:
        return QStringLiteral("USB");
    case RigMode::Cw:
        return QStringLiteral("CW");
    case RigMode::CwReverse:
        return QStringLiteral("CWR");
    case RigMode::Am:
        return QStringLiteral("AM");
    case RigMode::Fm:
        return QStringLiteral("FM");
    }
    return {};
}

void RigBase::setFrequency(Frequency hz)
{
    RigState next = m_state;
    next.frequency = hz;
    apply(sendFrequency(hz), next);
}

void RigBase::setMode(RigMode mode)
{
    RigState next = m_state;
    next.mode = mode;
    apply(sendMode(mode), next);
}

void RigBase::tune(Frequency hz, RigMode mode)
{
    apply(sendTune(hz, mode), RigState{hz, mode});
}

QString RigBase::sendTune(Frequency hz, RigMode mode)
{
    const QString error = sendFrequency(hz);
    return error.isEmpty() ? sendMode(mode) : error;
}

void RigBase::apply(const QString& error, const RigState& next)
{
    if (!error.isEmpty()) {
        Q_EMIT failure(error);
        return;
    }
    m_state = next;
    Q_EMIT stateChanged(m_state);
}

} // namespace tv
