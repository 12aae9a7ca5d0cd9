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

class MissingFileWindowTest : public ::testing::Test {
protected:
    test::Fixture fx;
    Services services = fx.services();

    void SetUp() override { test::setCurrentStation(fx.settings, "F0ZZZ_P", "VHF"); }

    static QString text(QWidget& w, const char* name)
    {
        auto* label = w.findChild<QLabel*>(QString::fromLatin1(name));
        EXPECT_NE(label, nullptr) << name;
        return label ? label->text() : QString();
    }
    static QPushButton* button(QWidget& w, const char* name)
    {
        auto* b = w.findChild<QPushButton*>(QString::fromLatin1(name));
        EXPECT_NE(b, nullptr) << name;
        return b;
    }
};

TEST_F(MissingFileWindowTest, ShowsTheStationAndTheMissingFile)
{
    MissingFileWindow w(services, "F0ZZZ_P", MissingFileWindow::departmentTail());
    EXPECT_EQ(w.objectName(), "Gestion_Erreur");
    EXPECT_TRUE(w.isModal());
    struct Case {
        const char* name;
        const char* text;
    };
    for (const Case& c : {
             Case{"Label2", "ERREUR 53"},
             Case{"Label3", "Tournevent a trouvé dans la base de registre l'indicatif  : "},
             Case{"Indi_Station", "F0ZZZ_P"},
             Case{"Label6", "Il n'a par contre pas trouvé dans son repertoire le(s) fichier(s) "},
             Case{"Ind_Station1", "F0ZZZ_P"},
             Case{"Err_Departement", "_Departement_SSB.txt ou Departement_CW.txt"},
             Case{"Label7", "Pour remedier a cet etat, cliquez sur \" Initialiser\" et relancez Tournevent"},
             Case{"Label8", "L'indicatif affiché sera alors FXXXX "},
             Case{"Label9", "une boite de dialogue vous demandera alors de specifier votre indicatif"},
         }) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(text(w, c.name), QString::fromUtf8(c.text));
    }
    w.setTail(".log");
    EXPECT_EQ(text(w, "Err_Departement"), ".log");
    EXPECT_EQ(button(w, "Initialisation")->text(), "Initialiser");
}

TEST_F(MissingFileWindowTest, InitialiserForgetsTheStationOnly)
{
    MissingFileWindow w(services, "F0ZZZ_P", MissingFileWindow::departmentTail());
    QSignalSpy finished(&w, &QDialog::finished);
    w.open();
    ASSERT_TRUE(w.isVisible());
    QTest::mouseClick(button(w, "Initialisation"), Qt::LeftButton);

    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).toInt(), MissingFileWindow::Initialised);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(fx.settings.writes(),
              (QStringList{"JNM|Setup |Indicatif Station=FXXXX", "JNM|Setup |Locator Station=------"}));
    EXPECT_EQ(fx.settings.value("JNM", "Setup F0ZZZ_P", "Session"), "VHF") << "the station's own section stays";
}

TEST_F(MissingFileWindowTest, QuitterAndTheCloseBoxWriteNothing)
{
    for (const bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "close box" : "Quitter");
        MissingFileWindow w(services, "F0ZZZ_P");
        QSignalSpy finished(&w, &QDialog::finished);
        w.open();
        if (closeBox)
            w.close();
        else
            button(w, "Quitter")->click();
        ASSERT_EQ(finished.count(), 1);
        EXPECT_EQ(w.result(), MissingFileWindow::Quit);
        EXPECT_FALSE(w.isVisible());
        EXPECT_TRUE(fx.settings.writes().isEmpty());
    }
}

TEST(LoadingWindowTest, TextsAndNoButtons)
{
    LoadingWindow w;
    EXPECT_EQ(w.objectName(), "Chargement");
    EXPECT_FALSE(w.isModal());
    auto* first = w.findChild<QLabel*>("Label1");
    auto* second = w.findChild<QLabel*>("Label2");
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->text(), QString::fromUtf8("Prefixes et Départements"));
    EXPECT_EQ(second->text(), "Mise a jour des fichiers");
    EXPECT_TRUE(w.findChildren<QPushButton*>().isEmpty());
    EXPECT_FALSE(w.windowFlags() & Qt::WindowCloseButtonHint);
}

TEST(LoadingWindowTest, SitsRightOfTheCentreLine)
{
    struct Case {
        QRect screen;
        QSize window;
        qreal dpi;
        QPoint at;
    };
    for (const Case& c : {
             // 15 twips a pixel: 2500 twips are 166.7 pixels right of the centred position 810.
             Case{{0, 0, 1920, 1080}, {300, 100}, 96, {977, 490}},
             // 10 twips a pixel: 250 pixels right of 600.
             Case{{0, 0, 1600, 900}, {400, 301}, 144, {850, 300}},
             // A second screen to the right: its own origin.
             Case{{1920, 30, 1280, 1024}, {300, 100}, 96, {1920 + 657, 30 + 462}},
             // No usable dots per inch: taken as 96.
             Case{{0, 0, 1920, 1080}, {300, 100}, 0, {977, 490}},
         }) {
        SCOPED_TRACE(c.dpi);
        EXPECT_EQ(LoadingWindow::placement(c.screen, c.window, c.dpi, c.dpi), c.at);
    }
}

} // namespace
} // namespace tv
