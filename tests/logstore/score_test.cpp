#include "logstore/log_file.h"
#include "logstore/score.h"
#include "tests/logstore/multiplier_reference.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::marks;
using test::qso;
using Totals = ScoreTally::Totals;
using Marked = std::initializer_list<std::pair<QByteArray, int>>; // code or entity, band position

constexpr int k35 = 1, k14 = 4, k144 = 10; // positions in the band table

// A department file (codes 01 02 59 62 75 2A) or a prefix file (entities F ON DL) with the given
// marks; every other mark "0".
QByteArray multiplierFile(bool prefixes, Marked marked)
{
    QList<QByteArray> lines;
    for (const QByteArray& code : QByteArray(prefixes ? "F ON DL" : "01 02 59 62 75 2A").split(' ')) {
        QByteArray m = marks();
        for (const auto& [c, band] : marked)
            m[band] = c == code ? '1' : m[band];
        lines << (prefixes ? test::prefixLine(code, m, code, "entity") : test::departmentLine(code, m, "name"));
    }
    return LogFile::joinLines(lines);
}
const auto departments = [](Marked marked) { return multiplierFile(false, marked); };
const auto prefixes = [](Marked marked) { return multiplierFile(true, marked); };

// The HF example: two SSB QSOs on 14 Mhz (one with a mill), one CW QSO on 3.5 Mhz.
const QList<QByteArray> kHfLog = {qso("21/06/15", "F5ABC", "09:41", "14 Mhz", "SSB", "59", "1"),
                                  qso("21/06/15", "F6XYZ", "09:45", "14 Mhz", "SSB", "62", "0"),
                                  qso("21/06/15", "F1AAA", "09:50", "3.5 Mhz", "CW", "75", "0")};

TEST(ScoreTest, WorkedExamples)
{
    const QList<QByteArray> vhfLog = {qso("21/06/15", "F5ABC", "09:41", "144 Mhz", "SSB", "59", "0", "120"),
                                      qso("21/06/15", "F6XYZ", "09:45", "144 Mhz", "CW", "62", "0", "80")};
    const QByteArray hfDepartments = departments({{"59", k14}, {"62", k14}}), none;
    const struct {
        const char* what;
        QList<QByteArray> log;
        QByteArray deptSsb, deptCw, prefSsb, prefCw;
        Totals hf, vhf; // points, mills, departments, entities, QSOs
        double hfScore, vhfScore;
    } cases[] = {{"HF: 7 x (10 + 3 + 2)", kHfLog, hfDepartments, departments({{"75", k35}}), prefixes({{"F", k14}}),
                  prefixes({{"F", k35}}), Totals{7, 10, 3, 2, 3}, Totals(), 105, 0},
                 {"VHF: 200 x (0 + 1 + 1)", vhfLog, departments({{"59", k144}}), none, none, prefixes({{"F", k144}}),
                  Totals(), Totals{200, 0, 1, 1, 2}, 0, 400},
                 // Deleting QSOs without a rebuild lowers the points, not the multipliers.
                 {"deleted", kHfLog.mid(1, 1), hfDepartments, none, prefixes({{"F", k14}, {"ON", k14}}), none,
                  Totals{3, 0, 2, 2, 1}, Totals(), 12, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ScoreTally tally = tallyScore(c.log, c.deptSsb, c.deptCw, c.prefSsb, c.prefCw);
        EXPECT_EQ(tally.hfTotals(), c.hf);
        EXPECT_EQ(tally.vhfTotals(), c.vhf);
        EXPECT_EQ(score(tally, true), c.hfScore);
        EXPECT_EQ(score(tally, false), c.vhfScore);
        if (c.hfScore == 105) { // each mark counts on its own band and mode
            EXPECT_EQ(tally.cell(2, ScoreTally::kSsb), (BandModeTally{2, 6, 10, 2, 1}));
            EXPECT_EQ(tally.cell(0, ScoreTally::kCw), (BandModeTally{1, 1, 0, 1, 1}));
            EXPECT_EQ(scoreText(score(tally, true)), "105");
        }
    }
}

TEST(ScoreTest, WhatEachLogLineCounts)
{
    auto line = [](const char* band, const char* mode, const char* activity = "0", const char* distance = "") {
        return qso("21/06/15", "F5ABC", "09:41", band, mode, "", activity, distance);
    };
    QByteArray spoiledBand = line("14 Mhz", "SSB"); // the band is read 10 wide: text in the blanks spoils it
    spoiledBand[58] = 'x';
    QByteArray longMode = line("14 Mhz", "SSB"); // the mode is read 5 wide: a sixth character is not seen
    longMode.replace(59, 7, "CW   zz");
    // 120 + 0 + 0 + 1.5 + 20038 (half the earth's circumference at most); the five others are
    // not distances: skipped and counted.
    QList<QByteArray> distances;
    for (const char* km : {"120", "0", "?", "abc", "12a", "99999", "1.5", "-9e99", "20038", "nan", "-5"})
        distances << line("144 Mhz", distances.size() % 2 ? "CW" : "SSB", "0", km);
    // An activity other than 0 or 1 keeps the kind of the line before (ordinary at first).
    QList<QByteArray> activities;
    for (const char* activity : {"7", "1", "", "x", "0", " ", "1"})
        activities << line("14 Mhz", activities.size() == 1 ? "FM" : activities.size() == 6 ? "CW" : "SSB", activity);
    const struct {
        const char* what;
        QList<QByteArray> log;
        Totals hf, vhf;
        int badDistances = 0;
    } cases[] = {
        {"1, 1, 3, 4 and 5 points a QSO",
         {line("3.5 Mhz", "SSB"), line("7.0 Mhz", "CW"), line("14 Mhz", "SSB"), line("21 Mhz", "CW"),
          line("28 Mhz", "SSB")},
         Totals{14, 0, 0, 0, 5},
         {}},
        {"other bands and modes count nothing",
         {line("14 Mhz", "FM"), line("10 Mhz", "SSB"), line("14 MHz", "SSB"), line("432 Mhz", "CW", "0", "300"),
          line("14 Mhz", "ssb"), "", "a short line"},
         {},
         {}},
        {"fields read at their columns and widths", {spoiledBand, longMode}, Totals{3, 0, 0, 0, 1}, {}},
        {"distances read as numbers", distances, {}, Totals{20159.5, 0, 0, 0, 11}, 6},
        {"mills: the activity of the line, or the kind of the line before", activities, Totals{18, 30, 0, 0, 6}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ScoreTally tally = tallyScore(c.log, {}, {}, {}, {});
        EXPECT_EQ(tally.hfTotals(), c.hf);
        EXPECT_EQ(tally.vhfTotals(), c.vhf);
        EXPECT_EQ(tally.badDistances, c.badDistances);
        EXPECT_EQ(tally.skippedText().size(), c.badDistances > 0 ? 1 : 0);
    }
}

TEST(ScoreTest, OnlyMarksOfValue1CountAndUnreadableMarksDoNotStopTheCount)
{
    QByteArray m = marks(k14, '1');
    m[k35] = '2';  // a grid colour, not a multiplier
    m[2] = 'x';    // 7.0 Mhz: not a number
    m[k144] = ' '; // not a number
    const ScoreTally tally =
        tallyScore({}, test::crlf({test::departmentLine("59", m, "Nord"), "", "59 0"}), {}, {}, {});
    EXPECT_EQ(tally.hfTotals().departments, 1);
    EXPECT_EQ(tally.cell(2, ScoreTally::kSsb).departments, 1);
    EXPECT_EQ(tally.vhfTotals().departments, 0);
    EXPECT_EQ(tally.nonNumericMarks, 2);
    ASSERT_EQ(tally.skippedText().size(), 1);
    EXPECT_TRUE(tally.skippedText()[0].startsWith("2 marque(s) autre(s) qu'un chiffre"));
}

TEST(ScoreTest, LoadReadsTheLogAndTheFourFilesAndNamesAMissingOne)
{
    test::TempProgramDir dir;
    QtFileSystem files;
    const StationPaths paths{dir.path(), "F0ZZZ"};
    dir.write("F0ZZZ.log", LogFile::joinLines(kHfLog));
    dir.write("F0ZZZ_Departement_SSB.txt", departments({{"59", k14}, {"62", k14}}));
    dir.write("F0ZZZ_Departement_CW.txt", departments({{"75", k35}}));
    dir.write("F0ZZZ_Prefixe_SSB.txt", prefixes({{"F", k14}}));
    dir.write("F0ZZZ_Prefixe_CW.txt", prefixes({{"F", k35}}));
    LoadedScore loaded = loadScore(files, paths);
    ASSERT_TRUE(loaded.result.ok());
    EXPECT_EQ(score(loaded.tally, true), 105);

    dir.write("F0ZZZ.log", "");
    loaded = loadScore(files, paths);
    EXPECT_EQ(score(loaded.tally, true), 0);
    EXPECT_EQ(loaded.tally.hfTotals().departments, 3) << "an empty log: the multipliers are still read";

    ASSERT_TRUE(files.remove(dir.file("F0ZZZ_Prefixe_CW.txt")).ok());
    loaded = loadScore(files, paths);
    EXPECT_EQ(loaded.result.errorNumber, 53);
    EXPECT_EQ(loaded.failedFile, dir.file("F0ZZZ_Prefixe_CW.txt"));
    EXPECT_EQ(loaded.tally, ScoreTally{});
}

} // namespace
} // namespace tv
