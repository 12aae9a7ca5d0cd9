#pragma once

#include "aids/mill_history.h"
#include "aids/rate_meter.h"
#include "logstore/score.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace tv {

struct CalendarTime;

namespace aidstext {

// The clock's minute counted as the log lines' moments are (minutes since 1 January 1950).
qint64 minuteOf(const CalendarTime& time);

// "Cadence : 12/h (10 min), 9/h (60 min), dernier QSO il y a 3 min"; "il y a 2 h 05" from an
// hour, "il y a plus d'un jour" from a day (an old log opened again); "aucun QSO" for the last
// part on an empty log.
QString rateText(const Rate& rate);

// A mill as the completer offers it: "DMF 59045 — 59 — Moulin de Hondschoote" (the parts
// that are known).
QString millOffer(const MillHistory::Mill& mill);
// What the mill number field takes for a mill: the number alone for a French mill ("DMF " is
// written by the recording), the whole reference for another ("WIM 7001").
QString millNumberOf(const MillHistory::Mill& mill);

} // namespace aidstext

// One row of the multiplier board: a band and mode of the session and what was contacted on it.
struct BoardRow {
    QByteArray band;
    QByteArray mode;
    int departments = 0; // of kDepartments
    int entities = 0;
    int mills = 0; // mill QSOs
    bool operator==(const BoardRow&) const = default;
};

namespace board {

inline constexpr int kDepartments = 96; // 01 to 95 with 2A and 2B, less the "20" of old

// For each band of the session (SSB then CW), from the score tally; a band that scores nothing
// gives zeros.
QList<BoardRow> rows(const ScoreTally& tally, const QList<QByteArray>& bands);

// The status of a department or an entity on the band and mode in use.
QString statusText(bool isNew);

} // namespace board
} // namespace tv
