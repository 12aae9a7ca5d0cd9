#include "logstore/score.h"
#include "logstore/station_paths.h"
#include "platform/settings_keys.h"
#include "reports/summary_sheet.h"
#include "reports/summary_window.h"
#include "tests/reports/report_fixture.h"
#include "tests/support/fakes/fake_printer.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace tv {
namespace {

using test::cp;

class SummaryWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::reports::writeStation(fx.dir);
        const QString s = QStringLiteral("Setup F4XYZ");
        fx.settings.setValue(keys::kJnm, s, keys::kNom, QStringLiteral("Dupont"));
        fx.settings.setValue(keys::kJnm, s, keys::kPrenom, QStringLiteral("Hélène"));
        fx.settings.setValue(keys::kJnm, s, keys::kReference, QStringLiteral("DMF 77012"));
        fx.settings.setValue(keys::kJnm, s, keys::kOperateurs, QStringLiteral("F4XYZ"));
        fx.settings.setValue(keys::kJnm, s, keys::kCommune, QStringLiteral("Coulommiers"));
        fx.settings.setValue(keys::kJnm, s, keys::kCategorie, QStringLiteral("1"));
    }
    std::unique_ptr<SummaryWindow> open(bool hfSession = true)
    {
        fx.settings.clearWrites();
        return std::make_unique<SummaryWindow>(fx.services(), QStringLiteral("F4XYZ"), QStringLiteral("21/06/15"),
                                               hfSession);
    }
    static QString text(QWidget* w, const char* name)
    {
        auto* edit = w->findChild<QLineEdit*>(QString::fromLatin1(name));
        return edit ? edit->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
    }
    static QLineEdit* field(QWidget* w, const char* name)
    {
        return w->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    static void click(QWidget* w, const char* name)
    {
        auto* button = w->findChild<QAbstractButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }

    test::Fixture fx;
    FakePrinter& printer = fx.printer;
    const QString sheetName = QStringLiteral("F4XYZ_Recapitulatif_JNM_21_06_15.txt");
};

TEST_F(SummaryWindowTest, OpensWithEveryCellCounted)
{
    auto w = open();
    EXPECT_EQ(w->objectName(), "Recapitulation");
    // Each box shows its cell of the sheet counted from the station's files.
    const summary::Cells cells =
        summary::cellsFromTally(loadScore(fx.files, StationPaths(fx.dir.path(), "F4XYZ")).tally, true);
    const char* const rowNames[] = {"QSO", "Point", "MC", "MD", "MP"};
    const char* const totalNames[] = {"QSO", "Points", "MC", "MD", "MP"};
    for (int c = 0; c < summary::kColumns; ++c) {
        for (int r = 0; r < summary::kRows; ++r)
            EXPECT_EQ(text(w.get(), (rowNames[c] + std::to_string(r + 1)).c_str()), cells.rows[r][c]);
        EXPECT_EQ(text(w.get(), ("Tot_" + std::string(totalNames[c])).c_str()), cells.hfTotal[c]);
        EXPECT_EQ(text(w.get(), ("VHF_" + std::string(totalNames[c])).c_str()), cells.vhfTotal[c]);
    }
    EXPECT_EQ(text(w.get(), "MC5"), "10");
    EXPECT_EQ(text(w.get(), "Point11"), "215");
    EXPECT_EQ(text(w.get(), "Total_Points"), "407");
    EXPECT_EQ(w->findChild<QLabel*>("JNM_Date")->text(), "21/06/15");
    EXPECT_EQ(text(w.get(), "Prenom"), QStringLiteral("Hélène"));
    EXPECT_TRUE(w->findChild<QRadioButton*>("Option1_1")->isChecked());
    EXPECT_TRUE(w->findChild<QRadioButton*>("Option2_1")->isChecked()) << "no stored session reads HF";
    EXPECT_TRUE(fx.dialogs.shown().isEmpty());
    EXPECT_TRUE(fx.settings.writes().isEmpty()) << "opening stores nothing";
}

TEST_F(SummaryWindowTest, VhfSessionCountsTheArchivedHfSessionAndScoresTheVhfTotals)
{
    test::reports::writeSwitchedStation(fx.dir, false);
    fx.settings.setValue(keys::kJnm, QStringLiteral("Setup F4XYZ"), keys::kSession, QStringLiteral("VHF"));
    auto w = open(false);
    EXPECT_EQ(text(w.get(), "QSO3"), "1") << "14 Mhz SSB, from the .hf_ archive";
    EXPECT_EQ(text(w.get(), "MD6"), "2");
    EXPECT_EQ(text(w.get(), "Tot_QSO"), "5");
    EXPECT_EQ(text(w.get(), "VHF_QSO"), "2");
    EXPECT_EQ(text(w.get(), "Total_Points"), "3682");
    EXPECT_TRUE(w->findChild<QRadioButton*>("Option2_2")->isChecked());
    EXPECT_TRUE(fx.dialogs.shown().isEmpty());
}

TEST_F(SummaryWindowTest, OneWindowAtATimeAndASecondChoiceRaisesIt)
{
    int prepared = 0;
    const auto show = [&](const char* callsign, bool hf) {
        return SummaryWindow::showOrRaise(fx.services(), QString::fromLatin1(callsign), QStringLiteral("21/06/15"), hf,
                                          nullptr, [&] { return ++prepared > 0; });
    };
    QPointer<SummaryWindow> first = show("F4XYZ", true);
    ASSERT_NE(first, nullptr);
    field(first, "Nom")->setText(QStringLiteral("typed"));
    EXPECT_EQ(show("F4XYZ", true), first.data());
    EXPECT_EQ(prepared, 1) << "the multiplier files are rebuilt for a new sheet only";
    EXPECT_EQ(text(first, "Nom"), "typed") << "the open sheet is kept as it is";
    EXPECT_TRUE(first->isVisible());

    // Another session: the sheet open counted the other one, so it makes way.
    QPointer<SummaryWindow> vhf = show("F4XYZ", false);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    ASSERT_FALSE(vhf.isNull());
    EXPECT_EQ(prepared, 2);

    // A refused preparation builds nothing.
    vhf->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(SummaryWindow::showOrRaise(fx.services(), QStringLiteral("F4XYZ"), QStringLiteral("21/06/15"), true,
                                         nullptr, [] { return false; }),
              nullptr);
}

TEST_F(SummaryWindowTest, CategoryRuleOnOpeningAndOnClick)
{
    fx.settings.setValue(keys::kJnm, QStringLiteral("Setup F4XYZ"), keys::kCategorie, QStringLiteral("3"));
    auto w = open();
    for (const char* name : {"Reference", "Operateurs", "Commune"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(field(w.get(), name)->text().isEmpty());
        EXPECT_FALSE(field(w.get(), name)->isEnabled());
    }
    click(w.get(), "Option1_2");
    EXPECT_TRUE(field(w.get(), "Reference")->isEnabled());
    field(w.get(), "Reference")->setText(QStringLiteral("DMF 59045"));
    click(w.get(), "Option1_3");
    EXPECT_TRUE(field(w.get(), "Reference")->text().isEmpty());
    EXPECT_FALSE(field(w.get(), "Commune")->isEnabled());

    // A stored category outside 1-3 selects nothing and leaves the fields alone.
    fx.settings.setValue(keys::kJnm, QStringLiteral("Setup F4XYZ"), keys::kCategorie, QStringLiteral("9"));
    auto other = open();
    EXPECT_EQ(other->findChild<QButtonGroup*>("Option1")->checkedId(), -1);
    EXPECT_EQ(text(other.get(), "Reference"), "DMF 77012");
    EXPECT_TRUE(field(other.get(), "Reference")->isEnabled());
}

TEST_F(SummaryWindowTest, SaveStoresTheFieldsWritesTheSheetAndRecomputesTheScore)
{
    auto w = open();
    field(w.get(), "Nom")->setText(QStringLiteral("Martin"));
    field(w.get(), "Tot_Points")->setText(QStringLiteral("100"));
    click(w.get(), "Enregistrer");

    const QString s = QStringLiteral("JNM|Setup F4XYZ|");
    ASSERT_EQ(fx.settings.writes().size(), 10);
    EXPECT_EQ(fx.settings.writes()[0], s + "Nom=Martin");
    EXPECT_EQ(fx.settings.writes()[6], s + "Categorie=1");
    EXPECT_EQ(fx.settings.writes()[9], s + "Commune=Coulommiers");

    EXPECT_EQ(text(w.get(), "Total_Points"), "3700") << "100 x (30 + 3 + 4)";
    EXPECT_EQ(fx.dialogs.texts(),
              QStringList{QStringLiteral("La feuille récapitulative JNM de F4XYZ a été sauvegardée sous le nom : ") +
                          sheetName});
    const QByteArray sheet = fx.dir.read(sheetName);
    EXPECT_TRUE(sheet.contains(QByteArray(20, ' ') + "TOTAL DES POINTS : 3700\r\n"));
    EXPECT_TRUE(sheet.contains("     NOM : Martin     "));
    EXPECT_TRUE(sheet.contains("       Total         5       100     30      3       4       \r\n"));
}

TEST_F(SummaryWindowTest, PrintTakesTheCellTextsAndCancelPrintsNothing)
{
    auto w = open();
    field(w.get(), "QSO1")->setText(QStringLiteral("9"));
    click(w.get(), "Imprimer");
    ASSERT_EQ(printer.documents().size(), 1);
    const QStringList lines = printer.texts(0);
    EXPECT_EQ(lines[1], QStringLiteral("          Journée Nationale des Moulins 21/06/15"));
    EXPECT_TRUE(lines.contains(QStringLiteral("     3.5 Mhz SSB     9       0       0       0       0       ")));
    EXPECT_EQ(printer.documents()[0][1].fontName, QStringLiteral("Courier New"));
    EXPECT_TRUE(printer.documents()[0][1].bold);
    EXPECT_FALSE(printer.bold());
    EXPECT_FALSE(fx.dir.exists(sheetName)) << "printing writes no file";
    EXPECT_TRUE(fx.settings.writes().isEmpty()) << "printing stores nothing";

    printer.answerChoice(false);
    click(w.get(), "Imprimer");
    EXPECT_EQ(printer.documents().size(), 1);
    EXPECT_TRUE(fx.dialogs.shown().isEmpty());
}

TEST_F(SummaryWindowTest, MissingMultiplierFileIsNamedAndNothingCanBeSaved)
{
    QFile::remove(fx.dir.file("F4XYZ_Prefixe_CW.txt"));
    auto w = open();
    EXPECT_EQ(fx.dialogs.texts(),
              QStringList{QStringLiteral("Le fichier F4XYZ_Prefixe_CW.txt est introuvable. La feuille récapitulative "
                                         "ne peut pas être comptée : elle ne sera ni enregistrée ni imprimée.")});
    EXPECT_FALSE(w->findChild<QPushButton*>("Enregistrer")->isEnabled());
    EXPECT_FALSE(w->findChild<QPushButton*>("Imprimer")->isEnabled());
    EXPECT_TRUE(w->findChild<QPushButton*>("Quitter")->isEnabled());
}

TEST_F(SummaryWindowTest, FailedSaveIsReportedAndThePreviousSheetKept)
{
    fx.dir.write(sheetName, "previous");
    fx.files.failWrites(1, FileResult::kDiskFull);
    auto w = open();
    click(w.get(), "Enregistrer");
    EXPECT_EQ(fx.dialogs.texts(), QStringList{QStringLiteral("Erreur N° 61 : le fichier ") + sheetName +
                                              QStringLiteral(" n'a pas pu être écrit ; un fichier précédent de ce "
                                                             "nom reste inchangé.")});
    EXPECT_EQ(fx.dir.read(sheetName), "previous");
}

} // namespace
} // namespace tv
