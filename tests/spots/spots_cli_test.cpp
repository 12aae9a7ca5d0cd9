#include "platform/qt_settings_store.h"
#include "platform/settings_keys.h"
#include "tests/spots/spot_fixtures.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(SpotsCliTest, ListsTheSpotsOfTwoBandPages)
{
    test::TempProgramDir dir;
    test::SpotHttpServer server;
    server.pages.insert("/dxc/top_50_14_MHz.html",
                        test::page(test::pageRow("DL1ABC", "14025.0", "21/06/15 1234", "F5ABC", "CQ") +
                                   test::pageRow("F5MIL", "14250.0", "21/06/15 1240", "ON4XX", "DMF 59045")));
    server.pages.insert("/dxc/top_50_7_MHz.html",
                        test::page(test::pageRow("F6XYZ", "7025.0", "21/06/15 1236", "DJ2AB", "TNX")));
    server.pages.insert("/dxc/top_50_430_MHz.html", "");
    const QString dead = QStringLiteral("http://127.0.0.1:%1").arg(test::deadPort());
    const QString dl = " 21/06/15 1234 DL1ABC        14025.0 F5ABC       CQ\n",
                  f6 = " 21/06/15 1236 F6XYZ          7025.0 DJ2AB       TNX\n",
                  mill = " 21/06/15 1240 F5MIL         14250.0 ON4XX       DMF 59045\n";
    const struct {
        QStringList arguments;
        int code;
        QString out;
        const char* err; // a part of the error output
    } cases[] = {
        {{"--band", "14 Mhz", "--band2", "7.0 Mhz"}, 0, dl + f6 + mill, ""},
        {{"--band", "14 Mhz", "--band2", "7.0 Mhz", "--sort", "qrg", "--french"}, 0, f6 + mill, ""},
        {{"--band", "14 Mhz", "--band2", "14 Mhz", "--mills", "--prefix", "f5"}, 0, mill, ""},
        {{"--band", "432 Mhz"}, 4, "", "Pas de reponse du site vérifiez votre liaison internet"},
        {{"--band", "14 Mhz", "--source", dead}, 4, "", "refuse la connexion"},
        {{"--band", "14 MHz"}, 2, "", "bande inconnue : 14 MHz"},
        {{"--band", "14 Mhz", "--sort", "freq"}, 2, "", "tri inconnu : freq"},
        {{}, 2, "", "la commande spots demande --band"},
        {{"--band", "14 Mhz", "--source", "gopher://x"}, 2, "", "source de spots inconnue"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        QStringList arguments = QStringList{"spots"} + c.arguments;
        if (!arguments.contains("--source"))
            arguments << "--source" << server.base();
        const test::CliRun r = test::runCli(dir, arguments);
        EXPECT_EQ(r.code, c.code) << r.err;
        EXPECT_EQ(r.out, c.out);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.err))) << r.err;
    }
}

TEST(SpotsCliTest, ListsWhatATelnetClusterSentWithinTheWait)
{
    test::TempProgramDir dir;
    QtSettingsStore(dir.file("settings")).setValue(keys::kJnm, keys::kSetup, keys::kIndicatifStation, "F4XYZ_P");
    test::TelnetCluster cluster;
    cluster.afterLogin = "DX de F5ABC:     14025.0  DL1ABC       CQ                           1234Z\r\n"
                         "DX de F5ABC:     7025.0  OK1ABC       DMF 59045                    1235Z\r\n";
    const QString source = QStringLiteral("telnet://127.0.0.1:%1").arg(cluster.serverPort());
    const test::CliRun r = test::runCli(dir, {"spots", "--source", source, "--band", "14 Mhz", "--seconds", "1"});
    EXPECT_EQ(r.code, 0) << r.err;
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1) << r.out;
    EXPECT_TRUE(lines[0].endsWith("DL1ABC        14025.0 F5ABC       CQ")) << lines[0];
    EXPECT_EQ(cluster.received.value(0).right(9), "F4XYZ/P\r\n") << "logged in with the station callsign";

    const test::CliRun dead =
        test::runCli(dir, {"spots", "--source", QStringLiteral("telnet://127.0.0.1:%1").arg(test::deadPort()), "--band",
                           "14 Mhz", "--seconds", "30"});
    EXPECT_EQ(dead.code, 4);
    EXPECT_TRUE(dead.err.contains("refuse la connexion")) << dead.err;
}

} // namespace
} // namespace tv
