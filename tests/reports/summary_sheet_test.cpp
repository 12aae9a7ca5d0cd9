#include "logstore/score.h"
#include "platform/settings_keys.h"
#include "reports/report_files.h"
#include "reports/summary_sheet.h"
#include "tests/reports/report_fixture.h"

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
    return summary::Operator{"Dupont",
                             "Hélène",
                             "F4XYZ",
                             "12 rue du Moulin",
                             "77120 Coulommiers",
                             "France",
                             "DMF 77012 Moulin de la Roche",
                             "F4XYZ, F5ABC",
                             "Coulommiers 77120",
                             category};
}

summary::Sheet fixtureSheet(bool hfSession, int category)
{
    summary::Sheet sheet;
    sheet.eventDate = "21/06/15";
    sheet.op = millOperator(category);
    sheet.hfSession = hfSession;
    sheet.cells = summary::cellsFromTally(fixtureTally(), hfSession);
    return sheet;
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
    // An event date that cannot name a file writes nothing.
    test::TempProgramDir dir;
    FailingFileSystem files;
    sheet.eventDate = "21-6-2015";
    EXPECT_FALSE(summary::save(files, StationPaths(dir.path(), "F4XYZ"), sheet).result.ok());
    EXPECT_EQ(files.writes(), 0);
}

TEST(SummarySheet, TotalPointsCellsAndStoredFields)
{
    summary::Cells cells = summary::cellsFromTally(fixtureTally(), true);
    // Points and mills texts -> total: each text read as the number it begins with.
    for (const auto& [points, mills, total] : {std::tuple{"11", "30", "407"},
                                               {"abc", "30", "0"},
                                               {"12abc", "30", "444"},
                                               {"", "", "0"},
                                               {" 20 ", "0", "140"},
                                               {"7", "x", "49"}}) {
        cells.hfTotal[summary::Points] = QString::fromLatin1(points);
        cells.hfTotal[summary::Mills] = QString::fromLatin1(mills);
        EXPECT_EQ(summary::totalPoints(cells, true), QString::fromLatin1(total)) << points << " " << mills;
    }
    EXPECT_EQ(summary::totalPoints(cells, false), "3682") << "VHF: 263 x (10 + 2 + 2)";
    // Cells take eight characters; longer texts are never cut.
    summary::Sheet sheet = fixtureSheet(true, 3);
    sheet.cells.rows[10][summary::Points] = "123456789";
    sheet.cells.rows[10][summary::Qso] = "é\t";
    EXPECT_EQ(summary::gridLine(10, sheet), "     144 Mhz         \xE9       123456789 0       1       1       ");
    // The operator's fields are stored in order and read back.
    FakeSettingsStore settings;
    summary::storeOperator(settings, "F4XYZ", millOperator(1));
    const QString s = "JNM|Setup F4XYZ|";
    EXPECT_EQ(settings.writes(),
              (QStringList{s + "Nom=Dupont", s + "Prenom=Hélène", s + "Indicatif=F4XYZ",
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
    // Category and session stored (nullptr: absent) -> category read, mill fields kept, HF session.
    const std::tuple<const char*, const char*, int, bool, bool> cases[] = {
        {"1", nullptr, 1, true, true}, {"3", "HF", 3, false, true}, {nullptr, "VHF", 3, false, false},
        {"", "hf", 0, true, false},    {"4", "", 0, true, false},   {" 1", nullptr, 0, true, true}};
    for (const auto& [category, session, read, kept, hf] : cases) {
        SCOPED_TRACE(testing::Message() << (category ? category : "-") << "/" << (session ? session : "-"));
        FakeSettingsStore settings;
        const QString section = "Setup F4XYZ";
        for (const QString& key : {keys::kNom, keys::kReference, keys::kOperateurs, keys::kCommune})
            settings.setValue(keys::kJnm, section, key, "x");
        if (category)
            settings.setValue(keys::kJnm, section, keys::kCategorie, QString::fromLatin1(category));
        if (session)
            settings.setValue(keys::kJnm, section, keys::kSession, QString::fromLatin1(session));
        const summary::Operator op = summary::loadOperator(settings, "F4XYZ");
        EXPECT_EQ(op.category, read);
        EXPECT_EQ(op.nom + op.reference + op.operateurs + op.commune, kept ? "xxxx" : "x");
        EXPECT_EQ(op.hfOption, hf);
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
        const LoadedScore day = summary::loadDayScore(files, StationPaths(dir.path(), "F4XYZ"), hfLive, nullptr);
        ASSERT_TRUE(day.result.ok());
        summary::Sheet sheet = fixtureSheet(hfLive, 3);
        sheet.cells = summary::cellsFromTally(day.tally, hfLive);
        EXPECT_EQ(summary::fileLines(sheet).mid(13, 13), (kGrid + L{"", hfLive ? kHfTotal : kVhfTotal}));
        EXPECT_EQ(dir.read(hfLive ? "F4XYZ.vhf" : "F4XYZ.hf_"), LogFile::joinLines(sessionLines(!hfLive)));
    }
    // An archive that cannot be read is named, and nothing of the day is counted.
    test::TempProgramDir dir;
    writeSwitchedStation(dir, false);
    FailingFileSystem files;
    files.failReadsOf("F4XYZ.hf_", FileResult::kDeviceError);
    const LoadedScore day = summary::loadDayScore(files, StationPaths(dir.path(), "F4XYZ"), false, nullptr);
    EXPECT_EQ(day.result.errorNumber, FileResult::kDeviceError);
    EXPECT_TRUE(day.failedFile.endsWith("F4XYZ.hf_"));
    EXPECT_EQ(day.tally, ScoreTally{});
}

} // namespace
} // namespace tv
