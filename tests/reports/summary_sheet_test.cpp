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
using L = QList<QByteArray>;
using Row = std::array<QString, summary::kColumns>;
const QByteArray kSignOff = QByteArray(40, ' ') + cp("Document établi avec Tournevent Rev  1.1.2");

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
    const summary::Cells cells = summary::cellsFromTally(fixtureTally({logLines()[5]}), false); // 144 Mhz CW mill
    EXPECT_EQ(cells.rows[10], (Row{"0", "0", "0", "1", "1"}));
    EXPECT_EQ(cells.vhfTotal, (Row{"1", "48", "10", "2", "2"})) << "entities: both prefix files' 144 Mhz";
}

TEST(SummarySheet, FileAndPrintLines)
{
    const QList<QByteArray> head = {cp("     NOM : Dupont     Prénom : Hélène     Indicatif : F4XYZ"),
                                    "     Adresse : 12 rue du Moulin", "               77120 Coulommiers  France", ""};
    const QList<QByteArray> mill = {cp("     Référence et nom du Moulin : DMF 77012 Moulin de la Roche"),
                                    cp("     Opérateurs : F4XYZ, F5ABC"), "     Commune et C.P. : Coulommiers 77120"};
    const QList<QByteArray> grid =
        L{QByteArray(25, ' ') + "RECAPITULATIF", "", "      Bande         QSO    Points  M Moul  M Dpt   M Pref", ""} +
        kGrid;
    const QByteArray total = QByteArray(20, ' ') + "TOTAL DES POINTS : ";

    summary::Sheet sheet = fixtureSheet(true, 1);
    EXPECT_EQ(summary::fileLines(sheet),
              (L{QByteArray(10, ' ') + cp("Journée Européenne des Moulins 21/06/15"), ""} + head +
               L{cp("     Categorie : Opérateur de Moulins en /P"), "     Session : bande HF"} + mill + L{""} + grid +
               L{"", kHfTotal, "", total + "407", "", kSignOff}));

    // The session named is the stored option; the totals are those of the sheet's session.
    sheet = fixtureSheet(false, 3);
    sheet.op.hfOption = true;
    EXPECT_EQ(summary::fileLines(sheet).mid(6),
              (L{cp("     Categorie : Opérateur individuel"), "     Session : bande HF", ""} + grid +
               L{"", kVhfTotal, "", total + "3682", "", kSignOff}));

    sheet = fixtureSheet(true, 2);
    sheet.op.hfOption = false;
    const QList<QByteArray> printHead =
        L{" ", QByteArray(10, ' ') + cp("Journée Nationale des Moulins 21/06/15"), " ", head[0], ""} + head.mid(1) +
        L{cp("     Catégorie : Opérateur de Moulins (Résident)"), "     Session : bande VHF", ""};
    const QList<QByteArray> printTail = L{""} + grid + L{"", kHfTotal, "", "", total + "407", " ", kSignOff};
    EXPECT_EQ(summary::printLines(sheet), printHead + mill + printTail);
    sheet.op.category = 3;
    L individual = printHead;
    individual[8] = cp("     Catégorie : Opérateur individuel");
    EXPECT_EQ(summary::printLines(sheet), individual + printTail);
}

TEST(SummarySheet, CellsTakeEightCharactersAndLongerTextsAreNeverCut)
{
    const std::pair<const char*, QByteArray> cases[] = {
        {"", "        "},          {"1234567", "1234567 "}, {"123456789", "123456789 "},
        {"été", "\xE9t\xE9     "}, {"1\t2", "1 2     "},
    };
    for (const auto& [text, cell] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(summary::cell(QString::fromUtf8(text)), cell);
    }
    summary::Sheet sheet = fixtureSheet(true, 3);
    sheet.cells.rows[10][summary::Points] = QStringLiteral("123456789");
    EXPECT_EQ(summary::gridLine(10, sheet), "     144 Mhz         1       123456789 0       1       1       ");
}

TEST(SummarySheet, TotalPointsComeFromTheTotalCellTexts)
{
    summary::Cells cells = summary::cellsFromTally(fixtureTally(), true);
    const struct {
        const char *points, *mills, *expected;
    } cases[] = {{"11", "30", "407"}, {"abc", "30", "0"},   {"12abc", "30", "444"},
                 {"", "", "0"},       {" 20 ", "0", "140"}, {"7", "x", "49"}};
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
    settings.clearWrites();
    summary::storeOperator(settings, "F4XYZ", millOperator(0));
    EXPECT_EQ(settings.writes()[6], s + "Categorie=");
}

TEST(SummarySheet, StoredCategoryAndSessionRules)
{
    const struct {
        const char* stored; // nullptr: absent
        int category;
        bool millFieldsKept;
    } categories[] = {{"1", 1, true}, {"3", 3, false}, {nullptr, 3, false},
                      {"", 0, true},  {"4", 0, true},  {" 1", 0, true}};
    const QString section = QStringLiteral("Setup F4XYZ");
    for (const auto& c : categories) {
        SCOPED_TRACE(c.stored ? c.stored : "(absent)");
        FakeSettingsStore settings;
        settings.setValue(keys::kJnm, section, keys::kNom, "Dupont");
        for (const QString& key : {keys::kReference, keys::kOperateurs, keys::kCommune})
            settings.setValue(keys::kJnm, section, key, "x");
        if (c.stored)
            settings.setValue(keys::kJnm, section, keys::kCategorie, QString::fromLatin1(c.stored));
        const summary::Operator op = summary::loadOperator(settings, "F4XYZ");
        EXPECT_EQ(op.category, c.category);
        EXPECT_EQ(op.reference + op.operateurs + op.commune, c.millFieldsKept ? "xxx" : "");
        EXPECT_EQ(op.nom, "Dupont");
    }
    const std::pair<const char*, bool> sessions[] = {{nullptr, true}, {"HF", true}, {"VHF", false}, {"hf", false}};
    for (const auto& [stored, hf] : sessions) {
        SCOPED_TRACE(stored ? stored : "(absent)");
        FakeSettingsStore settings;
        if (stored)
            settings.setValue(keys::kJnm, section, keys::kSession, QString::fromLatin1(stored));
        EXPECT_EQ(summary::loadOperator(settings, "F4XYZ").hfOption, hf);
        EXPECT_EQ(reportfiles::isHfSession(settings, "F4XYZ"), hf) << "the session the reports are named after";
    }
}

TEST(SummaryDay, EitherSessionsSheetCountsTheWholeDay)
{
    for (const bool hfLive : {true, false}) {
        SCOPED_TRACE(hfLive ? "HF live, VHF archived" : "VHF live, HF archived");
        test::TempProgramDir dir;
        writeSwitchedStation(dir, hfLive);
        QtFileSystem files;
        const LoadedScore day = summary::loadDayScore(files, StationPaths(dir.path(), "F4XYZ"), hfLive);
        ASSERT_TRUE(day.result.ok());
        summary::Sheet sheet = fixtureSheet(hfLive, 3);
        sheet.cells = summary::cellsFromTally(day.tally, hfLive);
        EXPECT_EQ(summary::fileLines(sheet).mid(13, 13), (kGrid + L{"", hfLive ? kHfTotal : kVhfTotal}));
        EXPECT_EQ(dir.read(hfLive ? "F4XYZ.vhf" : "F4XYZ.hf_"), LogFile::joinLines(sessionLines(!hfLive)));
    }
    // An archive or a template that cannot be read is named, and nothing of the day is counted.
    const std::pair<const char*, int> failures[] = {{"F4XYZ.hf_", FileResult::kDeviceError},
                                                    {"FXXXX_Departement.txt", FileResult::kPermissionDenied}};
    for (const auto& [failing, error] : failures) {
        SCOPED_TRACE(failing);
        test::TempProgramDir dir;
        writeSwitchedStation(dir, false);
        FailingFileSystem files;
        files.failReadsOf(QString::fromLatin1(failing), error);
        const LoadedScore day = summary::loadDayScore(files, StationPaths(dir.path(), "F4XYZ"), false);
        EXPECT_EQ(day.result.errorNumber, error);
        EXPECT_TRUE(day.failedFile.endsWith(QString::fromLatin1(failing)));
        EXPECT_EQ(day.tally, ScoreTally{});
    }
}

TEST(SummarySave, FileNamedFromTheEventDateOrThePreviousSheetKept)
{
    test::TempProgramDir dir;
    FailingFileSystem files;
    const StationPaths paths(dir.path(), "F4XYZ");
    summary::Sheet sheet = fixtureSheet(true, 1);
    sheet.eventDate = QStringLiteral("21-6-2015");
    summary::SaveOutcome saved = summary::save(files, paths, sheet);
    EXPECT_FALSE(saved.result.ok());
    EXPECT_TRUE(saved.fileName.isEmpty());
    EXPECT_EQ(files.writes(), 0);

    const QString name = QStringLiteral("F4XYZ_Recapitulatif_JNM_05_05_08.txt");
    dir.write(name, "previous sheet");
    files.failWrites(1, FileResult::kPermissionDenied);
    sheet.eventDate = QStringLiteral("05/05/2008");
    saved = summary::save(files, paths, sheet);
    EXPECT_EQ(saved.message, QStringLiteral("Erreur N° 70 : le fichier ") + name +
                                 QStringLiteral(" n'a pas pu être écrit ; un fichier précédent de ce nom reste "
                                                "inchangé."));
    EXPECT_EQ(dir.read(name), "previous sheet");

    saved = summary::save(files, paths, sheet);
    ASSERT_TRUE(saved.result.ok());
    EXPECT_EQ(saved.fileName, name);
    EXPECT_EQ(saved.message,
              QStringLiteral("La feuille récapitulative JNM de F4XYZ a été sauvegardée sous le nom : ") + name);
    EXPECT_EQ(dir.read(name), LogFile::joinLines(summary::fileLines(sheet)));
}

} // namespace
} // namespace tv
