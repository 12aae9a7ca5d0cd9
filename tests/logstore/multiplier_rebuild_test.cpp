#include "logstore/log_file.h"
#include "logstore/multiplier_rebuild.h"
#include "logstore/qso_line.h"
#include "tests/logstore/multiplier_reference.h"
#include "tests/support/fakes/failing_file_system.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tv {
namespace {

using test::departmentLine;
using test::marks;
using test::prefixLine;

constexpr int k18 = 0, k35 = 1, k70 = 2, k14 = 4, k144 = 10; // positions in the band table

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
// Line indexes of the prefix template.
constexpr int kLineFG = 0, kLineF = 1, kLineON = 4, kLineDL = 5, kLineVP8SG = 8;

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

// A log line; `count` is the count column (135).
QByteArray logLine(const char* callsign, const char* band, const char* mode, const char* department,
                   const char* count = "1")
{
    QByteArray line = test::qso("21/06/15", callsign, "09:41", band, mode, department);
    line[134] = *count ? *count : ' ';
    return line;
}

// A log of mixed bands, modes, callsigns, departments and count marks, with a few lines that
// are not QSO lines at all.
QList<QByteArray> generatedLog(int count, quint32 seed)
{
    static const char* const kCalls[] = {"F5ABC", "FG5XY",  "TM1JNM", "TK5EP", "ON4AA", "DL1ABC",  "G3XYZ", "VP8SGA",
                                         "ZZ1AA", "QQ1XYZ", "BL2AB",  "SY1AA", "F6XYZ", "F1AAA/P", ""};
    static const char* const kBands[] = {"3.5 Mhz", "7.0 Mhz", "14 Mhz",  "21 Mhz", "28 Mhz", "144 Mhz", "1.8 MHZ",
                                         "14 MHz",  "10 Ghz",  "2.3 GHZ", "FM",     "",       "432 Mhz"};
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
        if (kind < 2) {
            lines << (kind == 0 ? QByteArray() : QByteArray("short line"));
            continue;
        }
        const char* call = kCalls[next() % std::size(kCalls)];
        const char* band = kBands[next() % std::size(kBands)];
        const char* mode = kModes[next() % std::size(kModes)];
        const char* department = kDepartments[next() % std::size(kDepartments)];
        lines << logLine(call, band, mode, department, kCounts[next() % std::size(kCounts)]);
    }
    return lines;
}

const QStringList kStationFiles = {"F0ZZZ_Prefixe_SSB.txt", "F0ZZZ_Prefixe_CW.txt", "F0ZZZ_Absent.txt",
                                   "F0ZZZ_Departement_SSB.txt", "F0ZZZ_Departement_CW.txt"};

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
        for (const char* name :
             {"F0ZZZ_Prefixe_SSB.txt", "F0ZZZ_Prefixe_CW.txt", "F0ZZZ_Departement_SSB.txt", "F0ZZZ_Departement_CW.txt"})
            d.write(name, "old contents\r\n");
    }

    MultiplierRebuild::Result rebuild(const QList<QByteArray>& log) { return MultiplierRebuild(files, paths).run(log); }

    // The same log rebuilt in a fresh directory gives the same five files.
    void expectSameAsACleanRun(const QList<QByteArray>& log)
    {
        test::TempProgramDir clean;
        installTemplates(clean);
        ASSERT_TRUE(MultiplierRebuild(files, StationPaths(clean.path(), "F0ZZZ")).run(log).result.ok());
        for (const QString& name : kStationFiles)
            EXPECT_EQ(dir.read(name), clean.read(name)) << name.toStdString();
    }
};

TEST_F(MultiplierRebuildTest, SameBytesAsThePerLineProcedure)
{
    const std::pair<int, quint32> runs[] = {{0, 1}, {1, 2}, {60, 3}, {250, 4}, {250, 99}};
    for (const auto& [count, seed] : runs) {
        SCOPED_TRACE("lines " + std::to_string(count) + " seed " + std::to_string(seed));
        const QList<QByteArray> log = generatedLog(count, seed);

        test::TempProgramDir slow;
        installTemplates(slow);
        slow.write("F0ZZZ.log", LogFile::joinLines(log));
        test::reference::rebuildPerLine(slow.path(), "F0ZZZ");

        test::TempProgramDir fast;
        installTemplates(fast);
        const MultiplierRebuild::Result result = MultiplierRebuild(files, StationPaths(fast.path(), "F0ZZZ")).run(log);
        ASSERT_TRUE(result.result.ok());
        EXPECT_EQ(result.filesWritten, 5);
        for (const QString& name : kStationFiles)
            EXPECT_EQ(fast.read(name), slow.read(name)) << name.toStdString();
        EXPECT_EQ(LogFile::joinLines(result.absentLines), fast.read("F0ZZZ_Absent.txt"));
        EXPECT_FALSE(fast.exists("Temporaire.txt"));
        if (count == 250) {
            // The generated logs really exercise the marks: the comparison is not between templates.
            for (const QString& name : {"F0ZZZ_Prefixe_SSB.txt", "F0ZZZ_Prefixe_CW.txt"})
                EXPECT_NE(fast.read(name), LogFile::joinLines(prefixTemplate)) << name.toStdString();
            for (const QString& name : {"F0ZZZ_Departement_SSB.txt", "F0ZZZ_Departement_CW.txt"})
                EXPECT_NE(fast.read(name), LogFile::joinLines(departmentTemplate)) << name.toStdString();
            EXPECT_FALSE(fast.read("F0ZZZ_Absent.txt").isEmpty());
        }
    }
}

TEST_F(MultiplierRebuildTest, MarksOfSmallLogs)
{
    using PrefixMarks = QList<std::tuple<int, int, char>>;            // line, band, mark
    using DepartmentMarks = QList<std::tuple<QByteArray, int, char>>; // code, band, mark
    struct Case {
        const char* what;
        QList<QByteArray> log;
        PrefixMarks ssbPrefixes, cwPrefixes;
        DepartmentMarks ssbDepartments, cwDepartments;
        QByteArray absent;
        QList<QByteArray> unmatched;
    };
    const Case cases[] = {
        {"entity line marked per band and mode; a special prefix marks France's line",
         {logLine("F5ABC", "14 Mhz", "SSB", "59"), logLine("TM1JNM", "3.5 Mhz", "SSB", "59"),
          logLine("FG5XY", "14 Mhz", "CW", ""), logLine("F6XYZ", "144 Mhz", "CW", "2a")},
         {{kLineF, k14, '1'}, {kLineF, k35, '1'}},
         {{kLineFG, k14, '1'}, {kLineF, k144, '1'}},
         {{"59", k14, '1'}, {"59", k35, '1'}},
         {{"2A", k144, '1'}},
         "",
         {}},
        {"a callsign matching no prefix marks nothing, not even the entity of the QSO before",
         {logLine("F5ABC", "14 Mhz", "CW", "59"), logLine("QQ1XYZ", "7.0 Mhz", "CW", "59"),
          logLine("ON4AA", "14 Mhz", "SSB", ""), logLine("QQ2XYZ", "3.5 Mhz", "SSB", "")},
         {{kLineON, k14, '1'}},
         {{kLineF, k14, '1'}},
         {},
         {{"59", k14, '1'}, {"59", k70, '1'}}, // the department does not depend on the prefix
         "QQ1XYZ\r\n",
         {"QQ1XYZ", "QQ2XYZ"}},
        {"the absent list holds what the CW QSOs could not place",
         {logLine("ZZ1AA", "14 Mhz", "SSB", ""), // entity QQ has no line; SSB: not listed
          logLine("ZZ2BB", "14 Mhz", "CW", ""),  // listed by its entity code
          logLine("ZZ3CC", "7.0 Mhz", "CW", ""), // once per QSO
          logLine("BL2AB", "14 Mhz", "CW", ""),  // no entity code: listed by its callsign
          logLine("SY1AA", "14 Mhz", "CW", "")}, // the entity's line holds no marks: found, not listed
         {},
         {},
         {},
         {},
         "QQ\r\nQQ\r\nBL2AB\r\n",
         {}},
        {"six prefix columns where the look-up reads five: VP8SGA finds the VP8SG line",
         {logLine("VP8SGA", "14 Mhz", "SSB", "")},
         {{kLineVP8SG, k14, '1'}},
         {},
         {},
         {},
         "",
         {}},
        {"bands compared in upper case",
         {logLine("F5ABC", "1.8 MHZ", "SSB", "59"), logLine("F5ABC", "14 MHz", "SSB", "59"),
          logLine("F5ABC", "Unknown", "SSB", "01")},
         {{kLineF, k18, '1'}, {kLineF, k14, '1'}},
         {},
         {{"59", k18, '1'}, {"59", k14, '1'}},
         {},
         "",
         {}},
        {"marks follow their numeric value",
         // Departments keep the largest count: 3 over a later 1, the template's 2 on 75 over a
         // 1, a 0 or blank count changes nothing. An unreadable prefix mark becomes 1; a 2 stays.
         {logLine("F5ABC", "7.0 Mhz", "SSB", "59", "3"), logLine("F5ABC", "7.0 Mhz", "SSB", "59", "1"),
          logLine("F5ABC", "14 Mhz", "SSB", "75", "1"), logLine("F5ABC", "14 Mhz", "SSB", "01", "0"),
          logLine("F5ABC", "14 Mhz", "SSB", "02", ""), logLine("F5ABC", "14 Mhz", "SSB", "03", "4"),
          logLine("DL1ABC", "14 Mhz", "SSB", ""), logLine("G3XYZ", "14 Mhz", "SSB", "")},
         {{kLineF, k70, '1'}, {kLineF, k14, '1'}, {kLineDL, k14, '1'}},
         {},
         {{"59", k70, '3'}, {"03", k14, '4'}},
         {},
         "",
         {}},
        {"other modes and non-QSO lines leave the templates",
         {logLine("F5ABC", "14 Mhz", "FM", "59"), logLine("F5ABC", "14 Mhz", "ssb", "59"), "", "garbage"},
         {},
         {},
         {},
         {},
         "",
         {}},
        {"an empty log clears every mark", {}, {}, {}, {}, {}, "", {}},
    };
    auto prefixes = [this](const PrefixMarks& marked) {
        QList<QByteArray> lines = prefixTemplate;
        for (const auto& [line, band, mark] : marked)
            lines[line][7 + band] = mark;
        return LogFile::joinLines(lines);
    };
    auto departments = [this](const DepartmentMarks& marked) {
        QList<QByteArray> lines = departmentTemplate;
        for (const auto& [code, band, mark] : marked) {
            for (QByteArray& line : lines) {
                if (line.startsWith(code))
                    line[3 + band] = mark;
            }
        }
        return LogFile::joinLines(lines);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const MultiplierRebuild::Result result = rebuild(c.log);
        ASSERT_TRUE(result.result.ok());
        EXPECT_EQ(dir.read("F0ZZZ_Prefixe_SSB.txt"), prefixes(c.ssbPrefixes));
        EXPECT_EQ(dir.read("F0ZZZ_Prefixe_CW.txt"), prefixes(c.cwPrefixes));
        EXPECT_EQ(dir.read("F0ZZZ_Departement_SSB.txt"), departments(c.ssbDepartments));
        EXPECT_EQ(dir.read("F0ZZZ_Departement_CW.txt"), departments(c.cwDepartments));
        EXPECT_EQ(dir.read("F0ZZZ_Absent.txt"), c.absent);
        EXPECT_EQ(LogFile::joinLines(result.absentLines), c.absent);
        EXPECT_EQ(result.unmatchedCallsigns, c.unmatched);
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
    ASSERT_TRUE(rebuild(log).result.ok());
    EXPECT_EQ(files.writes(), 3 + 5);
    expectSameAsACleanRun(log);

    // A replace interrupted before its rename leaves the old file.
    installTemplates(dir);
    files.stopBeforeRename(true);
    const MultiplierRebuild::Result interrupted = rebuild(log);
    EXPECT_FALSE(interrupted.result.ok());
    EXPECT_EQ(interrupted.filesWritten, 0);
    EXPECT_EQ(interrupted.failedFile, paths.prefixes(bands::Mode::Ssb));
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
    dir.write("F0ZZZ.Log", LogFile::joinLines(log)); // either spelling of the suffix

    QList<std::pair<int, int>> calls;
    MultiplierRebuild rebuilder(files, paths);
    rebuilder.setProgress([&](int done, int total) { calls.append({done, total}); });
    ASSERT_TRUE(rebuilder.runFromLog().result.ok());
    ASSERT_GE(calls.size(), 3);
    EXPECT_EQ(calls.first(), std::make_pair(0, 1500));
    EXPECT_EQ(calls.last(), std::make_pair(1500, 1500));
    for (int i = 1; i < calls.size(); ++i)
        EXPECT_GT(calls[i].first, calls[i - 1].first);
    expectSameAsACleanRun(log);
}

TEST_F(MultiplierRebuildTest, ShippedTemplatesRebuildLikeThePerLineProcedure)
{
    test::TempProgramDir slow;
    slow.installShippedData();
    const QList<QByteArray> log = generatedLog(120, 9);
    slow.write("F0ZZZ.log", LogFile::joinLines(log));
    test::reference::rebuildPerLine(slow.path(), "F0ZZZ");

    test::TempProgramDir fast;
    fast.installShippedData();
    ASSERT_TRUE(MultiplierRebuild(files, StationPaths(fast.path(), "F0ZZZ")).run(log).result.ok());
    for (const QString& name : kStationFiles)
        EXPECT_EQ(fast.read(name), slow.read(name)) << name.toStdString();
}

} // namespace
} // namespace tv
