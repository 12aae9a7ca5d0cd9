#include "logstore/log_file.h"
#include "logstore/qso_line.h"
#include "tests/support/fakes/failing_file_system.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::crlf;
using test::qso;

class LogFileTest : public ::testing::Test {
protected:
    test::TempProgramDir dir;
    FailingFileSystem files;
    LogFile log{files, dir.file("F0ZZZ.log")};
    const QByteArray a = qso("21/06/15", "F5ABC", "09:41", "14 Mhz", "SSB");
    const QByteArray b = qso("21/06/15", "F6XYZ", "09:45", "14 Mhz", "CW");

    QByteArray bytes() const { return dir.read("F0ZZZ.log"); }
};

TEST_F(LogFileTest, LoadKeepsEveryLineByteForByte)
{
    EXPECT_EQ(log.load().result.errorNumber, 53);
    dir.write("F0ZZZ.log", "");
    LogFile::Loaded loaded = log.load();
    EXPECT_TRUE(loaded.result.ok());
    EXPECT_TRUE(loaded.lines.isEmpty()) << "an empty file is an empty log";

    dir.write("F0ZZZ.log", a + "\r\nshort line\r\n\r\n" + QByteArray(250, 'L') + "\nno end");
    loaded = log.load();
    EXPECT_EQ(loaded.lines, QList<QByteArray>({a, "short line", "", QByteArray(250, 'L'), "no end"}));
    // A rewrite keeps every line (line ends become CR LF).
    ASSERT_TRUE(log.removeAt(0, a).ok());
    EXPECT_EQ(bytes(), "short line\r\n\r\n" + QByteArray(250, 'L') + "\r\nno end\r\n");
}

TEST_F(LogFileTest, AppendWritesTheLineAndCrLfOrNothing)
{
    ASSERT_TRUE(log.append(a).ok());
    ASSERT_TRUE(log.append(b).ok());
    EXPECT_EQ(bytes(), crlf({a, b}));
    EXPECT_EQ(bytes().size(), 2 * 201);

    files.failWrites(1);
    EXPECT_EQ(log.append(qso("21/06/15", "F1AAA", "09:50", "14 Mhz", "CW")).errorNumber, 61);
    EXPECT_EQ(bytes(), crlf({a, b}));

    // A last line without its line end does not swallow the next QSO.
    dir.write("F0ZZZ.log", a);
    ASSERT_TRUE(log.append(b).ok());
    EXPECT_EQ(bytes(), crlf({a, b}));
}

TEST_F(LogFileTest, RemoveTakesOnlyTheChosenLineAndOnlyIfTheFileStillHoldsIt)
{
    dir.write("F0ZZZ.log", crlf({a, b, a}));
    EXPECT_FALSE(log.removeAt(0, b).ok());
    EXPECT_FALSE(log.removeAt(5, a).ok());
    EXPECT_EQ(bytes(), crlf({a, b, a}));

    ASSERT_TRUE(log.removeAt(2, a).ok());
    EXPECT_EQ(bytes(), crlf({a, b})) << "the identical line before it stays";
    ASSERT_TRUE(log.removeAt(0, a).ok());
    ASSERT_TRUE(log.removeAt(0, b).ok());
    EXPECT_EQ(bytes(), "") << "deleting the only QSO leaves an empty file";
}

TEST_F(LogFileTest, ReplacePlacesTheEditedLineInDateAndTimeOrder)
{
    const QByteArray l0900 = qso("02/06/07", "F1AAA", "09:00", "14 Mhz", "SSB");
    const QByteArray l0930 = qso("02/06/07", "F1BBB", "09:30", "14 Mhz", "SSB");
    const QByteArray l1000 = qso("02/06/07", "F1CCC", "10:00", "14 Mhz", "SSB");
    const QByteArray l1100 = qso("02/06/07", "F1DDD", "11:00", "14 Mhz", "SSB");
    dir.write("F0ZZZ.log", crlf({l0900, l0930, l1000, l1100}));

    // 10:00 edited to 09:30 goes before the line of 09:30 (equal times: the new line first).
    const QByteArray edited = qso("02/06/07", "F1CCC", "09:30", "14 Mhz", "SSB");
    ASSERT_TRUE(log.replaceInOrder(2, l1000, edited).ok());
    EXPECT_EQ(bytes(), crlf({l0900, edited, l0930, l1100}));

    // The first line edited to the latest time moves to the end.
    const QByteArray late = qso("02/06/07", "F1AAA", "12:00", "14 Mhz", "SSB");
    ASSERT_TRUE(log.replaceInOrder(0, l0900, late).ok());
    EXPECT_EQ(bytes(), crlf({edited, l0930, l1100, late}));

    // In a one-line log, just the new line.
    dir.write("F0ZZZ.log", crlf({l0900}));
    ASSERT_TRUE(log.replaceInOrder(0, l0900, b).ok());
    EXPECT_EQ(bytes(), crlf({b}));
}

TEST_F(LogFileTest, InsertWithoutOldLineAcrossTheCenturyAndPastUndatedLines)
{
    const QByteArray y2000 = qso("01/01/00", "F1BBB", "00:10", "14 Mhz", "SSB");
    dir.write("F0ZZZ.log", crlf({y2000}));
    const QByteArray y1999 = qso("31/12/99", "F1AAA", "23:50", "14 Mhz", "SSB");
    ASSERT_TRUE(log.replaceInOrder(std::nullopt, QByteArray(199, ' '), y1999).ok());
    EXPECT_EQ(bytes(), crlf({y1999, y2000}));

    // Undated lines never move the insertion.
    dir.write("F0ZZZ.log", crlf({a, "garbage"}));
    const QByteArray later = qso("21/06/15", "F6XYZ", "10:00", "14 Mhz", "SSB");
    ASSERT_TRUE(log.replaceInOrder(std::nullopt, {}, later).ok());
    EXPECT_EQ(bytes(), crlf({a, "garbage", later}));

    // Into a log that does not exist yet, the line is simply written.
    LogFile fresh(files, dir.file("NEW.log"));
    ASSERT_TRUE(fresh.replaceInOrder(std::nullopt, {}, y2000).ok());
    EXPECT_EQ(dir.read("NEW.log"), crlf({y2000}));
}

TEST_F(LogFileTest, FailedReplaceKeepsTheOldLog)
{
    dir.write("F0ZZZ.log", crlf({a}));
    files.stopBeforeRename(true);
    EXPECT_FALSE(log.replaceInOrder(std::nullopt, {}, qso("21/06/15", "F6X", "08:00", "14 Mhz", "SSB")).ok());
    EXPECT_FALSE(log.removeAt(0, a).ok());
    EXPECT_EQ(bytes(), crlf({a}));
}

} // namespace
} // namespace tv
