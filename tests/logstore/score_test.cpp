#include "logstore/log_file.h"
#include "logstore/score.h"
#include "tests/logstore/multiplier_reference.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::departmentLine;
using test::marks;
using test::prefixLine;
using test::qso;

constexpr int k35 = 1, k14 = 4, k144 = 10;    // positions in the band table
constexpr int iHf35 = 0, iHf14 = 2, iVhf = 5; // positions among the scored bands
constexpr int kSsb = ScoreTally::kSsb, kCw = ScoreTally::kCw;

// Department and prefix files with the given marks; every other mark "0".
QByteArray departments(std::initializer_list<std::pair<QByteArray, int>> marked)
{
    QList<QByteArray> lines;
    for (const char* code : {"01", "02", "59", "62", "75", "2A"}) {
        QByteArray m = marks();
        for (const auto& [c, band] : marked)
            m[band] = c == code ? '1' : m[band];
        lines << departmentLine(code, m, "name");
    }
    return LogFile::joinLines(lines);
}

QByteArray prefixes(std::initializer_list<std::pair<QByteArray, int>> marked)
{
    QList<QByteArray> lines;
    for (const char* entity : {"F", "ON", "DL"}) {
        QByteArray m = marks();
        for (const auto& [e, band] : marked)
            m[band] = e == entity ? '1' : m[band];
        lines << prefixLine(entity, m, entity, "entity");
    }
    return LogFile::joinLines(lines);
}

// The HF example: two SSB QSOs on 14 Mhz (one with a mill), one CW QSO on 3.5 Mhz.
QList<QByteArray> hfLog()
{
    return {qso("21/06/15", "F5ABC", "09:41", "14 Mhz", "SSB", "59", "1"),
            qso("21/06/15", "F6XYZ", "09:45", "14 Mhz", "SSB", "62", "0"),
            qso("21/06/15", "F1AAA", "09:50", "3.5 Mhz", "CW", "75", "0")};
}

TEST(ScoreTest, HfExampleScores105AndNothingInVhf)
{
    const ScoreTally tally = tallyScore(hfLog(), departments({{"59", k14}, {"62", k14}}), departments({{"75", k35}}),
                                        prefixes({{"F", k14}}), prefixes({{"F", k35}}));
    EXPECT_EQ(tally.cell(iHf14, kSsb), (BandModeTally{2, 6, 10, 2, 1}));
    EXPECT_EQ(tally.cell(iHf35, kCw), (BandModeTally{1, 1, 0, 1, 1}));
    EXPECT_EQ(tally.hfTotals(), (ScoreTally::Totals{7, 10, 3, 2, 3}));
    EXPECT_EQ(tally.hfTotals().multipliers(), 15);
    EXPECT_EQ(score(tally, true), 105);
    EXPECT_EQ(scoreText(score(tally, true)), "105");
    // The same log in a VHF session: no 144 Mhz QSO.
    EXPECT_EQ(score(tally, false), 0);
    EXPECT_EQ(scoreText(score(tally, false)), "0");
}

TEST(ScoreTest, VhfExampleScores400)
{
    const QList<QByteArray> log = {qso("21/06/15", "F5ABC", "09:41", "144 Mhz", "SSB", "59", "0", "120"),
                                   qso("21/06/15", "F6XYZ", "09:45", "144 Mhz", "CW", "62", "0", "80")};
    const ScoreTally tally =
        tallyScore(log, departments({{"59", k144}}), departments({}), prefixes({}), prefixes({{"F", k144}}));
    EXPECT_EQ(tally.cell(iVhf, kSsb), (BandModeTally{1, 120, 0, 1, 0}));
    EXPECT_EQ(tally.cell(iVhf, kCw), (BandModeTally{1, 80, 0, 0, 1}));
    EXPECT_EQ(tally.vhfTotals(), (ScoreTally::Totals{200, 0, 1, 1, 2}));
    EXPECT_EQ(score(tally, false), 400);
    EXPECT_EQ(score(tally, true), 0);
}

TEST(ScoreTest, PointsPerBand)
{
    struct Case {
        const char* band;
        int index;
        double points; // for three QSOs
    };
    for (const Case& c : {Case{"3.5 Mhz", 0, 3}, Case{"7.0 Mhz", 1, 3}, Case{"14 Mhz", 2, 9}, Case{"21 Mhz", 3, 12},
                          Case{"28 Mhz", 4, 15}}) {
        SCOPED_TRACE(c.band);
        QList<QByteArray> log;
        for (int i = 0; i < 3; ++i)
            log << qso("21/06/15", "F5ABC", "09:41", c.band, i == 1 ? "CW" : "SSB");
        const ScoreTally tally = tallyScore(log, {}, {}, {}, {});
        EXPECT_EQ(tally.cell(c.index, kSsb).points + tally.cell(c.index, kCw).points, c.points);
        EXPECT_EQ(tally.hfTotals().points, c.points);
        EXPECT_EQ(tally.hfTotals().qsos, 3);
    }
}

TEST(ScoreTest, OtherBandsAndModesCountNothing)
{
    const QList<QByteArray> log = {
        qso("21/06/15", "F5ABC", "09:41", "14 Mhz", "FM"),
        qso("21/06/15", "F5ABC", "09:41", "10 Mhz", "SSB"),
        qso("21/06/15", "F5ABC", "09:41", "14 MHz", "SSB"), // bands are compared as written
        qso("21/06/15", "F5ABC", "09:41", "432 Mhz", "CW", "", "0", "300"),
        qso("21/06/15", "F5ABC", "09:41", "14 Mhz", "ssb"),
        "",
        "a short line",
    };
    const ScoreTally tally = tallyScore(log, {}, {}, {}, {});
    EXPECT_EQ(tally, ScoreTally{});
}

TEST(ScoreTest, FieldsAreReadAtTheirColumnsAndWidths)
{
    // The band is read 10 wide from column 50, so text in the blanks after it spoils it; the
    // mode is read 5 wide from column 60, so a sixth character is not seen.
    QByteArray spoiledBand = qso("21/06/15", "F5ABC", "09:41", "14 Mhz", "SSB");
    spoiledBand[58] = 'x';
    QByteArray longMode = qso("21/06/15", "F5ABC", "09:41", "14 Mhz", "SSB");
    longMode.replace(59, 7, "CW   zz");
    const ScoreTally tally = tallyScore({spoiledBand, longMode}, {}, {}, {}, {});
    EXPECT_EQ(tally.cell(iHf14, kSsb).qsos, 0);
    EXPECT_EQ(tally.cell(iHf14, kCw).qsos, 1);
}

TEST(ScoreTest, DistancesAreReadAsNumbers)
{
    struct Case {
        const char* distance;
        double km;
    };
    for (const Case& c : {Case{"120", 120}, Case{"0", 0}, Case{"", 0}, Case{"abc", 0}, Case{"12a", 12},
                          Case{"99999", 99999}, Case{"1.5", 1.5}}) {
        SCOPED_TRACE(c.distance);
        const ScoreTally tally =
            tallyScore({qso("21/06/15", "F5ABC", "09:41", "144 Mhz", "SSB", "", "0", c.distance)}, {}, {}, {}, {});
        EXPECT_EQ(tally.cell(iVhf, kSsb).points, c.km);
        EXPECT_EQ(tally.cell(iVhf, kSsb).qsos, 1);
    }
}

TEST(ScoreTest, AnActivityOtherThan0Or1KeepsTheKindOfTheLineBefore)
{
    const QList<QByteArray> log = {
        qso("21/06/15", "F5ABC", "09:41", "14 Mhz", "SSB", "", "7"), // before any kind: ordinary
        qso("21/06/15", "F5ABC", "09:42", "14 Mhz", "FM", "", "1"),  // not counted, but sets mill
        qso("21/06/15", "F5ABC", "09:43", "14 Mhz", "SSB", "", ""),  // mill, from the line before
        qso("21/06/15", "F5ABC", "09:44", "14 Mhz", "SSB", "", "x"), // still mill
        qso("21/06/15", "F5ABC", "09:45", "14 Mhz", "SSB", "", "0"), // ordinary
        qso("21/06/15", "F5ABC", "09:46", "14 Mhz", "SSB", "", " "), // ordinary, from the line before
        qso("21/06/15", "F5ABC", "09:47", "14 Mhz", "CW", "", "1"),  // mill
    };
    const ScoreTally tally = tallyScore(log, {}, {}, {}, {});
    EXPECT_EQ(tally.cell(iHf14, kSsb).mills, 20);
    EXPECT_EQ(tally.cell(iHf14, kSsb).qsos, 5);
    EXPECT_EQ(tally.cell(iHf14, kCw).mills, 10);
    EXPECT_EQ(tally.hfTotals().mills, 30);
}

TEST(ScoreTest, OnlyMarksOfValue1CountAndUnreadableMarksDoNotStopTheCount)
{
    QByteArray m = marks(k14, '1');
    m[k35] = '2';  // a grid colour, not a multiplier
    m[2] = 'x';    // 7.0 Mhz: not a number
    m[k144] = ' '; // not a number
    const QByteArray file = test::crlf({departmentLine("59", m, "Nord"), "", "59 0"});
    const ScoreTally tally = tallyScore({}, file, {}, {}, {});
    EXPECT_EQ(tally.cell(iHf14, kSsb).departments, 1);
    EXPECT_EQ(tally.cell(iHf35, kSsb).departments, 0);
    EXPECT_EQ(tally.cell(1, kSsb).departments, 0);
    EXPECT_EQ(tally.cell(iVhf, kSsb).departments, 0);
    EXPECT_EQ(tally.nonNumericMarks, 2);
    EXPECT_EQ(score(tally, true), 0) << "no QSO points";
}

TEST(ScoreTest, MultipliersComeFromTheFilesNotTheLog)
{
    // Deleting QSOs without a rebuild lowers the points but not the multipliers.
    const QByteArray dept = departments({{"59", k14}, {"62", k14}});
    const QByteArray pref = prefixes({{"F", k14}, {"ON", k14}});
    const ScoreTally full = tallyScore(hfLog(), dept, {}, pref, {});
    const ScoreTally fewer = tallyScore(hfLog().mid(1, 1), dept, {}, pref, {});
    EXPECT_EQ(full.hfTotals().points, 7);
    EXPECT_EQ(fewer.hfTotals().points, 3);
    EXPECT_EQ(full.hfTotals().departments, fewer.hfTotals().departments);
    EXPECT_EQ(full.hfTotals().entities, fewer.hfTotals().entities);
    EXPECT_EQ(fewer.hfTotals().mills, 0);
    EXPECT_EQ(score(fewer, true), 3 * (2 + 2));
}

TEST(ScoreTest, HfPointTotalIsSinglePrecision)
{
    ScoreTally tally;
    tally.cells[0][0].points = 16777216;
    tally.cells[1][0].points = 1; // lost in single precision
    tally.cells[1][0].mills = 10;
    EXPECT_EQ(tally.hfTotals().points, 16777216);
    tally.cells[iVhf][0].points = 16777216;
    tally.cells[iVhf][1].points = 1;
    EXPECT_EQ(tally.vhfTotals().points, 16777217) << "kilometres are kept in double precision";
    EXPECT_EQ(scoreText(tally.hfScore()), "167772160");
    EXPECT_EQ(scoreText(12.5), "12.5");
}

class ScoreLoadTest : public ::testing::Test {
protected:
    test::Fixture fx;
    StationPaths paths{fx.dir.path(), "F0ZZZ"};

    void SetUp() override
    {
        fx.dir.write("F0ZZZ.log", LogFile::joinLines(hfLog()));
        fx.dir.write("F0ZZZ_Departement_SSB.txt", departments({{"59", k14}, {"62", k14}}));
        fx.dir.write("F0ZZZ_Departement_CW.txt", departments({{"75", k35}}));
        fx.dir.write("F0ZZZ_Prefixe_SSB.txt", prefixes({{"F", k14}}));
        fx.dir.write("F0ZZZ_Prefixe_CW.txt", prefixes({{"F", k35}}));
    }
};

TEST_F(ScoreLoadTest, ReadsTheLogAndTheFourFiles)
{
    LoadedScore loaded = loadScore(fx.files, paths);
    ASSERT_TRUE(loaded.result.ok());
    EXPECT_TRUE(loaded.failedFile.isEmpty());
    EXPECT_EQ(score(loaded.tally, true), 105);

    fx.dir.write("F0ZZZ.log", "");
    loaded = loadScore(fx.files, paths);
    ASSERT_TRUE(loaded.result.ok());
    EXPECT_EQ(score(loaded.tally, true), 0);
    EXPECT_EQ(loaded.tally.hfTotals().departments, 3) << "an empty log: the multipliers are still read";
}

TEST_F(ScoreLoadTest, AMissingFileIsReportedByName)
{
    for (const QString& name : {"F0ZZZ_Prefixe_CW.txt", "F0ZZZ_Departement_SSB.txt", "F0ZZZ.log"}) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray kept = fx.dir.read(name);
        ASSERT_TRUE(fx.files.remove(fx.dir.file(name)).ok());
        const LoadedScore loaded = loadScore(fx.files, paths);
        EXPECT_EQ(loaded.result.errorNumber, 53);
        EXPECT_EQ(loaded.failedFile, fx.dir.file(name));
        EXPECT_EQ(loaded.tally, ScoreTally{});
        fx.dir.write(name, kept);
    }
}

} // namespace
} // namespace tv
