#pragma once

#include "logstore/station_paths.h"
#include "platform/file_system.h"

#include <QByteArray>
#include <QList>
#include <QMap>

namespace tv {

// Every mill reference ever logged, with its department and name, offered while a mill number
// is typed. Kept in "Historique_Moulins.txt" in the program directory, one mill a line, in
// Windows-1252 with CR LF:
//   reference ; department ; name          ("DMF 59045;59;Moulin de Hondschoote")
// sorted by reference, rewritten whole and atomically. Learned from log lines: a mill QSO
// (activity "1") with a reference; the latest name and department seen for a reference win, an
// empty one never replaces a known one.
class MillHistory {
public:
    struct Mill {
        QByteArray reference;
        QByteArray department;
        QByteArray name;
        bool operator==(const Mill&) const = default;
    };

    static QString fileName() { return QStringLiteral("Historique_Moulins.txt"); }

    // The mills of the file's bytes; lines without a reference are skipped.
    static MillHistory fromBytes(const QByteArray& bytes);
    QByteArray toBytes() const;

    // Adds the mills of log lines; the number of references new to the history.
    int learn(const QList<QByteArray>& logLines);

    // The mills whose reference begins with the typed text, in reference order. A French mill
    // number typed alone ("590", "59045") is read as "DMF 590", "DMF 59045".
    QList<Mill> offers(const QByteArray& typed, int limit = 12) const;

    int size() const { return int(m_mills.size()); }

private:
    QMap<QByteArray, Mill> m_mills;
};

namespace millhistory {

// Reads the history of the program directory (empty when the file is missing), learns the log
// lines, and writes it back when it learned something. The result is that of the write, or of
// the read when the file exists but cannot be read (then nothing is written).
FileResult update(FileSystem& files, const QString& programDir, const QList<QByteArray>& logLines,
                  MillHistory* history = nullptr);

} // namespace millhistory
} // namespace tv
