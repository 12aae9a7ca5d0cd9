#include "app/main_window.h"
#include "logstore/qso_line.h"
#include "station/logbook.h"
#include "tests/support/test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace tv {
namespace {

// The main window driven from the keyboard, as an operator logs.
class MainWindowEntryTest : public ::testing::Test {
protected:
    test::Fixture fx;
    std::unique_ptr<MainWindow> w;

    void SetUp() override
    {
        fx.installStation("F0ZZZ");
        fx.settings.setValue("JNM", "Setup F0ZZZ", "bande Utilisee", "2");
        fx.clock.set({2015, 6, 21, 9, 41, 0}, {2015, 6, 21, 11, 41, 0});
        open();
    }

    void open()
    {
        w = std::make_unique<MainWindow>(fx.services());
        w->show();
        QApplication::setActiveWindow(w.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
        ASSERT_TRUE(w->start());
        fx.dialogs.clear();
    }

    template <typename T> T* find(const char* name) { return test::child<T>(*w, name); }
    QWidget* focused() const { return QApplication::focusWidget(); }
    // Types into the widget that has the focus, then Enter.
    void typeEnter(const QString& text = QString())
    {
        QWidget* target = focused();
        ASSERT_NE(target, nullptr);
        if (!text.isEmpty())
            QTest::keyClicks(target, text);
        QTest::keyClick(target, Qt::Key_Return);
    }
    QString focusName() const { return focused() ? focused()->objectName() : QString(); }
};

TEST_F(MainWindowEntryTest, AContactIsLoggedFromTheKeyboardAlone)
{
    EXPECT_EQ(focusName(), "Indicatif_A") << "a callsign typed at once lands in its field";
    fx.dialogs.answer(true); // new entity F
    typeEnter("f5abc");
    EXPECT_EQ(find<QLineEdit>("Indicatif_A")->text(), "F5ABC") << "typed in upper case";
    EXPECT_EQ(focusName(), "Depart_A");
    typeEnter("59");
    EXPECT_EQ(fx.dialogs.last(), QString::fromUtf8("Attention nouveau département le 59 Nord"));
    EXPECT_EQ(focusName(), "Activite_A");
    typeEnter(); // QSO
    EXPECT_EQ(find<QLineEdit>("Date_A")->text(), "21/06/15");
    EXPECT_EQ(find<QLineEdit>("Debut_A")->text(), "09:41");
    EXPECT_EQ(focusName(), "RSTR_A");
    typeEnter("57"); // replaces the proposed 59
    typeEnter();
    EXPECT_EQ(focusName(), "Prenom_A");
    typeEnter("Jean");
    EXPECT_EQ(focusName(), "Remarques_A");
    typeEnter();
    EXPECT_EQ(focusName(), "Enregistrer");
    fx.dialogs.answer(false); // nomenclature: no
    QTest::keyClick(focused(), Qt::Key_Return);

    const QList<QByteArray> lines = w->qsoModel().lines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(fx.dir.read("F0ZZZ.log"), lines[0] + "\r\n");
    EXPECT_EQ(qsoline::field(lines[0], logcol::kCallsign), "F5ABC");
    EXPECT_EQ(qsoline::field(lines[0], logcol::kBand), "14 Mhz");
    EXPECT_EQ(qsoline::field(lines[0], logcol::kFirstName), "JEAN");
    EXPECT_EQ(qsoline::field(lines[0], logcol::kPoints), "3");
    EXPECT_EQ(qsoline::field(lines[0], logcol::kRstReceived), "57");
    EXPECT_EQ(focusName(), "Indicatif_A");
    EXPECT_EQ(find<QGroupBox>("Frame4")->title(), QString::fromUtf8("QSO numéro 2"));
    EXPECT_EQ(find<QLabel>("P_QSO")->text(), "6") << "3 points x (department + entity)";
    EXPECT_EQ(find<QGroupBox>("Frame3")->title(), QString::fromUtf8(" 1 Départements sur 14 Mhz en SSB"));
    EXPECT_EQ(find<QLineEdit>("Dpt_59")->styleSheet().contains("#ffc0c0"), true);

    // The same station again is a duplicate, and Escape abandons it.
    typeEnter("F5ABC");
    EXPECT_EQ(find<QLabel>("Label5")->text(), QString::fromUtf8("Contacté le 21/06/15"));
    QTest::keyClick(focused(), Qt::Key_Escape);
    EXPECT_EQ(find<QLineEdit>("Indicatif_A")->text(), "");
    EXPECT_EQ(focusName(), "Indicatif_A");
}

TEST_F(MainWindowEntryTest, AQsoRecordedThroughTheLogbookAloneIsFollowed)
{
    QsoWrite qso;
    qso.line = test::qso("21/06/15", "F5ABC", "09:41", "14 Mhz", "SSB", "59");
    qso.departmentToMark = "59";
    qso.entityToMark = "F";
    ASSERT_TRUE(w->logbook().record(qso).logWritten());
    EXPECT_EQ(w->qsoModel().rowCount(), 1);
    EXPECT_EQ(find<QGroupBox>("Frame4")->title(), QString::fromUtf8("QSO numéro 2"));
    EXPECT_EQ(find<QLabel>("P_QSO")->text(), "6");
    EXPECT_TRUE(find<QLineEdit>("Dpt_59")->styleSheet().contains("#ffc0c0"));
    EXPECT_EQ(find<QGroupBox>("Frame3")->title().left(2), " 1");
}

TEST_F(MainWindowEntryTest, AMouseEditIsCheckedAndTheGridKeepsTheBandInUse)
{
    const QByteArray a = test::qso("21/06/15", "F1AAA", "09:00", "14 Mhz", "SSB", "59");
    const QByteArray b = test::qso("21/06/15", "F1BBB", "10:00", "14 Mhz", "SSB", "62");
    fx.dir.write("F0ZZZ.log", test::crlf({a, b}));
    open();
    auto* list = find<QTableView>("Liste_QSO");
    list->selectRow(1);
    find<QPushButton>("Editer")->click();
    EXPECT_EQ(find<QPushButton>("Enregistrer")->text(), "Valider");
    EXPECT_FALSE(find<QPushButton>("Effacer")->isEnabled());
    find<QLineEdit>("Depart_A")->setText("ZZ");
    find<QComboBox>("Bande_A")->setCurrentText("21 Mhz");
    find<QPushButton>("Enregistrer")->click();
    EXPECT_EQ(fx.dialogs.last(), QString::fromUtf8("Attention le département ZZ n'existe pas"));
    EXPECT_EQ(focusName(), "Depart_A");
    EXPECT_EQ(fx.dir.read("F0ZZZ.log"), test::crlf({a, b}));

    find<QLineEdit>("Depart_A")->setText("75");
    find<QPushButton>("Enregistrer")->click();
    ASSERT_EQ(w->qsoModel().rowCount(), 2);
    EXPECT_EQ(qsoline::field(w->qsoModel().line(1), logcol::kBand), "21 Mhz");
    EXPECT_EQ(qsoline::field(w->qsoModel().line(1), logcol::kDepartment), "75");
    EXPECT_EQ(find<QComboBox>("Bande_A")->currentText(), "14 Mhz");
    EXPECT_TRUE(find<QGroupBox>("Frame3")->title().endsWith("14 Mhz en SSB")) << "the band in use, not the edited one";
    EXPECT_EQ(find<QGroupBox>("Frame4")->title(), "QSO numero 3") << "the list reload writes the caption";
    EXPECT_EQ(find<QPushButton>("Enregistrer")->text(), "QSO Suivant");

    list->selectRow(0);
    fx.dialogs.answer(true);
    find<QPushButton>("Effacer")->click();
    ASSERT_EQ(w->qsoModel().rowCount(), 1);
    EXPECT_EQ(qsoline::field(w->qsoModel().line(0), logcol::kCallsign), "F1BBB");
    EXPECT_EQ(find<QGroupBox>("Frame4")->title(), "QSO numero 2");
}

} // namespace
} // namespace tv
