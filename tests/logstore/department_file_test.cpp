#include "logstore/department_file.h"
#include "platform/fakes/failing_file_system.h"
#include "tests/logstore/multiplier_reference.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::crlf;
using test::departmentLine;
using test::marks;

constexpr int k14 = 4;    // "14 Mhz" in the band table
constexpr int k144 = 10;  // "144 Mhz"

class DepartmentFileTest : public ::testing::Test {
protected:
    test::TempProgramDir dir;
    FailingFileSystem files;
    StationPaths paths{dir.path(), "F0ZZZ"};
    DepartmentFile departments{files, paths};

    const QByteArray ain = departmentLine("01", marks(), "Ain");
    const QByteArray nord = departmentLine("59", marks(k14, '1'), "   Nord");
    const QByteArray corseSud = departmentLine("2A", marks(), test::cp("Corse-du-Sud"));
    const QByteArray hauteCorse = departmentLine("2b", marks(k144, '3'), "Haute-Corse");

    void SetUp() override
    {
        const QByteArray file = crlf({ain, nord, corseSud, hauteCorse});
        dir.write("F0ZZZ_Departement_SSB.txt", file);
        dir.write("F0ZZZ_Departement_CW.txt", file);
    }
};

TEST_F(DepartmentFileTest, LookUpGivesMarkNameAndLine)
{
    struct Case {
        QByteArray code;
        QByteArray band;
        QByteArray line;  // the line found, empty when none
        QByteArray mark;
        QByteArray name;
    };
    const Case cases[] = {
        {"59", "14 Mhz", nord, "1", "Nord"},  // leading spaces of the name dropped
        {"59", "7.0 Mhz", nord, "0", "Nord"},
        {"01", "24 Ghz", ain, "0", "Ain"},
        {"59", "14 MHz", nord, "", "Nord"},  // a band outside the table: no mark
        {"60", "14 Mhz", "", "", ""},
        {"", "14 Mhz", "", "", ""},
        {"2A", "14 Mhz", corseSud, "0", test::cp("Corse-du-Sud")},
        {"2a", "14 Mhz", corseSud, "0", test::cp("Corse-du-Sud")},
        {"96", "14 Mhz", corseSud, "0", test::cp("Corse-du-Sud")},  // the number the entry fields use
        {"97", "144 Mhz", hauteCorse, "3", "Haute-Corse"},
        {"2B", "144 Mhz", hauteCorse, "3", "Haute-Corse"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code.toStdString() + " " + c.band.toStdString());
        const DepartmentFile::Lookup found = departments.find(c.code, c.band, bands::Mode::Ssb);
        EXPECT_TRUE(found.result.ok());
        EXPECT_EQ(found.found, !c.line.isEmpty());
        EXPECT_EQ(found.line, c.line);
        EXPECT_EQ(found.mark, c.mark);
        EXPECT_EQ(found.name, c.name);
    }
}

TEST_F(DepartmentFileTest, MissingFileIsError53)
{
    files.remove(paths.departments(bands::Mode::Cw));
    EXPECT_EQ(departments.find("59", "14 Mhz", bands::Mode::Cw).result.errorNumber, 53);
    EXPECT_EQ(departments.grid("14 Mhz", bands::Mode::Cw).result.errorNumber, 53);
    const DepartmentFile::MarkResult marked = departments.setMark("59", '1', "14 Mhz", bands::Mode::Cw);
    EXPECT_EQ(marked.result.errorNumber, 53);
    EXPECT_FALSE(dir.exists("F0ZZZ_Departement_CW.txt")) << "a missing file is not created";
}

TEST_F(DepartmentFileTest, SettingAMarkChangesOneByteOfOneModeInOneWrite)
{
    const QByteArray cwBefore = dir.read("F0ZZZ_Departement_CW.txt");
    const DepartmentFile::MarkResult marked = departments.setMark("01", '1', "14 Mhz", bands::Mode::Ssb);
    ASSERT_TRUE(marked.result.ok());
    EXPECT_EQ(marked.linesMarked, 1);
    EXPECT_EQ(files.writes(), 1);
    // Column 8 of the SSB line of department 01 is "1"; everything else is as it was.
    QByteArray expected = ain;
    expected[7] = '1';
    EXPECT_EQ(dir.read("F0ZZZ_Departement_SSB.txt"), crlf({expected, nord, corseSud, hauteCorse}));
    EXPECT_EQ(dir.read("F0ZZZ_Departement_CW.txt"), cwBefore);
    EXPECT_EQ(departments.find("01", "14 Mhz", bands::Mode::Cw).mark, "0");
}

TEST_F(DepartmentFileTest, MarkingCorsicaByItsNumberMarksTheLettersLine)
{
    ASSERT_TRUE(departments.setMark("96", '1', "144 Mhz", bands::Mode::Cw).result.ok());
    QByteArray expected = corseSud;
    expected[3 + k144] = '1';
    EXPECT_EQ(dir.read("F0ZZZ_Departement_CW.txt"), crlf({ain, nord, expected, hauteCorse}));
}

TEST_F(DepartmentFileTest, NothingToChangeWritesNothing)
{
    for (const auto& [code, band] : {std::pair<QByteArray, QByteArray>{"60", "14 Mhz"}, {"59", "14 Mhz"},
                                     {"59", "14 MHz"}, {"", "14 Mhz"}}) {
        SCOPED_TRACE(code.toStdString() + " " + band.toStdString());
        const DepartmentFile::MarkResult marked = departments.setMark(code, '1', band, bands::Mode::Ssb);
        EXPECT_TRUE(marked.result.ok());
        EXPECT_EQ(marked.linesMarked, 0);
    }
    EXPECT_EQ(files.writes(), 0);
}

TEST_F(DepartmentFileTest, EveryLineOfTheCodeIsMarked)
{
    const QByteArray again = departmentLine("59", marks(), "Nord (bis)");
    dir.write("F0ZZZ_Departement_SSB.txt", crlf({nord, ain, again}));
    const DepartmentFile::MarkResult marked = departments.setMark("59", '1', "3.5 Mhz", bands::Mode::Ssb);
    EXPECT_EQ(marked.linesMarked, 2);
    QByteArray n = nord, a = again;
    n[4] = '1';
    a[4] = '1';
    EXPECT_EQ(dir.read("F0ZZZ_Departement_SSB.txt"), crlf({n, ain, a}));
}

TEST_F(DepartmentFileTest, FailedWriteReportsAndLeavesTheFileWhole)
{
    const QByteArray before = dir.read("F0ZZZ_Departement_SSB.txt");
    files.failWrites(1);
    DepartmentFile::MarkResult marked = departments.setMark("01", '1', "14 Mhz", bands::Mode::Ssb);
    EXPECT_EQ(marked.result.errorNumber, 61);
    EXPECT_EQ(marked.linesMarked, 0);
    EXPECT_EQ(dir.read("F0ZZZ_Departement_SSB.txt"), before);

    files.stopBeforeRename(true);
    marked = departments.setMark("01", '1', "14 Mhz", bands::Mode::Ssb);
    EXPECT_FALSE(marked.result.ok());
    EXPECT_EQ(dir.read("F0ZZZ_Departement_SSB.txt"), before);
    EXPECT_EQ(files.fileNames(dir.path()).size(), 2) << "no scratch file is left behind";
}

TEST_F(DepartmentFileTest, GridMarksAndCount)
{
    const QByteArray file = crlf({
        departmentLine("01", marks(k14, '1'), "Ain"),
        departmentLine("02", marks(k14, '2'), "Aisne"),
        departmentLine("03", marks(), "Allier"),
        departmentLine("2A", marks(k14, '4'), "Corse-du-Sud"),
        departmentLine("2b", marks(k14, '1'), "Haute-Corse"),
        departmentLine("95", marks(k14, '7'), "Val-d'Oise"),  // counted, no colour of its own
        departmentLine("XX", marks(k14, '1'), "no cell"),     // counted, names no cell
        "",                                                   // no mark: not counted
    });
    const DepartmentFile::Grid grid = DepartmentFile::gridOf(file, "14 Mhz");
    EXPECT_EQ(grid.count, 6);
    EXPECT_EQ(grid.cells[1], '1');
    EXPECT_EQ(grid.cells[2], '2');
    EXPECT_EQ(grid.cells[3], '0');
    EXPECT_EQ(grid.cells[96], '4');
    EXPECT_EQ(grid.cells[97], '1');
    EXPECT_EQ(grid.cells[95], '7');
    EXPECT_EQ(grid.cells[4], '\0');
    EXPECT_EQ(grid.cells[0], '\0');

    const DepartmentFile::Grid other = DepartmentFile::gridOf(file, "7.0 Mhz");
    EXPECT_EQ(other.count, 0);
    EXPECT_EQ(other.cells[1], '0');

    const DepartmentFile::Grid unknown = DepartmentFile::gridOf(file, "144 MHz");
    EXPECT_EQ(unknown.count, 0);
    EXPECT_EQ(unknown.cells[1], '\0');
}

TEST_F(DepartmentFileTest, BothSpellingsOfCorsicaLightTheSameCell)
{
    for (const char* code : {"2A", "2a", "96"}) {
        SCOPED_TRACE(code);
        const QByteArray file = crlf({departmentLine(code, marks(k14, '1'), "Corse-du-Sud")});
        const DepartmentFile::Grid grid = DepartmentFile::gridOf(file, "14 Mhz");
        EXPECT_EQ(grid.cells[96], '1');
        EXPECT_EQ(grid.count, 1);
    }
    EXPECT_EQ(DepartmentFile::cellOf("2b"), 97);
    EXPECT_EQ(DepartmentFile::cellOf("2B"), 97);
    EXPECT_EQ(DepartmentFile::cellOf("05"), 5);
    EXPECT_EQ(DepartmentFile::cellOf("5"), 5);
    EXPECT_EQ(DepartmentFile::cellOf("00"), 0);
    EXPECT_EQ(DepartmentFile::cellOf("2C"), std::nullopt);
    EXPECT_EQ(DepartmentFile::cellOf(""), std::nullopt);
    EXPECT_EQ(DepartmentFile::cellOf("971"), std::nullopt);
}

TEST_F(DepartmentFileTest, LaterLineOfTheSameCellKeepsAnEarlierColour)
{
    const QByteArray file = crlf({departmentLine("2A", marks(k14, '1'), "Corse-du-Sud"),
                                  departmentLine("2a", marks(), "Corse-du-Sud")});
    const DepartmentFile::Grid grid = DepartmentFile::gridOf(file, "14 Mhz");
    EXPECT_EQ(grid.cells[96], '1');
    EXPECT_EQ(grid.count, 1);
}

TEST_F(DepartmentFileTest, GridReadsTheModeFile)
{
    ASSERT_TRUE(departments.setMark("01", '1', "14 Mhz", bands::Mode::Ssb).result.ok());
    const DepartmentFile::Grid ssb = departments.grid("14 Mhz", bands::Mode::Ssb);
    const DepartmentFile::Grid cw = departments.grid("14 Mhz", bands::Mode::Cw);
    EXPECT_EQ(ssb.count, 2);  // 01 and 59
    EXPECT_EQ(ssb.cells[1], '1');
    EXPECT_EQ(cw.count, 1);  // 59 only
    EXPECT_EQ(cw.cells[1], '0');
}

}  // namespace
}  // namespace tv
