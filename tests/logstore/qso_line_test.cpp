#include "logstore/qso_line.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

QsoRecord millContact()
{
    return test::frenchMillRecord();
}

TEST(QsoLineTest, BuildsTheFixedColumnsByteForByte)
{
    const auto line = qsoline::build(millContact());
    ASSERT_TRUE(line.has_value());
    const QByteArray expected =
        "21/06/15  F5ABC       09:41  09:43  59           14 Mhz    SSB      59        57        DMF "
        "59045             REN\xC9"
        "             3    101                             1   Moulin de Hondsc"
        "hoote         *";
    EXPECT_EQ(*line, expected);
    EXPECT_EQ(line->size(), 199);
}

TEST(QsoLineTest, FieldsSitInTheirColumns)
{
    QsoRecord r = millContact();
    r.callsign = "F0ABCDEFGH12"; // 12 characters: touches the start time
    r.locator = "JN18DU";
    r.band = "144 Mhz";
    r.points = "312";
    r.distance = "312";
    r.azimuth = "185";
    r.countArea = QByteArray("1") + QByteArray(19, ' ');
    const QByteArray line = *qsoline::build(r);
    EXPECT_EQ(line.mid(10, 17), "F0ABCDEFGH1209:41");
    EXPECT_EQ(line.mid(41, 6), "JN18DU");
    EXPECT_EQ(line.mid(127, 8), "312  101");
    EXPECT_EQ(line.mid(154, 5), "312  ");
    EXPECT_EQ(line.mid(160, 3), "185");
    EXPECT_EQ(line.mid(164, 2), "1 ");
    EXPECT_EQ(line.at(198), '*');
}

TEST(QsoLineTest, ParseGivesBackWhatWasBuilt)
{
    QsoRecord r = millContact();
    r.locator = "JN03TJ";
    r.distance = "610";
    r.azimuth = "185";
    const QByteArray line = *qsoline::build(r);
    EXPECT_EQ(qsoline::parse(line), r);
    EXPECT_EQ(*qsoline::build(qsoline::parse(line)), line);
}

TEST(QsoLineTest, FieldEqualsAgreesWithTheTrimmedField)
{
    const QByteArray line = *qsoline::build(millContact());
    for (const char* value : {"F5ABC", "F5AB", "F5ABCD", "", " F5ABC"}) {
        SCOPED_TRACE(value);
        EXPECT_EQ(qsoline::fieldEquals(line, logcol::kCallsign, value),
                  qsoline::field(line, logcol::kCallsign) == value);
    }
    EXPECT_TRUE(qsoline::fieldEquals(line, logcol::kBand, "14 Mhz"));
    EXPECT_FALSE(qsoline::fieldEquals(line, logcol::kBand, "14 MHz"));
    EXPECT_TRUE(qsoline::fieldEquals("21/06/15  F5ABC", logcol::kCallsign, "F5ABC")) << "a short line";
    EXPECT_TRUE(qsoline::fieldEquals("21/06/15", logcol::kCallsign, ""));
    EXPECT_FALSE(qsoline::fieldEquals("21/06/15", logcol::kCallsign, "F5ABC"));
}

TEST(QsoLineTest, ValueLongerThanItsColumnIsRefused)
{
    QsoRecord r = millContact();
    r.callsign = "F0ABCDEFGH123"; // 13 characters
    const logcol::Column* column = nullptr;
    EXPECT_FALSE(qsoline::build(r, &column).has_value());
    ASSERT_NE(column, nullptr);
    EXPECT_EQ(column->first, 11);

    r = millContact();
    r.millName = QByteArray(31, 'x');
    EXPECT_FALSE(qsoline::build(r).has_value());
    r.millName = QByteArray(30, 'x');
    EXPECT_TRUE(qsoline::build(r).has_value());
}

TEST(QsoLineTest, ShortAndOddLinesParseWithoutFailing)
{
    EXPECT_EQ(qsoline::parse("").callsign, "");
    const QsoRecord shortLine = qsoline::parse("21/06/15  F5ABC       09:4");
    EXPECT_EQ(shortLine.callsign, "F5ABC");
    EXPECT_EQ(shortLine.start, "09:4");
    EXPECT_EQ(shortLine.band, "");
    EXPECT_FALSE(qsoline::isWellFormed("21/06/15  F5ABC"));
    EXPECT_TRUE(qsoline::isWellFormed(*qsoline::build(millContact())));
}

TEST(QsoLineTest, ADateOrStartTimeTheProgramCannotReadMakesTheLineMalformed)
{
    const struct {
        const char* date;
        const char* start;
        bool readable;
    } cases[] = {{"21/06/15", "23:59", true},  {"29/02/00", "00:00", true},  {"2015-6-2", "09:41", false},
                 {"31/06/15", "09:41", false}, {"29/02/01", "09:41", false}, {"21/06/15", "24:30", false},
                 {"21/06/15", "25:10", false}, {"21/06/15", "09:60", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.date) + " " + c.start);
        QsoRecord r = millContact();
        r.date = c.date;
        r.start = c.start;
        const QByteArray line = *qsoline::build(r);
        EXPECT_EQ(qsoline::isWellFormed(line), c.readable);
        EXPECT_EQ(qsoline::sortKey(line).has_value(), c.readable);
    }
}

TEST(QsoLineTest, SortKeyReadsTwoDigitYearsAcrossTheCentury)
{
    const QByteArray y1999 = test::qso("31/12/99", "F1A", "23:59", "14 Mhz", "SSB");
    const QByteArray y2000 = test::qso("01/01/00", "F1A", "00:00", "14 Mhz", "SSB");
    const QByteArray y2049 = test::qso("01/01/49", "F1A", "00:00", "14 Mhz", "SSB");
    const QByteArray y1950 = test::qso("01/01/50", "F1A", "00:00", "14 Mhz", "SSB");
    EXPECT_LT(*qsoline::sortKey(y1999), *qsoline::sortKey(y2000));
    EXPECT_LT(*qsoline::sortKey(y1950), *qsoline::sortKey(y1999));
    EXPECT_GT(*qsoline::sortKey(y2049), *qsoline::sortKey(y2000));
}

TEST(QsoLineTest, ListEntryRightAlignsTheRowNumber)
{
    EXPECT_EQ(qsoline::listEntry(1, "L"), "    1 L");
    EXPECT_EQ(qsoline::listEntry(10, "L"), "   10 L");
    EXPECT_EQ(qsoline::listEntry(100, "L"), "  100 L");
    EXPECT_EQ(qsoline::listEntry(10000, "L"), "10000 L");
    EXPECT_EQ(qsoline::listEntry(32767, "L"), "32767 L");
    // A list column is the file column plus 6: the callsign starts at list column 17.
    const QByteArray entry = qsoline::listEntry(3, test::qso("21/06/15", "F5ABC", "09:41", "14 Mhz", "SSB"));
    EXPECT_EQ(entry.mid(16, 5), "F5ABC");
}

} // namespace
} // namespace tv
