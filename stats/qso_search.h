#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The search of the QSO list by callsign, date, department or locator.
//
// Each QSO is seen as its list entry (the row number right-aligned in 5 characters, one space,
// the log line). The criterion's field of the line, trimmed, is compared with the searched text
// in upper case:
//   callsign    columns 11-20 (the first 10 characters)  the text occurs anywhere in it
//   date        columns 1-8                               equal
//   department  columns 37-38                             equal ("2a" and "2A" alike)
//   locator     columns 42-45 (its first 4 characters)    equal
namespace tv::qsosearch {

enum class Criterion { Callsign, Date, Department, Locator };

// The check of a typed text before the search. `message` is empty when the text is accepted;
// `clear` says whether the field is emptied along with the message.
struct Check {
    QString message;
    bool clear = false;
    bool ok() const { return message.isEmpty(); }
};
Check check(Criterion criterion, const QString& text);

// The message for an empty searched text.
QString emptyText(Criterion criterion);
// The message shown when the search found nothing.
QString noMatchText();

struct Match {
    int row = 0;      // the line's row in the log, from 0
    QByteArray entry; // the result line: the first 134 characters of the list entry, and a letter
};
struct Result {
    QList<Match> matches;
    QString message; // "Pas de QSO trouvé" when nothing matched; empty otherwise
};

// The result line of every list entry: its first 134 characters (the number and log columns
// 1-128) followed by a letter for the count column (135): "1" S, "2" E, "3" R, "4" C; any other
// value repeats the letter of the entry before it (none for the first).
// Searches the lines in order. A searched text that starts with CR LF loses those two bytes.
Result search(const QList<QByteArray>& logLines, Criterion criterion, const QByteArray& text);

// The row whose list entry begins with the first 134 characters of a result line: `hint`
// first, then every row in order; -1 when no row does (the log changed meanwhile).
int rowOf(const QList<QByteArray>& logLines, const QByteArray& resultEntry, int hint);

} // namespace tv::qsosearch
