#include "spots/http_spot_source.h"
#include "spots/spot_list.h"
#include "spots/telnet_spot_source.h"
#include "tests/spots/spot_fixtures.h"
#include "tests/support/test_support.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::SpotHttpServer;
using test::TelnetCluster;

const QByteArray kPage = test::page(test::pageRow("DL1ABC", "14025.0", "21/06/15 1234", "F5ABC", "CQ"));

TEST(HttpSpotSourceTest, OneFetchGivesTheSpotsOrOneReason)
{
    const struct Case {
        const char* name;
        QByteArray body = kPage;  // of the 14 Mhz page; "404" for none
        int spots = -1;           // spots fetched, or -1 for a failure
        const char* failure = ""; // a part of the reason
        const char* base = "";    // "" for the test server, "dead" for a port where nobody listens
        int delayMs = 0, timeoutMs = 10000;
        qint64 maxBytes = spotlist::kMaxPageBytes;
    } cases[] = {
        {.name = "page", .spots = 1},
        {.name = "address with a trailing slash", .spots = 1, .base = "/"},
        {.name = "page without spots", .body = "<html></html>", .spots = 0},
        {.name = "empty reply", .body = "", .failure = "Pas de reponse du site vérifiez votre liaison internet"},
        {.name = "no such page", .body = "404", .failure = "répond par l'erreur HTTP 404"},
        {.name = "too slow", .failure = "ne répond pas (plus de 1 s)", .delayMs = 3000, .timeoutMs = 200},
        {.name = "too large",
         .body = QByteArray(5000, 'x'),
         .failure = "trop grande (plus de 1000 octets)",
         .maxBytes = 1000},
        {.name = "dead server", .failure = "refuse la connexion", .base = "dead"},
        {.name = "no address", .failure = "Aucune adresse de serveur", .base = "none"},
        {.name = "not an address", .failure = "n'est pas valide", .base = "ftp://x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SpotHttpServer server;
        if (c.body != "404")
            server.pages.insert("/dxc/top_50_14_MHz.html", c.body);
        server.delayMs = c.delayMs;
        HttpSpotSource source;
        const QString base = QString::fromUtf8(c.base);
        source.setBaseUrl(base == "dead"   ? QStringLiteral("http://127.0.0.1:%1").arg(test::deadPort())
                          : base == "none" ? QString()
                          : base == "/"    ? server.base() + "/"
                          : base.isEmpty() ? server.base()
                                           : base);
        source.setTimeout(c.timeoutMs);
        source.setMaxBodyBytes(c.maxBytes);
        QSignalSpy fetched(&source, &SpotSource::spotsFetched);
        QSignalSpy failed(&source, &SpotSource::fetchFailed);
        source.fetch("14");
        QTRY_COMPARE_WITH_TIMEOUT(fetched.count() + failed.count(), 1, 8000);
        if (c.spots >= 0) {
            ASSERT_EQ(fetched.count(), 1);
            EXPECT_EQ(fetched[0][0].toString(), "14");
            EXPECT_EQ(fetched[0][1].value<QList<Spot>>().size(), c.spots);
            EXPECT_EQ(server.requests, QStringList{"/dxc/top_50_14_MHz.html"});
        } else {
            ASSERT_EQ(failed.count(), 1);
            EXPECT_TRUE(failed[0][1].toString().contains(QString::fromUtf8(c.failure))) << failed[0][1].toString();
        }
        QTest::qWait(20);
        EXPECT_EQ(fetched.count() + failed.count(), 1) << "one answer per fetch";
        EXPECT_FALSE(source.isFetching("14"));
    }
}

TEST(HttpSpotSourceTest, AFetchWhileTheSameBandRunsIsNotSentAgain)
{
    SpotHttpServer server;
    server.pages.insert("/dxc/top_50_14_MHz.html", kPage);
    server.pages.insert("/dxc/top_50_HF.html", kPage);
    server.delayMs = 300;
    HttpSpotSource source;
    source.setBaseUrl(server.base());
    QSignalSpy fetched(&source, &SpotSource::spotsFetched);
    for (int i = 0; i < 3; ++i)
        source.fetch("14");
    source.fetch("HF");
    EXPECT_TRUE(source.isFetching("14"));
    QTRY_COMPARE(fetched.count(), 2);
    EXPECT_EQ(server.requests.count("/dxc/top_50_14_MHz.html"), 1);
    EXPECT_EQ(server.requests.count("/dxc/top_50_HF.html"), 1);
    source.fetch("14"); // once answered, the band is fetched again
    QTRY_COMPARE(fetched.count(), 3);
    EXPECT_EQ(server.requests.count("/dxc/top_50_14_MHz.html"), 2);
}

TEST(TelnetSpotSourceTest, ClusterLinesAsSpots)
{
    const CalendarTime now{2015, 6, 21, 12, 40, 0};
    const struct {
        const char* line;
        std::optional<Spot> spot;
    } cases[] = {
        {"DX de F5ABC:     14025.0  DL1ABC       CQ DMF 59045                 1234Z",
         Spot{"DL1ABC", 14025000, "F5ABC", "15-06-21 1234", "CQ DMF 59045", "14025.0"}},
        {"DX de F5ABC-#:7025  ok1abc cw 22 dB 1245Z JN89",
         Spot{"OK1ABC", 7025000, "F5ABC-#", "15-06-21 1245", "cw 22 dB", "7025.0"}},
        {"dx de w1aw 144300.25 G4XYZ 2359Z", Spot{"G4XYZ", 144300250, "W1AW", "15-06-20 2359", "", "144300.3"}},
        {"DX de F5ABC:     14025.0  DL1ABC  no time", std::nullopt},
        {"DX de F5ABC:     abc  DL1ABC  x 1234Z", std::nullopt},
        {"DX de F5ABC:     14025.0  DL1ABC  x 2534Z", std::nullopt},
        {"WWV de W0MU <18>:   SFI=68, A=4, K=1", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(TelnetSpotSource::parseLine(c.line, now), c.spot);
    }
}

struct Answers {
    explicit Answers(SpotSource& source)
    {
        QObject::connect(&source, &SpotSource::spotsFetched,
                         [this](const QString& band, const QList<Spot>& spots) { got[band] << spots; });
        QObject::connect(&source, &SpotSource::fetchFailed,
                         [this](const QString&, const QString& reason) { failures << reason; });
    }
    QHash<QString, QList<QList<Spot>>> got;
    QStringList failures;
};

TEST(TelnetSpotSourceTest, LogsInKeepsTheSpotsOfEachBandAndReconnects)
{
    TelnetCluster cluster;
    FakeClock clock;
    clock.set({2015, 6, 21, 12, 40, 0}, {});
    TelnetSpotSource source("127.0.0.1", cluster.serverPort(), "F0ZZZ/P", clock);
    source.setBackoff(300, 1000); // the link is seen down before the next attempt
    source.setMaxSpots(3);
    Answers answers(source);

    source.fetch("14"); // answered once the link is up: nothing received yet
    QTRY_COMPARE(answers.got["14"].size(), 1);
    EXPECT_TRUE(answers.got["14"][0].isEmpty());
    QTRY_VERIFY(cluster.received.value(0).endsWith("F0ZZZ/P\r\n"));
    EXPECT_EQ(cluster.received[0], QByteArray("\xff\xfc\x18", 3) + "F0ZZZ/P\r\n") << "the option refused";

    cluster.send("DX de F5ABC:     14025.0  DL1ABC       CQ                           1234Z\r\n"
                 "DX de F5ABC:     7025.0  OK1ABC       CQ                           1235Z\r\n"
                 "To ALL de F5ABC: hello\r\n"
                 "DX de F6XYZ:     144300.0  G4XYZ       tropo                        1236Z\r\n"
                 "DX de F6XYZ:     14250.0  DL2AAA       \xff\xff                       1237Z\r\n"
                 "DX de F6XYZ:     14200.0  DL3");
    QTRY_COMPARE(source.spots().size(), 3);
    EXPECT_EQ(source.spots()[0].callsign, "OK1ABC") << "the oldest spot dropped beyond the bound";
    const struct {
        const char* band;
        QStringList calls;
    } bands[] = {{"14", {"DL2AAA"}}, {"7", {"OK1ABC"}}, {"HF", {"OK1ABC", "DL2AAA"}}, {"VHF", {"G4XYZ"}}};
    for (const auto& b : bands) {
        SCOPED_TRACE(b.band);
        source.fetch(b.band);
        QStringList calls;
        for (const Spot& s : answers.got[b.band].last())
            calls << s.callsign;
        EXPECT_EQ(calls, b.calls);
    }

    QSignalSpy link(&source, &TelnetSpotSource::linkChanged);
    cluster.hangUp();
    QTRY_VERIFY(!link.isEmpty());
    EXPECT_FALSE(link[0][0].toBool());
    EXPECT_EQ(link[0][1].toString(),
              QStringLiteral("Le cluster 127.0.0.1:%1 a fermé la liaison.").arg(cluster.serverPort()));
    source.fetch("7");
    EXPECT_EQ(answers.failures.value(0), link[0][1].toString()) << "while the link is down, fetches fail";
    QTRY_COMPARE(cluster.received.size(), 2);
    QTRY_VERIFY(cluster.received[1].endsWith("F0ZZZ/P\r\n"));
    EXPECT_TRUE(source.isLoggedIn());
}

TEST(TelnetSpotSourceTest, AClusterThatRefusesFailsTheWaitingFetchAndRetriesLater)
{
    FakeClock clock;
    const quint16 port = test::deadPort();
    TelnetSpotSource source("127.0.0.1", port, "F0ZZZ", clock);
    source.setBackoff(100, 200);
    Answers answers(source);
    QSignalSpy link(&source, &TelnetSpotSource::linkChanged);
    source.fetch("14");
    QTRY_COMPARE(answers.failures.size(), 1);
    EXPECT_EQ(answers.failures[0], QStringLiteral("Le cluster 127.0.0.1:%1 refuse la connexion.").arg(port));
    QTRY_COMPARE_WITH_TIMEOUT(link.count(), 3, 3000); // the attempts go on
    source.stop();
    const int attempts = link.count();
    QTest::qWait(400);
    EXPECT_EQ(link.count(), attempts) << "no attempt after stop()";
}

} // namespace
} // namespace tv
