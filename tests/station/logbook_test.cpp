#include "logstore/score.h"
#include "station/logbook.h"
#include "station/startup.h"
#include "tests/support/test_support.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace tv {
namespace {

class LogbookTest : public ::testing::Test {
protected:
    test::Fixture fx;
    Logbook book{fx.services()};

    void SetUp() override
    {
        fx.dir.installShippedData();
        fx.dir.installStationFiles("F0ZZZ");
        book.setStation("F0ZZZ");
    }
    static QsoWrite write(const QByteArray& line)
    {
        QsoWrite qso;
        qso.line = line;
        return qso;
    }
};

TEST_F(LogbookTest, RecordingKeepsTheTallyAndTheDuplicatesOfTheWholeLog)
{
    const QByteArray first = test::qso("21/06/15", "F1AAA", "09:00", "14 Mhz", "SSB", "59", "1");
    fx.dir.write("F0ZZZ.log", test::crlf({first}));
    ASSERT_TRUE(book.load().ok());
    QSignalSpy appended(&book, &Logbook::appended);
    // Activity "2" keeps the kind of the line before; the VHF line counts its distance.
    const QByteArray lines[] = {test::qso("21/06/15", "F1AAA", "09:05", "14 Mhz", "SSB", "", "2"),
                                test::qso("21/06/15", "F1BBB", "09:10", "144 Mhz", "CW", "", "0", "312"),
                                test::qso("21/06/15", "F1CCC", "09:20", "28 Mhz", "SSB", "", "2")};
    for (const QByteArray& line : lines)
        ASSERT_TRUE(book.record(write(line)).logWritten());
    EXPECT_EQ(appended.count(), 3);
    EXPECT_EQ(appended.last().at(0).toInt(), 3);
    const QList<QByteArray> all = {first, lines[0], lines[1], lines[2]};
    EXPECT_EQ(fx.dir.read("F0ZZZ.log"), test::crlf({all[0], all[1], all[2], all[3]}));
    const MultiplierBytes marks = readMultiplierFiles(fx.files, book.paths());
    EXPECT_EQ(book.tally(), tallyScore(all, marks.departmentSsb, marks.departmentCw, marks.prefixSsb, marks.prefixCw));
    EXPECT_EQ(book.findDuplicate("F1AAA", "14 Mhz", "SSB"), 0) << "the first of two";
    EXPECT_EQ(book.findDuplicate("F1BBB ", "144 Mhz", "CW"), 2) << "compared trimmed";
    EXPECT_FALSE(book.findDuplicate("F1BBB", "144 Mhz", "SSB"));
}

TEST_F(LogbookTest, AFailedWriteChangesNothingAndAMissingFileIsNamed)
{
    fx.dir.write("F0ZZZ.log", "");
    ASSERT_TRUE(book.load().ok());
    QSignalSpy appended(&book, &Logbook::appended);
    QsoWrite qso = write(test::qso("21/06/15", "F1AAA", "09:00", "14 Mhz", "SSB", "59"));
    qso.departmentToMark = "59";
    qso.firstNameLine = "F1AAA        59 JEAN";
    fx.files.failWrites(2); // a full disk: the marker of the change, then the line
    EXPECT_EQ(book.record(qso).log.errorNumber, FileResult::kDiskFull);
    EXPECT_EQ(book.count(), 0);
    EXPECT_EQ(appended.count(), 0);
    EXPECT_EQ(fx.dir.read("Liste_Prenom.txt"), "") << "nothing after a line that was not written";
    EXPECT_EQ(book.tally().hfTotals().departments, 0);

    EXPECT_EQ(book.remove(0, qso.line).log.errorNumber, FileResult::kAccessError) << "out of step with the file";
    EXPECT_FALSE(fx.dir.exists("F0ZZZ_Reconstruction.txt")) << "the multiplier files still follow the log";

    // A mark that cannot be written leaves the marker: the next start puts the mark right.
    fx.files.onlyPathsEndingWith("_Departement_SSB.txt");
    fx.files.failWrites(1);
    EXPECT_EQ(book.record(qso).failures.size(), 1);
    fx.files.onlyPathsEndingWith("");
    EXPECT_TRUE(fx.dir.exists("F0ZZZ_Reconstruction.txt"));
    EXPECT_EQ(startup::repairFiles(fx.files, book.paths(), nullptr).size(), 1);
    ASSERT_TRUE(book.load().ok());
    EXPECT_EQ(book.tally().hfTotals().departments, 1);

    QSignalSpy failed(&book, &Logbook::fileFailed);
    QFile::remove(fx.dir.file("F0ZZZ_Prefixe_CW.txt"));
    EXPECT_FALSE(book.load().ok());
    ASSERT_EQ(failed.count(), 1);
    EXPECT_TRUE(failed.first().at(0).toString().endsWith("F0ZZZ_Prefixe_CW.txt"));
}

} // namespace
} // namespace tv
