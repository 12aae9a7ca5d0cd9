#pragma once

#include <QByteArray>
#include <QList>

#include <optional>

namespace tv {

// The operator's rate: QSOs of the last 10 and 60 minutes, as QSOs per hour, and the minutes
// since the last QSO, from the log lines' dates and start times (minutes since 1950, as
// qsoline::sortKey counts them) and the clock's minute in the same time (UTC or local, as the
// log is kept). Lines in the future or without a readable date count for nothing.
struct Rate {
    int last10 = 0;
    int last60 = 0;
    std::optional<qint64> minutesSinceLast; // nothing on an empty log
    int perHour10() const { return last10 * 6; }
    int perHour60() const { return last60; }
    bool operator==(const Rate&) const = default;
};

namespace rate {

// The log is kept in date order, so only its last lines are read: the scan stops at the first
// line more than an hour old.
Rate at(const QList<QByteArray>& lines, qint64 nowMinute);

} // namespace rate
} // namespace tv
