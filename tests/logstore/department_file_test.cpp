#include "logstore/department_file.h"
#include "logstore/log_file.h"
#include "tests/logstore/multiplier_reference.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::departmentLine;
using test::marks;

constexpr int k14 = 4, k144 = 10; // positions in the band table

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
    const QList<QByteArray> file = {ain, nord, corseSud, hauteCorse};

    void SetUp() override
    {
        dir.write("F0ZZZ_Departement_SSB.txt", LogFile::joinLines(file));
        dir.write("F0ZZZ_Departement_CW.txt", LogFile::joinLines(file));
    }
};

TEST_F(DepartmentFileTest, LookUpGivesMarkNameAndLine)
{
    const struct {
        QByteArray code, band, line, mark, name;      // line empty: none found
    } cases[] = {{"59", "14 Mhz", nord, "1", "Nord"}, // leading spaces of the name dropped
                 {"01", "24 Ghz", ain, "0", "Ain"},
                 {"59", "14 MHz", nord, "", "Nord"}, // a band outside the table: no mark
                 {"60", "14 Mhz", "", "", ""},
                 {"2a", "14 Mhz", corseSud, "0", test::cp("Corse-du-Sud")},
                 {"96", "14 Mhz", corseSud, "0", test::cp("Corse-du-Sud")}, // the number the entry fields use
                 {"97", "144 Mhz", hauteCorse, "3", "Haute-Corse"},
                 {"2B", "144 Mhz", hauteCorse, "3", "Haute-Corse"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code.toStdString() + " " + c.band.toStdString());
        const DepartmentFile::Lookup found = departments.find(c.code, c.band, bands::Mode::Ssb);
        EXPECT_TRUE(found.result.ok());
        EXPECT_EQ(found.found, !c.line.isEmpty());
        EXPECT_EQ(QList<QByteArray>({found.line, found.mark, found.name}), QList<QByteArray>({c.line, c.mark, c.name}));
    }
}

TEST_F(DepartmentFileTest, MarkingChangesOneByteOfEveryLineOfTheCodeInOneWrite)
{
    const QByteArray again = departmentLine("59", marks(), "Nord (bis)");
    auto marked = [](QByteArray line, int column) { return line.replace(column - 1, 1, "1"); };
    const struct {
        QByteArray code, band;
        QList<QByteArray> before, after; // of the SSB file
        int linesMarked;
    } cases[] = {{"01", "14 Mhz", file, {marked(ain, 8), nord, corseSud, hauteCorse}, 1},
                 {"96", "144 Mhz", file, {ain, nord, marked(corseSud, 14), hauteCorse}, 1},
                 {"59", "3.5 Mhz", {nord, ain, again}, {marked(nord, 5), ain, marked(again, 5)}, 2},
                 // Nothing to change: nothing written.
                 {"60", "14 Mhz", file, file, 0},
                 {"59", "14 Mhz", file, file, 0},
                 {"59", "14 MHz", file, file, 0},
                 {"", "14 Mhz", file, file, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code.toStdString() + " " + c.band.toStdString());
        dir.write("F0ZZZ_Departement_SSB.txt", LogFile::joinLines(c.before));
        const int writesBefore = files.writes();
        const DepartmentFile::MarkResult result = departments.setMark(c.code, '1', c.band, bands::Mode::Ssb);
        ASSERT_TRUE(result.result.ok());
        EXPECT_EQ(result.linesMarked, c.linesMarked);
        EXPECT_EQ(files.writes() - writesBefore, c.linesMarked > 0 ? 1 : 0);
        EXPECT_EQ(dir.read("F0ZZZ_Departement_SSB.txt"), LogFile::joinLines(c.after));
        EXPECT_EQ(dir.read("F0ZZZ_Departement_CW.txt"), LogFile::joinLines(file));
    }
}

TEST_F(DepartmentFileTest, FailuresAreReportedAndLeaveTheFileWhole)
{
    const QByteArray before = dir.read("F0ZZZ_Departement_SSB.txt");
    files.failWrites(1);
    DepartmentFile::MarkResult marked = departments.setMark("01", '1', "14 Mhz", bands::Mode::Ssb);
    EXPECT_EQ(marked.result.errorNumber, 61);
    EXPECT_EQ(marked.linesMarked, 0);
    EXPECT_EQ(dir.read("F0ZZZ_Departement_SSB.txt"), before);

    files.stopBeforeRename(true);
    EXPECT_FALSE(departments.setMark("01", '1', "14 Mhz", bands::Mode::Ssb).result.ok());
    EXPECT_EQ(dir.read("F0ZZZ_Departement_SSB.txt"), before);
    EXPECT_EQ(files.fileNames(dir.path()).size(), 2) << "no scratch file is left behind";

    // A missing file is error 53 and is not created.
    files.remove(paths.departments(bands::Mode::Cw));
    EXPECT_EQ(departments.grid("14 Mhz", bands::Mode::Cw).result.errorNumber, 53);
    EXPECT_EQ(departments.setMark("59", '1', "14 Mhz", bands::Mode::Cw).result.errorNumber, 53);
    EXPECT_FALSE(dir.exists("F0ZZZ_Departement_CW.txt"));
}

TEST_F(DepartmentFileTest, GridMarksAndCount)
{
    const QByteArray bytes = test::crlf({
        departmentLine("01", marks(k14, '1'), "Ain"), departmentLine("02", marks(k14, '2'), "Aisne"),
        departmentLine("03", marks(), "Allier"), departmentLine("2a", marks(k14, '4'), "Corse-du-Sud"),
        departmentLine("2A", marks(), "Corse-du-Sud"), // a later line of the cell keeps its colour
        departmentLine("2b", marks(k14, '1'), "Haute-Corse"),
        departmentLine("95", marks(k14, '7'), "Val-d'Oise"), // counted, no colour of its own
        departmentLine("XX", marks(k14, '1'), "no cell"),    // counted, names no cell
        "",                                                  // no mark: not counted
    });
    const DepartmentFile::Grid grid = DepartmentFile::gridOf(bytes, "14 Mhz");
    EXPECT_EQ(grid.count, 6);
    const std::pair<int, char> cells[] = {{1, '1'}, {2, '2'}, {3, '0'}, {96, '4'}, {97, '1'}, {95, '7'}, {4, '\0'}};
    for (const auto& [cell, mark] : cells)
        EXPECT_EQ(grid.cells[cell], mark) << "cell " << cell;
    EXPECT_EQ(DepartmentFile::gridOf(bytes, "7.0 Mhz").count, 0);
    EXPECT_EQ(DepartmentFile::gridOf(bytes, "144 MHz").cells[1], '\0') << "a band outside the table";

    // The grid of a mode reads that mode's file.
    ASSERT_TRUE(departments.setMark("01", '1', "14 Mhz", bands::Mode::Ssb).result.ok());
    EXPECT_EQ(departments.grid("14 Mhz", bands::Mode::Ssb).count, 2); // 01 and 59
    EXPECT_EQ(departments.grid("14 Mhz", bands::Mode::Cw).cells[1], '0');

    const std::pair<const char*, int> codes[] = {{"2A", 96}, {"2a", 96}, {"2B", 97}, {"5", 5},
                                                 {"00", 0},  {"2C", -1}, {"", -1},   {"971", -1}};
    for (const auto& [code, cell] : codes)
        EXPECT_EQ(DepartmentFile::cellOf(code).value_or(-1), cell) << code;
}

} // namespace
} // namespace tv
