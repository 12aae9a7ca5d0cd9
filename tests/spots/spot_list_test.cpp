#include "spots/spot_list.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace tv {

void PrintTo(const Spot& s, std::ostream* os)
{
    *os << spotlist::displayLine(s).toStdString() << " @" << s.frequency;
}

namespace {

using namespace spotlist;

// One row of a spot page, seven lines as the spot server writes them.
QByteArray row(const char* dx, const char* qrg, const char* time, const char* spotter, const char* remark)
{
    return QByteArray("<TR>\n") + "<TD><A HREF=\"/dx?c=" + dx + "\" TARGET=\"_blank\">" + dx + "</A></TD>\n" +
           "<TD ALIGN=\"right\">" + qrg + " &nbsp;</TD>\n" + "<TD ALIGN=\"left\"> " + time + "&nbsp;</TD>\n" +
           "<TD><A HREF=\"/dx?c=" + spotter + "\" target=\"_blank\">" + spotter + "</A></TD>\n" +
           "<TD ALIGN=\"left\"> " + remark + "</TD>\n" + "</TR>\n";
}

const QByteArray kHead =
    "<table>\n<TR>\n<TH>DX</TH>\n<TH>QRG</TH>\n<TH>Date</TH>\n<TH>Spotter</TH>\n<TH>Remarques</TH>\n</TR>\n";
const QByteArray kRowA = row("dl1abc", "14025.0", "21/06/15 1234", "f5abc", "cq dmf 59045");
const QByteArray kRowB = row("TM5MIL", "7025.0", "21/06/15 1236", "ON4XX", "Moulin &amp; co");
const QByteArray kPage = "<html><body>\n" + kHead + kRowA + kRowB + "</table>\n</body></html>\n";

const Spot kSpotA{"DL1ABC", 14025000, "F5ABC", "21/06/15 1234", "CQ DMF 59045", "14025.0"};
const Spot kSpotB{"TM5MIL", 7025000, "ON4XX", "21/06/15 1236", "MOULIN & CO", "7025.0"};

TEST(SpotPageTest, PagesGiveTheirWholeRowsAndNothingElse)
{
    QByteArray crlf = kPage, cr = kPage;
    crlf.replace("\n", "\r\n");
    cr.replace("\n", "\r");
    QByteArray truncated = kPage.left(kPage.indexOf(kRowB) + kRowB.size() / 2);
    QByteArray noMarker = kRowA;
    noMarker.replace("_blank", "_self");
    QByteArray badQrg = kRowA;
    badQrg.replace("14025.0", "abc");
    QByteArray huge = kPage + QByteArray(kMaxPageBytes, ' ');
    const struct {
        const char* name;
        QByteArray body;
        QList<Spot> spots;
    } cases[] = {
        {"LF", kPage, {kSpotA, kSpotB}},
        {"CR LF", crlf, {kSpotA, kSpotB}},
        {"CR", cr, {kSpotA, kSpotB}},
        {"two tables", kHead + kRowB + "</TABLE>\n<p>x</p>\n" + kHead + kRowA + "</TABLE>\n", {kSpotB, kSpotA}},
        {"head fields split by commas, the rest of a line read as the row start",
         "<TABLE>\nA,B,C\nD,E,F,G,<TR>\n" + kRowA.mid(5) + "</TABLE>\n",
         {kSpotA}},
        {"empty", "", {}},
        {"no table", "<html>\n<p>Maintenance</p>\n</html>\n", {}},
        {"a row without its marker is left out", kHead + noMarker + kRowB + "</TABLE>\n", {kSpotB}},
        {"a QRG that is no number is left out", kHead + badQrg + kRowB + "</TABLE>\n", {kSpotB}},
        {"a row cut by the end of the page is left out", truncated, {kSpotA}},
        {"head cut", "<TABLE>\n<TR>\n<TH>DX", {}},
        {"over the size bound", huge, {}},
        {"not UTF-8: Windows-1252",
         kHead + row("F5ABC", "3550.0", "21/06/15 1200", "F6X", "Ch\xe9z moi") + "</TABLE>",
         {{"F5ABC", 3550000, "F6X", "21/06/15 1200", "CH\xc3\x89Z MOI", "3550.0"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(parsePage(c.body), c.spots);
    }
}

TEST(SpotPageTest, RemarksDecodeHtmlReferences)
{
    const struct {
        const char* remark;
        const char* decoded;
    } cases[] = {
        {"A&LT;B&GT;C", "A<B>C"},
        {"R&amp;D &quot;59&quot; &#39;X&#39; &apos;Y&apos;", "R&D \"59\" 'X' 'Y'"},
        {"&#233;t&#xE9;&nbsp;ok", "\xc3\xa9t\xc3\xa9 ok"},
        {"R&D &amp &unknown; &#0; &#xD800; &", "R&D &amp &unknown; &#0; &#xD800; &"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.remark);
        EXPECT_EQ(decodeEntities(QString::fromUtf8(c.remark)), QString::fromUtf8(c.decoded));
    }
    const QList<Spot> spots = parsePage(kHead + row("G4X", "3.5", "t", "s", "x&lt;y &#233;") + "</TABLE>");
    ASSERT_EQ(spots.size(), 1);
    EXPECT_EQ(spots[0].comment, QString::fromUtf8("X<Y \xc3\x89")) << "decoded, then upper-cased";
}

TEST(SpotPageTest, BandPagesAndTheirRanges)
{
    EXPECT_EQ(firstBands().size(), 14);
    EXPECT_EQ(secondBands().size(), 13);
    const struct {
        int index;
        const char* token;
        const char* path;
    } cases[] = {{0, "HF", "/dxc/top_50_HF.html"},     {3, "7", "/dxc/top_50_7_MHz.html"},
                 {5, "14", "/dxc/top_50_14_MHz.html"}, {12, "430", "/dxc/top_50_430_MHz.html"},
                 {13, "VHF", "/dxc/top_50_VHF.html"},  {14, "", "/dxc/top_50__MHz.html"},
                 {-1, "", "/dxc/top_50__MHz.html"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(token(c.index), c.token);
        EXPECT_EQ(pagePath(token(c.index)), c.path);
    }
    const struct {
        const char* token;
        quint64 hz;
        bool inside;
    } ranges[] = {{"14", 14025000, true}, {"14", 7025000, false},  {"7", 7025000, true},    {"430", 432200000, true},
                  {"HF", 28500000, true}, {"HF", 50100000, false}, {"VHF", 50100000, true}, {"VHF", 14025000, false}};
    for (const auto& r : ranges) {
        SCOPED_TRACE(std::string(r.token) + " " + std::to_string(r.hz));
        const auto range = tokenRange(r.token);
        ASSERT_TRUE(range.has_value());
        EXPECT_EQ(r.hz >= range->first && r.hz <= range->second, r.inside);
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
    EXPECT_EQ(displayLine(kSpotA).mid(28, 8), " 14025.0") << "the QRG fills columns 29-36";
}

TEST(SpotListTest, MillReferencesInRemarks)
{
    const struct {
        const char* comment;
        const char* reference;
    } cases[] = {
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
        SCOPED_TRACE(c.comment);
        EXPECT_EQ(millReference(c.comment), c.reference);
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
}

TEST(SpotListTest, RowsCarryTheirLineMillAndWorkedMark)
{
    const QList<Row> rows =
        arrange(kSpots, Sort::Qrg, {}, [](const Spot& s) { return s.callsign == "F5AAA" && s.frequency < 8000000; });
    ASSERT_EQ(rows.size(), 5);
    EXPECT_EQ(rows[0].line, displayLine(kSpots[3]));
    EXPECT_EQ(rows[0].millReference, "WIM 7001");
    EXPECT_FALSE(rows[0].worked);
    EXPECT_EQ(rows[1].millReference, "DMF 59045");
    EXPECT_TRUE(rows[1].worked);
    EXPECT_EQ(rows[2].millReference, "");
    EXPECT_EQ(sortLine(kSpots[1], Sort::Qrg), "  14025.0 DL1ABC       21/06/15 1200 F5ABC       CQ");
}

TEST(SpotListTest, Alerts)
{
    const Spot& mill = kSpots[0];
    const Spot& plain = kSpots[1];
    const struct {
        const char* name;
        Filter filter;
        bool callsignAlert, millAlert;
        bool onMill, onPlain;
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
        EXPECT_EQ(alerts(mill, c.filter, c.callsignAlert, c.millAlert), c.onMill);
        EXPECT_EQ(alerts(plain, c.filter, c.callsignAlert, c.millAlert), c.onPlain);
    }
}

} // namespace
} // namespace tv
