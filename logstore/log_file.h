#pragma once

#include "platform/file_system.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace tv {

// The station log: one 199-character line per QSO, each ended by CR LF, Windows-1252.
//
// Responsibilities: load the lines, append one line, remove one line, replace one line and
// place the new one in date/time order. Every change rewrites the file through the atomic
// replace (or appends one whole line), so a failure leaves the previous file intact.
// Lines are kept byte for byte, whatever their form: a short, long or undated line is loaded,
// listed and written back unchanged.
// Collaborations: FileSystem for every access; StationPaths names the file.
class LogFile {
public:
    LogFile(FileSystem& files, QString path);

    const QString& path() const { return m_path; }

    struct Loaded {
        FileResult result;
        QList<QByteArray> lines; // without their line ends
    };
    Loaded load() const;

    // Splits file bytes into lines: CR LF, a lone LF and a lone CR each end a line (files
    // edited by hand or written on other systems); a last line without an end is kept.
    static QList<QByteArray> splitLines(const QByteArray& bytes);
    // The line that starts at `start`: where its text ends and where the next line starts,
    // by the same line ends as splitLines().
    struct LineSpan {
        qsizetype end;
        qsizetype next;
    };
    static LineSpan lineAt(const QByteArray& bytes, qsizetype start);
    // Joins lines, each followed by CR LF.
    static QByteArray joinLines(const QList<QByteArray>& lines);

    // Appends the line and its CR LF as one whole piece. Creates the file when absent. When the
    // file's last line has no line end, one is written before the new line.
    FileResult append(const QByteArray& line);

    // A last line without a line end and shorter than a QSO line is what an append stopped by
    // a kill or a power cut leaves (a line and its CR LF go in one write): it is cut off through
    // the atomic replace, so that no half QSO stays in the log and the next QSO does not follow
    // it. A whole line without its end is kept. `piece` holds what was cut (empty: nothing).
    struct Cut {
        FileResult result;
        QByteArray piece;
    };
    Cut cutUnfinishedLine();

    // Removes the line at `index` (0-based) of the file, provided the file still holds
    // `expectedLine` there; otherwise nothing is written and the result is an access error
    // (the list on screen is out of step with the file).
    FileResult removeAt(int index, const QByteArray& expectedLine);

    // Replaces the line at `oldIndex` (checked against `oldLine` as for removeAt), or, with
    // no old index, only inserts: the new line goes before the first remaining line whose
    // date and start time are later than or equal to its own (years 50-99 are 19yy, 00-49
    // 20yy), else at the end. Lines whose date or time cannot be read never move it. A
    // replacement with the old line's date and start time keeps the old line's place.
    FileResult replaceInOrder(std::optional<int> oldIndex, const QByteArray& oldLine, const QByteArray& newLine);

    // Inserts several lines at once, each placed as replaceInOrder places a new line (lines of
    // the same minute keep their order among themselves), in one rewrite: either all are in the
    // file afterwards or none is. A missing file is taken as an empty log.
    FileResult insertInOrder(const QList<QByteArray>& newLines);

    // Where replaceInOrder would put `newLine` among `lines`.
    static int orderedPosition(const QList<QByteArray>& lines, const QByteArray& newLine);

private:
    FileResult rewrite(const QList<QByteArray>& lines);

    FileSystem& m_files;
    QString m_path;
};

} // namespace tv
