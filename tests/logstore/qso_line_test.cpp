#include "logstore/qso_line.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tv {
namespace {

using test::frenchMillRecord;

TEST(QsoLineTest, BuildsTheFixedColumnsByteForByte)
{
    const QByteArray expected = "21/06/15  F5ABC       09:41  09:43  59           14 Mhz    SSB      59        57   "
                                "     DMF 59045             REN\xC9             3    101                             "
                                "1   Moulin de Hondschoote         *";
    EXPECT_EQ(qsoline::build(frenchMillRecord()), expected);
    EXPECT_EQ(expected.size(), 199);
}

TEST(QsoLineTest, FieldsSitInTheirColumnsAndParseBack)
{
    QsoRecord r = frenchMillRecord();
    r.callsign = "F0ABCDEFGH12"; // 12 characters: touches the start time
    r.locator = "JN18DU";
    r.band = "144 Mhz";
    r.points = r.distance = "312";
    r.azimuth = "185";
    const QByteArray line = *qsoline::build(r);
    const std::pair<int, QByteArray> columns[] = {
        {11, "F0ABCDEFGH1209:41"}, {42, "JN18DU"}, {128, "312  101"}, {155, "312   185 1 "}, {199, "*"}};
    for (const auto& [column, text] : columns)
        EXPECT_EQ(line.mid(column - 1, text.size()), text) << "column " << column;
    EXPECT_EQ(qsoline::parse(line), r);
    EXPECT_EQ(qsoline::build(qsoline::parse(line)), line);
}

TEST(QsoLineTest, ValueLongerThanItsColumnIsRefused)
{
    QsoRecord r = frenchMillRecord();
    r.callsign = "F0ABCDEFGH123"; // 13 characters
    const logcol::Column* column = nullptr;
    EXPECT_FALSE(qsoline::build(r, &column).has_value());
    ASSERT_NE(column, nullptr);
    EXPECT_EQ(column->first, 11);

    r = frenchMillRecord();
    r.millName = QByteArray(31, 'x');
    EXPECT_FALSE(qsoline::build(r).has_value());
    r.millName = QByteArray(30, 'x');
    EXPECT_TRUE(qsoline::build(r).has_value());
}

TEST(QsoLineTest, FieldsOfShortAndOddLines)
{
    const QByteArray line = *qsoline::build(frenchMillRecord());
    for (const char* value : {"F5ABC", "F5AB", "F5ABCD", "", " F5ABC"})
        EXPECT_EQ(qsoline::fieldEquals(line, logcol::kCallsign, value), !strcmp(value, "F5ABC")) << value;
    EXPECT_FALSE(qsoline::fieldEquals(line, logcol::kBand, "14 MHz"));
    EXPECT_TRUE(qsoline::fieldEquals("21/06/15  F5ABC", logcol::kCallsign, "F5ABC")) << "a short line";
    EXPECT_TRUE(qsoline::fieldEquals("21/06/15", logcol::kCallsign, ""));

    EXPECT_TRUE(qsoline::parse("").callsign.isEmpty());
    const QsoRecord shortLine = qsoline::parse("21/06/15  F5ABC       09:4");
    EXPECT_EQ(shortLine.callsign + "|" + shortLine.start + "|" + shortLine.band, "F5ABC|09:4|");

    QByteArray badDate = line;
    badDate.replace(0, 8, "2015-6-2");
    EXPECT_TRUE(qsoline::isWellFormed(line));
    EXPECT_FALSE(qsoline::isWellFormed(badDate));
    EXPECT_FALSE(qsoline::isWellFormed("21/06/15  F5ABC"));
}

TEST(QsoLineTest, SortKeyReadsTwoDigitYearsAcrossTheCentury)
{
    // In order: 1950, 1999, 2000, 2049.
    const char* const dates[] = {"01/01/50", "31/12/99", "01/01/00", "01/01/49"};
    for (int i = 1; i < 4; ++i) {
        SCOPED_TRACE(dates[i]);
        EXPECT_LT(*qsoline::sortKey(test::qso(dates[i - 1], "F1A", "23:59", "14 Mhz", "SSB")),
                  *qsoline::sortKey(test::qso(dates[i], "F1A", "00:00", "14 Mhz", "SSB")));
    }
    EXPECT_FALSE(qsoline::sortKey(test::qso("31/02/07", "F1A", "10:00", "14 Mhz", "SSB")).has_value());
}

TEST(QsoLineTest, ListEntryRightAlignsTheRowNumber)
{
    const std::pair<int, const char*> cases[] = {
        {1, "    1 L"}, {10, "   10 L"}, {10000, "10000 L"}, {32767, "32767 L"}};
    for (const auto& [row, entry] : cases)
        EXPECT_EQ(qsoline::listEntry(row, "L"), entry);
}

} // namespace
} // namespace tv
