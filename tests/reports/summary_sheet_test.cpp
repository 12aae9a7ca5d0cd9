#include "logstore/log_file.h"
#include "logstore/score.h"
#include "logstore/station_paths.h"
#include "platform/settings_keys.h"
#include "reports/report_files.h"
#include "reports/summary_sheet.h"
#include "tests/reports/report_fixture.h"
#include "tests/support/fakes/failing_file_system.h"
#include "tests/support/fakes/fake_settings_store.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::cp;
using namespace test::reports;

const QList<QByteArray> kGrid = {
    "     3.5 Mhz SSB     0       0       0       0       0       ",
    "     7.0 Mhz SSB     0       0       0       0       0       ",
    "     14 Mhz SSB      1       3       0       1       1       ",
    "     21 Mhz SSB      0       0       0       0       0       ",
    "     28 Mhz SSB      1       5       10      0       1       ",
    "     3.5 Mhz CW      2       2       20      2       1       ",
    "     7.0 Mhz CW      1       1       0       0       1       ",
    "     14 Mhz CW       0       0       0       0       0       ",
    "     21 Mhz CW       0       0       0       0       0       ",
    "     28 Mhz CW       0       0       0       0       0       ",
    "     144 Mhz         1       215     0       1       1       ",
};
const QByteArray kHfTotal = "       Total         5       11      30      3       4       ";
const QByteArray kVhfTotal = "       Total         2       263     10      2       2       ";

ScoreTally fixtureTally(const QList<QByteArray>& log = logLines())
{
    test::TempProgramDir dir;
    writeStation(dir, log);
    QtFileSystem files;
    const LoadedScore loaded = loadScore(files, StationPaths(dir.path(), "F4XYZ"));
    if (!loaded.result.ok())
        throw std::runtime_error("fixture station unreadable");
    return loaded.tally;
}

summary::Operator millOperator(int category)
{
    summary::Operator op;
    op.nom = QStringLiteral("Dupont");
    op.prenom = QStringLiteral("Hélène");
    op.indicatif = QStringLiteral("F4XYZ");
    op.adresse1 = QStringLiteral("12 rue du Moulin");
    op.adresse2 = QStringLiteral("77120 Coulommiers");
    op.pays = QStringLiteral("France");
    op.reference = QStringLiteral("DMF 77012 Moulin de la Roche");
    op.operateurs = QStringLiteral("F4XYZ, F5ABC");
    op.commune = QStringLiteral("Coulommiers 77120");
    op.category = category;
    return op;
}

summary::Sheet fixtureSheet(bool hfSession, int category)
{
    summary::Sheet sheet;
    sheet.eventDate = QStringLiteral("21/06/15");
    sheet.op = millOperator(category);
    sheet.hfSession = hfSession;
    sheet.cells = summary::cellsFromTally(fixtureTally(), hfSession);
    return sheet;
}

TEST(SummarySheet, VhfCwHasNoRowButCountsInTheVhfTotal)
{
    const QList<QByteArray> onlyCw = {logLines()[5]}; // 144 Mhz CW, 48 km, a mill
    const summary::Cells cells = summary::cellsFromTally(fixtureTally(onlyCw), false);
    EXPECT_EQ(cells.rows[10][summary::Qso], "0");
    EXPECT_EQ(cells.rows[10][summary::Points], "0");
    EXPECT_EQ(cells.vhfTotal[summary::Qso], "1");
    EXPECT_EQ(cells.vhfTotal[summary::Points], "48");
    EXPECT_EQ(cells.vhfTotal[summary::Mills], "10");
    EXPECT_EQ(cells.vhfTotal[summary::Entities], "2") << "the 144 Mhz columns of both prefix files";
}

TEST(SummarySheet, FileLinesOfAMillOperatorInTheHfSession)
{
    QList<QByteArray> expected = {
        QByteArray(10, ' ') + cp("Journée Européenne des Moulins 21/06/15"),
        "",
        cp("     NOM : Dupont     Prénom : Hélène     Indicatif : F4XYZ"),
        "     Adresse : 12 rue du Moulin",
        "               77120 Coulommiers  France",
        "",
        cp("     Categorie : Opérateur de Moulins en /P"),
        "     Session : bande HF",
        cp("     Référence et nom du Moulin : DMF 77012 Moulin de la Roche"),
        cp("     Opérateurs : F4XYZ, F5ABC"),
        "     Commune et C.P. : Coulommiers 77120",
        "",
        QByteArray(25, ' ') + "RECAPITULATIF",
        "",
        "      Bande         QSO    Points  M Moul  M Dpt   M Pref",
        "",
    };
    expected << kGrid;
    expected << "" << kHfTotal << "" << QByteArray(20, ' ') + "TOTAL DES POINTS : 407"
             << "" << QByteArray(40, ' ') + cp("Document établi avec Tournevent Rev  1.1.2");
    const QList<QByteArray> lines = summary::fileLines(fixtureSheet(true, 1));
    ASSERT_EQ(lines.size(), 33);
    for (int i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(lines[i], expected[i]);
    }
}

TEST(SummarySheet, VhfSessionTakesTheVhfTotalsWhateverTheSessionOptionShows)
{
    summary::Sheet sheet = fixtureSheet(false, 3);
    sheet.op.hfOption = true;
    const QList<QByteArray> lines = summary::fileLines(sheet);
    ASSERT_EQ(lines.size(), 30) << "category 3: no mill lines";
    EXPECT_EQ(lines[6], cp("     Categorie : Opérateur individuel"));
    EXPECT_EQ(lines[7], "     Session : bande HF");
    EXPECT_EQ(lines[8], "");
    EXPECT_EQ(lines[9], QByteArray(25, ' ') + "RECAPITULATIF");
    EXPECT_EQ(lines[25], kVhfTotal);
    EXPECT_EQ(lines[27], QByteArray(20, ' ') + "TOTAL DES POINTS : 3682");
}

TEST(SummarySheet, PrintLines)
{
    summary::Sheet sheet = fixtureSheet(true, 2);
    sheet.op.hfOption = false;
    QList<QByteArray> expected = {
        " ",
        QByteArray(10, ' ') + cp("Journée Nationale des Moulins 21/06/15"),
        " ",
        cp("     NOM : Dupont     Prénom : Hélène     Indicatif : F4XYZ"),
        "",
        "     Adresse : 12 rue du Moulin",
        "               77120 Coulommiers  France",
        "",
        cp("     Catégorie : Opérateur de Moulins (Résident)"),
        "     Session : bande VHF",
        "",
        cp("     Référence et nom du Moulin : DMF 77012 Moulin de la Roche"),
        cp("     Opérateurs : F4XYZ, F5ABC"),
        "     Commune et C.P. : Coulommiers 77120",
        "",
        QByteArray(25, ' ') + "RECAPITULATIF",
        "",
        "      Bande         QSO    Points  M Moul  M Dpt   M Pref",
        "",
    };
    expected << kGrid;
    expected << "" << kHfTotal << ""
             << "" << QByteArray(20, ' ') + "TOTAL DES POINTS : 407"
             << " " << QByteArray(40, ' ') + cp("Document établi avec Tournevent Rev  1.1.2");
    EXPECT_EQ(summary::printLines(sheet), expected);

    sheet.op.category = 3;
    const QList<QByteArray> individual = summary::printLines(sheet);
    EXPECT_EQ(individual.size(), expected.size() - 3);
    EXPECT_EQ(individual[10], "");
    EXPECT_EQ(individual[11], "") << "the empty lines before and after the (absent) mill lines";
    EXPECT_EQ(individual[12], QByteArray(25, ' ') + "RECAPITULATIF");
}

TEST(SummarySheet, CellsTakeEightCharactersAndLongerTextsAreNeverCut)
{
    const struct {
        const char* text;
        QByteArray cell;
    } cases[] = {
        {"", "        "},          {"0", "0       "},           {"1234567", "1234567 "},
        {"12345678", "12345678 "}, {"123456789", "123456789 "}, {"été", "\xE9t\xE9     "},
        {"1\t2", "1 2     "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(summary::cell(QString::fromUtf8(c.text)), c.cell);
    }

    summary::Sheet sheet = fixtureSheet(true, 3);
    sheet.cells.rows[10][summary::Points] = QStringLiteral("123456789");
    sheet.cells.rows[10][summary::Mills] = QStringLiteral("10");
    EXPECT_EQ(summary::gridLine(10, sheet), "     144 Mhz         1       123456789 10      1       1       ");
}

TEST(SummarySheet, TotalPointsComeFromTheTotalCellTexts)
{
    summary::Cells cells = summary::cellsFromTally(fixtureTally(), true);
    const struct {
        const char* points;
        const char* mills;
        const char* expected;
    } cases[] = {
        {"11", "30", "407"}, {"100", "30", "3700"}, {"abc", "30", "0"}, {"12abc", "30", "444"},
        {"", "", "0"},       {" 20 ", "0", "140"},  {"7", "x", "49"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.points);
        cells.hfTotal[summary::Points] = QString::fromLatin1(c.points);
        cells.hfTotal[summary::Mills] = QString::fromLatin1(c.mills);
        EXPECT_EQ(summary::totalPoints(cells, true), QString::fromLatin1(c.expected));
    }
    cells.vhfTotal[summary::Points] = QStringLiteral("100");
    EXPECT_EQ(summary::totalPoints(cells, false), "1400") << "VHF: 100 x (10 + 2 + 2)";
}

TEST(SummarySheet, OperatorFieldsStoredInOrderAndReadBack)
{
    FakeSettingsStore settings;
    summary::storeOperator(settings, "F4XYZ", millOperator(1));
    const QString s = QStringLiteral("JNM|Setup F4XYZ|");
    EXPECT_EQ(settings.writes(),
              (QStringList{s + "Nom=Dupont", s + QStringLiteral("Prenom=Hélène"), s + "Indicatif=F4XYZ",
                           s + "Adresse 1=12 rue du Moulin", s + "Adresse 2=77120 Coulommiers", s + "Pays=France",
                           s + "Categorie=1", s + "Reference=DMF 77012 Moulin de la Roche",
                           s + "Operateurs=F4XYZ, F5ABC", s + "Commune=Coulommiers 77120"}));
    EXPECT_EQ(summary::loadOperator(settings, "F4XYZ"), millOperator(1));

    summary::Operator none = millOperator(0);
    settings.clearWrites();
    summary::storeOperator(settings, "F4XYZ", none);
    EXPECT_EQ(settings.writes()[6], s + "Categorie=");
}

TEST(SummarySheet, StoredCategoryRules)
{
    const struct {
        const char* stored; // nullptr: absent
        int category;
        bool millFieldsKept;
    } cases[] = {
        {"1", 1, true}, {"2", 2, true}, {"3", 3, false}, {nullptr, 3, false},
        {"", 0, true},  {"4", 0, true}, {" 1", 0, true},
    };
    const QString section = QStringLiteral("Setup F4XYZ");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "(absent)");
        FakeSettingsStore settings;
        settings.setValue(keys::kJnm, section, keys::kNom, "Dupont");
        settings.setValue(keys::kJnm, section, keys::kReference, "DMF 77012");
        settings.setValue(keys::kJnm, section, keys::kOperateurs, "F4XYZ");
        settings.setValue(keys::kJnm, section, keys::kCommune, "Coulommiers");
        if (c.stored)
            settings.setValue(keys::kJnm, section, keys::kCategorie, QString::fromLatin1(c.stored));
        const summary::Operator op = summary::loadOperator(settings, "F4XYZ");
        EXPECT_EQ(op.category, c.category);
        EXPECT_EQ(op.reference, c.millFieldsKept ? "DMF 77012" : "");
        EXPECT_EQ(op.operateurs, c.millFieldsKept ? "F4XYZ" : "");
        EXPECT_EQ(op.commune, c.millFieldsKept ? "Coulommiers" : "");
        EXPECT_EQ(op.nom, "Dupont");
    }
}

TEST(SummarySheet, SessionOptionAndReportSessionFromTheSettings)
{
    const struct {
        const char* stored;
        bool hf;
    } cases[] = {{nullptr, true}, {"HF", true}, {"VHF", false}, {"hf", false}, {"", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "(absent)");
        FakeSettingsStore settings;
        if (c.stored)
            settings.setValue(keys::kJnm, "Setup F4XYZ", keys::kSession, QString::fromLatin1(c.stored));
        EXPECT_EQ(summary::loadOperator(settings, "F4XYZ").hfOption, c.hf);
        EXPECT_EQ(reportfiles::isHfSession(settings, "F4XYZ"), c.hf) << "the session the reports are named after";
    }
}

TEST(SummaryDay, EitherSessionsSheetCountsTheWholeDay)
{
    for (const bool hfLive : {true, false}) {
        SCOPED_TRACE(hfLive ? "HF live, VHF archived" : "VHF live, HF archived");
        test::TempProgramDir dir;
        writeSwitchedStation(dir, hfLive);
        QtFileSystem files;
        const StationPaths paths(dir.path(), "F4XYZ");
        ASSERT_EQ(loadScore(files, paths).tally.hfTotals().qsos, hfLive ? 5 : 0) << "the live files hold one session";

        const LoadedScore day = summary::loadDayScore(files, paths, hfLive);
        ASSERT_TRUE(day.result.ok());
        summary::Sheet sheet = fixtureSheet(hfLive, 3);
        sheet.cells = summary::cellsFromTally(day.tally, hfLive);
        for (int row = 0; row < summary::kRows; ++row)
            EXPECT_EQ(summary::gridLine(row, sheet), kGrid[row]) << "row " << row + 1;
        EXPECT_EQ(summary::fileLines(sheet)[25], hfLive ? kHfTotal : kVhfTotal);
        EXPECT_EQ(dir.read(hfLive ? "F4XYZ.vhf" : "F4XYZ.hf_"), LogFile::joinLines(sessionLines(!hfLive)))
            << "the archive is only read";
    }
}

TEST(SummaryDay, AnArchiveOrATemplateThatCannotBeReadIsNamed)
{
    const struct {
        const char* failing;
        int error;
    } cases[] = {{"F4XYZ.hf_", FileResult::kDeviceError}, {"FXXXX_Departement.txt", FileResult::kPermissionDenied}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failing);
        test::TempProgramDir dir;
        writeSwitchedStation(dir, false);
        FailingFileSystem files;
        files.failReadsOf(QString::fromLatin1(c.failing), c.error);
        const LoadedScore day = summary::loadDayScore(files, StationPaths(dir.path(), "F4XYZ"), false);
        EXPECT_EQ(day.result.errorNumber, c.error);
        EXPECT_TRUE(day.failedFile.endsWith(QString::fromLatin1(c.failing)));
        EXPECT_EQ(day.tally, ScoreTally{}) << "nothing counted from a part of the day";
    }
}

class SummarySave : public ::testing::Test {
protected:
    test::TempProgramDir dir;
    FailingFileSystem files;
    StationPaths paths{dir.path(), "F4XYZ"};
};

TEST_F(SummarySave, FileNameFromTheEventDateAndTheWholeFileWritten)
{
    summary::Sheet sheet = fixtureSheet(true, 1);
    sheet.eventDate = QStringLiteral("05/05/2008");
    const summary::SaveOutcome saved = summary::save(files, paths, sheet);
    ASSERT_TRUE(saved.result.ok());
    EXPECT_EQ(saved.fileName, "F4XYZ_Recapitulatif_JNM_05_05_08.txt");
    EXPECT_EQ(saved.message, QStringLiteral("La feuille récapitulative JNM de F4XYZ a été sauvegardée sous le nom : "
                                            "F4XYZ_Recapitulatif_JNM_05_05_08.txt"));
    const QByteArray bytes = dir.read(saved.fileName);
    EXPECT_EQ(bytes, LogFile::joinLines(summary::fileLines(sheet)));
    EXPECT_EQ(bytes.count("\r\n"), 33);
    EXPECT_EQ(bytes.count('\n'), 33) << "every line ends with CR LF";
    EXPECT_TRUE(bytes.startsWith(QByteArray(10, ' ') + cp("Journée Européenne des Moulins 05/05/2008\r\n")));
}

TEST_F(SummarySave, FailedWriteLeavesThePreviousSheet)
{
    dir.write("F4XYZ_Recapitulatif_JNM_21_06_15.txt", "previous sheet");
    files.failWrites(1, FileResult::kPermissionDenied);
    const summary::SaveOutcome saved = summary::save(files, paths, fixtureSheet(true, 1));
    EXPECT_EQ(saved.result.errorNumber, 70);
    EXPECT_EQ(saved.message, QStringLiteral("Erreur N° 70 : le fichier F4XYZ_Recapitulatif_JNM_21_06_15.txt n'a pas "
                                            "pu être écrit ; un fichier précédent de ce nom reste inchangé."));
    EXPECT_EQ(dir.read("F4XYZ_Recapitulatif_JNM_21_06_15.txt"), "previous sheet");
}

TEST_F(SummarySave, EventDateThatCannotNameAFile)
{
    summary::Sheet sheet = fixtureSheet(true, 1);
    sheet.eventDate = QStringLiteral("21-6-2015");
    const summary::SaveOutcome saved = summary::save(files, paths, sheet);
    EXPECT_FALSE(saved.result.ok());
    EXPECT_TRUE(saved.fileName.isEmpty());
    EXPECT_EQ(files.writes(), 0);
}

} // namespace
} // namespace tv
