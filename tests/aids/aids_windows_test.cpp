// The operator aids in the main window, driven from the keyboard.

#include "aids/aids_panel.h"
#include "app/main_window.h"
#include "logstore/qso_line.h"
#include "station/logbook.h"
#include "tests/support/test_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace tv {
namespace {

class AidsWindowTest : public ::testing::Test {
protected:
    test::Fixture fx;
    std::unique_ptr<MainWindow> w;
    AidsPanel* aids = nullptr;

    void SetUp() override
    {
        fx.installStation("F0ZZZ");
        fx.settings.setValue("JNM", "Setup F0ZZZ", "bande Utilisee", "2"); // 14 Mhz
        fx.clock.set({2015, 6, 21, 9, 41, 0}, {2015, 6, 21, 11, 41, 0});
        fx.dir.write("MASTER.SCP", "# test master\nF5ABC\nF5ABD\nDL1ABC\nON4XYZ\n");
    }

    void open(const QString& master = "MASTER.SCP")
    {
        Services services = fx.services();
        services.masterCallsignFile = fx.dir.file(master);
        w = std::make_unique<MainWindow>(services);
        w->show();
        QApplication::setActiveWindow(w.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
        ASSERT_TRUE(w->start());
        aids = w->findChild<AidsPanel*>();
        ASSERT_NE(aids, nullptr);
        QTRY_VERIFY(aids->indexReady());
        fx.dialogs.clear();
    }

    template <typename T> T* find(const char* name) { return test::child<T>(*w, name); }
    QWidget* focused() const { return QApplication::focusWidget(); }
    QString focusName() const { return focused() ? focused()->objectName() : QString(); }
    QStringList suggestions()
    {
        QStringList out;
        auto* list = find<QListWidget>("SuperCheckListe");
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
    void typeInCallsign(const QString& text)
    {
        auto* call = find<QLineEdit>("Indicatif_A");
        call->clear();
        QTest::keyClicks(call, text);
    }
    void quickLog() { QTest::keyClick(focused(), Qt::Key_Return, Qt::ControlModifier); }
    QString boardCell(int row, int column) { return find<QTableWidget>("TableauGrille")->item(row, column)->text(); }
};

TEST_F(AidsWindowTest, TypedCallsignsShowTheKnownOnesAndF8CopiesTheFirst)
{
    fx.dir.write("F0ZZZ.log", test::crlf({test::qso("21/06/15", "F5ABD", "09:00", "14 Mhz", "SSB", "59"),
                                          test::qso("21/06/15", "F5ABE", "09:10", "7.0 Mhz", "SSB", "62")}));
    const struct {
        const char* master;
        const char* typed;
        QStringList shown;
    } cases[] = {
        {"MASTER.SCP", "F5AB", {"F5ABC", "F5ABD *", "F5ABE"}}, // worked on 14 Mhz SSB: marked; F5ABE from the log
        {"MASTER.SCP", "F5ABX", {"~ F5ABC", "~ F5ABD *", "~ F5ABE"}},
        {"MASTER.SCP", "1AB", {"DL1ABC"}},
        {"MASTER.SCP", "F", {}},
        {"ABSENT.SCP", "F5AB", {"F5ABD *", "F5ABE"}}, // no master file: the log alone
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        open(c.master);
        typeInCallsign(c.typed);
        EXPECT_EQ(suggestions(), c.shown);
    }
    typeInCallsign("F5AB");
    QTest::keyClick(find<QLineEdit>("Indicatif_A"), Qt::Key_F8);
    EXPECT_EQ(find<QLineEdit>("Indicatif_A")->text(), "F5ABD");
    EXPECT_EQ(focusName(), "Indicatif_A") << "the list never takes the focus";
    EXPECT_TRUE(fx.dialogs.texts().isEmpty()) << "F8 checks nothing: Enter still does";
}

TEST_F(AidsWindowTest, CtrlReturnRecordsAPlainQsoAndStopsWhereTheOperatorIsNeeded)
{
    open();
    EXPECT_EQ(find<QLabel>("Cadence")->text(), "Cadence : 0/h (10 min), 0/h (60 min), aucun QSO");
    fx.dialogs.answer(true); // new entity DL
    typeInCallsign("dl1abc");
    quickLog();
    ASSERT_EQ(w->logbook().count(), 1) << fx.dialogs.texts().join(" | ");
    const QByteArray dl = w->logbook().lines()[0];
    EXPECT_EQ(qsoline::field(dl, logcol::kCallsign), "DL1ABC");
    EXPECT_EQ(qsoline::field(dl, logcol::kDate), "21/06/15");
    EXPECT_EQ(qsoline::field(dl, logcol::kStart), "09:41");
    EXPECT_EQ(qsoline::field(dl, logcol::kEnd), "09:41");
    EXPECT_EQ(qsoline::field(dl, logcol::kRstSent), "59");
    EXPECT_EQ(qsoline::field(dl, logcol::kRstReceived), "59");
    EXPECT_EQ(qsoline::rawField(dl, logcol::kNewPrefixFlag), "1");
    EXPECT_EQ(fx.dir.read("F0ZZZ.log"), dl + "\r\n");
    EXPECT_EQ(focusName(), "Indicatif_A");

    // A French station needs its department: the walk stops there.
    fx.dialogs.clear();
    fx.dialogs.answer(true); // new entity F
    typeInCallsign("F5XYZ");
    quickLog();
    EXPECT_EQ(fx.dialogs.last(), "Attention le n° de departement est obligatoire pour la France");
    EXPECT_EQ(focusName(), "Depart_A");
    EXPECT_EQ(w->logbook().count(), 1);
    EXPECT_EQ(find<QLabel>("TableauEntite")->text(), "DXCC F : nouveau ici");
    QTest::keyClicks(focused(), "59");
    EXPECT_EQ(find<QLabel>("TableauDepartement")->text(), "Dpt 59 : nouveau ici");
    quickLog(); // the nomenclature's question unanswered: No
    ASSERT_EQ(w->logbook().count(), 2);
    EXPECT_EQ(qsoline::field(w->logbook().lines()[1], logcol::kDepartment), "59");
    EXPECT_EQ(qsoline::rawField(w->logbook().lines()[1], logcol::kNewPrefixFlag), "1");

    // The board counts them on 14 Mhz SSB (HF rows: 3.5, 7.0, 14 ... each SSB then CW).
    EXPECT_EQ(boardCell(4, 0), "14 Mhz");
    EXPECT_EQ(boardCell(4, 1), "SSB");
    EXPECT_EQ(boardCell(4, 2), "1/96");
    EXPECT_EQ(boardCell(4, 3), "2");
    EXPECT_EQ(boardCell(5, 2), "0/96") << "CW apart";
    typeInCallsign("F6AAA");
    QTest::keyClick(focused(), Qt::Key_Return);
    QTest::keyClicks(focused(), "59");
    EXPECT_EQ(find<QLabel>("TableauDepartement")->text(), QString::fromUtf8("Dpt 59 : déjà contacté"));
    EXPECT_EQ(find<QLabel>("TableauEntite")->text(), QString::fromUtf8("DXCC F : déjà contacté"));

    // Three minutes later, on the clock's tick.
    fx.clock.set({2015, 6, 21, 9, 44, 0}, {2015, 6, 21, 11, 44, 0});
    aids->tick();
    EXPECT_EQ(find<QLabel>("Cadence")->text(), "Cadence : 12/h (10 min), 2/h (60 min), dernier QSO il y a 3 min");
}

TEST_F(AidsWindowTest, MillsLearnedFromALogAreOfferedAndFillTheName)
{
    QsoRecord r = test::frenchMillRecord();
    r.millName = "Moulin de Hondschoote";
    fx.dir.write("ancien.log", test::crlf({qsoline::build(r).value_or(QByteArray())}));
    r.millReference = "WIM 7001"; // the other session's archive is learned at the start
    r.millName = "De Roos";
    fx.dir.write("F0ZZZ.vhf", test::crlf({qsoline::build(r).value_or(QByteArray())}));
    open();
    EXPECT_EQ(fx.dir.read("Historique_Moulins.txt"), "WIM 7001;59;De Roos\r\n");
    const struct {
        QString chosen;
        QStringList shown;
    } learned[] = {
        {fx.dir.file("ancien.log"), {"1 moulin(s) nouveau(x) appris de ancien.log ; l'historique en compte 2."}},
        {QString(), {}}, // cancelled: nothing
        {fx.dir.file("absent.log"), {QString::fromUtf8("Erreur N° 53")}},
    };
    for (const auto& c : learned) {
        SCOPED_TRACE(c.chosen);
        fx.dialogs.clear();
        fx.dialogs.answerFile(c.chosen);
        find<QAction>("Mnu_Apprendre_Moulins")->trigger();
        ASSERT_EQ(fx.dialogs.texts().size(), 1 + c.shown.size());
        if (!c.shown.isEmpty())
            EXPECT_TRUE(fx.dialogs.last().startsWith(c.shown[0])) << fx.dialogs.last();
    }
    EXPECT_EQ(fx.dir.read("Historique_Moulins.txt"), "DMF 59045;59;Moulin de Hondschoote\r\nWIM 7001;59;De Roos\r\n");

    auto* number = find<QLineEdit>("QTH_A");
    number->setEnabled(true);
    number->setFocus();
    QTest::keyClicks(number, "590");
    QCompleter* completer = w->findChild<QCompleter*>("CompleteurMoulins");
    ASSERT_NE(completer, nullptr);
    ASSERT_TRUE(completer->popup()->isVisible());
    ASSERT_EQ(completer->completionModel()->rowCount(), 1);
    EXPECT_EQ(completer->completionModel()->index(0, 0).data().toString(),
              QString::fromUtf8("DMF 59045 — 59 — Moulin de Hondschoote"));
    completer->popup()->setCurrentIndex(completer->completionModel()->index(0, 0));
    QTest::keyClick(completer->popup(), Qt::Key_Return);
    EXPECT_EQ(number->text(), "59045");
    EXPECT_EQ(find<QLineEdit>("Remarques_A")->text(), "MOULIN DE HONDSCHOOTE") << "as typed: in capitals";
    QTest::keyClicks(number, "X");
    EXPECT_FALSE(completer->popup()->isVisible()) << "no mill begins so";
}

} // namespace
} // namespace tv
