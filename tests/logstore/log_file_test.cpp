#include "logstore/log_file.h"
#include "tests/support/test_support.h"

#include <QFile>
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
    EXPECT_TRUE(log.load().result.ok());
    EXPECT_TRUE(log.load().lines.isEmpty()) << "an empty file is an empty log";

    dir.write("F0ZZZ.log", a + "\r\nshort line\r\n\r\n" + QByteArray(250, 'L') + "\nno end");
    EXPECT_EQ(log.load().lines, QList<QByteArray>({a, "short line", "", QByteArray(250, 'L'), "no end"}));
    // A rewrite keeps every line (line ends become CR LF).
    ASSERT_TRUE(log.removeAt(0, a).ok());
    EXPECT_EQ(bytes(), "short line\r\n\r\n" + QByteArray(250, 'L') + "\r\nno end\r\n");
}

TEST(LogFileLines, CrLfLfAndALoneCrEachEndALine)
{
    const std::pair<QByteArray, QList<QByteArray>> cases[] = {
        {"", {}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"a\n\rb\r\n\r", {"a", "", "b", ""}},
        {"\r\n", {""}},
    };
    for (const auto& [bytes, lines] : cases) {
        SCOPED_TRACE(bytes.toStdString());
        EXPECT_EQ(LogFile::splitLines(bytes), lines);
    }
    // A log whose lines end in CR only is read line by line and appended to with CR LF.
    test::TempProgramDir dir;
    FailingFileSystem files;
    const QByteArray a = qso("21/06/15", "F5ABC", "09:41", "14 Mhz", "SSB");
    dir.write("F0ZZZ.log", a + "\r" + a + "\r");
    LogFile log(files, dir.file("F0ZZZ.log"));
    EXPECT_EQ(log.load().lines.size(), 2);
    ASSERT_TRUE(log.append(a).ok());
    EXPECT_EQ(dir.read("F0ZZZ.log"), a + "\r" + a + "\r" + a + "\r\n");
}

TEST_F(LogFileTest, AppendWritesTheLineAndCrLfOrNothing)
{
    ASSERT_TRUE(log.append(a).ok());
    ASSERT_TRUE(log.append(b).ok());
    EXPECT_EQ(bytes(), crlf({a, b}));
    EXPECT_EQ(bytes().size(), 2 * 201);

    files.failWrites(1);
    EXPECT_EQ(log.append(a).errorNumber, 61);
    EXPECT_EQ(bytes(), crlf({a, b}));

    // A last line without its line end does not swallow the next QSO.
    dir.write("F0ZZZ.log", a);
    ASSERT_TRUE(log.append(b).ok());
    EXPECT_EQ(bytes(), crlf({a, b}));
}

TEST_F(LogFileTest, AHalfLineLeftByAnInterruptedAppendIsCutOff)
{
    const struct {
        QByteArray before;
        QByteArray after; // "-" for no file
        QByteArray piece;
    } cases[] = {
        {crlf({a}) + b.left(120), crlf({a}), b.left(120)},
        {crlf({a}) + "2", crlf({a}), "2"},
        {b.left(198), "", b.left(198)},
        {crlf({a}) + b, crlf({a}) + b, ""}, // a whole line without its end is kept
        {crlf({a, b}), crlf({a, b}), ""},
        {a + "\r", a + "\r", ""},
        {a + "\n" + "x", a + "\n", "x"},
        {"", "", ""},
        {"-", "-", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before.toStdString());
        QFile::remove(dir.file("F0ZZZ.log"));
        if (c.before != "-")
            dir.write("F0ZZZ.log", c.before);
        const LogFile::Cut cut = log.cutUnfinishedLine();
        EXPECT_TRUE(cut.result.ok());
        EXPECT_EQ(cut.piece, c.piece);
        EXPECT_EQ(dir.exists("F0ZZZ.log") ? bytes() : QByteArray("-"), c.after);
    }
    dir.write("F0ZZZ.log", crlf({a}) + "21/06");
    files.failWrites(1);
    EXPECT_EQ(log.cutUnfinishedLine().result.errorNumber, 61);
    EXPECT_EQ(bytes(), crlf({a}) + "21/06") << "a failed cut keeps the log as it was";
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

TEST_F(LogFileTest, ReplacePlacesTheNewLineInDateAndTimeOrder)
{
    auto at = [](const char* date, const char* time) { return qso(date, "F1AAA", time, "14 Mhz", "SSB"); };
    const QByteArray l0900 = at("02/06/07", "09:00"), l0930 = at("02/06/07", "09:30"), l1000 = at("02/06/07", "10:00"),
                     l1100 = at("02/06/07", "11:00"), l1200 = at("02/06/07", "12:00"), y99 = at("31/12/99", "23:50"),
                     y00 = at("01/01/00", "00:10"), later = at("21/06/15", "10:00"),
                     edited = qso("02/06/07", "F1CCC", "09:30", "14 Mhz", "SSB");
    const QList<QByteArray> four = {l0900, l0930, l1000, l1100};
    const struct {
        const char* what;
        QList<QByteArray> before;
        std::optional<int> oldIndex;
        QByteArray oldLine, newLine;
        QList<QByteArray> after;
    } cases[] = {
        {"10:00 edited to 09:30: before the line of 09:30", four, 2, l1000, edited, {l0900, edited, l0930, l1100}},
        {"the first line edited to the latest time", four, 0, l0900, l1200, {l0930, l1000, l1100, l1200}},
        {"inserted across the century", {y00}, {}, QByteArray(199, ' '), y99, {y99, y00}},
        {"undated lines never move the insertion", {a, "garbage"}, {}, {}, later, {a, "garbage", later}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        dir.write("F0ZZZ.log", LogFile::joinLines(c.before));
        ASSERT_TRUE(log.replaceInOrder(c.oldIndex, c.oldLine, c.newLine).ok());
        EXPECT_EQ(bytes(), LogFile::joinLines(c.after));
    }
    // Into a log that does not exist yet, the line is simply written.
    ASSERT_TRUE(LogFile(files, dir.file("NEW.log")).replaceInOrder(std::nullopt, {}, a).ok());
    EXPECT_EQ(dir.read("NEW.log"), crlf({a}));
}

TEST_F(LogFileTest, FailedReplaceKeepsTheOldLog)
{
    dir.write("F0ZZZ.log", crlf({a}));
    files.stopBeforeRename(true);
    EXPECT_FALSE(log.replaceInOrder(std::nullopt, {}, b).ok());
    EXPECT_FALSE(log.removeAt(0, a).ok());
    EXPECT_EQ(bytes(), crlf({a}));
}

} // namespace
} // namespace tv
