#include "logstore/score.h"

#include "logstore/bands.h"
#include "logstore/department_file.h"
#include "logstore/fixed_text.h"
#include "logstore/log_columns.h"
#include "logstore/log_file.h"
#include "logstore/prefix_file.h"
#include "logstore/qso_line.h"

namespace tv {

namespace scoring {

const QList<QByteArray>& scoredBands()
{
    return bands::scored();
}

std::optional<int> scoredBandIndex(const QByteArray& band)
{
    const qsizetype at = scoredBands().indexOf(band);
    if (at < 0)
        return std::nullopt;
    return int(at);
}

} // namespace scoring

namespace {

// Where the log line's fields are read for the score: the band and mode with the blanks after
// them, the first character of the activity.
constexpr int kBandColumn = logcol::kBand.first, kBandWidth = 10;
constexpr int kModeColumn = logcol::kMode.first, kModeWidth = 5;
constexpr int kActivityColumn = logcol::kActivity.first, kActivityWidth = 1;

// The first mark column of each multiplier file; a band's mark is at first + its index in
// the band table.
constexpr int kDepartmentFirstMark = DepartmentFile::kFirstMarkColumn;
constexpr int kPrefixFirstMark = PrefixFile::kFirstMarkColumn;

std::optional<int> modeIndex(const QByteArray& mode)
{
    if (mode == bands::kSsb)
        return ScoreTally::kSsb;
    if (mode == bands::kCw)
        return ScoreTally::kCw;
    return std::nullopt;
}

// Adds to `count(cell)` one for every line of the file whose mark at the band's column has
// the numeric value 1, for each of the six bands.
template <typename Member>
void countMarks(const QByteArray& fileBytes, int firstMark, int mode, Member member, ScoreTally& tally)
{
    std::array<int, ScoreTally::kBands> columns{};
    for (int b = 0; b < ScoreTally::kBands; ++b)
        columns[b] = firstMark + *bands::indexOf(scoring::scoredBands()[b]);

    const QList<QByteArray> lines = LogFile::splitLines(fileBytes);
    for (const QByteArray& line : lines) {
        for (int b = 0; b < ScoreTally::kBands; ++b) {
            const char mark = fixedtext::at(line, columns[b]);
            if (mark == '\0')
                continue; // the line ends before the band's mark
            if (mark < '0' || mark > '9') {
                ++tally.nonNumericMarks;
                continue;
            }
            if (mark == '1')
                ++(tally.cells[b][mode].*member);
        }
    }
}

} // namespace

ScoreTally::Totals ScoreTally::hfTotals() const
{
    Totals t;
    float points = 0; // the HF point total is kept in single precision
    for (int b = 0; b < kHfBands; ++b) {
        for (int m = 0; m < 2; ++m) {
            const BandModeTally& c = cells[b][m];
            points += float(c.points);
            t.mills += c.mills;
            t.departments += c.departments;
            t.entities += c.entities;
            t.qsos += c.qsos;
        }
    }
    t.points = points;
    return t;
}

ScoreTally::Totals ScoreTally::vhfTotals() const
{
    Totals t;
    for (int m = 0; m < 2; ++m) {
        const BandModeTally& c = cells[kVhfBand][m];
        t.points += c.points;
        t.mills += c.mills;
        t.departments += c.departments;
        t.entities += c.entities;
        t.qsos += c.qsos;
    }
    return t;
}

QStringList ScoreTally::skippedText() const
{
    QStringList out;
    if (nonNumericMarks > 0)
        out << QString::number(nonNumericMarks) +
                   QStringLiteral(" marque(s) autre(s) qu'un chiffre dans les fichiers de départements et de préfixes, "
                                  "non comptée(s) : reconstruisez-les à partir du log.");
    if (badDistances > 0)
        out << QString::number(badDistances) +
                   QStringLiteral(" QSO dont la distance n'en est pas une (négative, pas un nombre, ou plus de la "
                                  "moitié du tour de la Terre), compté(s) sans kilomètres : voir la vérification "
                                  "du log.");
    return out;
}

double ScoreTally::hfScore() const
{
    const Totals t = hfTotals();
    return t.points * t.multipliers();
}

double ScoreTally::vhfScore() const
{
    const Totals t = vhfTotals();
    return t.points * t.multipliers();
}

void scoring::addQso(ScoreTally& tally, const QByteArray& line, bool& millKind)
{
    const QByteArray activity = fixedtext::field(line, kActivityColumn, kActivityWidth);
    if (activity == "1")
        millKind = true;
    else if (activity == "0")
        millKind = false;
    const std::optional<int> band = scoring::scoredBandIndex(fixedtext::field(line, kBandColumn, kBandWidth));
    const std::optional<int> mode = modeIndex(fixedtext::field(line, kModeColumn, kModeWidth));
    if (!band || !mode)
        return;
    BandModeTally& cell = tally.cells[*band][*mode];
    ++cell.qsos;
    const int perQso = bands::find(scoring::scoredBands()[*band])->points;
    if (perQso == bands::kDistancePoints) {
        QString problem;
        cell.points += qsoline::distance(line, &problem).value_or(0);
        if (!problem.isEmpty())
            ++tally.badDistances;
    } else
        cell.points = float(cell.qsos) * float(perQso);
    if (millKind)
        cell.mills += 10;
}

void scoring::countMultipliers(ScoreTally& tally, const QByteArray& deptSsb, const QByteArray& deptCw,
                               const QByteArray& prefSsb, const QByteArray& prefCw)
{
    tally.nonNumericMarks = 0;
    for (auto& band : tally.cells) {
        for (BandModeTally& cell : band)
            cell.departments = cell.entities = 0;
    }
    countMarks(prefSsb, kPrefixFirstMark, ScoreTally::kSsb, &BandModeTally::entities, tally);
    countMarks(prefCw, kPrefixFirstMark, ScoreTally::kCw, &BandModeTally::entities, tally);
    countMarks(deptSsb, kDepartmentFirstMark, ScoreTally::kSsb, &BandModeTally::departments, tally);
    countMarks(deptCw, kDepartmentFirstMark, ScoreTally::kCw, &BandModeTally::departments, tally);
}

ScoreTally tallyScore(const QList<QByteArray>& logLines, const QByteArray& deptSsb, const QByteArray& deptCw,
                      const QByteArray& prefSsb, const QByteArray& prefCw)
{
    ScoreTally tally;
    bool millKind = false; // the kind of the last line whose activity was 0 or 1
    for (const QByteArray& line : logLines)
        scoring::addQso(tally, line, millKind);
    scoring::countMultipliers(tally, deptSsb, deptCw, prefSsb, prefCw);
    return tally;
}

double score(const ScoreTally& tally, bool hfSession)
{
    return hfSession ? tally.hfScore() : tally.vhfScore();
}

QString scoreText(double value)
{
    return QString::number(value, 'g', 15);
}

MultiplierBytes readMultiplierFiles(const FileSystem& files, const StationPaths& paths)
{
    MultiplierBytes out;
    const std::pair<QString, QByteArray*> targets[4] = {{paths.departments(bands::Mode::Ssb), &out.departmentSsb},
                                                        {paths.departments(bands::Mode::Cw), &out.departmentCw},
                                                        {paths.prefixes(bands::Mode::Ssb), &out.prefixSsb},
                                                        {paths.prefixes(bands::Mode::Cw), &out.prefixCw}};
    for (const auto& [name, bytes] : targets) {
        const FileRead read = files.read(name);
        if (!read.result.ok()) {
            out.result = read.result;
            out.failedFile = name;
            return out;
        }
        *bytes = read.bytes;
    }
    return out;
}

LoadedScore loadScore(const FileSystem& files, const StationPaths& paths)
{
    LoadedScore out;
    const QString logPath = paths.existingLog(files);
    const FileRead log = files.read(logPath);
    if (!log.result.ok()) {
        out.result = log.result;
        out.failedFile = logPath;
        return out;
    }
    const MultiplierBytes marks = readMultiplierFiles(files, paths);
    if (!marks.result.ok()) {
        out.result = marks.result;
        out.failedFile = marks.failedFile;
        return out;
    }
    out.tally = tallyScore(LogFile::splitLines(log.bytes), marks.departmentSsb, marks.departmentCw, marks.prefixSsb,
                           marks.prefixCw);
    return out;
}

} // namespace tv
