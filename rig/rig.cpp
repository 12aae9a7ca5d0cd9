#include "rig/rig.h"

namespace tv {

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
