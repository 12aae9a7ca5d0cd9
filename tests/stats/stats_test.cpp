#include "logstore/log_columns.h"
#include "logstore/log_file.h"
#include "stats/activation_stats.h"
#include "stats/department_qsos.h"
#include "stats/distance_stats.h"
#include "stats/prefix_stats.h"
#include "stats/qso_search.h"
#include "tests/support/test_support.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::put;
using test::qso;

QByteArray mill(const char* callsign, const char* band, const char* mode, const char* reference, const char* name,
                const char* department = "59")
{
    QByteArray line = qso("21/06/15", callsign, "10:00", band, mode, department, "1");
    line = put(line, logcol::kMillReference.first, reference);
    return put(line, logcol::kMillName.first, name);
}

TEST(DistanceStatsTest, ClassesAndCountsOfThe144MhzQsos)
{
    const struct {
        double km;
        int cls;
    } bounds[] = {{0, 0},   {99, 0},  {100, 1},  {199, 1},     {199.5, 1}, {200, 2},
                  {699, 6}, {999, 9}, {1000, 9}, {1000.5, 10}, {1001, 10}, {25000, 10}};
    for (const auto& b : bounds) {
        SCOPED_TRACE(b.km);
        EXPECT_EQ(distancestats::classOf(b.km), b.cls);
    }

    EXPECT_EQ(distancestats::count({qso("21/06/15", "F5ABC", "10:00", "14 Mhz", "SSB", "59", "0", "350"),
                                    qso("21/06/15", "F5ABD", "10:00", "3.5 Mhz", "CW")})
                  .total,
              0)
        << "HF QSOs are not counted, whatever their distance";
    const QList<QByteArray> log = {
        qso("21/06/15", "F1AAA", "10:00", "144 Mhz", "SSB"), // empty distance: below 100
        qso("21/06/15", "F1AAB", "10:01", "144 Mhz", "SSB", "", "0", "199"),
        qso("21/06/15", "F1AAC", "10:02", "144 Mhz", "CW", "", "0", "999"),
        qso("21/06/15", "F1AAD", "10:03", "144 Mhz", "SSB", "", "0", "1000"),
        qso("21/06/15", "F1AAE", "10:04", "144 Mhz", "SSB", "", "0", "1001"),
        put(qso("21/06/15", "F1AAF", "10:05", "144 Mhz", "SSB"), logcol::kBand.first, "144 MHz"),
        qso("21/06/15", "F1AAG", "10:06", "432 Mhz", "SSB", "", "0", "150"),
        put(qso("21/06/15", "F1AAH", "10:07", "144 Mhz", "SSB"), logcol::kDistance.first, "abc"),
        "short line"};
    const distancestats::Counts counts = distancestats::count(log);
    const std::array<int, distancestats::kClasses> expected = {3, 1, 0, 0, 0, 0, 0, 0, 0, 2, 1};
    EXPECT_EQ(counts.perClass, expected);
    EXPECT_EQ(counts.total, 7);
}

TEST(ActivationStatsTest, MillContactsOfOneBandAndModeSortedWithTheirEntry)
{
    const QList<QByteArray> log = {
        mill("F5ABC", "14 Mhz", "SSB", "DMF 59045", "Moulin de Hondschoote"),
        mill("F6XYZ", "14 Mhz", "CW", "DMF 62001", "Moulin CW"),
        put(mill("F4AAA", "14 Mhz", "SSB", "DMF 11002", "Pas un moulin"), logcol::kActivity.first, " 0"),
        mill("F8ZZZ", "14 Mhz", "SSB", "DMF 02003", "Moulin de Pierre"),
        mill("F5ABC", "14 Mhz", "SSB", "DMF 59045", "Moulin de Hondschoote"),
        mill("F5ABC", "21 Mhz", "SSB", "DMF 59045", "Moulin de Hondschoote"),
    };
    const QList<QByteArray> ssb = activationstats::entries(log, " 14 Mhz ", "SSB");
    ASSERT_EQ(ssb.size(), 3) << "the same mill worked twice is listed twice; activity 0 never";
    EXPECT_EQ(ssb[0], QByteArray("  DMF 02003      Moulin de Pierre              21/06/15  F8ZZZ       "));
    EXPECT_EQ(ssb[1], ssb[2]);
    EXPECT_EQ(ssb[1], QByteArray("  DMF 59045      Moulin de Hondschoote         21/06/15  F5ABC       "));
    EXPECT_EQ(activationstats::entries(log, "14 Mhz", "CW").size(), 1);
    EXPECT_TRUE(activationstats::entries(log, "14 MHZ", "SSB").isEmpty()) << "the band is compared as written";
    EXPECT_EQ(activationstats::entryOf("21/06/15"),
              QByteArray("  ") + QByteArray(45, ' ') + "21/06/15" + QByteArray(14, ' '))
        << "a short line is padded, not cut short";
}

class PrefixStatsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFile shipped(QDir(TOURNEVENT_SHIPPED_DATA_DIR).filePath("FXXXX_Prefixe.txt"));
        ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
        prefixLines = LogFile::splitLines(shipped.readAll());
    }
    QList<QByteArray> prefixLines;
};

TEST_F(PrefixStatsTest, EachEntityOnceFromItsOwnLineRefusedEntitiesLeftOut)
{
    const QList<QByteArray> log = {
        qso("21/06/15", "F5ABC", "10:00", "14 Mhz", "SSB"),
        qso("21/06/15", "TM5JNM", "10:01", "14 Mhz", "SSB"), // France too: its own line is F
        put(qso("21/06/15", "ON4AA", "10:02", "14 Mhz", "SSB"), logcol::kNewPrefixFlag.first, "N"),
        qso("21/06/15", "DL1AB", "10:03", "21 Mhz", "SSB"),
        qso("21/06/15", "G3XYZ", "10:04", "14 Mhz", "CW"),
        put(qso("21/06/15", "EA3AB", "10:05", "14 Mhz", "SSB"), logcol::kBand.first, "14 MHZ  "),
        qso("21/06/15", "QQ1QQ", "10:06", "14 Mhz", "SSB"),
        qso("21/06/15", "FG5XY", "10:07", "14 Mhz", "SSB"),
        qso("21/06/15", "DL1ABC/MM", "10:08", "14 Mhz", "SSB"),
    };
    const PrefixStats stats(nullptr, prefixLines);
    EXPECT_EQ(stats.entries(log, "14 Mhz", bands::Mode::Ssb),
              QList<QByteArray>({"  EA    Spain", "  F     France", "  FG    Guadeloupe"}));
    EXPECT_EQ(stats.entries(log, "14 Mhz", bands::Mode::Cw), QList<QByteArray>({"  G     England"}));
    EXPECT_TRUE(stats.entries(log, "28 Mhz", bands::Mode::Ssb).isEmpty());
    EXPECT_TRUE(PrefixStats(nullptr, {}).entries(log, "14 Mhz", bands::Mode::Ssb).isEmpty())
        << "without a prefix file nothing is listed";
}

TEST(QsoSearchTest, RefusedTextsAndTheirMessages)
{
    using C = qsosearch::Criterion;
    const struct {
        C criterion;
        const char* text;
        const char* message; // "" when accepted
        bool clear;
    } cases[] = {
        {C::Callsign, "F5ABC", "", false},
        {C::Callsign, "F5ABCDEFGHIJK", "Attention 12 caracteres maxi pour l'indicatif", false},
        {C::Callsign, "", "Entrez un indicatif", true},
        {C::Date, "21/06/15", "", false},
        {C::Date, "21/0615", "", false}, // a "/" at the third place is enough
        {C::Date, "21-06-13", "Attention le format date doit etre JJ/MM/AA", false},
        {C::Date, "", "Attention le format date doit etre JJ/MM/AA", false},
        {C::Date, "21/06/2015", "Attention 8 caracteres maxi pour la date (format jj/mm/aa)", false},
        {C::Department, "2a", "", false},
        {C::Department, "590", "Attention 2 caracteres maxi pour le departement", false},
        {C::Department, "", "Entrez un departement", true},
        {C::Locator, "JN18", "", false},
        {C::Locator, "JN18DU", "Attention seulement les 4 premiers caracteres du locator", true},
        {C::Locator, "", "Attention seulement les 4 premiers caracteres du locator", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const qsosearch::Check check = qsosearch::check(c.criterion, QString::fromUtf8(c.text));
        EXPECT_EQ(check.message, QString::fromUtf8(c.message));
        EXPECT_EQ(check.clear, c.clear);
    }
}

TEST(QsoSearchTest, MatchesByEachCriterionWithTheResultLine)
{
    const QList<QByteArray> log = {
        put(qso("21/06/13", "F0ABC", "10:00", "144 Mhz", "SSB", "2a", "0", "12"), logcol::kLocator.first, "JN18DU"),
        put(qso("21/06/13", "ON4F0X", "10:05", "144 Mhz", "CW", "59"), logcol::kLocator.first, "JN18EV"),
        put(qso("22/06/13", "DL1AB", "10:10", "14 Mhz", "SSB", "05"), logcol::kCount.first, "3"),
        put(qso("22/06/13", "F5XYZ", "10:15", "14 Mhz", "SSB", "05"), logcol::kCount.first, "7"),
        put(qso("22/06/13", "F5XYA", "10:15", "14 Mhz", "SSB", "2A"), logcol::kLocator.first, "JN19AA"),
    };
    using C = qsosearch::Criterion;
    const struct {
        C criterion;
        const char* text;
        QList<int> rows;
    } cases[] = {
        {C::Callsign, "f0", {0, 1}}, // anywhere in the callsign, typed in lower case
        {C::Callsign, "\r\nF5XY", {3, 4}}, {C::Callsign, "ZZ", {}},       {C::Date, "21/06/13", {0, 1}},
        {C::Date, "21-06-13", {}},         {C::Department, "05", {2, 3}}, {C::Department, "2a", {0, 4}},
        {C::Locator, "jn18", {0, 1}},      {C::Locator, "JN1", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const qsosearch::Result result = qsosearch::search(log, c.criterion, c.text);
        QList<int> rows;
        for (const qsosearch::Match& m : result.matches)
            rows << m.row;
        EXPECT_EQ(rows, c.rows);
        EXPECT_EQ(result.message, c.rows.isEmpty() ? QString::fromUtf8("Pas de QSO trouvé") : QString());
    }
    EXPECT_EQ(qsosearch::search({}, C::Callsign, "F").message, QString::fromUtf8("Pas de QSO trouvé"));
    EXPECT_EQ(qsosearch::search(log, C::Date, "").message, "Entrez une date");

    // The number and log columns 1-128, then the count letter: "3" R; "7" repeats it.
    const QList<qsosearch::Match> dept = qsosearch::search(log, C::Department, "05").matches;
    ASSERT_EQ(dept.size(), 2);
    EXPECT_EQ(dept[0].entry, "    3 " + log[2].left(128) + "R");
    EXPECT_EQ(dept[1].entry, "    4 " + log[3].left(128) + "R");
    EXPECT_EQ(qsosearch::search(log, C::Callsign, "F0ABC").matches[0].entry.right(1), "S");

    // The row of a result line, even after the log changed beneath it.
    EXPECT_EQ(qsosearch::rowOf(log, dept[1].entry, 3), 3);
    QList<QByteArray> changed = log;
    changed.removeAt(0);
    EXPECT_EQ(qsosearch::rowOf(changed, dept[1].entry, 3), -1) << "renumbered rows are other entries";
    EXPECT_EQ(qsosearch::rowOf(log, dept[1].entry, 99), 3);
}

TEST(DepartmentQsosTest, CellCodesListsAndCount)
{
    const struct {
        int cell;
        const char* code;
    } cells[] = {{5, "05"}, {59, "59"}, {0, "00"}, {96, "2a"}, {97, "2b"}};
    for (const auto& c : cells) {
        SCOPED_TRACE(c.cell);
        EXPECT_EQ(departmentqsos::codeOfCell(c.cell), c.code);
    }
    const QList<QByteArray> log = {qso("21/06/15", "F5AAA", "10:00", "14 Mhz", "SSB", "05"),
                                   qso("21/06/15", "TK5AA", "10:01", "14 Mhz", "SSB", "2A"),
                                   qso("21/06/15", "F5AAB", "10:02", "14 Mhz", "CW", "05"),
                                   qso("21/06/15", "TK5AB", "10:03", "14 Mhz", "SSB", "2a"),
                                   qso("21/06/15", "F5AAC", "10:04", "7.0 Mhz", "SSB", "05"),
                                   qso("21/06/15", "F5AAD", "10:05", "7.0 Mhz", "SSB", "5"),
                                   qso("21/06/15", "TK5AC", "10:06", "14 Mhz", "SSB", "2b")};
    const QList<QByteArray> five = departmentqsos::lines(log, "05");
    ASSERT_EQ(five.size(), 3) << "\"5\" is not \"05\"";
    EXPECT_EQ(five[0], qsoline::listEntry(1, log[0]).left(116));
    EXPECT_EQ(five[0].size(), 116);
    EXPECT_EQ(departmentqsos::countText(3, "05"), QString::fromUtf8("3  QSO's effectués avec le département 05"));
    EXPECT_EQ(departmentqsos::lines(log, "2a"),
              QList<QByteArray>({qsoline::listEntry(2, log[1]).left(116), qsoline::listEntry(4, log[3]).left(116)}));
    EXPECT_EQ(departmentqsos::lines(log, "2b").size(), 1);
    EXPECT_TRUE(departmentqsos::lines(log, "13").isEmpty());
}

} // namespace
} // namespace tv
