#pragma once

#include "logstore/callsign_rule.h"

#include <QValidator>

namespace tv {

// The callsign typing filter on a text field: what is typed or pasted goes through
// callsign::typed (capitals; "_" for "/" in the station's callsign).
class CallsignValidator final : public QValidator {
public:
    CallsignValidator(callsign::Kind kind, QObject* parent) : QValidator(parent), m_kind(kind) {}

    State validate(QString& input, int&) const override
    {
        input = callsign::typed(input, m_kind);
        return Acceptable;
    }

private:
    callsign::Kind m_kind;
};

} // namespace tv
