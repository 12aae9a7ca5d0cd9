#include "spots/spot_list.h"
#include "tests/spots/spot_fixtures.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace tv {

void PrintTo(const Spot& s, std::ostream* os)
{
    *os << spotlist::displayLine(s).toStdString() << " @" << s.frequency;
}

namespace {

using namespace spotlist;
using test::kTableHead;
using test::pageRow;

const QByteArray kRowA = pageRow("dl1abc", "14025.0", "21/06/15 1234", "f5abc", "cq dmf 59045");
const QByteArray kRowB = pageRow("TM5MIL", "7025.0", "21/06/15 1236", "ON4XX", "Moulin &amp; co &#233;t&lt;");
const QByteArray kPage = test::page(kRowA + kRowB);
const Spot kSpotA{"DL1ABC", 14025000, "F5ABC", "21/06/15 1234", "CQ DMF 59045", "14025.0"};
const Spot kSpotB{"TM5MIL", 7025000, "ON4XX", "21/06/15 1236", "MOULIN & CO \xc3\x89T<", "7025.0"};

TEST(SpotPageTest, PagesGiveTheirWholeRowsAndNothingElse)
{
    QByteArray crlf = kPage, cr = kPage, noMarker = kRowA, badQrg = kRowA;
    crlf.replace("\n", "\r\n");
    cr.replace("\n", "\r");
    noMarker.replace("_blank", "_self");
    badQrg.replace("14025.0", "abc");
    const struct {
        const char* name;
        QByteArray body;
        QList<Spot> spots;
    } cases[] = {
        {"LF; references decoded, then upper-cased", kPage, {kSpotA, kSpotB}},
        {"CR LF", crlf, {kSpotA, kSpotB}},
        {"CR", cr, {kSpotA, kSpotB}},
        {"two tables",
         kTableHead + kRowB + "</TABLE>\n<p>x</p>\n" + kTableHead + kRowA + "</TABLE>\n",
         {kSpotB, kSpotA}},
        {"head fields split by commas, the rest of a line read as the row start",
         "<TABLE>\nA,B,C\nD,E,F,G,<TR>\n" + kRowA.mid(5) + "</TABLE>\n",
         {kSpotA}},
        {"empty", "", {}},
        {"no table", "<html>\n<p>Maintenance</p>\n</html>\n", {}},
        {"a row without its marker is left out", kTableHead + noMarker + kRowB + "</TABLE>\n", {kSpotB}},
        {"a QRG that is no number is left out", kTableHead + badQrg + kRowB + "</TABLE>\n", {kSpotB}},
        {"a row cut by the end of the page is left out", kPage.left(kPage.indexOf(kRowB) + 60), {kSpotA}},
        {"head cut", "<TABLE>\n<TR>\n<TH>DX", {}},
        {"over the size bound", kPage + QByteArray(kMaxPageBytes, ' '), {}},
        {"not UTF-8: Windows-1252",
         test::page(pageRow("F5ABC", "3550.0", "21/06/15 1200", "F6X", "Ch\xe9z")),
         {{"F5ABC", 3550000, "F6X", "21/06/15 1200", "CH\xc3\x89Z", "3550.0"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(parsePage(c.body), c.spots);
    }
}

TEST(SpotPageTest, HtmlReferences)
{
    const char* cases[][2] = {
        {"A&LT;B&GT;C", "A<B>C"},
        {"R&amp;D &quot;59&quot; &#39;X&#39; &apos;Y&apos;", "R&D \"59\" 'X' 'Y'"},
        {"&#233;t&#xE9;&nbsp;ok", "\xc3\xa9t\xc3\xa9 ok"},
        {"R&D &amp &unknown; &#0; &#xD800; &", "R&D &amp &unknown; &#0; &#xD800; &"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        EXPECT_EQ(decodeEntities(QString::fromUtf8(c[0])), QString::fromUtf8(c[1]));
    }
}

TEST(SpotPageTest, BandPages)
{
    EXPECT_EQ(firstBands().size(), 14);
    EXPECT_EQ(secondBands().size(), 13);
    const struct {
        int index;
        const char *token, *path;
    } cases[] = {{0, "HF", "/dxc/top_50_HF.html"},        {3, "7", "/dxc/top_50_7_MHz.html"},
                 {12, "430", "/dxc/top_50_430_MHz.html"}, {13, "VHF", "/dxc/top_50_VHF.html"},
                 {14, "", "/dxc/top_50__MHz.html"},       {-1, "", "/dxc/top_50__MHz.html"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(token(c.index), c.token);
        EXPECT_EQ(pagePath(token(c.index)), c.path);
    }
    EXPECT_FALSE(tokenRange("").has_value());
}

TEST(SpotListTest, DisplayLinesKeepTheirColumns)
{
    const struct {
        Spot spot;
        const char* line;
    } cases[] = {
        {kSpotA, " 21/06/15 1234 DL1ABC        14025.0 F5ABC       CQ DMF 59045"},
        {{"OH2ABCDEFGHIJ", 7025000, "W1AW", "21/06/15 0001", "", "7025.0"},
         " 21/06/15 0001 OH2ABCDEFGHI   7025.0 W1AW        "},
        {{"K1A", 144300000, "SPOTTER1234567", "0001Z", "X", "144300.0"},
         " 0001Z         K1A          144300.0 SPOTTER1234567 X"},
        {{"G3X", 1296200000, "G4Y", "21/06/15 0002", "EME", "1296200.0"},
         " 21/06/15 0002 G3X          1296200.0 G4Y         EME"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(displayLine(c.spot), c.line);
    }
}

TEST(SpotListTest, MillReferencesInRemarks)
{
    const char* cases[][2] = {
        {"DMF 59045", "DMF 59045"},
        {"qrv dmf59045 tnx", "DMF 59045"},
        {"DMF-59045/P", "DMF 59045"},
        {"WIM 7001", "WIM 7001"},
        {"moulin wim-12345", "WIM 12345"},
        {"XDMF 59045", ""},
        {"DMF 590456", ""},
        {"DMF 5904", ""},
        {"TNX JIM 599", ""},
        {"QRM 100", ""},
        {"WIM 12", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        EXPECT_EQ(millReference(c[0]), c[1]);
    }
}

// A fixed spot set: two pages' worth, with one spot given by both pages.
const QList<Spot> kSpots = {
    {"F5AAA", 7025000, "ON4XX", "21/06/15 1230", "DMF 59045", "7025.0"},
    {"DL1ABC", 14025000, "F5ABC", "21/06/15 1200", "CQ", "14025.0"},
    {"TM5MIL", 14250000, "F6DEF", "21/06/15 1245", "MOULIN DMF59001", "14250.0"},
    {"HB9XYZ", 3550000, "DJ2AB", "21/06/15 1215", "WIM 7001", "3550.0"},
    {"FR5AB", 21025000, "F5ABC", "21/06/15 1205", "QRM 599", "21025.0"},
    {"DL1ABC", 14025000, "F5ABC", "21/06/15 1200", "CQ", "14025.0"},
};

TEST(SpotListTest, SortsAndFiltersListEachSpotOnce)
{
    const struct {
        const char* name;
        Sort sort;
        Filter filter;
        QStringList calls;
    } cases[] = {
        {"by date", Sort::Date, {}, {"DL1ABC", "FR5AB", "HB9XYZ", "F5AAA", "TM5MIL"}},
        {"by DX", Sort::Dx, {}, {"DL1ABC", "F5AAA", "FR5AB", "HB9XYZ", "TM5MIL"}},
        {"by QRG, numerically", Sort::Qrg, {}, {"HB9XYZ", "F5AAA", "DL1ABC", "TM5MIL", "FR5AB"}},
        {"French", Sort::Date, {true, false, "", false}, {"FR5AB", "F5AAA", "TM5MIL"}},
        {"prefix in upper case", Sort::Date, {false, true, "f5", false}, {"F5AAA"}},
        {"French and prefix: once", Sort::Dx, {true, true, "F5", false}, {"F5AAA", "FR5AB", "TM5MIL"}},
        {"prefix without text", Sort::Date, {false, true, "", false}, {}},
        {"mills", Sort::Date, {false, false, "", true}, {"HB9XYZ", "F5AAA", "TM5MIL"}},
        {"French mills", Sort::Date, {true, false, "", true}, {"F5AAA", "TM5MIL"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList calls;
        for (const Row& r : arrange(kSpots, c.sort, c.filter))
            calls << r.spot.callsign;
        EXPECT_EQ(calls, c.calls);
    }
    const QList<Row> rows = arrange(kSpots, Sort::Qrg, {}, [](const Spot& s) { return s.callsign == "F5AAA"; });
    ASSERT_EQ(rows.size(), 5);
    EXPECT_EQ(rows[0].line, displayLine(kSpots[3]));
    EXPECT_EQ(QStringList({rows[0].millReference, rows[1].millReference, rows[2].millReference}),
              QStringList({"WIM 7001", "DMF 59045", ""}));
    EXPECT_EQ(QList<bool>({rows[0].worked, rows[1].worked, rows[2].worked}), QList<bool>({false, true, false}));
}

TEST(SpotListTest, Alerts)
{
    const struct {
        const char* name;
        Filter filter;
        bool callsignAlert, millAlert;
        bool onMill, onPlain; // for kSpots[0] (F5AAA, a mill) and kSpots[1] (DL1ABC)
    } cases[] = {
        {"call as typed", {false, true, "DL", false}, true, false, false, true},
        {"lower case as typed matches nothing", {false, true, "dl", false}, true, false, false, false},
        {"empty text alerts every spot", {false, true, "", false}, true, false, true, true},
        {"no alert without the prefix filter", {false, false, "DL", false}, true, false, false, false},
        {"alert off", {false, true, "DL", false}, false, false, false, false},
        {"mill alert", {}, false, true, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(alerts(kSpots[0], c.filter, c.callsignAlert, c.millAlert), c.onMill);
        EXPECT_EQ(alerts(kSpots[1], c.filter, c.callsignAlert, c.millAlert), c.onPlain);
    }
}

} // namespace
} // namespace tv
