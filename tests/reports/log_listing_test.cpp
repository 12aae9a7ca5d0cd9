#include "logstore/log_file.h"
#include "logstore/station_paths.h"
#include "reports/log_listing.h"
#include "tests/reports/report_fixture.h"
#include "tests/support/fakes/failing_file_system.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::cp;

const QByteArray kTitle = "Journee Nationale des Moulins 21/06/15 Station F4XYZ";

// The listing lines of the fixed log, column for column.
const QList<QByteArray> kListed = {
    "    1 21/06/15  F5ABC       75  09:41  14 Mhz    SSB  57      59                        ",
    "    2 21/06/15  F6XYZ       2a  09:50  3.5 Mhz   CW   579     599     DMF 77012         ",
    "    3 21/06/15  ON4ABC          10:02  28 Mhz    SSB  59      57      WIM 7001          ",
    "    4 21/06/15  DL1XYZ          10:15  7.0 Mhz   CW   599     599                       ",
    "    5 21/06/15  F1ABC       59  11:00  144 Mhz   SSB  55      59                        ",
    "    6 21/06/15  F4XYZ/P     77  11:30  144 Mhz   CW   599     599     DMF 77012         ",
    "    7 21/06/15  F5DEF       59  12:10  3.5 Mhz   CW   599     599     DMF 77012         ",
};

QByteArray fileHeader()
{
    return cp("        N°   Date   Indicatif    Dpt  QTR   Bande    Mode RstR    RstE     N° Moulin");
}

QByteArray signOffLine(int indent)
{
    return QByteArray(indent, ' ') + cp("Document établi avec Tournevent Rev  1.1.2");
}

TEST(LogListing, LinesCutThePiecesInListingOrderWithTheirBlanks)
{
    const QList<QByteArray> log = test::reports::logLines();
    for (int i = 0; i < log.size(); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(listing::line(i + 1, log[i]), kListed[i]);
        EXPECT_EQ(listing::line(i + 1, log[i]).size(), 88);
    }
}

TEST(LogListing, RowNumbersRightAlignedAndNeverCut)
{
    const QByteArray qso = test::reports::logLines().first();
    const struct {
        int row;
        QByteArray prefix;
    } cases[] = {
        {1, "    1 "},     {10, "   10 "},      {100, "  100 "},       {32767, "32767 "},
        {99999, "99999 "}, {100000, "100000 "}, {1234567, "1234567 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        const QByteArray listed = listing::line(c.row, qso);
        EXPECT_EQ(listed.left(c.prefix.size()), c.prefix);
        EXPECT_EQ(listed.mid(c.prefix.size()), kListed[0].mid(6)) << "the number is whole and apart from the date";
    }
}

TEST(LogListing, ShortOrEmptyLinesArePaddedNotShifted)
{
    EXPECT_EQ(listing::line(3, ""), "    3 " + QByteArray(82, ' '));
    const QByteArray cut = test::reports::logLines().first().left(40);
    EXPECT_EQ(listing::line(1, cut), kListed[0].left(39) + QByteArray(49, ' '));
}

TEST(LogListing, WindowFileAndPrintLines)
{
    const QList<QByteArray> log = test::reports::logLines();

    QList<QByteArray> window = {QByteArray(12, ' ') + kTitle, " ",
                                "   No   Date   Indicatif    Dpt  QTR   Bande    Mode RstR    RstE     No Moulin", " "};
    window << kListed;
    EXPECT_EQ(listing::windowLines("F4XYZ", "21/06/15", log), window);

    QList<QByteArray> file = {QByteArray(15, ' ') + kTitle, "", fileHeader(), ""};
    for (const QByteArray& l : kListed)
        file << "     " + l;
    file << "" << signOffLine(30) << "";
    EXPECT_EQ(listing::fileLines("F4XYZ", "21/06/15", log), file);

    QList<QByteArray> print = {" ", QByteArray(15, ' ') + kTitle, " ", fileHeader(), " "};
    for (const QByteArray& l : kListed)
        print << "     " + l;
    print << " " << signOffLine(30);
    EXPECT_EQ(listing::printLines("F4XYZ", "21/06/15", log), print);

    // The file header is the list's header moved five columns right, with "N°" for "No".
    EXPECT_EQ(fileHeader().indexOf("N\xB0"), window[2].indexOf("No") + 5);
}

TEST(LogListing, EmptyLogGivesHeadingsOnly)
{
    EXPECT_EQ(listing::windowLines("F4XYZ", "21/06/15", {}).size(), 4);
    const QList<QByteArray> file = {QByteArray(15, ' ') + kTitle, "", fileHeader(), "", "", signOffLine(30), ""};
    EXPECT_EQ(listing::fileLines("F4XYZ", "21/06/15", {}), file);
}

class LogListingSave : public ::testing::Test {
protected:
    test::TempProgramDir dir;
    FailingFileSystem files;
    StationPaths paths{dir.path(), "F4XYZ"};
    const QString name = QStringLiteral("F4XYZ_Log_JNM_21_06_15.txt");
};

TEST_F(LogListingSave, WritesTheWholeFileAndReportsItsName)
{
    dir.write("F4XYZ_Log_JNM_21_06_15.txt", "old listing");
    const listing::SaveOutcome saved = listing::save(files, paths, "21/06/15", true, test::reports::logLines());
    ASSERT_TRUE(saved.result.ok());
    EXPECT_EQ(saved.fileName, name);
    EXPECT_EQ(saved.message, QStringLiteral("Le Log de F4XYZ a été sauvegardé sous le nom : ") + name);
    EXPECT_EQ(dir.read(name), LogFile::joinLines(listing::fileLines("F4XYZ", "21/06/15", test::reports::logLines())));
    EXPECT_TRUE(dir.read(name).endsWith(signOffLine(30) + "\r\n\r\n"));
}

TEST_F(LogListingSave, FailedWriteLeavesThePreviousFileAndSaysSo)
{
    dir.write("F4XYZ_Log_JNM_21_06_15.txt", "old listing");
    files.failWrites(1, FileResult::kDiskFull);
    listing::SaveOutcome saved = listing::save(files, paths, "21/06/15", true, test::reports::logLines());
    EXPECT_EQ(saved.result.errorNumber, 61);
    EXPECT_EQ(saved.message, QStringLiteral("Erreur N° 61 : le fichier ") + name +
                                 QStringLiteral(" n'a pas pu être écrit ; un fichier précédent de ce nom reste "
                                                "inchangé."));
    EXPECT_EQ(dir.read(name), "old listing");

    files.stopBeforeRename(true);
    saved = listing::save(files, paths, "21/06/15", true, test::reports::logLines());
    EXPECT_FALSE(saved.result.ok());
    EXPECT_EQ(dir.read(name), "old listing");
}

TEST_F(LogListingSave, AnEventDateThatCannotNameAFileWritesNothing)
{
    const listing::SaveOutcome saved = listing::save(files, paths, "1/6/15", true, test::reports::logLines());
    EXPECT_FALSE(saved.result.ok());
    EXPECT_EQ(saved.message, QStringLiteral("La date de la JNM « 1/6/15 » ne permet pas de nommer le fichier : elle "
                                            "doit être une date réelle écrite jj/mm/aa (menu Station)."));
    EXPECT_EQ(files.writes(), 0);
}

} // namespace
} // namespace tv
