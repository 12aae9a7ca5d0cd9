#include "logstore/score.h"
#include "platform/settings_keys.h"
#include "reports/summary_sheet.h"
#include "reports/summary_window.h"
#include "tests/reports/report_fixture.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace tv {
namespace {

class SummaryWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::reports::writeStation(fx.dir);
        const QStringList names = {keys::kNom, keys::kReference, keys::kOperateurs, keys::kCommune, keys::kCategorie};
        const QStringList values = {"Dupont", "DMF 77012", "F4XYZ", "Coulommiers", "1"};
        for (int i = 0; i < names.size(); ++i)
            fx.settings.setValue(keys::kJnm, section, names[i], values[i]);
    }
    std::unique_ptr<SummaryWindow> open(bool hfSession = true)
    {
        fx.settings.clearWrites();
        return std::make_unique<SummaryWindow>(fx.services(), "F4XYZ", "21/06/15", hfSession);
    }
    static QLineEdit* field(QWidget* w, const std::string& name)
    {
        auto* edit = w->findChild<QLineEdit*>(QString::fromStdString(name));
        EXPECT_NE(edit, nullptr) << name;
        return edit;
    }
    static QString text(QWidget* w, const std::string& name) { return field(w, name)->text(); }
    static void click(QWidget* w, const char* name)
    {
        auto* button = w->findChild<QAbstractButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    test::Fixture fx;
    const QString section = "Setup F4XYZ";
    const QString sheetName = "F4XYZ_Recapitulatif_JNM_21_06_15.txt";
};

TEST_F(SummaryWindowTest, OpensWithEveryCellCounted)
{
    auto w = open();
    const summary::Cells cells =
        summary::cellsFromTally(loadScore(fx.files, StationPaths(fx.dir.path(), "F4XYZ")).tally, true);
    const char* const rowNames[] = {"QSO", "Point", "MC", "MD", "MP"};
    const char* const totalNames[] = {"QSO", "Points", "MC", "MD", "MP"};
    for (int c = 0; c < summary::kColumns; ++c) {
        for (int r = 0; r < summary::kRows; ++r)
            EXPECT_EQ(text(w.get(), rowNames[c] + std::to_string(r + 1)), cells.rows[r][c]);
        EXPECT_EQ(text(w.get(), "Tot_" + std::string(totalNames[c])), cells.hfTotal[c]);
        EXPECT_EQ(text(w.get(), "VHF_" + std::string(totalNames[c])), cells.vhfTotal[c]);
    }
    EXPECT_EQ(text(w.get(), "MC5") + text(w.get(), "Total_Points"), "10407");
    EXPECT_TRUE(w->findChild<QRadioButton*>("Option1_1")->isChecked());
    EXPECT_TRUE(fx.dialogs.shown().isEmpty());
    EXPECT_TRUE(fx.settings.writes().isEmpty()) << "opening stores nothing";
    // The VHF session counts the archived HF session and scores the VHF totals.
    test::reports::writeSwitchedStation(fx.dir, false);
    w = open(false);
    EXPECT_EQ(text(w.get(), "QSO3"), "1") << "14 Mhz SSB, from the .hf_ archive";
    EXPECT_EQ(text(w.get(), "Tot_QSO") + "|" + text(w.get(), "VHF_QSO"), "5|2");
    EXPECT_EQ(text(w.get(), "Total_Points"), "3682");
}

TEST_F(SummaryWindowTest, OneWindowAtATimeAndASecondChoiceRaisesIt)
{
    int prepared = 0;
    const auto show = [&](bool hf) {
        return SummaryWindow::showOrRaise(fx.services(), "F4XYZ", "21/06/15", hf, nullptr,
                                          [&] { return ++prepared < 3; });
    };
    QPointer<SummaryWindow> first = show(true);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(show(true), first.data());
    EXPECT_EQ(prepared, 1) << "the multiplier files are rebuilt for a new sheet only";
    std::unique_ptr<SummaryWindow> vhf(show(false)); // it counted the other session, so it makes way
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull() && vhf);
    vhf.reset();
    EXPECT_EQ(show(true), nullptr) << "a refused preparation builds nothing";
}

TEST_F(SummaryWindowTest, CategoryRuleOnOpeningAndOnClick)
{
    fx.settings.setValue(keys::kJnm, section, keys::kCategorie, "3");
    auto w = open();
    for (const char* name : {"Reference", "Operateurs", "Commune"})
        EXPECT_TRUE(text(w.get(), name).isEmpty() && !field(w.get(), name)->isEnabled()) << name;
    click(w.get(), "Option1_2");
    EXPECT_TRUE(field(w.get(), "Reference")->isEnabled());
    field(w.get(), "Reference")->setText("DMF 59045");
    click(w.get(), "Option1_3");
    EXPECT_TRUE(text(w.get(), "Reference").isEmpty());
    // A stored category outside 1-3 selects nothing and leaves the fields alone.
    fx.settings.setValue(keys::kJnm, section, keys::kCategorie, "9");
    w = open();
    EXPECT_EQ(w->findChild<QButtonGroup*>("Option1")->checkedId(), -1);
    EXPECT_TRUE(text(w.get(), "Reference") == "DMF 77012" && field(w.get(), "Reference")->isEnabled());
}

TEST_F(SummaryWindowTest, PrintAndSaveTakeTheEditedFieldsOrReportWhyNot)
{
    auto w = open();
    field(w.get(), "Nom")->setText("Martin");
    field(w.get(), "QSO1")->setText("9");
    field(w.get(), "Tot_Points")->setText("100");
    click(w.get(), "Imprimer");
    ASSERT_EQ(fx.printer.documents().size(), 1);
    EXPECT_TRUE(fx.printer.texts(0).contains("     3.5 Mhz SSB     9       0       0       0       0       "));
    EXPECT_TRUE(fx.settings.writes().isEmpty() && !fx.dir.exists(sheetName)) << "printing stores and writes nothing";
    click(w.get(), "Enregistrer");
    ASSERT_EQ(fx.settings.writes().size(), 10);
    EXPECT_EQ(fx.settings.writes()[0], "JNM|Setup F4XYZ|Nom=Martin");
    EXPECT_EQ(text(w.get(), "Total_Points"), "3700") << "100 x (30 + 3 + 4)";
    EXPECT_EQ(fx.dialogs.texts(),
              QStringList{"La feuille récapitulative JNM de F4XYZ a été sauvegardée sous le nom : " + sheetName});
    const QByteArray sheet = fx.dir.read(sheetName);
    EXPECT_TRUE(sheet.contains("     NOM : Martin     "));
    EXPECT_TRUE(sheet.contains("       Total         5       100     30      3       4       \r\n\r\n" +
                               QByteArray(20, ' ') + "TOTAL DES POINTS : 3700\r\n"));
    // A failed save is reported and the previous sheet kept.
    fx.dialogs.clear();
    fx.dir.write(sheetName, "previous");
    fx.files.failWrites(1, FileResult::kDiskFull);
    click(w.get(), "Enregistrer");
    EXPECT_EQ(fx.dialogs.texts(), QStringList{"Erreur N° 61 (disque plein) : le fichier " + sheetName +
                                              " n'a pas pu être écrit ; un fichier précédent de ce "
                                              "nom reste inchangé."});
    EXPECT_EQ(fx.dir.read(sheetName), "previous");
    // A missing multiplier file is named and nothing can be saved or printed.
    QFile::remove(fx.dir.file("F4XYZ_Prefixe_CW.txt"));
    fx.dialogs.clear();
    w = open();
    EXPECT_EQ(fx.dialogs.texts(),
              QStringList{"Le fichier F4XYZ_Prefixe_CW.txt est introuvable. La feuille récapitulative "
                          "ne peut pas être comptée : elle ne sera ni enregistrée ni imprimée."});
    EXPECT_FALSE(w->findChild<QPushButton*>("Enregistrer")->isEnabled());
    EXPECT_FALSE(w->findChild<QPushButton*>("Imprimer")->isEnabled());
}

} // namespace
} // namespace tv
