#include "platform/qt_settings_store.h"
#include "platform/settings_keys.h"
#include "tests/reports/report_fixture.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

// The fixed station F4XYZ of the report tests, HF session, 14 Mhz SSB in use.
class StatsCliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::reports::writeStation(dir);
        QtSettingsStore settings(dir.file("settings"));
        settings.setValue(keys::kJnm, keys::kSetup, keys::kIndicatifStation, "F4XYZ");
        settings.setValue(keys::kJnm, keys::stationSection("F4XYZ"), keys::kSession, "HF");
        settings.setValue(keys::kJnm, keys::stationSection("F4XYZ"), keys::kBandeUtilisee, "2");
    }
    test::CliRun run(const QStringList& arguments) const { return test::runCli(dir, arguments); }
    test::TempProgramDir dir;
};

TEST_F(StatsCliTest, PrintsWhatTheWindowsShow)
{
    const QString corsica = QString::fromLatin1(test::reports::logLines()[1].left(128));
    const struct {
        QStringList arguments;
        const char* out; // UTF-8
    } cases[] = {
        {{"stats", "distances"},
         "Distances des QSO 144 MHz\nInf a 100 Km   1\n100 a 200 Km   \n200 a 300 Km   1\n300 a 400 Km   \n"
         "400 a 500 Km   \n500 a 600 Km   \n600 a 700Km    \n700 a 800 Km   \n800 a 900 Km   \n900 a 1000 Km  \n"
         "Sup a 1000 Km  \nTotal QSO      2\n"},
        {{"stats", "prefixes"}, "Prefixes contactés sur 14 Mhz en SSB : 1\n  F     entity\n"},
        {{"stats", "prefixes", "--band", "3.5 mhz", "--mode=cw"},
         "Prefixes contactés sur 3.5 Mhz en CW : 1\n  F     entity\n"},
        {{"stats", "activations", "--band", "3.5 Mhz", "--mode", "CW"},
         "  DMF 77012                                    21/06/15  F5DEF       \n"
         "  DMF 77012      Moulin de Châteauneuf         21/06/15  F6XYZ       \n"
         "2 activations DMF contactées sur 3.5 Mhz en CW\n"},
        {{"stats", "activations"}, "0 activations DMF contactées sur 14 Mhz en SSB\n"},
        {{"search", "--dept", "2A"}, ""}, // the line itself, checked below
        {{"search", "--date", "22/06/15"}, "Pas de QSO trouvé\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const test::CliRun r = run(c.arguments);
        EXPECT_EQ(r.code, 0) << r.err;
        if (*c.out)
            EXPECT_EQ(r.out, QString::fromUtf8(c.out));
        else
            EXPECT_EQ(r.out, "    2 " + corsica + "S\n");
    }
}

TEST_F(StatsCliTest, RefusedCommandLines)
{
    const struct {
        QStringList arguments;
        int code;
        const char* err;
    } cases[] = {
        {{"stats"}, 2, "la commande stats demande distances, prefixes ou activations"},
        {{"stats", "speeds"}, 2, "statistique inconnue : speeds"},
        {{"stats", "distances", "--band", "14 Mhz"}, 2, "les distances se comptent sur 144 MHz, sans --band ni --mode"},
        {{"stats", "prefixes", "--band", "15 Mhz"}, 2, "bande inconnue : 15 Mhz"},
        {{"stats", "activations", "--mode", "FM"}, 2, "mode inconnu : FM (SSB ou CW)"},
        {{"search"}, 2, "la commande search demande un critère"},
        {{"search", "--callsign", "F5", "--date", "21/06/15"}, 2, "la commande search demande un critère"},
        {{"search", "--locator", "JN18DU"}, 2, "Attention seulement les 4 premiers caracteres du locator"},
        {{"search", "--date", "21-06-15"}, 2, "Attention le format date doit etre JJ/MM/AA"},
        {{"--call", "F6AAA", "stats", "distances"}, 4, "Le fichier F6AAA.log est introuvable"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const test::CliRun r = run(c.arguments);
        EXPECT_EQ(r.code, c.code);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.err))) << r.err;
        EXPECT_TRUE(r.out.isEmpty()) << r.out;
    }
}

} // namespace
} // namespace tv
