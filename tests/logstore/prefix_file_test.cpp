#include "logstore/log_file.h"
#include "logstore/prefix_file.h"
#include "tests/logstore/multiplier_reference.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::marks;
using test::prefixLine;

class PrefixFileTest : public ::testing::Test {
protected:
    test::TempProgramDir dir;
    FailingFileSystem files;
    StationPaths paths{dir.path(), "F0ZZZ"};
    PrefixFile prefixes{files, paths};

    const QList<QByteArray> lines = {
        prefixLine("FG", marks(), "FG", "Guadeloupe"),
        prefixLine("F", marks(4, '1'), "F", "France"),
        prefixLine("TM", marks(), "F", "France, indicatif special  "),
        prefixLine("VP8SGX", marks(), "VP8SG", "South Georgia, long prefix"),
        prefixLine("VP8SG", marks(), "VP8SG", "South Georgia"),
        prefixLine("", marks(), "XX", "blank prefix field"),
        prefixLine("ZZ", marks(), "QQ", "entity without a line"),
        prefixLine("ON", marks(), "ON", "Belgique"),
    };

    void SetUp() override
    {
        dir.write("F0ZZZ_Prefixe_SSB.txt", LogFile::joinLines(lines));
        dir.write("F0ZZZ_Prefixe_CW.txt", LogFile::joinLines(lines));
    }
};

TEST_F(PrefixFileTest, LookUpTakesTheFirstMatchingLine)
{
    const struct {
        QByteArray text, band;
        int line; // -1: no match
        QByteArray prefix, mark, entity;
    } cases[] = {{"FG5XY", "14 Mhz", 0, "FG", "0", "FG"},
                 {"F5ABC", "14 Mhz", 1, "F", "1", "F"},
                 {"F5ABC", "14 MHz", 1, "F", "", "F"},           // a band outside the table: no mark
                 {"TM1JNM", "7.0 Mhz", 2, "TM", "0", "F"},       // a special prefix belongs to France
                 {"VP8SGA", "14 Mhz", 3, "VP8SG", "0", "VP8SG"}, // the look-up reads columns 1-5 only
                 {"XYZ", "14 Mhz", -1, "", "", ""},              // the blank prefix line matches nothing
                 {"", "14 Mhz", -1, "", "", ""},
                 {"f5abc", "14 Mhz", -1, "", "", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString() + " " + c.band.toStdString());
        const PrefixFile::Lookup found = prefixes.find(c.text, c.band, bands::Mode::Ssb);
        ASSERT_TRUE(found.result.ok());
        ASSERT_EQ(found.match.has_value(), c.line >= 0);
        if (found.match)
            EXPECT_EQ(QList<QByteArray>({QByteArray::number(found.match->lineIndex), found.match->prefix,
                                         found.match->mark, found.match->entity}),
                      QList<QByteArray>({QByteArray::number(c.line), c.prefix, c.mark, c.entity}));
    }
    // The description is the line from column 34 on, as it stands.
    EXPECT_EQ(prefixes.find("TM1JNM", "14 Mhz", bands::Mode::Ssb).match->description, "France, indicatif special  ");
    // A shorter prefix standing first wins.
    EXPECT_EQ(PrefixFile::findIn({prefixLine("F", marks(), "F", "France"), lines[0]}, "FG5XY", "14 Mhz")->entity, "F");
}

TEST_F(PrefixFileTest, TheIndexAgreesWithTheScanAtBothPrefixWidths)
{
    // The entity code VP8SG: columns 1-5 of "VP8SGX" begin it, columns 1-6 do not.
    EXPECT_EQ(PrefixFile::firstMatch(lines, "VP8SG", PrefixFile::kLookupPrefixWidth), 3);
    EXPECT_EQ(PrefixFile::firstMatch(lines, "VP8SG", PrefixFile::kRebuildPrefixWidth), 4);

    // Every prefix of the file and its first characters, with blanks and odd texts around them.
    QList<QByteArray> texts = {"", "      ", "F ", " F", "FG5XY", "VP8SGX1", "VP8SGXY", "ZZ9Z", "QQ", "XX", "f"};
    for (const QByteArray& line : lines) {
        for (int n = 1; n <= 7; ++n)
            texts << line.left(n) << line.left(n).trimmed() + "1A";
    }
    for (const int width : {PrefixFile::kLookupPrefixWidth, PrefixFile::kRebuildPrefixWidth}) {
        const PrefixIndex index(lines, width);
        for (const QByteArray& t : texts)
            EXPECT_EQ(index.firstMatch(t), PrefixFile::firstMatch(lines, t, width)) << t.constData() << " " << width;
    }
}

TEST_F(PrefixFileTest, MarkingChangesOneByteOfTheModeFileInOneWrite)
{
    const struct {
        QByteArray entity, band;
        bands::Mode mode;
        std::optional<QByteArray> prefix; // given back
        int line, column;                 // the mark set, 0-based; line -1: nothing written
    } cases[] = {{"FG", "14 Mhz", bands::Mode::Ssb, "FG", 0, 11},
                 // The first line whose columns 1-5 begin the entity code: "VP8SGX".
                 {"VP8SG", "3.5 Mhz", bands::Mode::Cw, "VP8SG", 3, 8},
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
        QList<QByteArray> expected = lines;
        if (c.line >= 0)
            expected[c.line][c.column] = '1';
        const bool ssb = c.mode == bands::Mode::Ssb;
        EXPECT_EQ(dir.read("F0ZZZ_Prefixe_SSB.txt"), LogFile::joinLines(ssb ? expected : lines));
        EXPECT_EQ(dir.read("F0ZZZ_Prefixe_CW.txt"), LogFile::joinLines(ssb ? lines : expected));
    }
}

TEST_F(PrefixFileTest, FailuresAreReportedAndLeaveTheFileWhole)
{
    const QByteArray before = dir.read("F0ZZZ_Prefixe_SSB.txt");
    files.failWrites(1, FileResult::kPermissionDenied);
    PrefixFile::MarkResult marked = prefixes.markEntity("ON", "14 Mhz", bands::Mode::Ssb);
    EXPECT_EQ(marked.result.errorNumber, 70);
    EXPECT_FALSE(marked.changed);
    EXPECT_EQ(dir.read("F0ZZZ_Prefixe_SSB.txt"), before);

    files.stopBeforeRename(true);
    EXPECT_FALSE(prefixes.markEntity("ON", "14 Mhz", bands::Mode::Ssb).result.ok());
    EXPECT_EQ(dir.read("F0ZZZ_Prefixe_SSB.txt"), before);

    files.remove(paths.prefixes(bands::Mode::Cw));
    EXPECT_EQ(prefixes.markEntity("ON", "14 Mhz", bands::Mode::Cw).result.errorNumber, 53);
    EXPECT_FALSE(dir.exists("F0ZZZ_Prefixe_CW.txt"));
}

TEST_F(PrefixFileTest, SizeWarningsOfTheStart)
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

} // namespace
} // namespace tv
