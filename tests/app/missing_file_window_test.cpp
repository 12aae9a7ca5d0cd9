#include "app/loading_window.h"
#include "app/missing_file_window.h"
#include "tests/support/test_support.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace tv {
namespace {

QString text(QWidget& w, const char* name)
{
    auto* label = w.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
}

TEST(MissingFileWindowTest, ShowsTheStationAndTheMissingFile)
{
    test::Fixture fx;
    Services services = fx.services();
    MissingFileWindow w(services, "F0ZZZ_P", MissingFileWindow::departmentTail());
    EXPECT_TRUE(w.isModal());
    EXPECT_EQ(w.objectName(), "Gestion_Erreur");
    EXPECT_EQ(w.findChild<QPushButton*>("Initialisation")->text(), "Initialiser");
    const char* const texts[][2] = {
        {"Label2", "ERREUR 53"},
        {"Label3", "Tournevent a trouvé dans la base de registre l'indicatif  : "},
        {"Indi_Station", "F0ZZZ_P"},
        {"Label6", "Il n'a par contre pas trouvé dans son repertoire le(s) fichier(s) "},
        {"Ind_Station1", "F0ZZZ_P"},
        {"Err_Departement", "_Departement_SSB.txt ou Departement_CW.txt"},
        {"Label7", "Pour remedier a cet etat, cliquez sur \" Initialiser\" et relancez Tournevent"},
        {"Label8", "L'indicatif affiché sera alors FXXXX "},
        {"Label9", "une boite de dialogue vous demandera alors de specifier votre indicatif"},
    };
    for (const auto& [name, expected] : texts)
        EXPECT_EQ(text(w, name), QString::fromUtf8(expected)) << name;
    w.setTail(".log");
    EXPECT_EQ(text(w, "Err_Departement"), ".log");
}

TEST(MissingFileWindowTest, InitialiserForgetsTheStationOnlyQuitterAndTheCloseBoxWriteNothing)
{
    enum How { Initialiser, Quitter, CloseBox };
    const struct {
        How how;
        int outcome;
        QStringList writes;
    } cases[] = {
        {Initialiser,
         MissingFileWindow::Initialised,
         {"JNM|Setup |Indicatif Station=FXXXX", "JNM|Setup |Locator Station=------"}},
        {Quitter, MissingFileWindow::Quit, {}},
        {CloseBox, MissingFileWindow::Quit, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        test::Fixture fx;
        test::setCurrentStation(fx.settings, "F0ZZZ_P", "VHF");
        Services services = fx.services();
        MissingFileWindow w(services, "F0ZZZ_P");
        QSignalSpy finished(&w, &QDialog::finished);
        w.open();
        if (c.how == CloseBox)
            w.close();
        else
            QTest::mouseClick(w.findChild<QPushButton*>(c.how == Quitter ? "Quitter" : "Initialisation"),
                              Qt::LeftButton);
        ASSERT_EQ(finished.count(), 1);
        EXPECT_EQ(finished.at(0).at(0).toInt(), c.outcome);
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(fx.settings.writes(), c.writes);
        EXPECT_EQ(fx.settings.value("JNM", "Setup F0ZZZ_P", "Session"), "VHF") << "the station's own section stays";
    }
}

TEST(LoadingWindowTest, TextsWithoutButtonsRightOfTheCentreLine)
{
    LoadingWindow w;
    EXPECT_EQ(w.objectName(), "Chargement");
    EXPECT_FALSE(w.isModal());
    EXPECT_EQ(text(w, "Label1"), QString::fromUtf8("Prefixes et Départements"));
    EXPECT_EQ(text(w, "Label2"), "Mise a jour des fichiers");
    EXPECT_TRUE(w.findChildren<QPushButton*>().isEmpty());
    EXPECT_FALSE(w.windowFlags() & Qt::WindowCloseButtonHint);

    const struct {
        QRect screen;
        QSize window;
        qreal dpi;
        QPoint at;
    } cases[] = {
        // 15 twips a pixel: 2500 twips are 166.7 pixels right of the centred position 810.
        {{0, 0, 1920, 1080}, {300, 100}, 96, {977, 490}},
        // 10 twips a pixel: 250 pixels right of 600.
        {{0, 0, 1600, 900}, {400, 301}, 144, {850, 300}},
        // A second screen to the right: its own origin.
        {{1920, 30, 1280, 1024}, {300, 100}, 96, {1920 + 657, 30 + 462}},
        // No usable dots per inch: taken as 96.
        {{0, 0, 1920, 1080}, {300, 100}, 0, {977, 490}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        EXPECT_EQ(LoadingWindow::placement(c.screen, c.window, c.dpi, c.dpi), c.at);
    }
}

} // namespace
} // namespace tv
