// The Cluster window over a scripted spot source, the Logbook and a fake serial port.

#include "cluster/cluster_window.h"
#include "platform/settings_keys.h"
#include "station/logbook.h"
#include "station/station_session.h"
#include "tests/support/fakes/fake_serial_port.h"
#include "tests/support/fakes/fake_sound.h"
#include "tests/support/fakes/fake_spot_source.h"
#include "tests/support/test_support.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <gtest/gtest.h>

namespace tv {
namespace {

Spot spot(const char* call, quint64 khz10, const char* comment)
{
    const QString qrg = QString::number(khz10 / 10) + QLatin1Char('.') + QString::number(khz10 % 10);
    return {QString::fromLatin1(call),    khz10 * 100, QStringLiteral("F6ZZZ"), QStringLiteral("0941 03-May-26"),
            QString::fromLatin1(comment), qrg};
}

TEST(ClusterWindowTest, ListsFiltersAlertsReportsAndTunes)
{
    test::Fixture fx;
    fx.installStation("F0ZZZ");
    fx.dir.write("F0ZZZ.log", test::crlf({test::qso("03/05/26", "DL1ABC", "09:30", "14 Mhz", "SSB")}));
    const auto zez = [&](const QString& key, const QString& value) {
        fx.settings.setValue(keys::kZez, keys::kSetup, key, value);
    };
    zez(keys::kBandeCluster, "5"); // 14 Mhz
    zez(keys::kServeurCluster, "http://spots.invalid");
    zez(keys::kTransceiver, "2");
    zez(keys::kPortCom, "/dev/ttyUSB0");
    zez(keys::kBaud, "9600,n,8,1");
    FakeSound sound;
    Services services = fx.services();
    services.sound = &sound;
    StationSession session(&fx.settings);
    session.setStation("F0ZZZ", "JN18DU");
    Logbook logbook(services);
    logbook.setStation("F0ZZZ");
    ASSERT_TRUE(logbook.load().ok());
    FakeSerialPorts ports{{"/dev/ttyUSB0"}};
    ClusterWindow window(services, session, logbook, ports);
    FakeSpotSource* source = nullptr;
    window.setSourceFactory([&](const QString&) {
        auto made = std::make_unique<FakeSpotSource>();
        source = made.get();
        made->setSpots(
            "14", {spot("F5ABC", 140250, "JNM DMF 59045"), spot("DL1ABC", 142500, "CQ"), spot("ON4XX", 140300, "599")});
        return made;
    });
    auto rows = [&] {
        QStringList calls;
        for (const spotlist::Row& r : window.rows())
            calls << r.spot.callsign + (r.worked ? "*" : "") + (r.millReference.isEmpty() ? "" : "+");
        return calls;
    };
    auto check = [&](const char* name) { return window.findChild<QCheckBox*>(name); };

    window.fetchBands();
    EXPECT_EQ(source->requests(), QStringList{"14"});
    EXPECT_EQ(rows(), QStringList({"DL1ABC*", "F5ABC+", "ON4XX"})) << "mill marked, worked on 14 Mhz SSB";
    check("Check1")->setChecked(true);
    EXPECT_EQ(rows(), QStringList({"F5ABC+"})) << "arranged again without a new fetch";
    EXPECT_EQ(source->requests().size(), 1);
    check("Check1")->setChecked(false);
    check("Check4")->setChecked(true);
    EXPECT_EQ(rows(), QStringList({"F5ABC+"}));
    check("Check4")->setChecked(false);

    // The alert sounds for a wanted call new since the last fetch, once.
    window.findChild<QLineEdit*>("Indicatif")->setText("ON4");
    check("Check2")->setChecked(true);
    check("Check3")->setChecked(true);
    window.fetchBands();
    window.fetchBands();
    EXPECT_EQ(sound.played(), QStringList{"ringout.wav"});

    // A failed fetch: the no-reply sound, the reason in the status, the last spots kept.
    source->setFailure("14", "Pas de reponse du site vérifiez votre liaison internet");
    window.fetchBands();
    EXPECT_EQ(sound.played().last(), "ringin.wav");
    EXPECT_TRUE(window.findChild<QLabel*>("Etat")->text().startsWith("Pas de reponse du site"));
    EXPECT_EQ(rows(), QStringList({"ON4XX"}));
    EXPECT_FALSE(window.fetching());

    // A click on a spot tunes the radio: frequency then mode (CW segment).
    check("Check2")->setChecked(false);
    ports.clearWrites();
    auto* list = window.findChild<QListWidget*>("Liste_Stations");
    emit list->itemClicked(list->item(1)); // F5ABC on 14025.0
    EXPECT_EQ(ports.frames(), QStringList({"00 00 00 00 00", "01 40 25 00 01", "02 00 00 00 07", "00 00 00 00 80"}));
    EXPECT_EQ(fx.settings.value(keys::kZez, keys::kSetup, keys::kBandeCluster, ""), "5");
}

} // namespace
} // namespace tv
