#pragma once

#include "logstore/station_paths.h"
#include "platform/file_system.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace tv {

// The QSO points and multipliers of one band and one mode.
struct BandModeTally {
    int qsos = 0;        // N: QSOs on this band and mode
    double points = 0;   // P: N times the band's points on HF, the sum of the distances on 144 Mhz
    int mills = 0;       // MM: 10 per QSO with a mill
    int departments = 0; // MD: department lines marked at the band's column
    int entities = 0;    // MP: prefix-file lines marked at the band's column

    bool operator==(const BandModeTally&) const = default;
};

// The event score of a station, counted per band and mode.
//
// The six scored bands: "3.5 Mhz", "7.0 Mhz", "14 Mhz", "21 Mhz", "28 Mhz" (the HF session)
// and "144 Mhz" (the VHF session); modes SSB = 0, CW = 1.
// Score = QSO points x (mills + departments + entities), the HF and VHF sessions apart.
struct ScoreTally {
    static constexpr int kBands = 6;
    static constexpr int kHfBands = 5; // indexes 0-4; index 5 is 144 Mhz
    static constexpr int kVhfBand = 5;
    static constexpr int kSsb = 0;
    static constexpr int kCw = 1;

    std::array<std::array<BandModeTally, 2>, kBands> cells{};

    // Marks of the multiplier files that are not a digit: skipped (counted as 0) and reported.
    int nonNumericMarks = 0;
    // Distance-point QSOs whose distance is not one (not a number, negative, beyond half the
    // earth's circumference): counted as QSOs with no kilometres, and reported.
    int badDistances = 0;

    // What the score skipped, for the operator; empty when nothing was.
    QStringList skippedText() const;

    struct Totals {
        double points = 0; // HF: QSO points, kept in single precision; VHF: kilometres
        int mills = 0;
        int departments = 0;
        int entities = 0;
        int qsos = 0;

        int multipliers() const { return mills + departments + entities; }
        bool operator==(const Totals&) const = default;
    };
    // The five HF bands, both modes.
    Totals hfTotals() const;
    // 144 Mhz, both modes.
    Totals vhfTotals() const;

    double hfScore() const;
    double vhfScore() const;

    const BandModeTally& cell(int band, int mode) const { return cells[band][mode]; }

    bool operator==(const ScoreTally&) const = default;
};

namespace scoring {

// The band texts of the six scored bands, in the order of ScoreTally::cells.
const QList<QByteArray>& scoredBands();
// The position of a band text among the scored bands (compared exactly), or nothing.
std::optional<int> scoredBandIndex(const QByteArray& band);

// Adds one log line's QSO, points and mill to the tally. `millKind` is the kind of the last
// line whose activity was 0 or 1 (false before the first line); the line updates it.
void addQso(ScoreTally& tally, const QByteArray& line, bool& millKind);
// Counts the department and entity multipliers again from the four multiplier files' bytes,
// leaving the QSOs, points and mills as they are.
void countMultipliers(ScoreTally& tally, const QByteArray& deptSsb, const QByteArray& deptCw, const QByteArray& prefSsb,
                      const QByteArray& prefCw);

} // namespace scoring

// Counts QSOs, points and mills from the log lines (without their line ends) and the
// department and entity multipliers from the bytes of the four multiplier files.
//
// Each log line gives its band (column 50, 10 wide), mode (60, 5 wide), distance (155, 5 wide,
// qsoline::distance: text that is not a distance counts 0 and is counted in badDistances) and
// activity (165, 1 wide), trimmed.
// Activity "1" makes the line a mill QSO and "0" an ordinary one; any other value keeps the
// kind of the line before (ordinary for the first line). Only the six bands and SSB / CW count.
// A multiplier mark counts when it is "1"; a mark that is not a digit is counted in
// nonNumericMarks.
ScoreTally tallyScore(const QList<QByteArray>& logLines, const QByteArray& deptSsb, const QByteArray& deptCw,
                      const QByteArray& prefSsb, const QByteArray& prefCw);

// The score of the session: HF points x (HF mills + departments + entities) when `hfSession`,
// else kilometres x (VHF mills + departments + entities).
double score(const ScoreTally& tally, bool hfSession);

// The score as the label `P_QSO` shows it: plain decimal text ("105", "400", "12.5").
QString scoreText(double value);

// The bytes of the four multiplier files: departments SSB, CW, prefixes SSB, CW.
struct MultiplierBytes {
    FileResult result;  // the first failure; 53 when a file is missing
    QString failedFile; // the path that failed, empty on success
    QByteArray departmentSsb, departmentCw, prefixSsb, prefixCw;
};
MultiplierBytes readMultiplierFiles(const FileSystem& files, const StationPaths& paths);

struct LoadedScore {
    FileResult result;  // the first failure; 53 when a file is missing
    QString failedFile; // the path that failed, empty on success
    ScoreTally tally;
};

// Reads the station's log and its four multiplier files and tallies them. On a failure the
// tally is empty and the result says which file could not be read.
LoadedScore loadScore(const FileSystem& files, const StationPaths& paths);

} // namespace tv
