#include "app/main_window.h"
#include "app/missing_file_window.h"
#include "platform/settings_keys.h"
#include "station/startup.h"
#include "tests/support/test_support.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace tv {
namespace {

using test::child;

class MainWindowTest : public ::testing::Test {
protected:
    test::Fixture fx;
};

TEST_F(MainWindowTest, StartShowsTheLogTheNextNumberAndTheStation)
{
    fx.installStation("F0ZZZ_P");
    fx.settings.setValue("JNM", "Setup F0ZZZ_P", "bande Utilisee", "2");
    fx.dir.write("F0ZZZ_P.log", test::crlf({test::qso("21/06/15", "F5ABC", "09:41", "14 Mhz", "SSB", "59"),
                                            test::qso("21/06/15", "F6XYZ", "09:45", "14 Mhz", "CW", "62"),
                                            test::qso("21/06/15", "ON4AA", "09:50", "7.0 Mhz", "SSB")}));
    MainWindow w(fx.services());
    ASSERT_TRUE(w.start());

    EXPECT_EQ(w.qsoModel().rowCount(), 3);
    EXPECT_EQ(w.logbook().count(), 3);
    EXPECT_EQ(child<QGroupBox>(w, "Frame4")->title(), QString::fromUtf8("QSO numéro 4"));
    EXPECT_EQ(child<QLabel>(w, "I_Station")->text(), "F0ZZZ/P");
    EXPECT_EQ(child<QGroupBox>(w, "Frame5")->title(), "Carnet de trafic de F0ZZZ/P");

    auto* list = child<QTableView>(w, "Liste_QSO");
    EXPECT_EQ(list->currentIndex().row(), 2) << "the last row is selected";
    auto* band = child<QComboBox>(w, "Bande_A");
    ASSERT_EQ(band->count(), 5);
    EXPECT_EQ(band->itemText(0), "3.5 Mhz");
    EXPECT_EQ(band->currentText(), "14 Mhz");
    EXPECT_FALSE(child<QPushButton>(w, "Enregistrer")->isEnabled());
    EXPECT_TRUE(child<QLineEdit>(w, "Indicatif_A")->isEnabled());

    // The settings written at start-up, and the reminder as the last message.
    EXPECT_EQ(fx.settings.value("JNM", "Setup F0ZZZ_P", "Revision"), " 1.1.2");
    EXPECT_EQ(fx.settings.value("JNM", "Setup ", "Chemin Repertoire"), fx.dir.path());
    ASSERT_EQ(fx.dialogs.shown().size(), 1);
    EXPECT_EQ(fx.dialogs.last(), startup::reminderText());
    EXPECT_TRUE(fx.dialogs.last().startsWith("                                   Avant le debut de la JNM \r\n"));
}

TEST_F(MainWindowTest, SessionGivesTheBandListAndTheMenuCheckMarks)
{
    const struct {
        const char* session;
        QStringList bands;
        bool hf, vhf;
    } cases[] = {{"VHF", {"144 Mhz"}, false, true}, {"UHF", {}, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.session);
        fx.installStation("F0ZZZ", c.session);
        MainWindow w(fx.services());
        ASSERT_TRUE(w.start());
        auto* band = child<QComboBox>(w, "Bande_A");
        QStringList bands;
        for (int i = 0; i < band->count(); ++i)
            bands << band->itemText(i);
        EXPECT_EQ(bands, c.bands);
        EXPECT_EQ(child<QAction>(w, "Mnu_Session_HF")->isChecked(), c.hf);
        EXPECT_EQ(child<QAction>(w, "Mnu_Session_VHF")->isChecked(), c.vhf);
        EXPECT_EQ(child<QGroupBox>(w, "Frame4")->title(), QString::fromUtf8("QSO numéro 1"));
    }
}

TEST_F(MainWindowTest, OptionsFollowTheStationAndAreStored)
{
    fx.installStation("F0ZZZ");
    fx.settings.setValue("JNM", "Setup F0ZZZ", "Heure UTC", "False");
    fx.settings.setValue("JNM", "Setup F0ZZZ", "Date Automatique", "False");
    fx.dir.write("F0ZZZ.log", "");
    fx.clock.set({2015, 6, 21, 23, 41, 7}, {2015, 6, 22, 1, 41, 7});
    MainWindow w(fx.services());
    ASSERT_TRUE(w.start());
    auto* utc = child<QLabel>(w, "Label37");
    auto* date = child<QLabel>(w, "Label33");
    auto* dateLabel = child<QLabel>(w, "Label15");
    EXPECT_EQ(utc->text() + " " + child<QLabel>(w, "Label34")->text(), "23:41 Utc 01:41 Loc");
    EXPECT_FALSE(utc->isEnabled());
    EXPECT_EQ(date->text(), "22/06/15");
    EXPECT_TRUE(child<QAction>(w, "Mnu_UTC_Non")->isChecked());
    EXPECT_EQ(dateLabel->text(), "Date manuelle");

    child<QAction>(w, "Mnu_UTC_Oui")->trigger();
    EXPECT_TRUE(utc->isEnabled());
    EXPECT_EQ(date->text(), "21/06/15");
    EXPECT_TRUE(w.session().utc());
    EXPECT_EQ(fx.settings.value("JNM", "Setup F0ZZZ", "Heure UTC"), "True");
    child<QLineEdit>(w, "Date_A")->setText("21/06/15");
    child<QAction>(w, "Mnu_Auto_Oui")->trigger();
    EXPECT_EQ(dateLabel->text(), "Date automatique");
    EXPECT_EQ(child<QLineEdit>(w, "Date_A")->text(), "");
    EXPECT_TRUE(child<QAction>(w, "Mnu_Auto_Oui")->isChecked());
    EXPECT_EQ(fx.settings.value("JNM", "Setup F0ZZZ", "Date Automatique"), "True");
}

// Fills the station dialog when it opens (modal) and validates it.
void fillStationDialogWhenItOpens(const char* callsign)
{
    QTimer::singleShot(0, [callsign] {
        std::function<void()> fill = [&fill, callsign] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) {
                QTimer::singleShot(10, fill);
                return;
            }
            auto type = [modal](const char* name, const char* text) {
                auto* edit = modal->findChild<QLineEdit*>(name);
                edit->setText(text);
                QTest::keyClick(edit, Qt::Key_Return);
            };
            type("New_Indicatif", callsign);
            type("Nouv_Date", "21/06/15");
            modal->findChild<QPushButton*>("Validation")->click();
        };
        fill();
    });
}

// Answers the next modal window by clicking the button of that name.
void clickInNextModal(const QString& button)
{
    QTimer::singleShot(0, [button] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            clickInNextModal(button);
            return;
        }
        if (auto* b = modal->findChild<QPushButton*>(button))
            b->click();
    });
}

TEST_F(MainWindowTest, AMissingStationFileShowsTheMissingFileWindowAndEnds)
{
    const struct {
        const char *missing, *button, *stationAfter;
    } cases[] = {{"F0ZZZ.log", "Quitter", "F0ZZZ"}, {"F0ZZZ_Departement_SSB.txt", "Initialisation", "FXXXX"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.missing);
        fx.installStation("F0ZZZ");
        QFile::remove(fx.dir.file(c.missing));
        MainWindow w(fx.services());
        clickInNextModal(c.button);
        EXPECT_FALSE(w.start());
        EXPECT_TRUE(w.ended());
        EXPECT_EQ(fx.settings.value("JNM", "Setup ", "Indicatif Station"), c.stationAfter);
    }
}

TEST_F(MainWindowTest, UnreadableStationFileEndsWithItsErrorNumberAndLeavesTheFiles)
{
    fx.installStation("F0ZZZ");
    const QByteArray log = test::crlf({test::qso("21/06/15", "F5ABC", "09:41", "14 Mhz", "SSB", "59")});
    fx.dir.write("F0ZZZ.log", log);
    const QByteArray departments = fx.dir.read("F0ZZZ_Departement_SSB.txt");
    fx.files.failReadsOf("F0ZZZ_Departement_SSB.txt", 57);
    MainWindow w(fx.services());
    EXPECT_FALSE(w.start());
    EXPECT_TRUE(w.ended());
    EXPECT_EQ(fx.dialogs.last(), QString::fromUtf8("Erreur N° 57"));
    EXPECT_EQ(fx.dir.read("F0ZZZ.log"), log);
    EXPECT_EQ(fx.dir.read("F0ZZZ_Departement_SSB.txt"), departments);
}

TEST_F(MainWindowTest, FirstStartLeadsThroughTheStationDialogToTheFirstQsoAndTheNextStartKeepsThePlace)
{
    fx.dir.installShippedData();
    QRect placed;
    {
        MainWindow w(fx.services());
        w.show();
        // No example station before the operator gives one.
        EXPECT_EQ(child<QGroupBox>(w, "Frame7")->title(), "");
        EXPECT_EQ(child<QGroupBox>(w, "Frame5")->title(), "Carnet de trafic");
        EXPECT_EQ(child<QComboBox>(w, "Bande_A")->currentText(), "");
        // The station dialog opens modal after the first-installation message: fill it in.
        fillStationDialogWhenItOpens("F0ZZZ_P");
        ASSERT_TRUE(w.start());
        EXPECT_EQ(fx.dialogs.texts(), (QStringList{startup::firstInstallText(), startup::reminderText()}))
            << "no other box on the way";
        EXPECT_TRUE(fx.dir.exists("F0ZZZ_P.log"));
        EXPECT_EQ(child<QLabel>(w, "I_Station")->text(), "F0ZZZ/P");
        EXPECT_EQ(child<QGroupBox>(w, "Frame7")->title(), "F0ZZZ/P le");
        EXPECT_EQ(w.qsoModel().rowCount(), 0);
        EXPECT_EQ(child<QComboBox>(w, "Bande_A")->currentText(), "3.5 Mhz");
        EXPECT_EQ(w.focusWidget(), child<QLineEdit>(w, "Indicatif_A")) << "the cursor waits for the first callsign";
        w.setGeometry(40, 50, 900, 640);
        placed = w.geometry();
        EXPECT_TRUE(w.close());
    }
    fx.dialogs.clear();
    MainWindow again(fx.services());
    ASSERT_TRUE(again.start());
    EXPECT_EQ(fx.dialogs.texts(), QStringList{startup::reminderText()});
    EXPECT_EQ(again.geometry().size(), placed.size()) << "the size and place of the last run";
    EXPECT_EQ(again.geometry().topLeft(), placed.topLeft());
}

TEST_F(MainWindowTest, SessionSwitchArchivesTheLogAndStartsAnEmptyOne)
{
    fx.installStation("F0ZZZ");
    const QByteArray log = test::crlf({test::qso("21/06/15", "F5ABC", "09:41", "14 Mhz", "SSB", "59")});
    fx.dir.write("F0ZZZ.log", log);
    MainWindow w(fx.services());
    ASSERT_TRUE(w.start());
    fx.dialogs.answer(false);
    child<QAction>(w, "Mnu_Session_VHF")->trigger();
    EXPECT_EQ(w.qsoModel().rowCount(), 1) << "Cancel changes nothing";
    EXPECT_TRUE(child<QAction>(w, "Mnu_Session_HF")->isChecked());
    EXPECT_FALSE(child<QAction>(w, "Mnu_Session_VHF")->isChecked());

    fx.dialogs.answer(true);
    child<QAction>(w, "Mnu_Session_VHF")->trigger();
    EXPECT_EQ(w.qsoModel().rowCount(), 0);
    EXPECT_EQ(fx.dir.read("F0ZZZ.hf_"), log);
    EXPECT_EQ(fx.dir.read("F0ZZZ.log"), "");
    EXPECT_EQ(child<QComboBox>(w, "Bande_A")->currentText(), "144 Mhz");
    EXPECT_TRUE(child<QAction>(w, "Mnu_Session_VHF")->isChecked());
    EXPECT_FALSE(child<QAction>(w, "Mnu_Session_HF")->isChecked());
    EXPECT_EQ(w.windowTitle(), QString::fromUtf8("Journée Nationale des Moulins   Session VHF   Revision  1.1.2"));
    EXPECT_EQ(child<QLabel>(w, "P_QSO")->text(), "0");
    EXPECT_EQ(fx.settings.value("JNM", "Setup F0ZZZ", "Session"), "VHF");

    fx.dialogs.answer(true);
    child<QAction>(w, "Mnu_Session_HF")->trigger();
    EXPECT_EQ(child<QComboBox>(w, "Bande_A")->currentText(), "7.0 Mhz");
    EXPECT_EQ(fx.settings.value("JNM", "Setup F0ZZZ", "bande Utilisee"), "1") << "the band shown is the one kept";
    EXPECT_EQ(child<QGroupBox>(w, "Frame3")->title(), QString::fromUtf8(" 0 Dpts contacté(s) sur  7.0 Mhz en SSB"));
}

TEST_F(MainWindowTest, AStoredCallsignThatCannotNameAFileAsksForTheStation)
{
    fx.dir.installShippedData();
    fx.settings.setValue("JNM", "Setup ", "Indicatif Station", "../F0ZZZ");
    MainWindow w(fx.services());
    fillStationDialogWhenItOpens("F0ZZZ");
    ASSERT_TRUE(w.start());
    EXPECT_TRUE(fx.dialogs.shown().first().text.startsWith(QString::fromUtf8("L'indicatif enregistré « ../F0ZZZ »")));
    EXPECT_EQ(w.session().storedCallsign(), "F0ZZZ");
    EXPECT_TRUE(fx.dir.exists("F0ZZZ.log"));
}

TEST_F(MainWindowTest, FirstStartWithoutAStationEndsQuietly)
{
    fx.dir.installShippedData();
    MainWindow w(fx.services());
    QTimer::singleShot(0, [] {
        std::function<void()> close = [&close] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
            else
                QTimer::singleShot(10, close);
        };
        close();
    });
    EXPECT_FALSE(w.start());
    EXPECT_TRUE(w.ended());
    EXPECT_EQ(fx.dialogs.last(), startup::noStationText());
    EXPECT_FALSE(fx.dir.exists("FXXXX_Departement_SSB.txt"));
}

TEST_F(MainWindowTest, WhatTheStartFindsWrongIsReportedAndRepaired)
{
    const QString resumed = QString::fromUtf8("La reconstruction des fichiers de départements et de préfixes avait été "
                                              "interrompue : elle a été refaite à partir du log.");
    const QString badMark = QString::fromUtf8("Attention : 1 marque(s) autre(s) qu'un chiffre");
    const QString halfLine =
        QString::fromUtf8("La dernière ligne du log était incomplète (enregistrement interrompu) : "
                          "elle a été retirée. Saisissez à nouveau ce QSO : « 21/06/15  F6XYZ »");
    enum Fault { Unwritable, Damaged, Interrupted, BadMark, HalfLine };
    for (const Fault fault : {Unwritable, Damaged, Interrupted, BadMark, HalfLine}) {
        SCOPED_TRACE(fault);
        test::Fixture f;
        f.installStation("F0ZZZ");
        const QByteArray line = test::qso("21/06/15", "F5ABC", "09:41", "14 Mhz", "SSB", "59") + "\r\n";
        f.dir.write("F0ZZZ.log", line + (fault == HalfLine ? "21/06/15  F6XYZ   " : ""));
        f.dir.write("F0ZZZ.log.tvtmp-a8Kx2Q", "half");
        f.settings.failWrites(fault == Unwritable);
        f.settings.setProblem(fault == Damaged ? "les réglages JNM.ini sont endommagés" : "");
        if (fault == Interrupted)
            f.dir.write("F0ZZZ_Reconstruction.txt", "");
        QByteArray departments = f.dir.read("F0ZZZ_Departement_SSB.txt");
        departments[4] = fault == BadMark ? 'x' : '0';
        f.dir.write("F0ZZZ_Departement_SSB.txt", departments);
        MainWindow w(f.services());
        ASSERT_TRUE(w.start());
        const QStringList texts = f.dialogs.texts();
        EXPECT_EQ(texts.contains(startup::settingsUnwritableText()), fault == Unwritable);
        EXPECT_EQ(texts.first().startsWith(QString::fromUtf8("Attention les réglages JNM.ini sont endommagés :")),
                  fault == Damaged);
        EXPECT_EQ(texts.contains(resumed), fault == Interrupted);
        EXPECT_EQ(texts.filter(badMark).size(), fault == BadMark ? 1 : 0);
        EXPECT_EQ(texts.contains(halfLine), fault == HalfLine);
        EXPECT_EQ(f.dir.read("F0ZZZ.log"), line);
        EXPECT_EQ(w.logbook().tally().hfTotals().departments, fault == Interrupted ? 1 : 0) << "rebuilt from the log";
        EXPECT_FALSE(f.dir.exists("F0ZZZ_Reconstruction.txt") || f.dir.exists("F0ZZZ.log.tvtmp-a8Kx2Q"));
    }
}

TEST_F(MainWindowTest, EachWindowOpensOnceAndClosingAsksTheEditorFirst)
{
    fx.installStation("F0ZZZ");
    fx.dir.write("Nomenclature.txt", "F5ABC      59 JN18DU\r\n");
    MainWindow w(fx.services());
    ASSERT_TRUE(w.start());
    w.show();
    for (const char* item : {"Mnu_Nomenclature", "Mnu_Imprime_Tout", "Mnu_Nomenclature", "Mnu_Imprime_Tout"})
        child<QAction>(w, item)->trigger();
    int windows = 0;
    for (QWidget* child : w.findChildren<QWidget*>())
        windows += child->isWindow() && child->isVisible();
    EXPECT_EQ(windows, 2) << "one editor and one listing, however often they are asked for";
    fx.dialogs.clear();
    fx.dialogs.answer(true); // save the nomenclature
    EXPECT_TRUE(w.close());
    ASSERT_FALSE(fx.dialogs.shown().isEmpty());
    EXPECT_EQ(fx.dialogs.shown().first().text, "Sauvegarder fichier Nomenclature.txt avant de quitter?");
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

} // namespace
} // namespace tv
