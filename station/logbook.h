#pragma once

#include "logstore/department_file.h"
#include "logstore/multiplier_rebuild.h"
#include "logstore/score.h"
#include "logstore/station_paths.h"
#include "platform/file_system.h"
#include "platform/services.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>

#include <array>
#include <optional>

namespace tv {

// A QSO ready to be written, with what recording it changes beside the log line.
struct QsoWrite {
    QByteArray line;             // the 199-character line, without its CR LF
    bool inDateOrder = false;    // placed in date and time order (manual date) instead of appended
    QByteArray departmentToMark; // a department new on the line's band and mode, or empty
    QByteArray entityToMark;     // a DXCC entity the operator confirmed as new, or empty
    // The nomenclature entry the operator asked to replace (callsign, department, locator).
    std::optional<std::array<QByteArray, 3>> station;
    QByteArray firstNameLine; // the first-name list line of the QSO, replacing the callsign's
};

// What writing a QSO did.
struct QsoWriteOutcome {
    FileResult log;             // the log line's write; when it failed nothing else was written
    QStringList failures;       // "file : Erreur N° n (reason)" of the marks and lists not updated
    bool unknownEntity = false; // the entity to mark has no line in the prefix file

    bool logWritten() const { return log.ok(); }
};

// The station's log as the program holds it: the lines as loaded, the score tally and the
// duplicate index, kept in step with the files.
//
// Responsibilities: load the log and the four multiplier files; record, replace and remove a
// QSO, writing the log line first (one whole-line append or one atomic replace), then the
// multiplier marks and the name lists, and only then the lines in memory; rebuild the
// multiplier files; keep the tally and the duplicate index so that recording on a full log
// costs what it costs on an empty one; signal what changed.
// The files stay the truth: the tally's multipliers are counted from the multiplier files'
// bytes, re-read whenever a mark changes.
// Collaborations: Services (files, program directory), LogFile, DepartmentFile, PrefixFile,
// NameLists, MultiplierRebuild, the score tally. The QSO list, the department grid and the
// score label listen to its signals.
class Logbook final : public QObject {
    Q_OBJECT
public:
    Logbook(Services services, QObject* parent = nullptr);

    // The station whose files are held; load() must follow.
    void setStation(const QString& storedCallsign);
    const QString& storedCallsign() const { return m_callsign; }
    StationPaths paths() const;

    struct Failure {
        FileResult result;
        QString path; // the file that failed
        bool ok() const { return result.ok(); }
    };
    // Reads the log and the multiplier files; on success the lines, the tally and the index are
    // replaced and reloaded() is emitted. On failure nothing changes and fileFailed() is emitted.
    Failure load();

    const QList<QByteArray>& lines() const { return m_lines; }
    int count() const { return int(m_lines.size()); }
    const ScoreTally& tally() const { return m_tally; }
    double score(bool hfSession) const { return tv::score(m_tally, hfSession); }

    // The first line whose callsign, band and mode (trimmed) equal these, or nothing.
    std::optional<int> findDuplicate(const QByteArray& callsign, const QByteArray& band, const QByteArray& mode) const;

    // The marks of the department grid for a band and mode, read from the department file.
    DepartmentFile::Grid departmentGrid(const QByteArray& band, bands::Mode mode) const;

    // Writes a new QSO: the line (appended, or placed in date order), then its marks, the
    // nomenclature and the first-name list.
    QsoWriteOutcome record(const QsoWrite& qso);
    // Replaces the line at `row` (which must still be `oldLine` in the file) by the QSO's line,
    // placed in date order, updates the first-name list and rebuilds the multiplier files.
    QsoWriteOutcome replace(int row, const QByteArray& oldLine, const QsoWrite& qso);
    // Removes the line at `row` (which must still be `line` in the file) and rebuilds the
    // multiplier files so that they count only the QSOs left.
    QsoWriteOutcome remove(int row, const QByteArray& line);

    // Adds QSOs from another log (an import, another position's log): every line placed in date
    // order in one atomic rewrite, so that a failure leaves the log as it was; then the lines
    // are read again and the multiplier files rebuilt from them. The name lists are left alone.
    QsoWriteOutcome merge(const QList<QByteArray>& newLines);

    // Rebuilds the four multiplier files and the absent list from the log in memory.
    MultiplierRebuild::Result rebuildMultipliers(const MultiplierRebuild::Progress& progress = {});

    // "Erreur N° n (reason)".
    static QString errorText(const FileResult& result);

Q_SIGNALS:
    // A line was appended at `row` (the last one).
    void appended(int row);
    // The lines were read again (after a load, an ordered insert, a replace or a remove).
    void reloaded();
    // Multiplier marks changed (a mark set, a rebuild).
    void marksChanged();
    // The tally changed.
    void scoreChanged();
    // A station file could not be read or written; `path` names it.
    void fileFailed(const QString& path, const tv::FileResult& result);

private:
    void recountMultipliers();
    void retally();
    void reindex();
    void indexLine(int row);
    // Reads the log again after a rewrite; false (and fileFailed) when it cannot be read.
    bool reloadLines();
    // Whether the marks to write were all written.
    bool writeMarksAndLists(const QsoWrite& qso, QsoWriteOutcome& outcome);
    // The marker around a change that the multiplier files must follow (see
    // MultiplierRebuild::beginChange); a marker that cannot be written or removed does not stop
    // the change, it is told among the failures.
    void beginMarkChange(QsoWriteOutcome& outcome);
    void endMarkChange(QsoWriteOutcome& outcome);
    void rememberFirstName(const QsoWrite& qso, QsoWriteOutcome& outcome);
    void rebuildAfterRewrite(QsoWriteOutcome& outcome);
    // After a rewrite of the log: the lines read again, the multiplier files rebuilt, the score.
    void afterRewrite(QsoWriteOutcome& outcome);
    QString logPath() const;
    static QByteArray duplicateKey(QByteArrayView callsign, QByteArrayView band, QByteArrayView mode);

    Services m_services;
    QString m_callsign;
    QList<QByteArray> m_lines;
    ScoreTally m_tally;
    bool m_lastMillKind = false;      // the kind of the last line whose activity was 0 or 1
    QHash<QByteArray, int> m_firstOf; // callsign, band and mode -> first row
};

} // namespace tv
