#pragma once

#include "rig/rig.h"

#include <QList>

namespace tv {

// A rig for tests: every command is recorded in order, taken or refused; the test can make the
// next commands fail with a reason, as a radio that went away would.
class FakeRig final : public RigBase {
public:
    struct Call {
        enum Kind { Frequency, Mode } kind;
        tv::Frequency frequency = 0; // for Frequency
        RigMode mode = RigMode::Usb; // for Mode
        bool operator==(const Call&) const = default;
    };

    // From now on every command fails with this reason (an empty reason: they succeed again).
    void failWith(const QString& reason) { m_reason = reason; }
    const QList<Call>& calls() const { return m_calls; }

protected:
    QString sendFrequency(tv::Frequency hz) override
    {
        m_calls.append({Call::Frequency, hz, RigMode::Usb});
        return m_reason;
    }
    QString sendMode(RigMode mode) override
    {
        m_calls.append({Call::Mode, 0, mode});
        return m_reason;
    }

private:
    QList<Call> m_calls;
    QString m_reason;
};

} // namespace tv
