#include "logstore/qso_line.h"
#include "logstore/qso_list_model.h"
#include "tests/support/test_support.h"

#include <QAbstractItemModelTester>
#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(QsoLineTest, BuildsTheFixedColumnsAndParsesThemBack)
{
    QsoRecord r = test::frenchMillRecord();
    const QByteArray line = *qsoline::build(r);
    EXPECT_EQ(line, "21/06/15  F5ABC       09:41  09:43  59           14 Mhz    SSB      59        57        DMF "
                    "59045             REN\xC9"
                    "             3    101                             1   Moulin de Hondschoote         *");
    EXPECT_EQ(line.size(), 199);
    EXPECT_EQ(qsoline::parse(line), r);
    EXPECT_EQ(qsoline::listEntry(3, line).mid(16, 5), "F5ABC") << "a list column is the file column plus 6";

    r.callsign = "F0ABCDEFGH12"; // 12 characters: touches the start time
    r.locator = "JN18DU";
    r.band = "144 Mhz";
    r.points = r.distance = "312";
    r.azimuth = "185";
    r.countArea = QByteArray("1") + QByteArray(19, ' ');
    const QByteArray full = *qsoline::build(r);
    EXPECT_EQ(full.mid(10, 17) + "|" + full.mid(41, 6) + "|" + full.mid(127, 8) + "|" + full.mid(154, 12) + "|" +
                  full.right(1),
              "F0ABCDEFGH1209:41|JN18DU|312  101|312   185 1 |*");
    EXPECT_EQ(*qsoline::build(qsoline::parse(full)), full);
}

TEST(QsoLineTest, ValueLongerThanItsColumnIsRefused)
{
    QsoRecord r = test::frenchMillRecord();
    r.callsign = "F0ABCDEFGH123"; // 13 characters
    const logcol::Column* column = nullptr;
    EXPECT_FALSE(qsoline::build(r, &column).has_value());
    ASSERT_NE(column, nullptr);
    EXPECT_EQ(column->first, 11);
    r = test::frenchMillRecord();
    r.millName = QByteArray(31, 'x');
    EXPECT_FALSE(qsoline::build(r).has_value());
    r.millName = QByteArray(30, 'x');
    EXPECT_TRUE(qsoline::build(r).has_value());
}

TEST(QsoLineTest, ShortOddAndUnreadableLines)
{
    const QByteArray line = *qsoline::build(test::frenchMillRecord());
    for (const char* value : {"F5ABC", "F5AB", "F5ABCD", "", " F5ABC"})
        EXPECT_EQ(qsoline::fieldEquals(line, logcol::kCallsign, value),
                  qsoline::field(line, logcol::kCallsign) == value)
            << value;
    EXPECT_FALSE(qsoline::fieldEquals(line, logcol::kBand, "14 MHz"));
    EXPECT_TRUE(qsoline::fieldEquals("21/06/15  F5ABC", logcol::kCallsign, "F5ABC")) << "a short line";
    EXPECT_FALSE(qsoline::fieldEquals("21/06/15", logcol::kCallsign, "F5ABC"));
    const QsoRecord shortLine = qsoline::parse("21/06/15  F5ABC       09:4");
    EXPECT_EQ(shortLine.callsign + "|" + shortLine.start + "|" + shortLine.band, "F5ABC|09:4|");
    EXPECT_FALSE(qsoline::isWellFormed("21/06/15  F5ABC"));

    // A date or start time the program cannot read makes the line malformed.
    const struct {
        const char *date, *start;
        bool readable;
    } cases[] = {{"21/06/15", "23:59", true},  {"29/02/00", "00:00", true},  {"2015-6-2", "09:41", false},
                 {"31/06/15", "09:41", false}, {"29/02/01", "09:41", false}, {"21/06/15", "24:30", false},
                 {"21/06/15", "09:60", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.date) + " " + c.start);
        QsoRecord r = test::frenchMillRecord();
        r.date = c.date;
        r.start = c.start;
        const QByteArray built = *qsoline::build(r);
        EXPECT_EQ(qsoline::isWellFormed(built), c.readable);
        EXPECT_EQ(qsoline::sortKey(built).has_value(), c.readable);
    }
    EXPECT_EQ(qsoline::listEntry(1, "L") + qsoline::listEntry(32767, "L"), "    1 L32767 L");
}

TEST(QsoListModelTest, RowsShowTheFieldsAndGiveTheListEntry)
{
    QsoListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const QByteArray a = test::qso("21/06/15", "F5ABC", "09:41", "14 Mhz", "SSB", "59");
    QByteArray withName = test::qso("21/06/15", "F6XYZ", "09:45", "7.0 Mhz", "CW");
    withName.replace(110, 5, test::cp("ÉLISE"));
    model.setLines({a});
    model.appendLine(withName);

    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.data(model.index(0, 0)).toInt(), 1);
    EXPECT_EQ(model.data(model.index(0, 2)).toString() + model.data(model.index(0, 5)).toString() +
                  model.data(model.index(1, 7)).toString(),
              "F5ABC597.0 Mhz");
    EXPECT_EQ(model.data(model.index(1, 12)).toString(), QString::fromUtf8("ÉLISE"));
    EXPECT_EQ(model.entry(1), "    2 " + withName);
    EXPECT_EQ(model.data(model.index(1, 3), QsoListModel::EntryRole).toString().left(6), "    2 ");
    EXPECT_EQ(model.data(model.index(0, 3), QsoListModel::LineRole).toByteArray(), a);
}

} // namespace
} // namespace tv
