#include "platform/qt_settings_store.h"
#include "platform/settings_keys.h"
#include "rig/rig_settings.h"
#include "tests/rig/pty_pair.h"
#include "tests/rig/rigctld_daemon.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

class TuneCliTest : public ::testing::Test {
protected:
    test::CliRun run(const QStringList& arguments) const { return test::runCli(dir, QStringList{"tune"} + arguments); }
    void store(const QString& key, const QString& value) const
    {
        QtSettingsStore(dir.file("settings")).setValue(keys::kZez, keys::kSetup, key, value);
    }
    test::TempProgramDir dir;
};

TEST_F(TuneCliTest, AYaesuGetsTheFramesPrinted)
{
    test::PtyPair pty;
    ASSERT_TRUE(pty.ok());
    const QString frames = "00 00 00 00 00\n01 40 25 00 01\n02 00 00 00 07\n00 00 00 00 80\n";
    test::CliRun r = run({"14025.0", "--rig", "yaesu:ft-817:" + pty.slave() + ":9600"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "FT-817, port " + pty.slave() + QString::fromUtf8(" à 9600 bauds : 14025.0 kHz en CW\n") + frames);
    EXPECT_EQ(pty.read(20).toHex(' '), "00 00 00 00 00 01 40 25 00 01 02 00 00 00 07 00 00 00 00 80");

    store(keys::kPortCom, pty.slave()); // the stored choice: the FT-847 at its own speed
    r = run({"432200"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(
        r.out.startsWith("FT-847, port " + pty.slave() + QString::fromUtf8(" à 57600 bauds : 432200.0 kHz en USB\n")))
        << r.out;
    EXPECT_EQ(pty.read(20).mid(5, 10).toHex(' '), "43 22 00 00 01 01 00 00 00 07");
}

TEST_F(TuneCliTest, RigctldAndTheFailures)
{
    test::RigctldDaemon daemon;
    ASSERT_TRUE(daemon.started()) << daemon.error();
    const QString at = QStringLiteral("127.0.0.1:%1").arg(daemon.port());
    const QString absent = QStringLiteral("127.0.0.1:%1").arg(test::RigctldDaemon::freePort());
    const struct {
        QStringList arguments;
        int code;
        QString out; // the whole standard output
        QString err; // the start of the error output
    } cases[] = {
        {{"7025.0", "--rig", "rigctld:" + at}, 0, "rigctld " + at + " : 7025.0 kHz en CW\nF 7025000\nM CW 0\n", ""},
        {{"--rig=rigctld:" + absent, "3650"},
         6,
         "rigctld " + absent + " : 3650.0 kHz en LSB\n",
         "rigctld ne répond pas sur " + absent + " (connexion refusée)\n"},
        {{"14025", "--rig", "yaesu:FT-897:/dev/ttyNOPE9"}, 6, "", "Le port /dev/ttyNOPE9 n'existe pas ("},
        {{"14025"}, 2, "", "Aucun émetteur choisi : indiquez --rig yaesu:MODELE:PORT[:BAUDS]"},
        {{}, 2, "", "tournevent-cli : la commande tune demande une fréquence en kHz (14025.0)\n"},
        {{"14,025"}, 2, "", "tournevent-cli : fréquence illisible : 14,025 (en kHz : 14025.0)\n"},
        {{"14025", "7025"}, 2, "", "tournevent-cli : argument en trop : 7025\n"},
        {{"14025", "--rig", "icom:IC-706"}, 2, "", "tournevent-cli : --rig attend yaesu:"},
        {{"14025", "--rig", "yaesu:FT-1000:/dev/ttyS0:4800"}, 2, "", "tournevent-cli : modèle inconnu : FT-1000"},
        {{"14025", "--rig", "rigctld:localhost:99999"},
         2,
         "",
         "tournevent-cli : --rig rigctld:localhost:99999 : port TCP"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const test::CliRun r = run(c.arguments);
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.out, c.out);
        EXPECT_TRUE(c.err.isEmpty() ? r.err.isEmpty() : r.err.startsWith(c.err)) << r.err;
    }
    store(keys::kLiaison, keys::kLiaisonRigctld); // the stored choice
    store(keys::kPortRigctld, QString::number(daemon.port()));
    const test::CliRun r = run({"144300"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              QStringLiteral("rigctld localhost:%1 : 144300.0 kHz en USB\nF 144300000\nM USB 0\n").arg(daemon.port()));
}

} // namespace
} // namespace tv
