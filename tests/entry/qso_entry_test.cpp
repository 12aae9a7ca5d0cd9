#include "entry/qso_entry.h"
#include "logstore/log_file.h"
#include "logstore/qso_line.h"
#include "station/station_session.h"
#include "tests/support/fakes/failing_file_system.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

using F = EntryField;

// The entry of one station on a temporary program directory, with the list kept as the main
// window keeps it.
class EntryTest : public ::testing::Test {
protected:
    test::Fixture fx;
    StationSession session;
    QList<QByteArray> lines;
    std::unique_ptr<QsoEntry> entry;

    void SetUp() override
    {
        fx.dir.installShippedData();
        fx.dir.installStationFiles("F0ZZZ");
        fx.dir.write("F0ZZZ.log", "");
        test::setCurrentStation(fx.settings, "F0ZZZ");
        fx.clock.set({2015, 6, 21, 9, 41, 0}, {2015, 6, 21, 11, 41, 0});
        startSession("HF", "JN18DU");
    }

    void startSession(const QString& name, const QString& locator)
    {
        session.setStation("F0ZZZ", locator);
        session.setSessionText(name);
        entry =
            std::make_unique<QsoEntry>(fx.services(), session, [this]() -> const QList<QByteArray>& { return lines; });
        entry->setBandList(name == "HF" ? QStringList{"3.5 Mhz", "7.0 Mhz", "14 Mhz", "21 Mhz", "28 Mhz"}
                                        : QStringList{"144 Mhz"});
        form().setText(F::Band, name == "HF" ? "14 Mhz" : "144 Mhz");
    }

    EntryForm& form() { return entry->form(); }

    // Applies what the window would: the list follows the log.
    void follow(const EntryEffects& effects)
    {
        if (effects.reloadList)
            lines = LogFile(fx.files, fx.dir.file("F0ZZZ.log")).load().lines;
        else if (effects.appendedLine)
            lines.append(*effects.appendedLine);
        session.setQsoCount(int(lines.size()));
    }

    void type(F field, const QString& text) { form().setText(field, text); }
    void enter(F field, const QString& text)
    {
        type(field, text);
        follow(entry->enter(field));
    }
    void record() { follow(entry->record()); }

    // The activity, the two reports and the first name.
    void upToMill(bool mill, const QString& firstName = QString())
    {
        type(F::Activity, mill ? "MOULIN" : "QSO");
        form().activityIndex = mill ? 1 : 0;
        follow(entry->enter(F::Activity));
        enter(F::RstReceived, "57");
        enter(F::RstSent, "59");
        enter(F::FirstName, firstName);
    }
    // The fields of a French QSO on 14 Mhz SSB up to the mill name.
    void frenchQso(const QString& call, const QString& dept, bool mill, const QString& number = QString())
    {
        enter(F::Callsign, call);
        enter(F::Department, dept);
        upToMill(mill, QString::fromUtf8("rené"));
        if (mill)
            enter(F::MillNumber, number);
        enter(F::MillName, mill ? "Moulin Blanc" : "");
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
    EXPECT_EQ(fx.dir.read("Liste_Prenom.txt"), test::cp("F5ABC        59 RENÉ\r\n"));
    EXPECT_EQ(fx.dir.read("Nomenclature.txt"), "F5ABC      59 \r\n");

    // Ready for the next QSO.
    EXPECT_EQ(form().text(F::Callsign), "");
    EXPECT_EQ(form().text(F::RstReceived), "59");
    EXPECT_EQ(form().focus, F::Callsign);
    EXPECT_FALSE(form().recordEnabled);
    EXPECT_EQ(session.qsoCount(), 1);
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
    const QByteArray line = lines.value(0);
    EXPECT_EQ(qsoline::rawField(line, logcol::kMillReference), QByteArray("WIM 7001").leftJustified(20, ' '));
    EXPECT_EQ(qsoline::field(line, logcol::kNewPrefixFlag), "0");
    EXPECT_EQ(marks("F0ZZZ_Prefixe_SSB.txt", "ON     "), "00000000000000000");
}

TEST_F(EntryTest, DuplicateOnSameBandAndModeIsRefused)
{
    lines = {test::qso("21/06/15", "F5ABC", "08:00", "14 Mhz", "SSB", "59"),
             test::qso("21/06/15", "F6XYZ", "08:10", "7.0 Mhz", "SSB", "62")};
    fx.dir.write("F0ZZZ.log", test::crlf({lines[0], lines[1]}));
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

TEST_F(EntryTest, FieldChecksGiveTheirMessages)
{
    struct Case {
        F field;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {F::Callsign, "", "Attention vous devez entrer un indicatif"},
        {F::Callsign, "F0ABCDEFGH123", "Attention 12 caracteres maxi pour l'indicatif"},
        {F::Mode, "FM", "Attention le mode doit etre uniquement SSB ou CW "},
        {F::Mode, "SSBSSBS", "Attention 6 caracteres maxi pour le mode de trafic"},
        {F::Band, "144 MHz", "Attention vous ne pouver selectionner que les bandes proposées"},
        {F::Locator, "", "Attention vous devez entrer un locator"},
        {F::Locator, "JN18D", "Attention 6 caracteres pour le locator"},
        {F::Locator, "JN1XDU", "Erreur dans la saisie du locator"},
        {F::Date, "", "Attention vous devez entrer une date (pour le classement) "},
        {F::Date, "1/1/2010x", "Attention 8 caracteres pour la date (format jj/mm/aa)"},
        {F::Date, "01-01-10", "Attention le format date doit etre jj/mm/aa"},
        {F::Date, "31/02/15", "Attention le format date doit etre jj/mm/aa"},
        {F::Start, "", "Attention vous devez entrer l'heure de debut (pour le classement) "},
        {F::Start, "9:05", "Attention le format de l'heure doit etre hh:mm"},
        {F::Start, "25:00", "Attention le format de l'heure doit etre hh:mm"},
        {F::End, "09h05", "Attention le format de l'heure doit etre hh:mm"},
        {F::RstReceived, "", "Attention le report recu est obligatoire"},
        {F::RstReceived, "123456789", "Attention 8 caracteres maxi pour le report reçu"},
        {F::RstSent, "", "Attention le report envoyé est obligatoire"},
        {F::RstSent, "123456789", "Attention 8 caracteres maxi pour le report envoyé"},
        {F::FirstName, "ABCDEFGHIJKLMNOP", "Attention 15 caracteres maxi pour le prenom"},
        {F::MillName, "1234567890123456789012345678901", "Attention 30 caracteres maxi pour le nom du Moulin"},
        {F::MillName, "Moulin łódź",
         "Attention le caractère « ł » ne peut pas être enregistré dans le log, corrigez la saisie"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        fx.dialogs.clear();
        enter(c.field, QString::fromUtf8(c.text));
        EXPECT_EQ(fx.dialogs.last(), QString::fromUtf8(c.message));
        EXPECT_EQ(form().focus, c.field) << "the focus stays in the refused field";
    }
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
    const QByteArray line = lines.value(0);
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
    EXPECT_EQ(form().text(F::Distance), "0");
    EXPECT_EQ(form().text(F::Azimuth), "?");
}

TEST_F(EntryTest, WithoutTheStationLocatorNoDistanceIsInvented)
{
    startSession("VHF", "------");
    fx.dialogs.answer(false);
    enter(F::Callsign, "DL1XYZ");
    enter(F::Locator, "JN03TJ");
    EXPECT_EQ(form().text(F::Distance), "?");
    EXPECT_TRUE(fx.dialogs.last().startsWith("Attention le locator de la station"));
}

TEST_F(EntryTest, ManualDateInsertsInDateAndTimeOrder)
{
    fx.settings.setValue("JNM", "Setup F0ZZZ", "Date Automatique", "False");
    lines = {test::qso("21/06/15", "F1AAA", "09:00", "14 Mhz", "SSB"),
             test::qso("21/06/15", "F1BBB", "10:00", "14 Mhz", "SSB")};
    fx.dir.write("F0ZZZ.log", test::crlf({lines[0], lines[1]}));
    fx.dialogs.answer(false);
    enter(F::Callsign, "DL1ABC");
    follow(entry->enter(F::Activity));
    EXPECT_EQ(form().focus, F::Date);
    enter(F::Date, "21/06/15");
    enter(F::Start, "09:30");
    EXPECT_EQ(form().text(F::End), "09:30");
    enter(F::End, "09:31");
    enter(F::RstReceived, "59");
    enter(F::RstSent, "59");
    enter(F::FirstName, "");
    enter(F::MillName, "");
    fx.dialogs.answer(false);
    record();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(qsoline::field(lines[1], logcol::kCallsign), "DL1ABC");
    EXPECT_EQ(qsoline::field(lines[1], logcol::kEnd), "09:31");
    EXPECT_EQ(logBytes(), test::crlf({lines[0], lines[1], lines[2]}));
    EXPECT_EQ(form().text(F::Date), "21/06/15") << "the manual date stays for the next QSO";
}

TEST_F(EntryTest, FailedWriteKeepsTheContactAndSetsNoMark)
{
    fx.dialogs.answer(true);
    frenchQso("F5ABC", "59", false);
    fx.files.failWrites(1);
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
    EXPECT_EQ(lines.size(), 1) << "recorded at the second try";
    EXPECT_EQ(marks("F0ZZZ_Departement_SSB.txt", "59"), "00001000000000000");
}

TEST_F(EntryTest, RecordingNeedsTheCallsignBandAndModeOfItsLookUps)
{
    fx.dialogs.answer(true);
    frenchQso("F5ABC", "59", false);
    // The callsign typed again after its look-ups, without Enter.
    type(F::Callsign, "F6XYZ");
    record();
    EXPECT_EQ(fx.dialogs.last(), QString::fromUtf8("Attention validez l'indicatif avec la touche Entrée avant "
                                                   "d'enregistrer le QSO"));
    EXPECT_EQ(form().focus, F::Callsign);
    EXPECT_EQ(logBytes(), "");
    // The band changed after the look-ups.
    enter(F::Callsign, "F5ABC");
    type(F::Band, "7.0 Mhz");
    record();
    EXPECT_EQ(logBytes(), "");
    // Confirmed again: recorded.
    type(F::Band, "14 Mhz");
    fx.dialogs.answer(false);
    record();
    EXPECT_EQ(lines.size(), 1);
    // After recording, the next QSO starts from its callsign.
    EXPECT_FALSE(form()[F::Department].enabled);
    EXPECT_FALSE(form()[F::MillName].enabled);
    record();
    EXPECT_EQ(lines.size(), 1) << "nothing to record before a callsign is confirmed";
}

TEST_F(EntryTest, FirstNamesAreUpperCasedWithinTheCodePage)
{
    fx.dialogs.answer(true);
    enter(F::Callsign, "F5ABC");
    enter(F::Department, "59");
    upToMill(false, QString::fromUtf8("µélodie"));
    enter(F::MillName, "");
    fx.dialogs.answer(false);
    record();
    EXPECT_EQ(qsoline::field(lines.value(0), logcol::kFirstName), test::cp("µÉLODIE"));
}

TEST_F(EntryTest, EditChangesTheTimeAndRewritesInOrder)
{
    lines = {test::qso("21/06/15", "F1AAA", "09:00", "14 Mhz", "SSB", "59"),
             test::qso("21/06/15", "F1BBB", "10:00", "14 Mhz", "SSB", "62"),
             test::qso("21/06/15", "F1CCC", "11:00", "14 Mhz", "SSB", "75")};
    fx.dir.write("F0ZZZ.log", test::crlf({lines[0], lines[1], lines[2]}));
    follow(entry->edit(2));
    EXPECT_TRUE(session.editMode());
    EXPECT_EQ(form().recordCaption, "Valider");
    EXPECT_EQ(form().text(F::Callsign), "F1CCC");
    EXPECT_EQ(form().text(F::Start), "11:00");
    EXPECT_FALSE(form().editEnabled);
    type(F::Start, "09:30");
    record();
    EXPECT_FALSE(session.editMode());
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(qsoline::field(lines[1], logcol::kCallsign), "F1CCC");
    EXPECT_EQ(qsoline::field(lines[1], logcol::kStart), "09:30");
    EXPECT_EQ(qsoline::rawField(lines[1], logcol::kNewDepartmentFlag) +
                  qsoline::rawField(lines[1], logcol::kNewPrefixFlag),
              "  ");
    EXPECT_EQ(qsoline::rawField(lines[1], logcol::kCountArea), qsoline::rawField(lines[0], logcol::kCountArea));
    EXPECT_EQ(qsoline::field(lines[2], logcol::kCallsign), "F1BBB");
    EXPECT_EQ(fx.dir.read("Liste_Prenom.txt"), "F1CCC        75 \r\n") << "the edit remembers the operator too";
}

TEST_F(EntryTest, EditOfAOneQsoLogIsRefusedAndCancelEndsTheEdit)
{
    lines = {test::qso("21/06/15", "F1AAA", "09:00", "14 Mhz", "SSB", "59")};
    fx.dir.write("F0ZZZ.log", test::crlf({lines[0]}));
    follow(entry->edit(0));
    record();
    EXPECT_EQ(fx.dialogs.last(), "Il doit y avoir au moins DEUX QSO d'enregistré pour pouvoir modifier le premier QSO");
    EXPECT_TRUE(session.editMode());
    follow(entry->cancel());
    EXPECT_FALSE(session.editMode());
    EXPECT_EQ(form().text(F::Callsign), "");
    EXPECT_EQ(logBytes(), test::crlf({lines[0]}));
}

TEST_F(EntryTest, EditLoadsAForeignMillReferenceWhole)
{
    QByteArray foreign = test::qso("21/06/15", "ON4AA", "09:00", "14 Mhz", "SSB", "", "1");
    foreign.replace(88, 8, "WIM 7001");
    QByteArray french = test::qso("21/06/15", "F5ABC", "09:10", "14 Mhz", "SSB", "59", "1");
    french.replace(88, 9, "DMF 59045");
    lines = {foreign, french};
    fx.dir.write("F0ZZZ.log", test::crlf({foreign, french}));
    follow(entry->edit(0));
    EXPECT_EQ(form().text(F::MillNumber), "WIM 7001");
    follow(entry->cancel());
    follow(entry->edit(1));
    EXPECT_EQ(form().text(F::MillNumber), "59045");
    EXPECT_EQ(form().text(F::Activity), "MOULIN");
}

TEST_F(EntryTest, DeleteAsksAndRemovesOnlyTheChosenLine)
{
    const QByteArray a = test::qso("21/06/15", "F1AAA", "09:00", "14 Mhz", "SSB");
    lines = {a, a};
    fx.dir.write("F0ZZZ.log", test::crlf({a, a}));
    follow(entry->remove(-1));
    EXPECT_EQ(fx.dialogs.last(), "Selectionnez d'abord un QSO");
    fx.dialogs.answer(false);
    follow(entry->remove(1));
    EXPECT_EQ(fx.dialogs.last(), "Effacer le QSO avec la station F1AAA ?");
    EXPECT_EQ(logBytes(), test::crlf({a, a}));
    fx.dialogs.answer(true);
    follow(entry->remove(1));
    EXPECT_EQ(logBytes(), test::crlf({a})) << "the identical line stays";
    EXPECT_EQ(lines.size(), 1);
}

TEST_F(EntryTest, DeleteDuringAnEditDoesNotAsk)
{
    const QByteArray a = test::qso("21/06/15", "F1AAA", "09:00", "14 Mhz", "SSB");
    const QByteArray b = test::qso("21/06/15", "F1BBB", "09:10", "14 Mhz", "SSB");
    lines = {a, b};
    fx.dir.write("F0ZZZ.log", test::crlf({a, b}));
    follow(entry->edit(0));
    fx.dialogs.clear();
    follow(entry->remove(0));
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
    follow(entry->escape(F::FirstName));
    EXPECT_EQ(form().text(F::Callsign), "");
    EXPECT_EQ(form().focus, F::Callsign);
}

} // namespace
} // namespace tv
