// The activation map window over a Logbook: Afficher, the counts, following the log, saving.

#include "logstore/log_columns.h"
#include "station/logbook.h"
#include "station/station_session.h"
#include "stats/activation_map_window.h"
#include "tests/support/test_support.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>

namespace tv {
namespace {

QByteArray mill(const char* band, const char* mode, const char* department)
{
    return test::qso("21/06/15", "F5ABC", "09:41", band, mode, department, "1");
}

class ActivationMapWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        f.installStation("F4ABC");
        f.dir.write("F4ABC.log", test::crlf({mill("14 Mhz", "SSB", "59"), mill("14 Mhz", "SSB", "59"),
                                             mill("14 Mhz", "CW", "62"), mill("7.0 Mhz", "SSB", "2a")}));
        session.setStation("F4ABC", "JN18DU");
        session.readSettings();
        session.chooseBand(2); // 14 Mhz
        logbook.setStation("F4ABC");
        ASSERT_TRUE(logbook.load().ok());
        window = new ActivationMapWindow(f.services(), session, logbook);
    }
    void TearDown() override { delete window; }
    void show(const char* band, const char* mode)
    {
        test::child<QComboBox>(*window, "Bande_A")->setCurrentText(band);
        test::child<QComboBox>(*window, "Mode_AX")->setCurrentText(mode);
        test::child<QPushButton>(*window, "Afficher")->click();
    }
    QString text(const char* label) { return test::child<QLabel>(*window, label)->text(); }
    bool filled(const char* id, const char* colour)
    {
        return window->shownSvg().contains(QByteArray("<path id=\"") + id + "\" fill=\"" + colour + "\"");
    }

    test::Fixture f;
    StationSession session{&f.settings};
    Logbook logbook{f.services()};
    ActivationMapWindow* window = nullptr;
};

TEST_F(ActivationMapWindowTest, AfficherColoursTheBandAndModeChosen)
{
    EXPECT_EQ(window->windowTitle(), "Carte_Activations");
    EXPECT_EQ(test::child<QComboBox>(*window, "Bande_A")->currentText(), "14 Mhz") << "the band in use";
    EXPECT_TRUE(window->shownSvg().isEmpty()) << "nothing before Afficher";
    const struct {
        const char* band;
        const char* mode;
        const char* activations;
        const char* departments;
        const char* colouredId; // light red
        const char* plainId;    // back to the window's colour
    } cases[] = {{"14 Mhz", "SSB", "2", "1", "59", "62"},
                 {"14 Mhz", "CW", "1", "1", "62", "59"},
                 {"7.0 Mhz", "SSB", "1", "1", "2A", "62"},
                 {"21 Mhz", "SSB", "0", "0", nullptr, "2A"}};
    const QByteArray plain =
        '#' + QByteArray::number(window->palette().color(QPalette::Window).rgb() & 0xFFFFFF, 16).toUpper();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.band) + " " + c.mode);
        show(c.band, c.mode);
        EXPECT_EQ(text("NB_Activ"), c.activations);
        EXPECT_EQ(text("NB_Dep"), c.departments);
        if (c.colouredId)
            EXPECT_TRUE(filled(c.colouredId, "#FFC0C0"));
        EXPECT_TRUE(filled(c.plainId, plain));
    }
    EXPECT_TRUE(f.dialogs.texts().isEmpty());
}

TEST_F(ActivationMapWindowTest, NoBandLeavesTheMapAsItWas)
{
    show("14 Mhz", "SSB");
    const QByteArray before = window->shownSvg();
    test::child<QComboBox>(*window, "Bande_A")->clear();
    test::child<QPushButton>(*window, "Afficher")->click();
    EXPECT_EQ(f.dialogs.texts(), QStringList{"Selectionnez une bande"});
    EXPECT_EQ(window->shownSvg(), before);
}

TEST_F(ActivationMapWindowTest, ARecordedMillQsoColoursItsDepartmentAtOnce)
{
    show("14 Mhz", "SSB");
    EXPECT_FALSE(filled("77", "#FFC0C0"));
    QsoWrite write;
    write.line = mill("14 Mhz", "SSB", "77");
    ASSERT_TRUE(logbook.record(write).logWritten());
    EXPECT_TRUE(filled("77", "#FFC0C0"));
    EXPECT_EQ(text("NB_Activ"), "3");
    EXPECT_EQ(text("NB_Dep"), "2");
}

TEST_F(ActivationMapWindowTest, SavesPngAndSvgInTheProgramDirectory)
{
    show("14 Mhz", "SSB");
    test::child<QPushButton>(*window, "Enregistrer_SVG")->click();
    test::child<QPushButton>(*window, "Enregistrer_PNG")->click();
    EXPECT_EQ(f.dialogs.texts(), QStringList({"La carte est enregistrée dans F4ABC_Carte_14Mhz_SSB.svg.",
                                              "La carte est enregistrée dans F4ABC_Carte_14Mhz_SSB.png."}));
    EXPECT_TRUE(f.dir.read("F4ABC_Carte_14Mhz_SSB.svg").contains("<path id=\"59\" fill=\"#FFC0C0\""));
    // The PNG shows department 59 in light red (Nord, at 350,40 on the map).
    const QImage png = QImage::fromData(f.dir.read("F4ABC_Carte_14Mhz_SSB.png"), "PNG");
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.size(), QSize(1226, 1218));
    EXPECT_EQ(png.pixel(2 * 350, 2 * 40) & 0xFFFFFF, 0xFFC0C0u);

    f.dialogs.clear();
    f.files.failWrites(1);
    test::child<QPushButton>(*window, "Enregistrer_SVG")->click();
    ASSERT_EQ(f.dialogs.texts().size(), 1);
    EXPECT_TRUE(f.dialogs.texts()[0].startsWith("Erreur N° 61 (disque plein) : le fichier F4ABC_Carte_14Mhz_SSB.svg"));
}

} // namespace
} // namespace tv
