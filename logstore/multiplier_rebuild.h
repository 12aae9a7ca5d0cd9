#pragma once

#include "logstore/country_file.h"
#include "logstore/station_paths.h"
#include "platform/file_system.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <functional>

namespace tv {

// Rebuilds the four multiplier files of a station, and its list of unknown entities, from the
// log: the prefix files (SSB, CW) and the department files (SSB, CW) start again from the
// templates "FXXXX_Prefixe.txt" and "FXXXX_Departement.txt", and every QSO of the log marks
// them again.
//
// For each log line of mode "SSB" or "CW" (the mode at column 60, 7 wide, trimmed):
// - prefixes: the callsign (column 11, 12 wide, trimmed) is resolved to its entity by
//   EntityResolver (with the country file when one is given, else with the template's
//   prefixes); the mark of the entity's own line at the band's column becomes "1" when its
//   numeric value is 0, unless the QSO's new-prefix flag (column 134) is "N": the operator
//   refused to count that entity when the QSO was recorded. An entity with no line of its own
//   is listed in CALL_Absent.txt by its code; a callsign that no prefix begins marks nothing
//   and is listed itself. A maritime or aeronautical mobile marks nothing and is not listed.
// - departments: the department (column 37, 2 wide, trimmed, upper case) marks the first line
//   of that code, at the band's column, with the larger (by numeric value) of the mark there
//   and the line's count mark (column 135).
// The band (column 50, 8 wide, trimmed) is compared in upper case ("14 MHZ" is "14 Mhz"); a
// band outside the table marks nothing. CALL_Absent.txt lists what the CW QSOs could not place,
// one line per QSO, in log order (the SSB QSOs are not listed).
//
// Everything is computed in memory from one pass over the log lines; then the marker
// CALL_Reconstruction.txt is written (beginChange), each of the five files is replaced once, atomically, in
// this order: prefixes SSB, prefixes CW, absent list, departments SSB, departments CW, and the
// marker is removed. A failed write stops there: the files before it are the new ones, the
// failed one and those after it are whole and as they were, and the marker stays. While the
// marker is present the set may mix new and old files: resumeIfInterrupted() rebuilds it again
// from the log before anything reads it.
//
// Collaborations: FileSystem for every access, StationPaths for the names, LogFile for
// runFromLog(), EntityResolver, PrefixFile and DepartmentFile for the column rules.
class MultiplierRebuild {
public:
    // Called now and then during the pass (lines done, lines in all) so that a window can keep
    // itself alive; the last call has done == total.
    using Progress = std::function<void(int done, int total)>;

    struct Files {
        QByteArray prefixSsb;
        QByteArray prefixCw;
        QByteArray absent;
        QByteArray departmentSsb;
        QByteArray departmentCw;
    };
    struct Computed {
        Files files;
        QList<QByteArray> absentLines;        // the lines of the absent list
        QList<QByteArray> unmatchedCallsigns; // QSOs of either mode that no prefix matched
    };
    // The five files from the log lines (without their line ends) and the two templates' bytes.
    static Computed compute(const QList<QByteArray>& logLines, const QByteArray& prefixTemplate,
                            const QByteArray& departmentTemplate, const CountryFile* countries,
                            const Progress& progress = {});

    struct Result {
        FileResult result;    // the first failure (53 for a missing template or log)
        QString failedFile;   // the path that failed, empty on success
        int filesWritten = 0; // files replaced, in the order of targets()
        QList<QByteArray> absentLines;
        QList<QByteArray> unmatchedCallsigns;
    };

    // `countries` (may be null) resolves the callsigns; it must outlive the rebuild.
    MultiplierRebuild(FileSystem& files, StationPaths paths, const CountryFile* countries);

    void setProgress(Progress progress) { m_progress = std::move(progress); }

    // Rebuilds from the given log lines (the list already loaded by the caller).
    Result run(const QList<QByteArray>& logLines);
    // Reads the station's log, then rebuilds.
    Result runFromLog();

    // The five files, in the order they are written (the marker comes before and after them).
    QStringList targets() const;

    // The marker around any change that the multiplier files must follow: written before the
    // log or a multiplier file changes, removed once the set follows the log again. A kill in
    // between leaves it, and the next start rebuilds the set from the log (a QSO appended but
    // not yet marked, a QSO deleted but still marked). Removing an absent marker succeeds.
    static FileResult beginChange(FileSystem& files, const StationPaths& paths);
    static FileResult endChange(FileSystem& files, const StationPaths& paths);

    // Whether a rebuild of the station's files was stopped before its end (its marker is there).
    static bool wasInterrupted(const FileSystem& files, const StationPaths& paths);
    // Rebuilds from the log when a rebuild was stopped before its end; nothing to do otherwise
    // (`redone` false).
    struct Resumed {
        bool redone = false;
        Result result;
    };
    Resumed resumeIfInterrupted();

    // How often (in log lines) the progress is reported.
    static constexpr int kProgressStep = 512;

private:
    FileSystem& m_files;
    StationPaths m_paths;
    const CountryFile* m_countries;
    Progress m_progress;
};

} // namespace tv
