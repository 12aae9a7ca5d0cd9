#include "app/station_dialog.h"
#include "station/station_session.h"
#include "tests/support/fakes/failing_file_system.h"
#include "tests/support/test_support.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace tv {
namespace {

using test::crlf;
using test::qso;

const QByteArray kDepartmentTemplate = crlf({"01 Ain                 00000000000000000"});
const QByteArray kPrefixTemplate = crlf({"F    France            00000000000000000"});
const QByteArray kLog = crlf({qso("21/06/15", "F5ABC", "09:41", "14 Mhz", "SSB", "59")});
const QString kBadCharacters = "L'indicatif ne doit comporter que des lettres des chiffres ou le signe _ ";

class StationDialogTest : public ::testing::Test {
protected:
    test::TempProgramDir dir;
    FakeSettingsStore settings;
    FakeDialogs dialogs;
    FakeClock clock;
    FailingFileSystem files;
    StationSession session;

    Services services() { return {settings, dialogs, clock, files, dir.path()}; }

    void SetUp() override
    {
        dir.write("FXXXX.log", "");
        dir.write("FXXXX_Departement.txt", kDepartmentTemplate);
        dir.write("FXXXX_Prefixe.txt", kPrefixTemplate);
    }

    // A station with its files and settings, current in the settings and the session.
    void knownStation(const QString& callsign, const QString& sessionText = "HF")
    {
        for (const QString& suffix :
             {".log", "_Departement_SSB.txt", "_Departement_CW.txt", "_Prefixe_SSB.txt", "_Prefixe_CW.txt"})
            dir.write(callsign + suffix, suffix == ".log" ? kLog : QByteArray("marks " + suffix.toLatin1()));
        const QString section = "Setup " + callsign;
        settings.setValue("JNM", section, "bande Utilisee", "3");
        settings.setValue("JNM", section, "Mode Utilise", "1");
        settings.setValue("JNM", section, "Heure UTC", "False");
        settings.setValue("JNM", section, "Date Automatique", "False");
        test::setCurrentStation(settings, callsign, sessionText);
        session.setStation(callsign, "JN18DU");
        session.setEventDate("21/06/15");
    }

    static QLineEdit* field(StationDialog& d, const char* name)
    {
        auto* found = d.findChild<QLineEdit*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    static QPushButton* button(StationDialog& d)
    {
        auto* found = d.findChild<QPushButton*>("Validation");
        EXPECT_NE(found, nullptr);
        return found;
    }
    static void enter(QLineEdit* f) { QTest::keyClick(f, Qt::Key_Return); }

    // Fills the three fields, follows the Enter chain and presses `Validation`.
    void validate(StationDialog& d, const QString& callsign, const QString& locator, const QString& date)
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

    QStringList allFiles() const
    {
        QStringList names = QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        names.sort();
        return names;
    }
};

TEST_F(StationDialogTest, OpensOnTheCurrentStationWithOnlyTheCallsignEnabled)
{
    knownStation("F0ZZZ_P");
    StationDialog d(services(), session);
    EXPECT_EQ(d.objectName(), "Station");
    EXPECT_EQ(field(d, "New_Indicatif")->text(), "F0ZZZ_P");
    EXPECT_EQ(field(d, "New_Locator")->text(), "JN18DU");
    EXPECT_EQ(field(d, "Nouv_Date")->text(), "21/06/15");
    EXPECT_FALSE(d.firstInstallation());
    EXPECT_TRUE(field(d, "New_Indicatif")->isEnabled());
    EXPECT_FALSE(field(d, "New_Locator")->isEnabled());
    EXPECT_FALSE(field(d, "Nouv_Date")->isEnabled());
    EXPECT_FALSE(button(d)->isEnabled());

    settings.setValue("JNM", "Setup ", "Indicatif Station", "FXXXX");
    StationDialog fresh(services(), session);
    EXPECT_TRUE(fresh.firstInstallation());
    EXPECT_EQ(field(fresh, "Nouv_Date")->text(), "");
}

TEST_F(StationDialogTest, TypingGivesCapitalsAndUnderscore)
{
    StationDialog d(services(), session);
    const struct {
        const char* name;
        const char* typed;
        const char* shown;
    } cases[] = {
        {"New_Indicatif", "f0zzz/p", "F0ZZZ_P"},
        {"New_Locator", "jn18du", "JN18DU"},
        {"Nouv_Date", "21/06/15", "21/06/15"}, // "/" stays "/" outside the callsign
        {"Nouv_Date", "ab", "AB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        QLineEdit* f = field(d, c.name);
        f->setEnabled(true);
        f->clear();
        QTest::keyClicks(f, c.typed);
        EXPECT_EQ(f->text(), c.shown);
    }
}

TEST_F(StationDialogTest, EnterChainSkipsTheLocatorInHfAndPaintsTheFields)
{
    const QColor yellow(0xFF, 0xFF, 0xC0);
    const QColor green(0xC0, 0xFF, 0xC0);
    for (const char* sessionText : {"HF", "VHF"}) {
        SCOPED_TRACE(sessionText);
        knownStation("F0ZZZ", sessionText);
        StationDialog d(services(), session);
        d.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
        QLineEdit* call = field(d, "New_Indicatif");
        QLineEdit* loc = field(d, "New_Locator");
        QLineEdit* date = field(d, "Nouv_Date");
        enter(call);
        EXPECT_EQ(call->palette().color(QPalette::Base), yellow);
        const bool vhf = QString(sessionText) == "VHF";
        QLineEdit* next = vhf ? loc : date;
        EXPECT_TRUE(next->isEnabled());
        EXPECT_EQ(next->palette().color(QPalette::Base), green);
        EXPECT_TRUE(next->hasFocus());
        EXPECT_EQ(loc->isEnabled(), vhf);
        if (vhf) {
            enter(loc);
            EXPECT_EQ(loc->palette().color(QPalette::Base), yellow);
            EXPECT_TRUE(date->isEnabled());
            EXPECT_TRUE(date->hasFocus());
        }
        EXPECT_EQ(call->text(), "F0ZZZ") << "Enter is swallowed, the text stays";
        EXPECT_TRUE(dialogs.shown().isEmpty());
    }
}

TEST_F(StationDialogTest, EnterInTheDateChecksItsForm)
{
    knownStation("F0ZZZ");
    StationDialog d(services(), session);
    QLineEdit* date = field(d, "Nouv_Date");
    enter(field(d, "New_Indicatif"));
    const struct {
        const char* text;
        const char* message; // nullptr: accepted
    } cases[] = {
        {"", "Attention vous devez entrer une date"},
        {"21/06/2015", "Attention le format date doit etre jj/mm/aa"},
        {"31/06/15", "Attention le format date doit etre jj/mm/aa"}, // no such day: it cannot name the reports
        {"21/06/15", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        dialogs.clear();
        date->setText(c.text);
        enter(date);
        if (c.message) {
            EXPECT_EQ(dialogs.texts(), QStringList{c.message});
            EXPECT_FALSE(button(d)->isEnabled());
        } else {
            EXPECT_TRUE(dialogs.texts().isEmpty());
            EXPECT_TRUE(button(d)->isEnabled());
            EXPECT_EQ(date->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xC0));
        }
    }
}

TEST_F(StationDialogTest, RefusedEntriesShowTheirMessageAndWriteNothing)
{
    knownStation("F0ZZZ");
    const QStringList namesBefore = allFiles();
    const struct {
        QString callsign;
        QString locator;
        QString date;
        QString message;
        bool callsignEmptied;
    } cases[] = {
        {"", "------", "21/06/15", "Vous devez entrer un indicatif", false},
        {"F0ZZZ_ABCDEF", "------", "21/06/15", "", false}, // 12 characters: the date is the next check
        {"F0ZZZ_ABCDEFG", "------", "21/06/15", "12 caracteres maximum pour l'indicatif", false},
        // Only letters, digits and "_" may name the station's files.
        {"..\\F0", "------", "21/06/15", kBadCharacters, true},
        {"F0ZZZ/P", "------", "21/06/15", kBadCharacters, true},
        {QString("F0") + QChar(1) + "ZZZ", "------", "21/06/15", kBadCharacters, true},
        {QString::fromUtf8("F0ÉZZ"), "------", "21/06/15", kBadCharacters, true},
        {"FXXXX", "------", "21/06/15", "Vous devez entrer un indicatif", false},
        {"F0ZZZ", "", "21/06/15", "Vous devez entrer un locator", false},
        {"F0ZZZ", "JN18D", "21/06/15", "Le locator doit comporter 6 caracteres", false},
        {"F0ZZZ", "JN1XDU", "21/06/15", "Erreur dans la saisie du locator", false},
        {"F0ZZZ", "JN18DU", "", "Attention vous devez entrer une date", false},
        {"F0ZZZ", "JN18DU", "21/6/15", "Attention le format date doit etre jj/mm/aa", false},
        {"F0ZZZ", "JN18DU", "../x/15A", "Attention le format date doit etre jj/mm/aa", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.callsign.toStdString() + " " + c.locator.toStdString() + " " + c.date.toStdString());
        dialogs.clear();
        StationDialog d(services(), session);
        QSignalSpy validated(&d, &StationDialog::stationValidated);
        // The Enter chain is followed with the station's own values...
        enter(field(d, "New_Indicatif"));
        enter(field(d, "Nouv_Date"));
        ASSERT_TRUE(button(d)->isEnabled());
        // ...then the fields are changed before `Validation` is pressed.
        field(d, "New_Indicatif")->setText(c.callsign);
        field(d, "New_Locator")->setText(c.locator);
        field(d, "Nouv_Date")->setText(c.date);
        if (c.message.isEmpty()) {
            field(d, "Nouv_Date")->setText("21/6/15");
            button(d)->click();
            EXPECT_EQ(dialogs.texts(), QStringList{"Attention le format date doit etre jj/mm/aa"})
                << "a 12-character callsign passes its checks";
        } else {
            button(d)->click();
            EXPECT_EQ(dialogs.texts(), QStringList{c.message});
        }
        EXPECT_EQ(field(d, "New_Indicatif")->text().isEmpty(), c.callsignEmptied || c.callsign.isEmpty());
        EXPECT_EQ(validated.count(), 0);
        EXPECT_TRUE(settings.writes().isEmpty());
        EXPECT_EQ(allFiles(), namesBefore);
        EXPECT_EQ(session.storedCallsign(), "F0ZZZ");
    }
}

TEST_F(StationDialogTest, NewCallsignCreatesItsFileSetAndDefaultSettings)
{
    knownStation("F0ZZZ");
    const QByteArray previousLog = dir.read("F0ZZZ.log");
    StationDialog d(services(), session);
    QSignalSpy validated(&d, &StationDialog::stationValidated);
    field(d, "New_Indicatif")->clear();
    QTest::keyClicks(field(d, "New_Indicatif"), "f0zzz/p");
    validate(d, field(d, "New_Indicatif")->text(), "------", "20/06/15");

    EXPECT_TRUE(dialogs.texts().isEmpty()) << dialogs.last().toStdString();
    EXPECT_EQ(validated.count(), 1);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(dir.read("F0ZZZ_P.log"), "");
    EXPECT_EQ(dir.read("F0ZZZ_P_Departement_SSB.txt"), kDepartmentTemplate);
    EXPECT_EQ(dir.read("F0ZZZ_P_Departement_CW.txt"), kDepartmentTemplate);
    EXPECT_EQ(dir.read("F0ZZZ_P_Prefixe_SSB.txt"), kPrefixTemplate);
    EXPECT_EQ(dir.read("F0ZZZ_P_Prefixe_CW.txt"), kPrefixTemplate);
    EXPECT_EQ(settings.writes(), (QStringList{
                                     "JNM|Setup |Indicatif Station=F0ZZZ_P",
                                     "JNM|Setup |Locator Station=------",
                                     "JNM|Setup F0ZZZ_P|Indicatif Station=F0ZZZ_P",
                                     "JNM|Setup F0ZZZ_P|Locator Station=------",
                                     "JNM|Setup F0ZZZ_P|Date Automatique=True",
                                     "JNM|Setup F0ZZZ_P|Heure UTC=True",
                                     "JNM|Setup F0ZZZ_P|Activite0=QSO",
                                     "JNM|Setup F0ZZZ_P|Activite1=DFCF",
                                     "JNM|Setup F0ZZZ_P|Activite2=DMF",
                                     "JNM|Setup F0ZZZ_P|Activite3=DIFI",
                                     "JNM|Setup F0ZZZ_P|Activite4=DIFM",
                                     "JNM|Setup F0ZZZ_P|NB Activite=5",
                                     "JNM|Setup F0ZZZ_P|bande Utilisee=0",
                                     "JNM|Setup F0ZZZ_P|Mode Utilise=0",
                                     "JNM|Setup F0ZZZ_P|Activite=0",
                                     "JNM|Setup F0ZZZ_P|Date JNM=20/06/15",
                                 }));
    EXPECT_EQ(session.storedCallsign(), "F0ZZZ_P");
    EXPECT_EQ(session.displayCallsign(), "F0ZZZ/P");
    EXPECT_EQ(session.locator(), "------");
    EXPECT_EQ(session.eventDate(), "20/06/15");
    // The previous station is left as it was.
    EXPECT_EQ(dir.read("F0ZZZ.log"), previousLog);
    EXPECT_EQ(dir.read("F0ZZZ_Prefixe_CW.txt"), "marks _Prefixe_CW.txt");
    EXPECT_EQ(settings.value("JNM", "Setup F0ZZZ", "bande Utilisee"), "3");
    EXPECT_EQ(settings.value("JNM", "Setup F0ZZZ", "Date JNM"), "21/06/15");
}

TEST_F(StationDialogTest, KnownStationWritesOnlyTheThreeSettings)
{
    knownStation("F0ZZZ", "VHF");
    const QStringList names = allFiles();
    StationDialog d(services(), session);
    QSignalSpy validated(&d, &StationDialog::stationValidated);
    field(d, "New_Locator")->clear();
    field(d, "New_Locator")->setEnabled(true);
    QTest::keyClicks(field(d, "New_Locator"), "jn18eu");
    validate(d, "F0ZZZ", field(d, "New_Locator")->text(), "19/06/16");

    EXPECT_TRUE(dialogs.texts().isEmpty());
    EXPECT_EQ(validated.count(), 1);
    EXPECT_EQ(settings.writes(), (QStringList{"JNM|Setup |Indicatif Station=F0ZZZ", "JNM|Setup |Locator Station=JN18EU",
                                              "JNM|Setup F0ZZZ|Date JNM=19/06/16"}));
    EXPECT_EQ(dir.read("F0ZZZ.log"), kLog);
    EXPECT_EQ(allFiles(), names);
    EXPECT_EQ(session.locator(), "JN18EU");
    EXPECT_EQ(session.eventDate(), "19/06/16");
}

TEST_F(StationDialogTest, DeletedLogRecreatesTheSetAndTheDefaults)
{
    knownStation("F0ZZZ");
    QFile::remove(dir.file("F0ZZZ.log"));
    StationDialog d(services(), session);
    validate(d, "F0ZZZ", "------", "21/06/15");
    EXPECT_TRUE(dialogs.texts().isEmpty());
    EXPECT_EQ(dir.read("F0ZZZ.log"), "");
    EXPECT_EQ(dir.read("F0ZZZ_Prefixe_CW.txt"), kPrefixTemplate);
    for (const char* key : {"bande Utilisee", "Mode Utilise"})
        EXPECT_EQ(settings.value("JNM", "Setup F0ZZZ", key), "0") << key;
    for (const char* key : {"Heure UTC", "Date Automatique"})
        EXPECT_EQ(settings.value("JNM", "Setup F0ZZZ", key), "True") << key;
}

TEST_F(StationDialogTest, UnreadableLogIsReportedAndNothingIsWritten)
{
    knownStation("F0ZZZ");
    const struct {
        int errorNumber;
        const char* reason;
    } cases[] = {{70, "permission refusée"}, {57, "erreur de lecture ou d'écriture sur le disque"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.errorNumber);
        files.failReadsOf("F0ZZZ.log", c.errorNumber);
        dialogs.clear();
        StationDialog d(services(), session);
        QSignalSpy validated(&d, &StationDialog::stationValidated);
        validate(d, "F0ZZZ", "------", "22/06/15");
        EXPECT_EQ(dialogs.texts(),
                  QStringList{QString("Impossible de lire le fichier F0ZZZ.log : ") + QString::fromUtf8(c.reason) +
                              " (erreur N° " + QString::number(c.errorNumber) +
                              ")\r\nLa station n'a pas été changée."});
        EXPECT_EQ(validated.count(), 0);
        EXPECT_NE(d.result(), QDialog::Accepted);
        EXPECT_TRUE(settings.writes().isEmpty());
        EXPECT_EQ(files.writes(), 0);
        EXPECT_EQ(dir.read("F0ZZZ.log"), kLog);
    }
}

TEST_F(StationDialogTest, ALogThatIsADirectoryIsNeverReplaced)
{
    settings.setValue("JNM", "Setup ", "Indicatif Station", "F0ZZZ");
    settings.clearWrites();
    ASSERT_TRUE(QDir(dir.path()).mkdir("F0ZZZ_P.log"));
    StationDialog d(services(), session);
    QSignalSpy validated(&d, &StationDialog::stationValidated);
    validate(d, "F0ZZZ_P", "------", "21/06/15");
    ASSERT_EQ(dialogs.texts().size(), 1);
    EXPECT_TRUE(dialogs.last().contains("F0ZZZ_P.log")) << dialogs.last().toStdString();
    EXPECT_TRUE(dialogs.last().endsWith("La station n'a pas été changée."));
    EXPECT_EQ(validated.count(), 0);
    EXPECT_TRUE(settings.writes().isEmpty());
    EXPECT_TRUE(QFileInfo(dir.file("F0ZZZ_P.log")).isDir());
    EXPECT_FALSE(dir.exists("F0ZZZ_P_Departement_SSB.txt"));
}

TEST_F(StationDialogTest, FailedFileSetCreationLeavesTheStationUnchanged)
{
    knownStation("F0ZZZ");
    files.onlyPathsEndingWith("F0ZZZ_P_Prefixe_SSB.txt");
    files.failWrites(1, 61);
    StationDialog d(services(), session);
    QSignalSpy validated(&d, &StationDialog::stationValidated);
    validate(d, "F0ZZZ_P", "------", "21/06/15");
    EXPECT_EQ(dialogs.texts(),
              QStringList{"Impossible d'écrire le fichier F0ZZZ_P_Prefixe_SSB.txt : disque plein (erreur N° 61)\r\n"
                          "Aucun fichier de la station F0ZZZ_P n'a été créé ni modifié.\r\nLa station n'a pas été "
                          "changée."});
    EXPECT_EQ(validated.count(), 0);
    EXPECT_TRUE(settings.writes().isEmpty());
    EXPECT_EQ(session.storedCallsign(), "F0ZZZ");
    EXPECT_FALSE(dir.exists("F0ZZZ_P.log"));
    EXPECT_FALSE(dir.exists("F0ZZZ_P_Departement_SSB.txt"));
}

TEST_F(StationDialogTest, FirstInstallationKeepsALogAlreadyThere)
{
    dir.write("F0ZZZ.log", kLog);
    StationDialog d(services(), session);
    ASSERT_TRUE(d.firstInstallation());
    validate(d, "F0ZZZ", "------", "21/06/15");
    EXPECT_TRUE(dialogs.texts().isEmpty());
    EXPECT_FALSE(d.firstInstallation());
    EXPECT_EQ(dir.read("F0ZZZ.log"), kLog);
    EXPECT_EQ(dir.read("F0ZZZ_Departement_CW.txt"), kDepartmentTemplate) << "the missing files are created";
    EXPECT_EQ(settings.value("JNM", "Setup F0ZZZ", "NB Activite"), "5") << "the new station's settings are written";
}

} // namespace
} // namespace tv
