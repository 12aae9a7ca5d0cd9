#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>

#include <functional>

namespace tv {

// The known callsigns behind the super check partial: while a callsign is typed, the known ones
// that contain the typed text, then those one character away from it (one added, dropped or
// changed). The index is built once (the master callsign file holds some 85,000 callsigns) and
// is read-only after: it may be built on another thread and then shared.
//
// A look-up takes the typed text's rarest pair of characters to narrow the search, then checks
// each candidate; the one-away pass reads only the callsigns one shorter, as long or one longer.
class CallsignIndex {
public:
    CallsignIndex() = default;
    // The callsigns, in capitals; blanks trimmed, empty and duplicate ones dropped.
    explicit CallsignIndex(QList<QByteArray> callsigns);

    // The callsigns of a master callsign file (MASTER.SCP: one callsign a line, "#" comments).
    // A line that is no callsign (blanks inside, characters other than A-Z, 0-9 and "/", more
    // than 15 characters) is skipped.
    static QList<QByteArray> readMasterFile(QByteArrayView text);

    int size() const { return int(m_calls.size()); }

    struct Suggestions {
        QList<QByteArray> partial; // contain the typed text: those that begin with it first
        QList<QByteArray> oneAway; // one character added, dropped or changed, not in `partial`
        bool operator==(const Suggestions&) const = default;
    };
    // Nothing under 2 characters. `extra` (the log's and the nomenclature's callsigns, a few
    // thousand) is searched too, each callsign listed once. At most `limit` of each kind.
    Suggestions suggest(QByteArrayView typed, const QList<QByteArray>& extra = {}, int limit = 20) const;

    // Whether two texts are one character apart: one added, dropped or changed.
    static bool oneAway(QByteArrayView a, QByteArrayView b);

private:
    QList<QByteArray> m_calls;          // sorted
    QHash<quint16, QList<int>> m_pairs; // two characters -> the callsigns holding them
    QHash<int, QList<int>> m_byLength;  // length -> the callsigns of that length
};

} // namespace tv
