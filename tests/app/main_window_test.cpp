#include "app/main_window.h"
#include "platform/settings_keys.h"
#include "station/startup.h"
#include "tests/support/test_support.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTest>
#include <QTimer>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <functional>
#include <gtest/gtest.h>

namespace tv {
namespace {

class MainWindowTest : public ::testing::Test {
protected:
    test::Fixture fx;

    // The station's files (its log left to the test) and settings.
    void knownStation(const QString& callsign, const QString& session = "HF")
    {
        fx.dir.installShippedData();
        fx.dir.installStationFiles(callsign);
        test::setCurrentStation(fx.settings, callsign, session);
    }

    template <typename T> T* find(MainWindow& w, const char* name)
    {
        T* found = w.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
};

TEST_F(MainWindowTest, StartShowsTheLogTheNextNumberAndTheStation)
{
    knownStation("F0ZZZ_P");
    fx.settings.setValue("JNM", "Setup F0ZZZ_P", "bande Utilisee", "2");
    fx.dir.write("F0ZZZ_P.log", test::crlf({test::qso("21/06/15", "F5ABC", "09:41", "14 Mhz", "SSB", "59"),
                                            test::qso("21/06/15", "F6XYZ", "09:45", "14 Mhz", "CW", "62"),
                                            test::qso("21/06/15", "ON4AA", "09:50", "7.0 Mhz", "SSB")}));
    MainWindow w(fx.services());
    ASSERT_TRUE(w.start());

    EXPECT_EQ(w.qsoModel().rowCount(), 3);
    EXPECT_EQ(w.logbook().count(), 3);
    EXPECT_EQ(find<QGroupBox>(w, "Frame4")->title(), QString::fromUtf8("QSO numéro 4"));
    EXPECT_EQ(find<QLabel>(w, "I_Station")->text(), "F0ZZZ/P");
    EXPECT_EQ(find<QGroupBox>(w, "Frame5")->title(), "Carnet de trafic de F0ZZZ/P");

    auto* list = find<QTableView>(w, "Liste_QSO");
    EXPECT_EQ(list->currentIndex().row(), 2) << "the last row is selected";
    auto* band = find<QComboBox>(w, "Bande_A");
    ASSERT_EQ(band->count(), 5);
    EXPECT_EQ(band->itemText(0), "3.5 Mhz");
    EXPECT_EQ(band->currentText(), "14 Mhz");
    EXPECT_FALSE(find<QPushButton>(w, "Enregistrer")->isEnabled());
    EXPECT_TRUE(find<QLineEdit>(w, "Indicatif_A")->isEnabled());

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
        knownStation("F0ZZZ", c.session);
        fx.dir.write("F0ZZZ.log", "");
        MainWindow w(fx.services());
        ASSERT_TRUE(w.start());
        auto* band = find<QComboBox>(w, "Bande_A");
        QStringList bands;
        for (int i = 0; i < band->count(); ++i)
            bands << band->itemText(i);
        EXPECT_EQ(bands, c.bands);
        EXPECT_EQ(find<QAction>(w, "Mnu_Session_HF")->isChecked(), c.hf);
        EXPECT_EQ(find<QAction>(w, "Mnu_Session_VHF")->isChecked(), c.vhf);
        EXPECT_EQ(find<QGroupBox>(w, "Frame4")->title(), QString::fromUtf8("QSO numéro 1"));
    }
}

TEST_F(MainWindowTest, OptionsFollowTheStationAndAreStored)
{
    knownStation("F0ZZZ");
    fx.settings.setValue("JNM", "Setup F0ZZZ", "Heure UTC", "False");
    fx.settings.setValue("JNM", "Setup F0ZZZ", "Date Automatique", "False");
    fx.dir.write("F0ZZZ.log", "");
    fx.clock.set({2015, 6, 21, 23, 41, 7}, {2015, 6, 22, 1, 41, 7});
    MainWindow w(fx.services());
    ASSERT_TRUE(w.start());
    auto* utc = find<QLabel>(w, "Label37");
    auto* date = find<QLabel>(w, "Label33");
    auto* dateLabel = find<QLabel>(w, "Label15");
    EXPECT_EQ(utc->text() + " " + find<QLabel>(w, "Label34")->text(), "23:41 Utc 01:41 Loc");
    EXPECT_FALSE(utc->isEnabled());
    EXPECT_EQ(date->text(), "22/06/15");
    EXPECT_TRUE(find<QAction>(w, "Mnu_UTC_Non")->isChecked());
    EXPECT_EQ(dateLabel->text(), "Date manuelle");

    find<QAction>(w, "Mnu_UTC_Oui")->trigger();
    EXPECT_TRUE(utc->isEnabled());
    EXPECT_EQ(date->text(), "21/06/15");
    EXPECT_TRUE(w.session().utc());
    EXPECT_EQ(fx.settings.value("JNM", "Setup F0ZZZ", "Heure UTC"), "True");
    find<QLineEdit>(w, "Date_A")->setText("21/06/15");
    find<QAction>(w, "Mnu_Auto_Oui")->trigger();
    EXPECT_EQ(dateLabel->text(), "Date automatique");
    EXPECT_EQ(find<QLineEdit>(w, "Date_A")->text(), "");
    EXPECT_TRUE(find<QAction>(w, "Mnu_Auto_Oui")->isChecked());
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

TEST_F(MainWindowTest, MissingLogShowsTheMissingFileWindowAndEnds)
{
    knownStation("F0ZZZ");
    fx.settings.clearWrites();
    MainWindow w(fx.services());
    clickInNextModal("Quitter");
    EXPECT_FALSE(w.start());
    EXPECT_TRUE(w.ended());
    EXPECT_EQ(fx.settings.value("JNM", "Setup ", "Indicatif Station"), "F0ZZZ");
}

TEST_F(MainWindowTest, UnreadableStationFileEndsWithItsErrorNumberAndLeavesTheFiles)
{
    knownStation("F0ZZZ");
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

TEST_F(MainWindowTest, FirstStartLeadsThroughTheStationDialogToAnEmptyLog)
{
    fx.dir.installShippedData();
    MainWindow w(fx.services());
    // The station dialog opens modal after the first-installation message: fill it in.
    fillStationDialogWhenItOpens("F0ZZZ_P");
    ASSERT_TRUE(w.start());
    EXPECT_EQ(fx.dialogs.shown().first().text, startup::firstInstallText());
    for (const char* name : {"F0ZZZ_P.log", "F0ZZZ_P_Departement_SSB.txt", "F0ZZZ_P_Departement_CW.txt",
                             "F0ZZZ_P_Prefixe_SSB.txt", "F0ZZZ_P_Prefixe_CW.txt"})
        EXPECT_TRUE(fx.dir.exists(name)) << name;
    EXPECT_EQ(fx.dir.read("F0ZZZ_P_Prefixe_CW.txt"), fx.dir.read("FXXXX_Prefixe.txt"));
    EXPECT_EQ(fx.settings.value("JNM", "Setup ", "Indicatif Station"), "F0ZZZ_P");
    EXPECT_EQ(fx.settings.value("JNM", "Setup F0ZZZ_P", "Date JNM"), "21/06/15");
    EXPECT_EQ(fx.settings.value("JNM", "Setup F0ZZZ_P", "Heure UTC"), "True");
    EXPECT_EQ(find<QLabel>(w, "I_Station")->text(), "F0ZZZ/P");
    EXPECT_EQ(w.qsoModel().rowCount(), 0);
    EXPECT_EQ(find<QComboBox>(w, "Bande_A")->count(), 5);
    EXPECT_EQ(fx.dialogs.last(), startup::reminderText());
}

TEST_F(MainWindowTest, SessionSwitchArchivesTheLogAndStartsAnEmptyOne)
{
    knownStation("F0ZZZ");
    const QByteArray log = test::crlf({test::qso("21/06/15", "F5ABC", "09:41", "14 Mhz", "SSB", "59")});
    fx.dir.write("F0ZZZ.log", log);
    MainWindow w(fx.services());
    ASSERT_TRUE(w.start());
    fx.dialogs.answer(false);
    find<QAction>(w, "Mnu_Session_VHF")->trigger();
    EXPECT_EQ(w.qsoModel().rowCount(), 1) << "Cancel changes nothing";
    EXPECT_TRUE(find<QAction>(w, "Mnu_Session_HF")->isChecked());
    EXPECT_FALSE(find<QAction>(w, "Mnu_Session_VHF")->isChecked());

    fx.dialogs.answer(true);
    find<QAction>(w, "Mnu_Session_VHF")->trigger();
    EXPECT_EQ(w.qsoModel().rowCount(), 0);
    EXPECT_EQ(fx.dir.read("F0ZZZ.hf_"), log);
    EXPECT_EQ(fx.dir.read("F0ZZZ.log"), "");
    EXPECT_EQ(find<QComboBox>(w, "Bande_A")->currentText(), "144 Mhz");
    EXPECT_TRUE(find<QAction>(w, "Mnu_Session_VHF")->isChecked());
    EXPECT_FALSE(find<QAction>(w, "Mnu_Session_HF")->isChecked());
    EXPECT_EQ(w.windowTitle(), QString::fromUtf8("Journée Nationale des Moulins   Session VHF   Revision  1.1.2"));
    EXPECT_EQ(find<QLabel>(w, "P_QSO")->text(), "0");
    EXPECT_EQ(fx.settings.value("JNM", "Setup F0ZZZ", "Session"), "VHF");

    fx.dialogs.answer(true);
    find<QAction>(w, "Mnu_Session_HF")->trigger();
    EXPECT_EQ(find<QComboBox>(w, "Bande_A")->currentText(), "7.0 Mhz");
    EXPECT_EQ(fx.settings.value("JNM", "Setup F0ZZZ", "bande Utilisee"), "1") << "the band shown is the one kept";
    EXPECT_EQ(find<QGroupBox>(w, "Frame3")->title(), QString::fromUtf8(" 0 Dpts contacté(s) sur  7.0 Mhz en SSB"));
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

TEST_F(MainWindowTest, SettingsThatCannotBeWrittenAreReportedAtStart)
{
    knownStation("F0ZZZ");
    fx.dir.write("F0ZZZ.log", "");
    fx.settings.failWrites(true);
    MainWindow w(fx.services());
    ASSERT_TRUE(w.start());
    EXPECT_TRUE(fx.dialogs.texts().contains(startup::settingsUnwritableText()));
}

TEST_F(MainWindowTest, EachWindowOpensOnceAndClosingAsksTheEditorFirst)
{
    knownStation("F0ZZZ");
    fx.dir.write("F0ZZZ.log", "");
    fx.dir.write("Nomenclature.txt", "F5ABC      59 JN18DU\r\n");
    MainWindow w(fx.services());
    ASSERT_TRUE(w.start());
    w.show();
    for (const char* item : {"Mnu_Nomenclature", "Mnu_Imprime_Tout", "Mnu_Nomenclature", "Mnu_Imprime_Tout"})
        find<QAction>(w, item)->trigger();
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

TEST_F(MainWindowTest, MissingDepartmentFileOffersToForgetTheStation)
{
    knownStation("F0ZZZ");
    fx.dir.write("F0ZZZ.log", "");
    QFile::remove(fx.dir.file("F0ZZZ_Departement_SSB.txt"));
    MainWindow w(fx.services());
    clickInNextModal("Initialisation");
    EXPECT_FALSE(w.start());
    EXPECT_EQ(fx.settings.value("JNM", "Setup ", "Indicatif Station"), "FXXXX");
    EXPECT_EQ(fx.settings.value("JNM", "Setup ", "Locator Station"), "------");
}

} // namespace
} // namespace tv
