#include "app/station_dialog.h"
#include "station/station_session.h"
#include "tests/support/test_support.h"

#include <QDir>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

namespace tv {
namespace {

using test::crlf;

const QByteArray kDepartmentTemplate = crlf({"01 Ain                 00000000000000000"});
const QByteArray kPrefixTemplate = crlf({"F    France            00000000000000000"});
const QByteArray kLog = crlf({test::qso("21/06/15", "F5ABC", "09:41", "14 Mhz", "SSB", "59")});
const QString kBadCharacters = "L'indicatif ne doit comporter que des lettres des chiffres ou le signe _ ";
const QString kBadDate = "Attention le format date doit etre jj/mm/aa";

class StationDialogTest : public ::testing::Test {
protected:
    test::Fixture fx;
    StationSession session;

    void SetUp() override
    {
        fx.dir.write("FXXXX.log", "");
        fx.dir.write("FXXXX_Departement.txt", kDepartmentTemplate);
        fx.dir.write("FXXXX_Prefixe.txt", kPrefixTemplate);
    }

    // A station with its files and settings, current in the settings and the session.
    void knownStation(const QString& callsign, const QString& sessionText = "HF")
    {
        for (const QString suffix :
             {".log", "_Departement_SSB.txt", "_Departement_CW.txt", "_Prefixe_SSB.txt", "_Prefixe_CW.txt"})
            fx.dir.write(callsign + suffix, suffix == ".log" ? kLog : QByteArray("marks " + suffix.toLatin1()));
        for (const char* key : {"bande Utilisee", "Mode Utilise", "Heure UTC", "Date Automatique"})
            fx.settings.setValue("JNM", "Setup " + callsign, key, "3");
        test::setCurrentStation(fx.settings, callsign, sessionText);
        session.setStation(callsign, "JN18DU");
        session.setEventDate("21/06/15");
    }

    std::unique_ptr<StationDialog> open() { return std::make_unique<StationDialog>(fx.services(), session); }
    static QLineEdit* field(StationDialog& d, const char* name) { return d.findChild<QLineEdit*>(name); }
    static QPushButton* button(StationDialog& d) { return d.findChild<QPushButton*>("Validation"); }
    static void enter(QLineEdit* f) { QTest::keyClick(f, Qt::Key_Return); }

    // Fills the three fields, follows the Enter chain and presses `Validation`.
    static void validate(StationDialog& d, const QString& callsign, const QString& locator, const QString& date)
    {
        field(d, "New_Indicatif")->setText(callsign);
        field(d, "New_Locator")->setText(locator);
        field(d, "Nouv_Date")->setText(date);
        enter(field(d, "New_Indicatif"));
        if (field(d, "New_Locator")->isEnabled())
            enter(field(d, "New_Locator"));
        enter(field(d, "Nouv_Date"));
        button(d)->click();
    }
};

TEST_F(StationDialogTest, OpensOnTheCurrentStationAndTheEnterChainSkipsTheLocatorInHf)
{
    for (const char* sessionText : {"HF", "VHF"}) {
        SCOPED_TRACE(sessionText);
        knownStation("F0ZZZ_P", sessionText);
        auto d = open();
        d->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(d.get()));
        QLineEdit* call = field(*d, "New_Indicatif");
        QLineEdit* loc = field(*d, "New_Locator");
        QLineEdit* date = field(*d, "Nouv_Date");
        EXPECT_EQ(QStringList({call->text(), loc->text(), date->text()}),
                  QStringList({"F0ZZZ_P", "JN18DU", "21/06/15"}));
        EXPECT_FALSE(d->firstInstallation());
        EXPECT_FALSE(loc->isEnabled() || date->isEnabled() || button(*d)->isEnabled());
        call->clear();
        QTest::keyClicks(call, "f0zzz/p");
        EXPECT_EQ(call->text(), "F0ZZZ_P");
        enter(call);
        const bool vhf = QString(sessionText) == "VHF";
        EXPECT_EQ(loc->isEnabled(), vhf);
        if (vhf)
            enter(loc);
        EXPECT_TRUE(date->isEnabled() && date->hasFocus());
        fx.dialogs.clear();
        date->setText("");
        enter(date);
        EXPECT_EQ(fx.dialogs.texts(), QStringList{"Attention vous devez entrer une date"});
        EXPECT_FALSE(button(*d)->isEnabled());
        date->setText("21/06/15");
        enter(date);
        EXPECT_TRUE(button(*d)->isEnabled());
    }
    fx.settings.setValue("JNM", "Setup ", "Indicatif Station", "FXXXX");
    EXPECT_TRUE(open()->firstInstallation());
}

TEST_F(StationDialogTest, RefusedEntriesAndUnusableFilesShowTheirMessageAndChangeNothing)
{
    const QString unchanged = "\r\nLa station n'a pas été changée.";
    const struct {
        QString callsign, locator, date, message;
        std::function<void()> prepare;
    } cases[] = {
        {"", "------", "21/06/15", "Vous devez entrer un indicatif"},
        {"F0ZZZ_ABCDEF", "------", "21/6/15", kBadDate}, // 12 characters pass: the date is checked next
        {"F0ZZZ_ABCDEFG", "------", "21/06/15", "12 caracteres maximum pour l'indicatif"},
        // Only capitals, digits and "_" may name the station's files; the field is emptied. (A "/"
        // never gets there: the field turns it into "_".)
        {"..\\F0", "------", "21/06/15", kBadCharacters},
        {"FXXXX", "------", "21/06/15", "Vous devez entrer un indicatif"},
        {"F0ZZZ", "", "21/06/15", "Vous devez entrer un locator"},
        {"F0ZZZ", "JN18D", "21/06/15", "Le locator doit comporter 6 caracteres"},
        {"F0ZZZ", "JN1XDU", "21/06/15", "Erreur dans la saisie du locator"},
        // A log that exists but cannot be read is no new station.
        {"F0ZZZ", "------", "22/06/15",
         "Impossible de lire le fichier F0ZZZ.log : permission refusée (erreur N° 70)" + unchanged,
         [this] { fx.files.failReadsOf("F0ZZZ.log", 70); }},
        // A folder in the log's place is never replaced.
        {"F0ZZZ_P", "------", "22/06/15", "", [this] { QDir(fx.dir.path()).mkdir("F0ZZZ_P.log"); }},
    };
    knownStation("F0ZZZ");
    for (const auto& c : cases) {
        SCOPED_TRACE((c.callsign + " " + c.locator + " " + c.date).toStdString());
        if (c.prepare)
            c.prepare();
        const auto before = fx.dir.files();
        fx.dialogs.clear();
        auto d = open();
        QSignalSpy validated(d.get(), &StationDialog::stationValidated);
        // The Enter chain is followed with the station's own values, then the fields change.
        enter(field(*d, "New_Indicatif"));
        enter(field(*d, "Nouv_Date"));
        ASSERT_TRUE(button(*d)->isEnabled());
        field(*d, "New_Indicatif")->setText(c.callsign);
        field(*d, "New_Locator")->setText(c.locator);
        field(*d, "Nouv_Date")->setText(c.date);
        button(*d)->click();
        ASSERT_EQ(fx.dialogs.texts().size(), 1);
        if (c.message.isEmpty())
            EXPECT_TRUE(fx.dialogs.last().contains("F0ZZZ_P.log") && fx.dialogs.last().endsWith(unchanged));
        else
            EXPECT_EQ(fx.dialogs.last(), c.message);
        EXPECT_EQ(field(*d, "New_Indicatif")->text().isEmpty(), c.callsign.isEmpty() || c.message == kBadCharacters);
        EXPECT_EQ(validated.count(), 0);
        EXPECT_NE(d->result(), QDialog::Accepted);
        EXPECT_TRUE(fx.settings.writes().isEmpty());
        EXPECT_EQ(fx.dir.files(), before);
        EXPECT_EQ(session.storedCallsign(), "F0ZZZ");
        fx.files.failReadsOf(QString(), 0);
    }
}

// The settings a new station gets, in the order they are written.
QStringList newStationWrites(const QString& call, const QString& date)
{
    QStringList out{"JNM|Setup |Indicatif Station=" + call, "JNM|Setup |Locator Station=------"};
    for (const QString& write :
         {"Indicatif Station=" + call, QString("Locator Station=------"), QString("Date Automatique=True"),
          QString("Heure UTC=True"), QString("Activite0=QSO"), QString("Activite1=DFCF"), QString("Activite2=DMF"),
          QString("Activite3=DIFI"), QString("Activite4=DIFM"), QString("NB Activite=5"), QString("bande Utilisee=0"),
          QString("Mode Utilise=0"), QString("Activite=0"), "Date JNM=" + date})
        out << "JNM|Setup " + call + "|" + write;
    return out;
}

TEST_F(StationDialogTest, ValidationCreatesANewStationAndWritesOnlyTheDateOfAKnownOne)
{
    // One station's life, step by step; each step leaves every other station's files as they were.
    const struct {
        const char* step;
        std::function<void()> prepare;
        QString callsign, locator, date;
        QByteArray log; // the station's log afterwards
        QStringList writes;
    } cases[] = {
        {"first installation keeps the log there", [this] { fx.dir.write("F0ZZZ.log", kLog); }, "F0ZZZ", "------",
         "21/06/15", kLog, newStationWrites("F0ZZZ", "21/06/15")},
        {"known station", [this] { fx.settings.setValue("JNM", "Setup F0ZZZ", "Session", "VHF"); }, "F0ZZZ", "JN18EU",
         "19/06/16", kLog,
         QStringList{"JNM|Setup |Indicatif Station=F0ZZZ", "JNM|Setup |Locator Station=JN18EU",
                     "JNM|Setup F0ZZZ|Date JNM=19/06/16"}},
        {"new callsign", [] {}, "F0ZZZ_P", "------", "20/06/15", "", newStationWrites("F0ZZZ_P", "20/06/15")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        c.prepare();
        fx.settings.clearWrites();
        QMap<QString, QByteArray> others = fx.dir.files();
        others.removeIf(
            [&](auto it) { return it.key().startsWith(c.callsign + ".") || it.key().startsWith(c.callsign + "_"); });
        auto d = open();
        QSignalSpy validated(d.get(), &StationDialog::stationValidated);
        validate(*d, c.callsign, c.locator, c.date);

        EXPECT_TRUE(fx.dialogs.texts().isEmpty()) << fx.dialogs.last();
        EXPECT_EQ(validated.count(), 1);
        EXPECT_EQ(d->result(), QDialog::Accepted);
        EXPECT_FALSE(d->firstInstallation());
        EXPECT_EQ(fx.settings.writes(), c.writes);
        EXPECT_EQ(fx.dir.read(c.callsign + ".log"), c.log);
        EXPECT_EQ(fx.dir.read(c.callsign + "_Prefixe_CW.txt"), kPrefixTemplate);
        for (auto it = others.cbegin(); it != others.cend(); ++it)
            EXPECT_EQ(fx.dir.read(it.key()), it.value()) << it.key();
        EXPECT_EQ(QStringList({session.displayCallsign(), session.locator(), session.eventDate()}),
                  QStringList({QString(c.callsign).replace("_", "/"), c.locator, c.date}));
    }
}

} // namespace
} // namespace tv
