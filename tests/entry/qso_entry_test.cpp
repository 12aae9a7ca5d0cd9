#include "entry/qso_entry.h"
#include "logstore/log_file.h"
#include "logstore/multiplier_rebuild.h"
#include "logstore/qso_line.h"
#include "station/logbook.h"
#include "station/station_session.h"
#include "tests/support/fakes/failing_file_system.h"
#include "tests/support/test_support.h"

#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace tv {
namespace {

using F = EntryField;

// The entry of one station on a temporary program directory, over its Logbook.
class EntryTest : public ::testing::Test {
protected:
    test::Fixture fx;
    StationSession session{&fx.settings};
    std::unique_ptr<Logbook> logbook;
    std::unique_ptr<QsoEntry> entry;

    void SetUp() override
    {
        fx.installStation("F0ZZZ");
        fx.clock.set({2015, 6, 21, 9, 41, 0}, {2015, 6, 21, 11, 41, 0});
        startSession("HF", "JN18DU");
    }

    void startSession(const QString& name, const QString& locator)
    {
        session.setStation("F0ZZZ", locator);
        session.readSettings();
        session.setSessionText(name);
        session.setStation("F0ZZZ", locator);
        session.chooseBand(name == "HF" ? 2 : 0); // 14 Mhz, 144 Mhz
        logbook = std::make_unique<Logbook>(fx.services());
        logbook->setStation("F0ZZZ");
        ASSERT_TRUE(logbook->load().ok());
        entry = std::make_unique<QsoEntry>(fx.services(), session, *logbook);
        entry->reset();
    }
    void setLog(std::initializer_list<QByteArray> lines)
    {
        fx.dir.write("F0ZZZ.log", test::crlf(lines));
        ASSERT_TRUE(logbook->load().ok());
    }
    const QList<QByteArray>& lines() const { return logbook->lines(); }

    EntryForm& form() { return entry->form(); }

    void type(F field, const QString& text) { form().setText(field, text); }
    void enter(F field, const QString& text)
    {
        type(field, text);
        entry->enter(field);
    }
    void record() { entry->record(); }

    // The activity, the two reports and the first name.
    void upToMill(bool mill, const QString& firstName = QString())
    {
        type(F::Activity, mill ? "MOULIN" : "QSO");
        form().activityIndex = mill ? 1 : 0;
        entry->enter(F::Activity);
        enter(F::RstReceived, "57");
        enter(F::RstSent, "59");
        enter(F::FirstName, firstName);
    }
    // The fields of a French QSO on 14 Mhz SSB up to the mill name.
    void frenchQso(const QString& call, const QString& dept, bool mill, const QString& number = QString())
    {
        enter(F::Callsign, call);
        enter(F::Department, dept);
        upToMill(mill, QString::fromUtf8("µrené")); // µ has no capital in the code page
        if (mill)
            enter(F::MillNumber, number);
        enter(F::MillName, mill ? "Moulin Blanc" : "");
    }
    // The multiplier files the entry wrote are those the rebuild makes from the log.
    void expectMarksAsRebuilt() const
    {
        const MultiplierRebuild::Computed rebuilt = MultiplierRebuild::compute(
            lines(), fx.dir.read("FXXXX_Prefixe.txt"), fx.dir.read("FXXXX_Departement.txt"), nullptr);
        EXPECT_EQ(fx.dir.read("F0ZZZ_Prefixe_SSB.txt"), rebuilt.files.prefixSsb);
        EXPECT_EQ(fx.dir.read("F0ZZZ_Prefixe_CW.txt"), rebuilt.files.prefixCw);
        EXPECT_EQ(fx.dir.read("F0ZZZ_Departement_SSB.txt"), rebuilt.files.departmentSsb);
        EXPECT_EQ(fx.dir.read("F0ZZZ_Departement_CW.txt"), rebuilt.files.departmentCw);
    }
    QByteArray marks(const QString& file, const QByteArray& start) const
    {
        return fileLine(file, start).mid(file.contains("Prefixe") ? 7 : 3, 17);
    }

    QByteArray logBytes() const { return fx.dir.read("F0ZZZ.log"); }
    QByteArray fileLine(const QString& name, const QByteArray& start) const
    {
        for (const QByteArray& line : LogFile::splitLines(fx.dir.read(name))) {
            if (line.startsWith(start))
                return line;
        }
        return "<none>";
    }
};

QsoRecord expectedFrenchMill()
{
    QsoRecord r = test::frenchMillRecord();
    r.newPrefixFlag = "1";
    r.firstName = test::cp("µRENÉ");
    r.millName = "Moulin Blanc";
    return r;
}

TEST_F(EntryTest, FrenchMillContactIsRecordedWithItsMarks)
{
    fx.dialogs.answer(true); // new DXCC entity F: yes
    frenchQso("f5abc", "59", true, "59045");
    EXPECT_EQ(form().text(F::Callsign), "F5ABC");
    EXPECT_TRUE(form().dmfVisible);
    EXPECT_TRUE(form().recordEnabled);
    EXPECT_EQ(form().focus, F::Record);
    ASSERT_EQ(fx.dialogs.shown().size(), 2);
    EXPECT_EQ(fx.dialogs.shown()[0].text, QString::fromUtf8(" Valider le prefixe DXCC : F  France ?"));
    EXPECT_EQ(fx.dialogs.shown()[1].text, QString::fromUtf8("Attention nouveau département le 59 Nord"));

    fx.clock.set({2015, 6, 21, 9, 43, 0}, {2015, 6, 21, 11, 43, 0});
    fx.dialogs.answer(true); // remember the station in the nomenclature
    record();
    EXPECT_EQ(fx.dialogs.last(), QString::fromUtf8("Remplacer F5ABC Département XX Locator XXXXXX\r\n\r\n"
                                                   "      par F5ABC département 59 Locator  ?"));
    EXPECT_EQ(logBytes(), test::crlf({*qsoline::build(expectedFrenchMill())}));
    EXPECT_EQ(marks("F0ZZZ_Departement_SSB.txt", "59"), "00001000000000000");
    EXPECT_EQ(marks("F0ZZZ_Departement_CW.txt", "59"), "00000000000000000");
    EXPECT_EQ(marks("F0ZZZ_Prefixe_SSB.txt", "F      "), "00001000000000000");
    EXPECT_EQ(fx.dir.read("Liste_Prenom.txt"), test::cp("F5ABC        59 µRENÉ\r\n"));
    EXPECT_EQ(fx.dir.read("Nomenclature.txt"), "F5ABC      59 \r\n");

    // Ready for the next QSO.
    EXPECT_EQ(form().text(F::Callsign), "");
    EXPECT_EQ(form().text(F::RstReceived), "59");
    EXPECT_EQ(form().focus, F::Callsign);
    EXPECT_FALSE(form().recordEnabled);
    EXPECT_EQ(logbook->count(), 1);
}

TEST_F(EntryTest, ForeignMillKeepsItsReferenceAndNeedsNoDepartment)
{
    fx.dialogs.answer(false); // new entity ON: no
    enter(F::Callsign, "ON4AA");
    EXPECT_EQ(form().focus, F::Activity) << "a foreign station skips the department";
    fx.dialogs.clear();
    enter(F::Department, "");
    EXPECT_TRUE(fx.dialogs.shown().isEmpty()) << "and an empty department is no error";
    upToMill(true);
    EXPECT_FALSE(form().dmfVisible);
    enter(F::MillNumber, "wim 7001");
    EXPECT_EQ(form().text(F::MillNumber), "WIM 7001");
    enter(F::MillName, "");
    fx.dialogs.answer(false);
    record();
    const QByteArray line = lines().value(0);
    EXPECT_EQ(qsoline::rawField(line, logcol::kMillReference), QByteArray("WIM 7001").leftJustified(20, ' '));
}

TEST_F(EntryTest, TheCountryAfterASlashNamesTheEntityAndAMaritimeMobileHasNone)
{
    fx.dialogs.answer(true);
    enter(F::Callsign, "on4xx/f");
    ASSERT_EQ(fx.dialogs.shown().size(), 1);
    EXPECT_EQ(fx.dialogs.shown()[0].text, QString::fromUtf8(" Valider le prefixe DXCC : F  France ?"));
    EXPECT_EQ(form().focus, F::Department) << "an operator on French soil gives his department";

    entry->reset();
    fx.dialogs.clear();
    enter(F::Callsign, "DL1ABC/MM");
    EXPECT_TRUE(fx.dialogs.shown().isEmpty()) << "no entity to ask about, and no unknown prefix";
    EXPECT_EQ(form().focus, F::Activity);
}

TEST_F(EntryTest, DuplicateOnSameBandAndModeIsRefused)
{
    setLog({test::qso("21/06/15", "F5ABC", "08:00", "14 Mhz", "SSB", "59"),
            test::qso("21/06/15", "F6XYZ", "08:10", "7.0 Mhz", "SSB", "62")});
    enter(F::Callsign, "F5ABC");
    EXPECT_EQ(fx.dialogs.last(), QString::fromUtf8("Station F5ABC   deja contactée sur 14 Mhz a 08:00 en SSB"));
    EXPECT_EQ(form().callsignLabel, QString::fromUtf8("Contacté le 21/06/15"));
    EXPECT_EQ(form().focus, F::Callsign);

    fx.dialogs.clear();
    form().setText(F::Band, "7.0 Mhz");
    fx.dialogs.answer(false);
    enter(F::Callsign, "F5ABC");
    EXPECT_EQ(form().callsignLabel, "Nouvel indicatif");
    EXPECT_EQ(form().focus, F::Department);
}

// Each check at the Enter of its field, again at recording (after frenchQso), and in an edit.
TEST_F(EntryTest, ChecksGiveTheirMessagesKeepTheFocusInTheFieldAndWriteNothing)
{
    enum When { AtEnter, AtRecording, InAnEdit };
    const char* const kReport = "doit avoir 2 ou 3 chiffres (R de 1 à 5, S de 1 à 9, T de 1 à 9), ex : 59 ou 599";
    const struct {
        When when;
        F field;
        const char* text;
        std::string message;
    } cases[] = {
        {AtEnter, F::Callsign, "", "Attention vous devez entrer un indicatif"},
        {AtEnter, F::Callsign, "F0ABCDEFGH123", "Attention 12 caracteres maxi pour l'indicatif"},
        {AtEnter, F::Mode, "FM", "Attention le mode doit etre uniquement SSB ou CW "},
        {AtEnter, F::Mode, "SSBSSBS", "Attention 6 caracteres maxi pour le mode de trafic"},
        {AtEnter, F::Band, "144 MHz", "Attention vous ne pouver selectionner que les bandes proposées"},
        {AtEnter, F::Locator, "", "Attention vous devez entrer un locator"},
        {AtEnter, F::Locator, "JN18D", "Attention 6 caracteres pour le locator"},
        {AtEnter, F::Locator, "JN1XDU", "Erreur dans la saisie du locator"},
        {AtEnter, F::Date, "", "Attention vous devez entrer une date (pour le classement) "},
        {AtEnter, F::Date, "1/1/2010x", "Attention 8 caracteres pour la date (format jj/mm/aa)"},
        {AtEnter, F::Date, "01-01-10", "Attention le format date doit etre jj/mm/aa"},
        {AtEnter, F::Date, "31/02/15", "Attention le format date doit etre jj/mm/aa"},
        {AtEnter, F::Start, "", "Attention vous devez entrer l'heure de debut (pour le classement) "},
        {AtEnter, F::Start, "9:05", "Attention le format de l'heure doit etre hh:mm"},
        {AtEnter, F::Start, "25:00", "Attention le format de l'heure doit etre hh:mm"},
        {AtEnter, F::End, "09h05", "Attention le format de l'heure doit etre hh:mm"},
        {AtEnter, F::RstReceived, "", "Attention le report recu est obligatoire"},
        {AtEnter, F::RstReceived, "123456789", "Attention 8 caracteres maxi pour le report reçu"},
        {AtEnter, F::RstSent, "", "Attention le report envoyé est obligatoire"},
        {AtEnter, F::RstSent, "123456789", "Attention 8 caracteres maxi pour le report envoyé"},
        {AtEnter, F::FirstName, "ABCDEFGHIJKLMNOP", "Attention 15 caracteres maxi pour le prenom"},
        {AtEnter, F::MillName, "1234567890123456789012345678901", "Attention 30 caracteres maxi pour le nom du Moulin"},
        {AtEnter, F::MillName, "Moulin łódź",
         "Attention le caractère « ł » ne peut pas être enregistré dans le log, corrigez la saisie"},
        {AtRecording, F::Activity, "MOULIN", "Attention la reference du Moulin est obligatoire"},
        {AtRecording, F::Date, "31/06/15", "Attention le format date doit etre jj/mm/aa"},
        {AtRecording, F::Start, "25:10", "Attention le format de l'heure doit etre hh:mm"},
        {AtRecording, F::RstReceived, "  ", "Attention le report recu est obligatoire"},
        {AtRecording, F::RstSent, "5957", std::string("Attention le report envoyé ") + kReport},
        {AtRecording, F::RstReceived, "69", std::string("Attention le report reçu ") + kReport},
        {AtRecording, F::MillName, "Moulin łódź",
         "Attention le caractère « ł » ne peut pas être enregistré dans le log, corrigez la saisie"},
        {InAnEdit, F::Department, "ZZ", "Attention le département ZZ n'existe pas"},
        {InAnEdit, F::Callsign, "", "Attention vous devez entrer un indicatif"},
        {InAnEdit, F::Band, "14 MHz", "Attention vous ne pouver selectionner que les bandes proposées"},
        {InAnEdit, F::Mode, "FM", "Attention le mode doit etre uniquement SSB ou CW "},
        {InAnEdit, F::Start, "99:99", "Attention le format de l'heure doit etre hh:mm"},
    };
    const QByteArray a = test::qso("21/06/15", "F1AAA", "09:00", "14 Mhz", "SSB", "59");
    const QByteArray b = test::qso("21/06/15", "F1BBB", "10:00", "14 Mhz", "SSB", "62");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        entry->cancel();
        fx.dialogs.clear();
        if (c.when == AtEnter) {
            enter(c.field, QString::fromUtf8(c.text));
        } else {
            if (c.when == InAnEdit) {
                setLog({a, b});
                entry->edit(1);
            } else {
                fx.dialogs.answer(true);
                frenchQso("F5ABC", "59", false);
            }
            type(c.field, QString::fromUtf8(c.text));
            record();
        }
        EXPECT_EQ(fx.dialogs.last(), QString::fromStdString(c.message));
        const F sentTo = c.field == F::Activity ? F::MillNumber : c.field;
        EXPECT_EQ(form().focus, sentTo);
        EXPECT_TRUE(c.when == AtEnter || form()[sentTo].enabled) << "the operator can correct it";
        EXPECT_EQ(logBytes(), c.when == InAnEdit ? test::crlf({a, b}) : "");
    }
    for (const auto& [report, valid] : {std::pair{"599", true}, {"11", true}, {"509", false}, {"5", false}})
        EXPECT_EQ(QsoEntry::isReport(report), valid) << report;
}

TEST_F(EntryTest, DepartmentAndMillNumberChecksOfAFrenchStation)
{
    fx.dialogs.answer(false);
    enter(F::Callsign, "F5ABC");
    enter(F::Department, "");
    EXPECT_EQ(fx.dialogs.last(), "Attention le n° de departement est obligatoire pour la France");
    enter(F::Department, "591");
    EXPECT_EQ(fx.dialogs.last(), "Attention 2 caracteres pour le departement");
    enter(F::Department, "99");
    EXPECT_EQ(fx.dialogs.last(), QString::fromUtf8("Attention le département 99 n'existe pas"));
    EXPECT_EQ(form().focus, F::Department);
    enter(F::Department, "5");
    EXPECT_EQ(form().text(F::Department), "05");
    EXPECT_EQ(fx.dialogs.last(), QString::fromUtf8("Attention nouveau département le 05 Hautes-Alpes"));
    enter(F::Department, "2A");
    EXPECT_EQ(form().text(F::Department), "2a");
    EXPECT_EQ(fx.dialogs.last(), QString::fromUtf8("Attention nouveau département le 2a Corse-du-Sud"));
    upToMill(true);
    enter(F::MillNumber, "2A01");
    EXPECT_EQ(fx.dialogs.last(), "            5 caracteres pour un moulin Francais ex: 59045\r\n"
                                 "Pour un moulin etranger la reference complete ex: WIM 7001");
    enter(F::MillNumber, "59045");
    EXPECT_EQ(fx.dialogs.last(), "Attention le n° du Moulin ne correspond pas au departement 2a");
    fx.dialogs.clear();
    enter(F::MillNumber, "2A012");
    EXPECT_TRUE(fx.dialogs.shown().isEmpty()) << "a Corsican mill number matches its department";
    EXPECT_EQ(form().focus, F::MillName);
}

TEST_F(EntryTest, VhfContactPutsTheDistanceInThePoints)
{
    startSession("VHF", "JN18DU");
    fx.dialogs.answer(false);
    enter(F::Callsign, "F1XYZ");
    EXPECT_EQ(form().focus, F::Department) << "a French station gives its department in VHF too";
    enter(F::Department, "75");
    EXPECT_EQ(fx.dialogs.last(), QString::fromUtf8("Attention nouveau département le 75 Paris"));
    EXPECT_EQ(form().focus, F::Locator);
    enter(F::Locator, "JN03TJ");
    EXPECT_EQ(form().text(F::Distance), "610");
    EXPECT_EQ(form().text(F::Azimuth), "185");
    upToMill(false);
    enter(F::MillName, "");
    fx.dialogs.answer(false);
    record();
    const QByteArray line = lines().value(0);
    EXPECT_EQ(qsoline::rawField(line, logcol::kPoints), "610  ");
    EXPECT_EQ(qsoline::rawField(line, logcol::kDistance), "610  ");
    EXPECT_EQ(qsoline::rawField(line, logcol::kAzimuth), "185");
    EXPECT_EQ(qsoline::rawField(line, logcol::kLocator), "JN03TJ");
    EXPECT_EQ(qsoline::rawField(line, logcol::kBand), "144 Mhz ");
    EXPECT_EQ(qsoline::rawField(line, logcol::kNewDepartmentFlag), "1");
    EXPECT_EQ(marks("F0ZZZ_Departement_SSB.txt", "75"), "00000000001000000");

    // A foreign station goes straight to the locator.
    fx.dialogs.answer(false);
    enter(F::Callsign, "DL1ABC");
    EXPECT_EQ(form().focus, F::Locator);

    // The station's own locator gives no azimuth and no distance.
    enter(F::Locator, "JN18DU");
    EXPECT_EQ(form().text(F::Distance) + form().text(F::Azimuth), "0?");
    // A locator changed without Enter gives its own distance and points at recording.
    upToMill(false);
    enter(F::MillName, "");
    type(F::Locator, "JN18DV");
    record();
    EXPECT_EQ(qsoline::field(lines().value(1), logcol::kDistance) + qsoline::field(lines().value(1), logcol::kPoints),
              "55");

    // Without the station's own locator no distance is invented.
    startSession("VHF", "------");
    fx.dialogs.answer(false);
    enter(F::Callsign, "DL2XYZ");
    enter(F::Locator, "JN03TJ");
    EXPECT_EQ(form().text(F::Distance), "?");
    EXPECT_TRUE(fx.dialogs.last().startsWith("Attention le locator de la station"));
}

TEST_F(EntryTest, ManualDateInsertsInDateAndTimeOrder)
{
    session.setAutomaticDate(false);
    setLog({test::qso("21/06/15", "F1AAA", "09:00", "14 Mhz", "SSB"),
            test::qso("21/06/15", "F1BBB", "10:00", "14 Mhz", "SSB")});
    fx.dialogs.answer(false);
    enter(F::Callsign, "DL1ABC");
    entry->enter(F::Activity);
    EXPECT_EQ(form().focus, F::Date);
    enter(F::Date, "21/06/15");
    enter(F::Start, "09:30");
    EXPECT_EQ(form().text(F::End), "09:30");
    enter(F::End, "09:31");
    enter(F::RstReceived, "59");
    enter(F::RstSent, "59");
    enter(F::FirstName, "");
    enter(F::MillName, "");
    type(F::End, "ab:cd"); // changed after its Enter
    record();
    EXPECT_EQ(fx.dialogs.last(), "Attention le format de l'heure doit etre hh:mm");
    EXPECT_EQ(form().focus, F::End);
    EXPECT_EQ(lines().size(), 2);
    type(F::End, "09:31");
    fx.dialogs.answer(false);
    record();
    ASSERT_EQ(lines().size(), 3);
    EXPECT_EQ(qsoline::field(lines()[1], logcol::kCallsign), "DL1ABC");
    EXPECT_EQ(qsoline::field(lines()[1], logcol::kEnd), "09:31");
    EXPECT_EQ(logBytes(), test::crlf({lines()[0], lines()[1], lines()[2]}));
    EXPECT_EQ(form().text(F::Date), "21/06/15") << "the manual date stays for the next QSO";
}

TEST_F(EntryTest, FailedWriteKeepsTheContactAndSetsNoMark)
{
    fx.dialogs.answer(true);
    frenchQso("F5ABC", "59", false);
    fx.files.failWrites(2); // a full disk: the marker of the change, then the line
    fx.dialogs.answer(false);
    record();
    EXPECT_TRUE(fx.dialogs.last().startsWith(QString::fromUtf8("Erreur N° 61")));
    EXPECT_EQ(logBytes(), "");
    EXPECT_EQ(marks("F0ZZZ_Departement_SSB.txt", "59"), "00000000000000000");
    EXPECT_EQ(marks("F0ZZZ_Prefixe_SSB.txt", "F      "), "00000000000000000");
    EXPECT_EQ(form().text(F::Callsign), "F5ABC") << "the fields keep the contact";
    EXPECT_TRUE(form().recordEnabled);

    fx.dialogs.answer(false);
    record();
    EXPECT_EQ(lines().size(), 1) << "recorded at the second try";
    EXPECT_EQ(marks("F0ZZZ_Departement_SSB.txt", "59"), "00001000000000000");
}

TEST_F(EntryTest, AValueChangedAfterItsLookUpIsConfirmedAgain)
{
    struct Case {
        const char* what;
        F field;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"callsign", F::Callsign, "F6XYZ",
         "Attention validez l'indicatif avec la touche Entrée avant d'enregistrer le QSO"},
        {"band", F::Band, "28 Mhz", "Attention validez l'indicatif avec la touche Entrée avant d'enregistrer le QSO"},
        {"mode", F::Mode, "CW", "Attention validez l'indicatif avec la touche Entrée avant d'enregistrer le QSO"},
        {"department", F::Department, "62",
         "Attention validez le département avec la touche Entrée avant d'enregistrer le QSO"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        entry->cancel();
        fx.dialogs.answer(true);
        frenchQso("F5ABC", "59", false);
        type(c.field, c.text);
        record();
        EXPECT_EQ(fx.dialogs.last(), QString::fromUtf8(c.message));
        EXPECT_EQ(form().focus, c.field == F::Department ? F::Department : F::Callsign);
        EXPECT_EQ(logBytes(), "");
    }
    // Department 62 confirmed: the line, its flag, the mark and the question name 62, not 59.
    enter(F::Department, "62");
    EXPECT_EQ(fx.dialogs.last(), QString::fromUtf8("Attention nouveau département le 62 Pas-de-Calais"));
    fx.dialogs.answer(false);
    record();
    ASSERT_EQ(lines().size(), 1);
    EXPECT_EQ(qsoline::field(lines()[0], logcol::kDepartment), "62");
    EXPECT_EQ(qsoline::field(lines()[0], logcol::kNewDepartmentFlag), "1");
    EXPECT_EQ(marks("F0ZZZ_Departement_SSB.txt", "59"), "00000000000000000");
    EXPECT_EQ(marks("F0ZZZ_Departement_SSB.txt", "62"), "00001000000000000");
    expectMarksAsRebuilt();
    // After recording, the next QSO starts from its callsign.
    EXPECT_FALSE(form()[F::Department].enabled);
    record();
    EXPECT_EQ(lines().size(), 1) << "nothing to record before a callsign is confirmed";
}

TEST_F(EntryTest, ACallsignRetypedLosesWhatTheFirstNameListGaveTheOldOne)
{
    fx.dir.write("Liste_Prenom.txt", test::cp("F5ABC        59 RENÉ\r\n"));
    fx.dialogs.answer(true);
    enter(F::Callsign, "F5ABC");
    EXPECT_EQ(form().text(F::Department), "59");
    type(F::Callsign, "DL1ABC ");
    record();
    EXPECT_EQ(form().focus, F::Callsign);
    fx.dialogs.answer(true);
    enter(F::Callsign, "DL1ABC ");
    EXPECT_EQ(form().text(F::Callsign), "DL1ABC");
    EXPECT_EQ(form().text(F::Department), "");
    EXPECT_EQ(form().text(F::FirstName), "");
    upToMill(false);
    enter(F::MillName, "");
    fx.dialogs.answer(false);
    record();
    ASSERT_EQ(lines().size(), 1);
    EXPECT_EQ(qsoline::field(lines()[0], logcol::kDepartment), "");
    EXPECT_EQ(fx.dir.read("Liste_Prenom.txt"), test::cp("F5ABC        59 RENÉ\r\nDL1ABC          \r\n"));
    // A trailing space does not escape the duplicate search.
    enter(F::Callsign, "DL1ABC ");
    EXPECT_TRUE(fx.dialogs.last().startsWith("Station DL1ABC"));
}

TEST_F(EntryTest, AMissingDepartmentFileIsReported)
{
    fx.dialogs.answer(false);
    enter(F::Callsign, "F5ABC");
    QFile::remove(fx.dir.file("F0ZZZ_Departement_SSB.txt"));
    enter(F::Department, "59");
    EXPECT_EQ(fx.dialogs.last(),
              QString::fromUtf8("Erreur N° 53 (fichier introuvable) : le fichier F0ZZZ_Departement_SSB.txt "
                                "ne peut pas être lu, le département n'est pas vérifié"));
    EXPECT_EQ(form().focus, F::Department);
}

TEST_F(EntryTest, DateAndStartTimeComeFromOneReadingOfTheClock)
{
    // A clock read just before midnight, then just after.
    struct TickingClock final : Clock {
        mutable int reads = 0;
        CalendarTime utcNow() const override
        {
            return ++reads == 1 ? CalendarTime{2015, 6, 20, 23, 59, 59} : CalendarTime{2015, 6, 21, 0, 0, 0};
        }
        CalendarTime localNow() const override { return utcNow(); }
    } clock;
    entry = std::make_unique<QsoEntry>(Services{fx.settings, fx.dialogs, clock, fx.files, fx.printer, fx.dir.path()},
                                       session, *logbook);
    entry->reset();
    fx.dialogs.answer(false);
    enter(F::Callsign, "DL1ABC");
    entry->enter(F::Activity);
    EXPECT_EQ(form().text(F::Date) + " " + form().text(F::Start), "20/06/15 23:59");
}

TEST_F(EntryTest, EditChangesTheTimeAndRewritesInOrder)
{
    setLog({test::qso("21/06/15", "F1AAA", "09:00", "14 Mhz", "SSB", "59"),
            test::qso("21/06/15", "F1BBB", "10:00", "14 Mhz", "SSB", "62"),
            test::qso("21/06/15", "F1CCC", "11:00", "14 Mhz", "SSB", "75")});
    entry->edit(2);
    EXPECT_TRUE(session.editMode());
    EXPECT_EQ(form().recordCaption, "Valider");
    EXPECT_EQ(form().text(F::Callsign), "F1CCC");
    EXPECT_EQ(form().text(F::Start), "11:00");
    EXPECT_FALSE(form().editEnabled);
    type(F::Start, "09:30");
    record();
    EXPECT_FALSE(session.editMode());
    ASSERT_EQ(lines().size(), 3);
    EXPECT_EQ(qsoline::field(lines()[1], logcol::kCallsign), "F1CCC");
    EXPECT_EQ(qsoline::field(lines()[1], logcol::kStart), "09:30");
    EXPECT_EQ(qsoline::rawField(lines()[1], logcol::kNewDepartmentFlag) +
                  qsoline::rawField(lines()[1], logcol::kNewPrefixFlag),
              "  ");
    EXPECT_EQ(qsoline::rawField(lines()[1], logcol::kCountArea), qsoline::rawField(lines()[0], logcol::kCountArea));
    EXPECT_EQ(qsoline::field(lines()[2], logcol::kCallsign), "F1BBB");
    EXPECT_EQ(fx.dir.read("Liste_Prenom.txt"), "F1CCC        75 \r\n") << "the edit remembers the operator too";
}

TEST_F(EntryTest, AKeyboardEditKeepsTheQsoDateAndTimes)
{
    setLog({test::qso("20/06/15", "F1AAA", "09:00", "14 Mhz", "SSB", "59"),
            test::qso("20/06/15", "F1BBB", "10:00", "14 Mhz", "SSB", "62")});
    entry->edit(0);
    for (F f : {F::Band, F::Mode, F::Callsign, F::Department, F::Activity, F::Date, F::Start, F::End, F::RstReceived,
                F::RstSent, F::FirstName, F::MillName})
        entry->enter(f);
    EXPECT_EQ(form().text(F::Date) + " " + form().text(F::Start), "20/06/15 09:00") << "not the clock's";
    record();
    ASSERT_EQ(lines().size(), 2);
    EXPECT_EQ(qsoline::field(lines()[0], logcol::kCallsign), "F1AAA") << "the line keeps its place";
    EXPECT_EQ(qsoline::field(lines()[0], logcol::kStart), "09:00");
    EXPECT_EQ(qsoline::field(lines()[0], logcol::kEnd), "09:00");
}

TEST_F(EntryTest, ARefusedEntityStaysRefusedThroughEditsAndTheRebuild)
{
    fx.dialogs.answer(true); // F counts
    frenchQso("F5ABC", "59", false);
    fx.dialogs.answer(false);
    record();
    fx.dialogs.answer(false); // DL does not
    enter(F::Callsign, "DL1ABC");
    upToMill(false);
    enter(F::MillName, "");
    record(); // no nomenclature question: nothing to replace
    ASSERT_EQ(lines().size(), 2);
    EXPECT_EQ(qsoline::field(lines()[1], logcol::kNewPrefixFlag), "N");
    const double before = logbook->score(true);
    expectMarksAsRebuilt();

    entry->edit(1); // only the report changes
    type(F::RstSent, "57");
    record();
    EXPECT_EQ(qsoline::field(lines()[1], logcol::kNewPrefixFlag), "N");
    EXPECT_EQ(marks("F0ZZZ_Prefixe_SSB.txt", "DL     "), "00000000000000000");
    EXPECT_EQ(logbook->score(true), before);
    expectMarksAsRebuilt();

    fx.dialogs.answer(true);
    entry->remove(0); // the deleted QSO's department and entity no longer count
    EXPECT_EQ(fx.dialogs.pendingAnswers(), 0);
    EXPECT_EQ(marks("F0ZZZ_Departement_SSB.txt", "59"), "00000000000000000");
    expectMarksAsRebuilt();
}

TEST_F(EntryTest, EditOfAOneQsoLogIsRefusedAndCancelEndsTheEdit)
{
    setLog({test::qso("21/06/15", "F1AAA", "09:00", "14 Mhz", "SSB", "59")});
    entry->edit(0);
    record();
    EXPECT_EQ(fx.dialogs.last(), "Il doit y avoir au moins DEUX QSO d'enregistré pour pouvoir modifier le premier QSO");
    EXPECT_TRUE(session.editMode());
    entry->cancel();
    EXPECT_FALSE(session.editMode());
    EXPECT_EQ(form().text(F::Callsign), "");
    EXPECT_EQ(logBytes(), test::crlf({lines()[0]}));
}

TEST_F(EntryTest, AnEditLoadsAndKeepsAForeignMillReferenceWhole)
{
    QByteArray foreign = test::qso("21/06/15", "ON4AA", "09:00", "14 Mhz", "SSB", "", "1");
    foreign.replace(88, 8, "WIM 7001");
    QByteArray french = test::qso("21/06/15", "F5ABC", "09:10", "14 Mhz", "SSB", "59", "1");
    french.replace(88, 9, "DMF 59045");
    setLog({foreign, french});
    entry->edit(1);
    EXPECT_EQ(form().text(F::MillNumber), "59045");
    EXPECT_EQ(form().text(F::Activity), "MOULIN");
    entry->cancel();
    entry->edit(0);
    EXPECT_EQ(form().text(F::MillNumber), "WIM 7001");
    type(F::End, "09:05"); // only the end time changes
    record();
    EXPECT_EQ(qsoline::field(lines()[0], logcol::kMillReference), "WIM 7001");
    EXPECT_EQ(qsoline::field(lines()[0], logcol::kEnd), "09:05");
}

TEST_F(EntryTest, DeleteAsksAndRemovesOnlyTheChosenLine)
{
    const QByteArray a = test::qso("21/06/15", "F1AAA", "09:00", "14 Mhz", "SSB");
    setLog({a, a});
    entry->remove(-1);
    EXPECT_EQ(fx.dialogs.last(), "Selectionnez d'abord un QSO");
    fx.dialogs.answer(false);
    entry->remove(1);
    EXPECT_EQ(fx.dialogs.last(), "Effacer le QSO avec la station F1AAA ?");
    EXPECT_EQ(logBytes(), test::crlf({a, a}));
    fx.dialogs.answer(true);
    entry->remove(1);
    EXPECT_EQ(logBytes(), test::crlf({a})) << "the identical line stays";
    EXPECT_EQ(lines().size(), 1);

    // During an edit the delete does not ask, and ends the edit.
    const QByteArray b = test::qso("21/06/15", "F1BBB", "09:10", "14 Mhz", "SSB");
    setLog({a, b});
    entry->edit(0);
    fx.dialogs.clear();
    entry->remove(0);
    EXPECT_TRUE(fx.dialogs.shown().isEmpty());
    EXPECT_EQ(logBytes(), test::crlf({b}));
    EXPECT_FALSE(session.editMode());
}

TEST_F(EntryTest, EscapeGoesToTheBandFromAnEmptyCallsignAndCancelsOtherwise)
{
    entry->escape(F::Callsign);
    EXPECT_EQ(form().focus, F::Band);
    type(F::Callsign, "F5ABC");
    type(F::FirstName, "X");
    entry->escape(F::FirstName);
    EXPECT_EQ(form().text(F::Callsign), "");
    EXPECT_EQ(form().focus, F::Callsign);
}

TEST_F(EntryTest, AnySequenceOfKeysLeavesAWellFormedLogAndMarksAsRebuilt)
{
    // Values an operator may type into each field, good and bad.
    const QHash<F, QStringList> values = {
        {F::Band, {"14 Mhz", "28 Mhz", "14 MHz"}},
        {F::Mode, {"SSB", "CW", "FM"}},
        {F::Callsign, {"F5AB", "DL1AB", "ON4AA ", "TM5JN", "G4AB", ""}},
        {F::Department, {"59", "62", "2A", "ZZ", ""}},
        {F::Locator, {"JN03TJ", "JN1"}},
        {F::Activity, {"QSO", "MOULIN"}},
        {F::Date, {"21/06/15", "31/06/15"}},
        {F::Start, {"09:30", "25:10"}},
        {F::End, {"09:35", "ab:cd"}},
        {F::RstReceived, {"59", "57", "599", "5957", " "}},
        {F::RstSent, {"59", "57"}},
        {F::FirstName, {"jean", ""}},
        {F::MillNumber, {"59045", "62001", "WIM 7001", ""}},
        {F::MillName, {"Moulin", ""}},
    };
    const QList<F> fields = {F::Band,     F::Mode,      F::Callsign,   F::Department, F::Locator,
                             F::Activity, F::Date,      F::Start,      F::End,        F::RstReceived,
                             F::RstSent,  F::FirstName, F::MillNumber, F::MillName};
    for (quint32 seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        QRandomGenerator random(seed);
        setLog({test::qso("21/06/15", "F1AAA", "08:00", "14 Mhz", "SSB", "59"),
                test::qso("21/06/15", "F1BBB", "08:10", "14 Mhz", "CW", "75")});
        ASSERT_TRUE(logbook->rebuildMultipliers().result.ok()); // files and log agree at the start
        entry->reset();
        int changes = 0; // QSOs recorded, corrected or deleted
        for (int step = 0; step < 1000; ++step) {
            const int action = random.bounded(12);
            // Mostly the field that has the focus, as an operator types; now and then any other.
            const F field = random.bounded(4) == 0 || form().focus == F::Record ? fields[random.bounded(fields.size())]
                                                                                : form().focus;
            fx.dialogs.answer(random.bounded(2) == 0);
            const QByteArray before = logBytes();
            if (action < 4) {
                const QStringList& pool = values[field];
                QString text = pool[random.bounded(pool.size())];
                if (field == F::Callsign && !text.isEmpty())
                    text += QString::number(random.bounded(100)); // mostly new stations, some duplicates
                type(field, text);
            } else if (action < 9)
                entry->enter(form().focus == F::Record && action < 7 ? F::Record : field);
            else if (action == 9)
                entry->record();
            else if (action == 10)
                entry->edit(random.bounded(logbook->count() + 1) - 1);
            else
                entry->remove(random.bounded(logbook->count() + 1) - 1);
            if (logBytes() == before)
                continue;
            ++changes;
            for (const QByteArray& line : lines())
                ASSERT_TRUE(qsoline::isWellFormed(line)) << "step " << step << ": " << line.toStdString();
            expectMarksAsRebuilt();
            if (HasFailure())
                return;
        }
        EXPECT_GT(changes, 10) << "the sequence must write to the log";
    }
}

} // namespace
} // namespace tv
