#include "logstore/department_file.h"
#include "logstore/log_file.h"
#include "logstore/prefix_file.h"
#include "tests/logstore/multiplier_reference.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::departmentLine;
using test::marks;
using test::prefixLine;

constexpr int k14 = 4, k144 = 10; // positions in the band table

// The department and prefix files of station F0ZZZ, the same in both modes.
class MultiplierFileTest : public ::testing::Test {
protected:
    test::TempProgramDir dir;
    FailingFileSystem files;
    StationPaths paths{dir.path(), "F0ZZZ"};
    DepartmentFile departments{files, paths};
    PrefixFile prefixes{files, paths};

    const QByteArray ain = departmentLine("01", marks(), "Ain");
    const QByteArray nord = departmentLine("59", marks(k14, '1'), "   Nord");
    const QByteArray corseSud = departmentLine("2A", marks(), test::cp("Corse-du-Sud"));
    const QByteArray hauteCorse = departmentLine("2b", marks(k144, '3'), "Haute-Corse");
    const QList<QByteArray> file = {ain, nord, corseSud, hauteCorse};
    const QList<QByteArray> prefixLines = {
        prefixLine("FG", marks(), "FG", "Guadeloupe"),
        prefixLine("F", marks(k14, '1'), "F", "France"),
        prefixLine("TM", marks(), "F", "France, indicatif special  "),
        prefixLine("VP8SGX", marks(), "VP8SG", "South Georgia, long prefix"),
        prefixLine("VP8SG", marks(), "VP8SG", "South Georgia"),
        prefixLine("", marks(), "XX", "blank prefix field"),
        prefixLine("ZZ", marks(), "QQ", "entity without a line"),
        prefixLine("ON", marks(), "ON", "Belgique"),
    };

    void SetUp() override
    {
        for (const char* mode : {"SSB", "CW"}) {
            dir.write(QString("F0ZZZ_Departement_%1.txt").arg(mode), LogFile::joinLines(file));
            dir.write(QString("F0ZZZ_Prefixe_%1.txt").arg(mode), LogFile::joinLines(prefixLines));
        }
    }
};

TEST_F(MultiplierFileTest, DepartmentLookUpGivesMarkNameAndLine)
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

TEST_F(MultiplierFileTest, DepartmentMarkingChangesOneByteOfEveryLineOfTheCodeInOneWrite)
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

TEST_F(MultiplierFileTest, DepartmentGridMarksAndCount)
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

    for (const auto& [code, cell] : {std::pair<const char*, int>{"2b", 97}, {"5", 5}, {"2C", -1}, {"971", -1}})
        EXPECT_EQ(DepartmentFile::cellOf(code).value_or(-1), cell) << code;
}

TEST_F(MultiplierFileTest, PrefixLookUpGivesTheOwnLineOfTheCallsignsEntity)
{
    using K = EntityResolver::Kind;
    const struct {
        QByteArray text, band;
        K kind;
        int line;
        QByteArray prefix, mark, name;
    } cases[] = {{"FG5XY", "14 Mhz", K::Entity, 0, "FG", "0", "Guadeloupe"},
                 {"F5ABC", "14 Mhz", K::Entity, 1, "F", "1", "France"},
                 {"f5abc", "14 MHz", K::Entity, 1, "F", "", "France"},    // a band outside the table: no mark
                 {"TM1JNM", "7.0 Mhz", K::Entity, 1, "F", "0", "France"}, // a special prefix: France's line
                 {"VP8SGX1", "14 Mhz", K::Entity, 4, "VP8SG", "0", "South Georgia"}, // six columns read
                 {"VP8SGA", "14 Mhz", K::Entity, 4, "VP8SG", "0", "South Georgia"},
                 {"ZZ1AB", "14 Mhz", K::NoLine, -1, "", "", "entity without a line"},
                 {"XYZ", "14 Mhz", K::Unknown, -1, "", "", ""}, // the blank prefix field matches nothing
                 {"ON4XX/MM", "14 Mhz", K::NoEntity, -1, "", "", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString() + " " + c.band.toStdString());
        const PrefixFile::Lookup found = prefixes.lookUp(nullptr, c.text, c.band, bands::Mode::Ssb);
        ASSERT_TRUE(found.result.ok());
        EXPECT_EQ(found.entity.kind, c.kind);
        EXPECT_EQ(
            QList<QByteArray>({QByteArray::number(found.entity.line), found.prefix, found.mark, found.entity.name}),
            QList<QByteArray>({QByteArray::number(c.line), c.prefix, c.mark, c.name}));
    }
    files.remove(paths.prefixes(bands::Mode::Cw));
    EXPECT_EQ(prefixes.lookUp(nullptr, "F5ABC", "14 Mhz", bands::Mode::Cw).result.errorNumber, 53);
}

TEST_F(MultiplierFileTest, PrefixMarkingChangesOneByteOfTheModeFileInOneWrite)
{
    const struct {
        QByteArray entity, band;
        bands::Mode mode;
        std::optional<QByteArray> prefix; // given back
        int line, column;                 // the mark set, 0-based; line -1: nothing written
    } cases[] = {{"FG", "14 Mhz", bands::Mode::Ssb, "FG", 0, 11},
                 // The entity's own line: its prefix is the code.
                 {"VP8SG", "3.5 Mhz", bands::Mode::Cw, "VP8SG", 4, 8},
                 {"F", "14 Mhz", bands::Mode::Ssb, "F", -1, 0},    // already marked
                 {"QQ", "14 Mhz", bands::Mode::Ssb, {}, -1, 0},    // no line for the entity
                 {"ON", "14 MHz", bands::Mode::Ssb, "ON", -1, 0}}; // a band outside the table
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entity.toStdString() + " " + c.band.toStdString());
        SetUp();
        const int writesBefore = files.writes();
        const PrefixFile::MarkResult marked = prefixes.markEntity(c.entity, c.band, c.mode);
        ASSERT_TRUE(marked.result.ok());
        EXPECT_EQ(marked.prefix, c.prefix);
        EXPECT_EQ(marked.changed, c.line >= 0);
        EXPECT_EQ(files.writes() - writesBefore, c.line >= 0 ? 1 : 0);
        QList<QByteArray> expected = prefixLines;
        if (c.line >= 0)
            expected[c.line][c.column] = '1';
        const bool ssb = c.mode == bands::Mode::Ssb;
        EXPECT_EQ(dir.read("F0ZZZ_Prefixe_SSB.txt"), LogFile::joinLines(ssb ? expected : prefixLines));
        EXPECT_EQ(dir.read("F0ZZZ_Prefixe_CW.txt"), LogFile::joinLines(ssb ? prefixLines : expected));
    }
}

TEST_F(MultiplierFileTest, PrefixSizeWarningsOfTheStart)
{
    const QString warning = "Le fichier %1 ne convient pas a cette version %2 octets";
    const struct {
        int templateSize, stationSize; // -1: no file
        QStringList warnings;
    } cases[] = {{50700, 50700, {}},
                 {50702, 50700, {warning.arg("FXXXX_Prefixe.txt", " 50702")}},
                 {50700, 123, {warning.arg("F0ZZZ_Prefixe_SSB.txt", "123")}},
                 {-1, -1, {warning.arg("FXXXX_Prefixe.txt", " 0"), warning.arg("F0ZZZ_Prefixe_SSB.txt", "0")}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.templateSize);
        files.remove(paths.prefixTemplate());
        files.remove(paths.prefixes(bands::Mode::Ssb));
        if (c.templateSize >= 0)
            dir.write("FXXXX_Prefixe.txt", QByteArray(c.templateSize, 'x'));
        if (c.stationSize >= 0)
            dir.write("F0ZZZ_Prefixe_SSB.txt", QByteArray(c.stationSize, 'x'));
        EXPECT_EQ(PrefixFile::sizeWarnings(files, paths), c.warnings);
    }
}

TEST_F(MultiplierFileTest, FailuresAreReportedAndLeaveTheFilesWhole)
{
    const QByteArray before = dir.read("F0ZZZ_Departement_SSB.txt") + dir.read("F0ZZZ_Prefixe_SSB.txt");
    const auto unchanged = [&] { return dir.read("F0ZZZ_Departement_SSB.txt") + dir.read("F0ZZZ_Prefixe_SSB.txt"); };
    files.failWrites(1);
    const DepartmentFile::MarkResult marked = departments.setMark("01", '1', "14 Mhz", bands::Mode::Ssb);
    EXPECT_EQ(marked.result.errorNumber, 61);
    EXPECT_EQ(marked.linesMarked, 0);
    files.failWrites(1, FileResult::kPermissionDenied);
    const PrefixFile::MarkResult entity = prefixes.markEntity("ON", "14 Mhz", bands::Mode::Ssb);
    EXPECT_EQ(entity.result.errorNumber, 70);
    EXPECT_FALSE(entity.changed);
    EXPECT_EQ(unchanged(), before);

    files.stopBeforeRename(true);
    EXPECT_FALSE(departments.setMark("01", '1', "14 Mhz", bands::Mode::Ssb).result.ok());
    EXPECT_FALSE(prefixes.markEntity("ON", "14 Mhz", bands::Mode::Ssb).result.ok());
    EXPECT_EQ(unchanged(), before);
    EXPECT_EQ(files.fileNames(dir.path()).size(), 4) << "no scratch file is left behind";

    // A missing file is error 53 and is not created.
    files.remove(paths.departments(bands::Mode::Cw));
    files.remove(paths.prefixes(bands::Mode::Cw));
    EXPECT_EQ(departments.grid("14 Mhz", bands::Mode::Cw).result.errorNumber, 53);
    EXPECT_EQ(departments.setMark("59", '1', "14 Mhz", bands::Mode::Cw).result.errorNumber, 53);
    EXPECT_EQ(prefixes.markEntity("ON", "14 Mhz", bands::Mode::Cw).result.errorNumber, 53);
    EXPECT_FALSE(dir.exists("F0ZZZ_Departement_CW.txt") || dir.exists("F0ZZZ_Prefixe_CW.txt"));
}

} // namespace
} // namespace tv
