#include "app/department_grid_widget.h"
#include "app/main_window.h"
#include "logstore/log_columns.h"
#include "tests/support/test_support.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::child;
using test::put;
using test::qso;

QStringList texts(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// The main window on a small log of the HF session, 14 Mhz SSB in use.
class StatsWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fx.installStation("F0ZZZ");
        fx.settings.setValue("JNM", "Setup F0ZZZ", "bande Utilisee", "2");
        log = {qso("21/06/15", "F5ABC", "09:41", "14 Mhz", "SSB", "05", "1"),
               qso("21/06/15", "TK5XY", "09:45", "14 Mhz", "SSB", "2A"),
               qso("21/06/15", "ON4AA", "09:50", "14 Mhz", "CW"),
               qso("21/06/15", "F6XYZ", "09:55", "7.0 Mhz", "SSB", "05"),
               qso("21/06/15", "TK5XZ", "10:00", "14 Mhz", "SSB", "2a")};
        log[0] = put(log[0], logcol::kMillReference.first, "DMF 05012");
        fx.dir.write("F0ZZZ.log", test::crlf({log[0], log[1], log[2], log[3], log[4]}));
        window = std::make_unique<MainWindow>(fx.services());
        ASSERT_TRUE(window->start());
        fx.dialogs.clear();
    }
    template <typename T> T* opened(const char* name) { return child<T>(*window, name); }
    void trigger(const char* action) { child<QAction>(*window, action)->trigger(); }

    test::Fixture fx;
    QList<QByteArray> log;
    std::unique_ptr<MainWindow> window;
};

TEST_F(StatsWindowsTest, DepartmentWindowListsTheCellsQsosCorsicaInEitherCase)
{
    auto* grid = child<DepartmentGridWidget>(*window, "Frame3");
    const struct {
        int cell;
        QList<int> rows;
        const char* count;
    } cases[] = {{96, {1, 4}, "2  QSO's effectués avec le département 2a"},
                 {5, {0, 3}, "2  QSO's effectués avec le département 05"},
                 {13, {}, "0  QSO's effectués avec le département 13"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cell);
        QTest::mouseDClick(grid->cell(c.cell), Qt::LeftButton);
        auto* shown = opened<QWidget>("Affiche_Dpt");
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->windowTitle(), QString::fromUtf8("QSO's effectués par département "));
        QStringList expected;
        for (int row : c.rows)
            expected << QString::fromLatin1(qsoline::listEntry(row + 1, log[row]).left(116));
        EXPECT_EQ(texts(child<QListWidget>(*shown, "QSO_DU_Dpt")), expected);
        EXPECT_EQ(child<QLabel>(*shown, "Label2")->text(), QString::fromUtf8(c.count));
    }
    EXPECT_EQ(window->findChildren<QWidget*>("Affiche_Dpt").size(), 1) << "one window, showing the last cell";
}

TEST_F(StatsWindowsTest, SearchRefusesListsAndJumpsToTheQsoInTheMainList)
{
    QTest::mouseClick(child<QPushButton>(*window, "Recherche"), Qt::LeftButton);
    auto* search = opened<QWidget>("Recherche_Indicatif");
    ASSERT_NE(search, nullptr);
    auto* results = child<QListWidget>(*search, "QSO_Effectues");

    auto* locator = child<QLineEdit>(*search, "Loca");
    QTest::keyClicks(locator, "jn18du");
    EXPECT_EQ(locator->text(), "JN18DU") << "letters typed in capitals";
    QTest::keyClick(locator, Qt::Key_Return);
    EXPECT_EQ(fx.dialogs.last(), "Attention seulement les 4 premiers caracteres du locator");
    EXPECT_TRUE(locator->text().isEmpty());

    auto* callsign = child<QLineEdit>(*search, "Indica");
    QTest::keyClicks(callsign, "zz9");
    QTest::keyClick(callsign, Qt::Key_Return);
    EXPECT_EQ(fx.dialogs.last(), QString::fromUtf8("Pas de QSO trouvé"));
    EXPECT_EQ(results->count(), 0);

    QTest::keyClicks(callsign, "tk5");
    QTest::keyClick(callsign, Qt::Key_Return);
    ASSERT_EQ(results->count(), 2);
    EXPECT_TRUE(callsign->text().isEmpty());
    EXPECT_EQ(results->item(1)->text(), QString::fromLatin1("    5 " + log[4].left(128) + "S"));

    // The chosen QSO is selected in the main list.
    results->itemClicked(results->item(1));
    EXPECT_EQ(child<QTableView>(*window, "Liste_QSO")->currentIndex().row(), 4);
    QApplication::processEvents();
    EXPECT_EQ(window->findChild<QWidget*>("Recherche_Indicatif"), nullptr) << "the search window closes";
}

TEST_F(StatsWindowsTest, StatisticsWindowsShowTheLogAndFollowIt)
{
    trigger("Mnu_Stat_Dist");
    auto* distances = opened<QWidget>("Statistiques");
    ASSERT_NE(distances, nullptr);
    EXPECT_EQ(child<QLineEdit>(*distances, "Tot1")->text(), "0");
    EXPECT_TRUE(child<QLineEdit>(*distances, "Text11_1")->text().isEmpty());

    trigger("Mnu_Stat_DFCF");
    auto* mills = opened<QWidget>("Statistique_DFCF");
    ASSERT_NE(mills, nullptr);
    EXPECT_EQ(child<QComboBox>(*mills, "Bande_E")->currentText(), "14 Mhz") << "the band in use";
    EXPECT_EQ(child<QComboBox>(*mills, "Mode_A")->currentText(), "SSB");
    EXPECT_EQ(child<QListWidget>(*mills, "Liste_Moulins")->count(), 0) << "empty until Afficher";
    QTest::mouseClick(child<QPushButton>(*mills, "Afficher"), Qt::LeftButton);
    EXPECT_EQ(child<QLabel>(*mills, "TotActiv")->text(), "1");
    EXPECT_EQ(child<QLabel>(*mills, "BandActiv")->text(), "14 Mhz");
    EXPECT_EQ(child<QLabel>(*mills, "TypActiv")->text(), "DMF");

    trigger("Mnu_Stat_Prefixe");
    auto* prefixes = opened<QWidget>("Statistique_Prefixe");
    ASSERT_NE(prefixes, nullptr);
    auto* entities = child<QListWidget>(*prefixes, "Liste_Prefixes");
    QTest::mouseClick(child<QPushButton>(*prefixes, "Afficher"), Qt::LeftButton);
    EXPECT_EQ(texts(entities), QStringList({"  F     France", "  TK    Corsica"}));
    child<QComboBox>(*prefixes, "Mode_AX")->setCurrentText("CW");
    QTest::mouseClick(child<QPushButton>(*prefixes, "Afficher"), Qt::LeftButton);
    EXPECT_EQ(texts(entities), QStringList({"  ON    Belgium"}));

    // A 144 Mhz QSO and a CW mill recorded: every open window counts it at once.
    QByteArray vhf = qso("21/06/15", "F1AAA", "10:10", "144 Mhz", "SSB", "", "0", "1000");
    ASSERT_TRUE(window->logbook().record({vhf}).logWritten());
    QByteArray cwMill = qso("21/06/15", "G3ABC", "10:20", "14 Mhz", "CW", "", "1");
    ASSERT_TRUE(window->logbook().record({cwMill}).logWritten());
    EXPECT_EQ(child<QLineEdit>(*distances, "Text11_10")->text(), "1") << "1000 km counts in 900 a 1000 Km";
    EXPECT_EQ(child<QLineEdit>(*distances, "Tot1")->text(), "1");
    EXPECT_EQ(texts(entities), QStringList({"  G     England", "  ON    Belgium"}));
    EXPECT_EQ(child<QLabel>(*mills, "TotActiv")->text(), "1") << "the SSB list shown is unchanged";
    EXPECT_TRUE(fx.dialogs.texts().isEmpty()) << fx.dialogs.texts().join('\n');
}

} // namespace
} // namespace tv
