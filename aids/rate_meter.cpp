#include "aids/rate_meter.h"

#include "logstore/qso_line.h"

namespace tv::rate {

Rate at(const QList<QByteArray>& lines, qint64 nowMinute)
{
    Rate out;
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        const std::optional<qint64> when = qsoline::sortKey(lines[i]);
        if (!when || *when > nowMinute)
            continue;
        const qint64 age = nowMinute - *when;
        if (!out.minutesSinceLast || age < *out.minutesSinceLast)
            out.minutesSinceLast = age;
        if (age >= 60)
            break;
        ++out.last60;
        if (age < 10)
            ++out.last10;
    }
    return out;
}

} // namespace tv::rate
