#include "logstore/log_file.h"
#include "logstore/multiplier_rebuild.h"
#include "logstore/qso_line.h"
#include "platform/fakes/failing_file_system.h"
#include "tests/logstore/multiplier_reference.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tv {
namespace {

using test::crlf;
using test::departmentLine;
using test::marks;
using test::prefixLine;

constexpr int k35 = 1, k70 = 2, k14 = 4, k144 = 10;  // positions in the band table

// A prefix template with the cases the rebuild must get right: a longer prefix before a
// shorter one, a special prefix of France, an entity without a line, a prefix line without an
// entity code, a 6-character prefix that the 5-column look-up and the 6-column rebuild read
// differently, a blank prefix field, a line too short to hold marks, marks that are not "0".
QList<QByteArray> prefixTemplateLines()
{
    return {
        prefixLine("FG", marks(), "FG", "Guadeloupe"),
        prefixLine("F", marks(), "F", "France"),
        prefixLine("TM", marks(), "F", "France, indicatif special"),
        prefixLine("TK", marks(), "TK", "Corse"),
        prefixLine("ON", marks(), "ON", "Belgique"),
        prefixLine("DL", marks(k14, 'x'), "DL", "Allemagne, marque illisible"),
        prefixLine("G", marks(k14, '2'), "G", "Angleterre, marque 2"),
        prefixLine("VP8SGX", marks(), "VP8SG", "South Georgia, long prefix"),
        prefixLine("VP8SG", marks(), "VP8SG", "South Georgia"),
        prefixLine("ZZ", marks(), "QQ", "entity without a line"),
        prefixLine("BL", marks(), "", "no entity code"),
        prefixLine("SY", marks(), "SX", "entity whose line holds no marks"),
        "SX",
        prefixLine("", marks(), "XX", "blank prefix field"),
    };
}

QList<QByteArray> departmentTemplateLines()
{
    QList<QByteArray> lines;
    for (int n = 1; n <= 95; ++n) {
        if (n == 20) {
            lines << departmentLine("2A", marks(), "Corse-du-Sud") << departmentLine("2B", marks(), "Haute-Corse");
            continue;
        }
        const QByteArray code = QByteArray::number(n).rightJustified(2, '0');
        lines << departmentLine(code, n == 75 ? marks(k14, '2') : marks(), test::cp("Département ") + code);
    }
    return lines;
}

struct LineSpec {
    QByteArray callsign;
    QByteArray band;
    QByteArray mode;
    QByteArray department;
    QByteArray count = "1";
};

QByteArray logLine(const LineSpec& s)
{
    QsoRecord r;
    r.date = "21/06/15";
    r.callsign = s.callsign;
    r.start = "09:41";
    r.end = "09:41";
    r.department = s.department;
    r.band = s.band;
    r.mode = s.mode;
    r.rstSent = "59";
    r.rstReceived = "59";
    r.points = "1";
    r.newDepartmentFlag = "0";
    r.newPrefixFlag = "0";
    r.countArea = s.count;
    r.activity = "0";
    const auto line = qsoline::build(r);
    if (!line)
        throw std::runtime_error("test line does not fit");
    return *line;
}

// A log of mixed bands, modes, callsigns, departments and count marks, with a few lines that
// are not QSO lines at all.
QList<QByteArray> generatedLog(int count, quint32 seed)
{
    static const char* const kCalls[] = {"F5ABC", "FG5XY", "TM1JNM", "TK5EP", "ON4AA", "DL1ABC", "G3XYZ", "VP8SGA",
                                         "ZZ1AA", "QQ1XYZ", "BL2AB", "SY1AA", "F6XYZ", "F1AAA/P", ""};
    static const char* const kBands[] = {"3.5 Mhz", "7.0 Mhz", "14 Mhz", "21 Mhz", "28 Mhz", "144 Mhz", "1.8 MHZ",
                                         "14 MHz",  "10 Ghz",  "2.3 GHZ", "FM",     "",        "432 Mhz"};
    static const char* const kModes[] = {"SSB", "CW", "SSB", "CW", "FM", "ssb", ""};
    static const char* const kDepartments[] = {"59", "01", "2a", "2A", "2b", "96", "", "99", "5", "75", "95", "X"};
    static const char* const kCounts[] = {"1", "1", "1", "2", "3", "4", "0", ""};
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    QList<QByteArray> lines;
    for (int i = 0; i < count; ++i) {
        const quint32 kind = next() % 40;
        if (kind == 0) {
            lines << QByteArray();
            continue;
        }
        if (kind == 1) {
            lines << QByteArray("short line");
            continue;
        }
        LineSpec s;
        s.callsign = kCalls[next() % std::size(kCalls)];
        s.band = kBands[next() % std::size(kBands)];
        s.mode = kModes[next() % std::size(kModes)];
        s.department = kDepartments[next() % std::size(kDepartments)];
        s.count = kCounts[next() % std::size(kCounts)];
        lines << logLine(s);
    }
    return lines;
}

class MultiplierRebuildTest : public ::testing::Test {
protected:
    test::TempProgramDir dir;
    FailingFileSystem files;
    StationPaths paths{dir.path(), "F0ZZZ"};
    const QList<QByteArray> prefixTemplate = prefixTemplateLines();
    const QList<QByteArray> departmentTemplate = departmentTemplateLines();

    void SetUp() override { installTemplates(dir); }

    void installTemplates(const test::TempProgramDir& d) const
    {
        d.write("FXXXX_Prefixe.txt", LogFile::joinLines(prefixTemplate));
        d.write("FXXXX_Departement.txt", LogFile::joinLines(departmentTemplate));
        d.write("FXXXX.log", "");
        for (const char* name : {"F0ZZZ_Prefixe_SSB.txt", "F0ZZZ_Prefixe_CW.txt", "F0ZZZ_Departement_SSB.txt",
                                 "F0ZZZ_Departement_CW.txt"})
            d.write(name, "old contents\r\n");
    }

    MultiplierRebuild::Result rebuild(const QList<QByteArray>& log)
    {
        return MultiplierRebuild(files, paths).run(log);
    }

    static QStringList stationFiles()
    {
        return {"F0ZZZ_Prefixe_SSB.txt", "F0ZZZ_Prefixe_CW.txt", "F0ZZZ_Absent.txt", "F0ZZZ_Departement_SSB.txt",
                "F0ZZZ_Departement_CW.txt"};
    }

    // The prefix template with these marks set.
    QByteArray prefixesWith(std::initializer_list<std::pair<int, int>> lineAndBand) const
    {
        QList<QByteArray> lines = prefixTemplate;
        for (const auto& [line, band] : lineAndBand)
            lines[line][7 + band] = '1';
        return LogFile::joinLines(lines);
    }
    QByteArray departmentsWith(std::initializer_list<std::tuple<int, int, char>> lineBandMark) const
    {
        QList<QByteArray> lines = departmentTemplate;
        for (const auto& [line, band, mark] : lineBandMark)
            lines[line][3 + band] = mark;
        return LogFile::joinLines(lines);
    }
    int departmentLineOf(const QByteArray& code) const
    {
        for (int i = 0; i < departmentTemplate.size(); ++i) {
            if (departmentTemplate[i].startsWith(code))
                return i;
        }
        throw std::runtime_error("no such department");
    }
};

// Line indexes of the prefix template.
constexpr int kLineFG = 0, kLineF = 1, kLineON = 4, kLineDL = 5, kLineG = 6, kLineVP8SG = 8;

TEST_F(MultiplierRebuildTest, SameBytesAsThePerLineProcedure)
{
    struct Case {
        int lines;
        quint32 seed;
    };
    for (const Case& c : {Case{0, 1}, Case{1, 2}, Case{60, 3}, Case{250, 4}, Case{250, 99}}) {
        SCOPED_TRACE("lines " + std::to_string(c.lines) + " seed " + std::to_string(c.seed));
        const QList<QByteArray> log = generatedLog(c.lines, c.seed);

        test::TempProgramDir slow;
        installTemplates(slow);
        slow.write("F0ZZZ.log", LogFile::joinLines(log));
        test::reference::rebuildPerLine(slow.path(), "F0ZZZ");

        test::TempProgramDir fast;
        installTemplates(fast);
        const MultiplierRebuild::Result result = MultiplierRebuild(files, StationPaths(fast.path(), "F0ZZZ")).run(log);
        ASSERT_TRUE(result.result.ok());
        EXPECT_EQ(result.filesWritten, 5);
        for (const QString& name : stationFiles()) {
            SCOPED_TRACE(name.toStdString());
            EXPECT_EQ(fast.read(name), slow.read(name));
        }
        EXPECT_EQ(LogFile::joinLines(result.absentLines), fast.read("F0ZZZ_Absent.txt"));
        EXPECT_FALSE(fast.exists("Temporaire.txt"));
    }
}

TEST_F(MultiplierRebuildTest, GeneratedLogsReallyExerciseTheMarks)
{
    // Guards the comparison above against logs that would mark nothing.
    const QList<QByteArray> log = generatedLog(250, 4);
    ASSERT_TRUE(rebuild(log).result.ok());
    for (const QString& name : {"F0ZZZ_Prefixe_SSB.txt", "F0ZZZ_Prefixe_CW.txt"})
        EXPECT_NE(dir.read(name), LogFile::joinLines(prefixTemplate)) << name.toStdString();
    for (const QString& name : {"F0ZZZ_Departement_SSB.txt", "F0ZZZ_Departement_CW.txt"})
        EXPECT_NE(dir.read(name), LogFile::joinLines(departmentTemplate)) << name.toStdString();
    EXPECT_FALSE(dir.read("F0ZZZ_Absent.txt").isEmpty());
}

TEST_F(MultiplierRebuildTest, EntityLineIsMarkedPerBandAndMode)
{
    const QList<QByteArray> log = {
        logLine({"F5ABC", "14 Mhz", "SSB", "59"}),
        logLine({"TM1JNM", "3.5 Mhz", "SSB", "59"}),  // a special prefix marks France's line
        logLine({"FG5XY", "14 Mhz", "CW", ""}),
        logLine({"F6XYZ", "144 Mhz", "CW", "2a"}),
    };
    ASSERT_TRUE(rebuild(log).result.ok());
    EXPECT_EQ(dir.read("F0ZZZ_Prefixe_SSB.txt"), prefixesWith({{kLineF, k14}, {kLineF, k35}}));
    EXPECT_EQ(dir.read("F0ZZZ_Prefixe_CW.txt"), prefixesWith({{kLineFG, k14}, {kLineF, k144}}));
    // A department contacted on 14 Mhz SSB has "1" in column 8 of its SSB line only.
    EXPECT_EQ(dir.read("F0ZZZ_Departement_SSB.txt"),
              departmentsWith({{departmentLineOf("59"), k14, '1'}, {departmentLineOf("59"), k35, '1'}}));
    EXPECT_EQ(dir.read("F0ZZZ_Departement_CW.txt"), departmentsWith({{departmentLineOf("2A"), k144, '1'}}));
    EXPECT_EQ(dir.read("F0ZZZ_Absent.txt"), "");
}

TEST_F(MultiplierRebuildTest, UnmatchedCallsignMarksNothingAndIsListed)
{
    // The QSO before it must not lend it its entity.
    const QList<QByteArray> log = {
        logLine({"F5ABC", "14 Mhz", "CW", "59"}),
        logLine({"QQ1XYZ", "7.0 Mhz", "CW", "59"}),
        logLine({"ON4AA", "14 Mhz", "SSB", ""}),
        logLine({"QQ2XYZ", "3.5 Mhz", "SSB", ""}),
    };
    const MultiplierRebuild::Result result = rebuild(log);
    ASSERT_TRUE(result.result.ok());
    EXPECT_EQ(dir.read("F0ZZZ_Prefixe_CW.txt"), prefixesWith({{kLineF, k14}}));
    EXPECT_EQ(dir.read("F0ZZZ_Prefixe_SSB.txt"), prefixesWith({{kLineON, k14}}));
    EXPECT_EQ(dir.read("F0ZZZ_Absent.txt"), "QQ1XYZ\r\n");
    EXPECT_EQ(result.unmatchedCallsigns, (QList<QByteArray>{"QQ1XYZ", "QQ2XYZ"}));
    // The department is marked all the same: it does not depend on the prefix.
    EXPECT_EQ(dir.read("F0ZZZ_Departement_CW.txt"),
              departmentsWith({{departmentLineOf("59"), k14, '1'}, {departmentLineOf("59"), k70, '1'}}));
}

TEST_F(MultiplierRebuildTest, AbsentListHoldsWhatTheCwQsosCouldNotPlace)
{
    const QList<QByteArray> log = {
        logLine({"ZZ1AA", "14 Mhz", "SSB", ""}),  // entity QQ has no line; SSB: not listed
        logLine({"ZZ2BB", "14 Mhz", "CW", ""}),   // listed by its entity code
        logLine({"ZZ3CC", "7.0 Mhz", "CW", ""}),  // once per QSO
        logLine({"BL2AB", "14 Mhz", "CW", ""}),   // no entity code: listed by its callsign
        logLine({"SY1AA", "14 Mhz", "CW", ""}),   // the entity's line holds no marks: found, not listed
    };
    const MultiplierRebuild::Result result = rebuild(log);
    ASSERT_TRUE(result.result.ok());
    EXPECT_EQ(dir.read("F0ZZZ_Absent.txt"), "QQ\r\nQQ\r\nBL2AB\r\n");
    EXPECT_EQ(result.absentLines, (QList<QByteArray>{"QQ", "QQ", "BL2AB"}));
    EXPECT_TRUE(result.unmatchedCallsigns.isEmpty());
    EXPECT_EQ(dir.read("F0ZZZ_Prefixe_CW.txt"), LogFile::joinLines(prefixTemplate));
}

TEST_F(MultiplierRebuildTest, RebuildReadsSixPrefixColumnsWhereTheLookUpReadsFive)
{
    // VP8SGA: the look-up (columns 1-5) matches the "VP8SGX" line, whose entity VP8SG is then
    // found (columns 1-6) on the "VP8SG" line.
    ASSERT_TRUE(rebuild({logLine({"VP8SGA", "14 Mhz", "SSB", ""})}).result.ok());
    EXPECT_EQ(dir.read("F0ZZZ_Prefixe_SSB.txt"), prefixesWith({{kLineVP8SG, k14}}));
}

TEST_F(MultiplierRebuildTest, BandsAreComparedInUpperCase)
{
    const QList<QByteArray> log = {
        logLine({"F5ABC", "1.8 MHZ", "SSB", "59"}),
        logLine({"F5ABC", "14 MHz", "SSB", "59"}),
        logLine({"F5ABC", "Unknown", "SSB", "01"}),  // outside the table: nothing
    };
    ASSERT_TRUE(rebuild(log).result.ok());
    EXPECT_EQ(dir.read("F0ZZZ_Prefixe_SSB.txt"), prefixesWith({{kLineF, 0}, {kLineF, k14}}));
    EXPECT_EQ(dir.read("F0ZZZ_Departement_SSB.txt"),
              departmentsWith({{departmentLineOf("59"), 0, '1'}, {departmentLineOf("59"), k14, '1'}}));
}

TEST_F(MultiplierRebuildTest, MarksFollowTheirNumericValue)
{
    const QList<QByteArray> log = {
        // Departments keep the largest count mark: 3 stays over a later 1; the template's 2 on
        // 75 / 14 Mhz stays over a 1; a 0 or blank count changes nothing.
        logLine({"F5ABC", "7.0 Mhz", "SSB", "59", "3"}),
        logLine({"F5ABC", "7.0 Mhz", "SSB", "59", "1"}),
        logLine({"F5ABC", "14 Mhz", "SSB", "75", "1"}),
        logLine({"F5ABC", "14 Mhz", "SSB", "01", "0"}),
        logLine({"F5ABC", "14 Mhz", "SSB", "02", ""}),
        logLine({"F5ABC", "14 Mhz", "SSB", "03", "4"}),
        // Prefixes: an unreadable mark counts as 0 and becomes 1; a 2 stays.
        logLine({"DL1ABC", "14 Mhz", "SSB", ""}),
        logLine({"G3XYZ", "14 Mhz", "SSB", ""}),
    };
    ASSERT_TRUE(rebuild(log).result.ok());
    EXPECT_EQ(dir.read("F0ZZZ_Departement_SSB.txt"),
              departmentsWith({{departmentLineOf("59"), k70, '3'}, {departmentLineOf("03"), k14, '4'}}));
    QList<QByteArray> prefixes = prefixTemplate;
    prefixes[kLineF][7 + k70] = '1';
    prefixes[kLineF][7 + k14] = '1';
    prefixes[kLineDL][7 + k14] = '1';
    EXPECT_EQ(dir.read("F0ZZZ_Prefixe_SSB.txt"), LogFile::joinLines(prefixes));
    EXPECT_EQ(prefixes[kLineG][7 + k14], '2');
}

TEST_F(MultiplierRebuildTest, OtherModesAndEmptyLogLeaveTheTemplates)
{
    // After deleting QSOs, a rebuild clears the marks of what is no longer in the log.
    const QList<QByteArray> log = {logLine({"F5ABC", "14 Mhz", "FM", "59"}), logLine({"F5ABC", "14 Mhz", "ssb", "59"}),
                                   "", "garbage"};
    for (const QList<QByteArray>& l : {log, QList<QByteArray>{}}) {
        ASSERT_TRUE(rebuild(l).result.ok());
        EXPECT_EQ(dir.read("F0ZZZ_Prefixe_SSB.txt"), LogFile::joinLines(prefixTemplate));
        EXPECT_EQ(dir.read("F0ZZZ_Prefixe_CW.txt"), LogFile::joinLines(prefixTemplate));
        EXPECT_EQ(dir.read("F0ZZZ_Departement_SSB.txt"), LogFile::joinLines(departmentTemplate));
        EXPECT_EQ(dir.read("F0ZZZ_Departement_CW.txt"), LogFile::joinLines(departmentTemplate));
        EXPECT_EQ(dir.read("F0ZZZ_Absent.txt"), "");
    }
}

TEST_F(MultiplierRebuildTest, EachFileIsWrittenOnceAndAFailureLeavesWholeFiles)
{
    const QList<QByteArray> log = generatedLog(80, 5);
    files.failWrites(1);
    files.onlyPathsEndingWith("_Absent.txt");
    const MultiplierRebuild::Result failed = rebuild(log);
    EXPECT_EQ(failed.result.errorNumber, 61);
    EXPECT_EQ(failed.failedFile, paths.absentList());
    EXPECT_EQ(failed.filesWritten, 2);
    EXPECT_EQ(files.writes(), 3);
    // The prefix files are the new ones; the department files are the old ones, whole.
    EXPECT_NE(dir.read("F0ZZZ_Prefixe_SSB.txt"), "old contents\r\n");
    EXPECT_NE(dir.read("F0ZZZ_Prefixe_CW.txt"), "old contents\r\n");
    EXPECT_FALSE(dir.exists("F0ZZZ_Absent.txt"));
    EXPECT_EQ(dir.read("F0ZZZ_Departement_SSB.txt"), "old contents\r\n");
    EXPECT_EQ(dir.read("F0ZZZ_Departement_CW.txt"), "old contents\r\n");

    // Running it again completes the set, the same as one clean run.
    const MultiplierRebuild::Result again = rebuild(log);
    ASSERT_TRUE(again.result.ok());
    EXPECT_EQ(files.writes(), 3 + 5);
    test::TempProgramDir clean;
    installTemplates(clean);
    ASSERT_TRUE(MultiplierRebuild(files, StationPaths(clean.path(), "F0ZZZ")).run(log).result.ok());
    for (const QString& name : stationFiles())
        EXPECT_EQ(dir.read(name), clean.read(name)) << name.toStdString();
}

TEST_F(MultiplierRebuildTest, InterruptedReplaceLeavesTheOldFile)
{
    files.stopBeforeRename(true);
    const MultiplierRebuild::Result failed = rebuild(generatedLog(20, 6));
    EXPECT_FALSE(failed.result.ok());
    EXPECT_EQ(failed.filesWritten, 0);
    EXPECT_EQ(failed.failedFile, paths.prefixes(bands::Mode::Ssb));
    EXPECT_EQ(dir.read("F0ZZZ_Prefixe_SSB.txt"), "old contents\r\n");
}

TEST_F(MultiplierRebuildTest, MissingTemplateOrLogWritesNothing)
{
    files.remove(paths.departmentTemplate());
    MultiplierRebuild::Result failed = rebuild(generatedLog(20, 7));
    EXPECT_EQ(failed.result.errorNumber, 53);
    EXPECT_EQ(failed.failedFile, paths.departmentTemplate());
    EXPECT_EQ(files.writes(), 0);

    installTemplates(dir);
    failed = MultiplierRebuild(files, paths).runFromLog();
    EXPECT_EQ(failed.result.errorNumber, 53);
    EXPECT_EQ(failed.failedFile, paths.log());
    EXPECT_EQ(files.writes(), 0);
    EXPECT_EQ(dir.read("F0ZZZ_Prefixe_SSB.txt"), "old contents\r\n");
}

TEST_F(MultiplierRebuildTest, FromTheLogFileAndWithProgress)
{
    const QList<QByteArray> log = generatedLog(1500, 8);
    dir.write("F0ZZZ.Log", LogFile::joinLines(log));  // either spelling of the suffix

    QList<std::pair<int, int>> calls;
    MultiplierRebuild rebuilder(files, paths);
    rebuilder.setProgress([&](int done, int total) { calls.append({done, total}); });
    ASSERT_TRUE(rebuilder.runFromLog().result.ok());
    ASSERT_GE(calls.size(), 3);
    EXPECT_EQ(calls.first(), std::make_pair(0, 1500));
    EXPECT_EQ(calls.last(), std::make_pair(1500, 1500));
    for (int i = 1; i < calls.size(); ++i)
        EXPECT_GT(calls[i].first, calls[i - 1].first);

    test::TempProgramDir other;
    installTemplates(other);
    ASSERT_TRUE(MultiplierRebuild(files, StationPaths(other.path(), "F0ZZZ")).run(log).result.ok());
    for (const QString& name : stationFiles())
        EXPECT_EQ(dir.read(name), other.read(name)) << name.toStdString();
}

TEST_F(MultiplierRebuildTest, ShippedTemplatesRebuildLikeThePerLineProcedure)
{
    test::TempProgramDir slow;
    slow.installShippedData();
    if (!slow.exists("FXXXX_Prefixe.txt") || !slow.exists("FXXXX_Departement.txt"))
        GTEST_SKIP() << "no shipped templates yet";
    const QList<QByteArray> log = generatedLog(120, 9);
    slow.write("F0ZZZ.log", LogFile::joinLines(log));
    slow.write("FXXXX.log", "");
    test::reference::rebuildPerLine(slow.path(), "F0ZZZ");

    test::TempProgramDir fast;
    fast.installShippedData();
    ASSERT_TRUE(MultiplierRebuild(files, StationPaths(fast.path(), "F0ZZZ")).run(log).result.ok());
    for (const QString& name : stationFiles())
        EXPECT_EQ(fast.read(name), slow.read(name)) << name.toStdString();
}

}  // namespace
}  // namespace tv
