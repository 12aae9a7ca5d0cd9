// The operator aids: the super check partial, the rate and the mill history.

#include "aids/aids_text.h"
#include "aids/callsign_index.h"
#include "aids/mill_history.h"
#include "aids/rate_meter.h"
#include "platform/qt_file_system.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

using L = QList<QByteArray>;

TEST(CallsignIndexTest, PartialThenOneAwayFromAMasterFileAndTheLog)
{
    const QByteArray master = "# Master file\r\nF5ABC\r\nF5ABD\r\nF6ABC\r\nDL1ABC\r\nEA8/F5ABC\r\nK1ABC\n"
                              "not a call\r\nF5ABC\r\nTOOLONGCALLSIGN123\r\nf4xyz\r\n\r\n";
    EXPECT_EQ(CallsignIndex::readMasterFile(master),
              L({"F5ABC", "F5ABD", "F6ABC", "DL1ABC", "EA8/F5ABC", "K1ABC", "F5ABC"}));
    const CallsignIndex index(CallsignIndex::readMasterFile(master));
    EXPECT_EQ(index.size(), 6);
    const L log = {"F5AB", "ON4ZZZ"};
    const struct {
        const char* typed;
        L partial, oneAway;
    } cases[] = {
        {"F5AB", {"F5ABC", "F5ABD", "F5AB", "EA8/F5ABC"}, {}}, // those beginning with the text first
        {"5ABC", {"EA8/F5ABC", "F5ABC"}, {}},
        {"F5ABX", {}, {"F5AB", "F5ABC", "F5ABD"}},
        {"DL1AB", {"DL1ABC"}, {}},
        {"ON4ZZ", {"ON4ZZZ"}, {}}, // from the log
        {"F", {}, {}},             // one character: nothing
        {"QQ", {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const CallsignIndex::Suggestions s = index.suggest(c.typed, log);
        EXPECT_EQ(s.partial, c.partial);
        EXPECT_EQ(s.oneAway, c.oneAway);
    }
    EXPECT_EQ(index.suggest("F5AB", log, 2).partial, L({"F5ABC", "F5ABD"})) << "at most the limit";

    const struct {
        const char *a, *b;
        bool away;
    } pairs[] = {{"F5ABC", "F5ABD", true},  {"F5ABC", "F5AB", true}, {"F5AB", "F5XAB", true}, {"F5ABC", "F5ABC", false},
                 {"F5ABC", "F6ABD", false}, {"F5", "F5ABC", false},  {"AB", "BA", false},     {"", "A", true}};
    for (const auto& p : pairs)
        EXPECT_EQ(CallsignIndex::oneAway(p.a, p.b), p.away) << p.a << " " << p.b;
}

TEST(RateTest, LastTenAndSixtyMinutesAndTheTimeSinceTheLastQso)
{
    // 03/05/26 at 10:00 is this many minutes after 1950.
    const qint64 tenOClock = QDate(1950, 1, 1).daysTo(QDate(2026, 5, 3)) * 24 * 60 + 600;
    L lines;
    for (const char* start : {"08:30", "09:00", "09:05", "09:30", "09:51", "09:52", "09:58"})
        lines << test::qso("03/05/26", "F5ABC", start, "14 Mhz", "SSB");
    lines << test::qso("03/05/26", "F5ABC", "10:30", "14 Mhz", "SSB"); // ahead of the clock
    const Rate r = rate::at(lines, tenOClock);
    EXPECT_EQ(r, (Rate{3, 5, 2})) << "09:51 to 09:58 in the last 10 minutes; 09:00 is an hour old";
    EXPECT_EQ(r.perHour10(), 18);
    EXPECT_EQ(rate::at({}, tenOClock), Rate{});
    // The time since the last QSO stays readable on an old log opened again.
    const struct {
        std::optional<qint64> minutes;
        const char* last;
    } texts[] = {{std::nullopt, "aucun QSO"},
                 {59, "dernier QSO il y a 59 min"},
                 {65, "dernier QSO il y a 1 h 05"},
                 {6029241, "dernier QSO il y a plus d'un jour"}};
    for (const auto& t : texts)
        EXPECT_EQ(aidstext::rateText(Rate{1, 2, t.minutes}),
                  QStringLiteral("Cadence : 6/h (10 min), 2/h (60 min), ") + QString::fromUtf8(t.last));
}

TEST(MillHistoryTest, LearnedFromTwoLogsOfferedByPrefixAndKeptInItsFile)
{
    auto mill = [](const char* call, const char* ref, const char* dept, const char* name) {
        QsoRecord r = test::frenchMillRecord();
        r.callsign = call;
        r.millReference = ref;
        r.department = dept;
        r.millName = name;
        return qsoline::build(r).value_or(QByteArray());
    };
    const L first = {mill("F5ABC", "DMF 59045", "59", "Moulin de Hondschoote"), mill("F6XYZ", "DMF 59012", "59", ""),
                     test::qso("03/05/26", "F5AAA", "09:00", "14 Mhz", "SSB")};
    const L second = {mill("ON4AA", "WIM 7001", "", "Molen; De Roos"),
                      mill("F5ABC", "DMF 59012", "59", "Moulin Blanc")};

    test::TempProgramDir dir;
    QtFileSystem files;
    MillHistory history;
    ASSERT_TRUE(millhistory::update(files, dir.path(), first, &history).ok());
    ASSERT_TRUE(millhistory::update(files, dir.path(), second, &history).ok());
    EXPECT_EQ(dir.read("Historique_Moulins.txt"), "DMF 59012;59;Moulin Blanc\r\nDMF 59045;59;Moulin de Hondschoote\r\n"
                                                  "WIM 7001;;Molen, De Roos\r\n");
    EXPECT_EQ(history.offers("590"), QList<MillHistory::Mill>({{"DMF 59012", "59", "Moulin Blanc"},
                                                               {"DMF 59045", "59", "Moulin de Hondschoote"}}));
    EXPECT_EQ(history.offers("wim").size(), 1);
    EXPECT_TRUE(history.offers("591").isEmpty());
    EXPECT_EQ(MillHistory::fromBytes("garbage\r\n;;\r\n" + history.toBytes()).toBytes(), history.toBytes());
}

} // namespace
} // namespace tv
