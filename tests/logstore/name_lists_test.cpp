#include "logstore/name_lists.h"
#include "tests/support/fakes/failing_file_system.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::cp;
using test::crlf;

class NameListsTest : public ::testing::Test {
protected:
    test::TempProgramDir dir;
    FailingFileSystem files;
    NameLists lists{files, dir.path()};

    QByteArray nomenclature() const { return dir.read("Nomenclature.txt"); }
    QByteArray firstNames() const { return dir.read("Liste_Prenom.txt"); }
};

// ---- Nomenclature.txt

TEST_F(NameListsTest, StationLineKeepsTheColumns)
{
    struct Case {
        const char* callsign;
        const char* department;
        const char* locator;
        const char* line;
    };
    const Case cases[] = {
        {"F5ABC", "59", "JN18DU", "F5ABC      59 JN18DU"},
        {"F6XYZ", "5", "IN88AA", "F6XYZ      5  IN88AA"},
        {"F1ABCDEFGH", "2a", "JN12KQ", "F1ABCDEFGH 2a JN12KQ"},
        // Longer callsigns keep their first 10 characters, so the department stays at column 12.
        {"F1ABCDEFGHIJ", "62", "JO10AA", "F1ABCDEFGH 62 JO10AA"},
        {"ON4AA", "", "JO20AA", "ON4AA         JO20AA"},
        {"F0ZZZ", "ABC", "JN18DU", "F0ZZZ      ABCJN18DU"},
        {"F0ZZZ", "59", "JN18DUXX", "F0ZZZ      59 JN18DU"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(NameLists::stationLine(c.callsign, c.department, c.locator), QByteArray(c.line));
    }
}

TEST_F(NameListsTest, FindStationTakesTheFirstLineOfTheCallsign)
{
    dir.write("Nomenclature.txt", crlf({"F6XYZ      5  IN88AA", "F5ABC      59 JN18DU", "F1ABCDEFGH 2a JN12KQ",
                                        "F5ABC      62 JO10AA", "", "F5ABCD     80 JO10BB"}));
    struct Case {
        const char* callsign;
        bool found;
        const char* department;
        const char* locator;
    };
    const Case cases[] = {
        {"F5ABC", true, "59", "JN18DU"},
        {"F6XYZ", true, "05", "IN88AA"}, // a one-character department is read back with its 0
        {"F5ABCD", true, "80", "JO10BB"},
        {"F1ABCDEFGH", true, "2a", "JN12KQ"},
        // 11 and 12 characters: only the first 10 are told apart.
        {"F1ABCDEFGHI", true, "2a", "JN12KQ"},
        {"F1ABCDEFGHIJ", true, "2a", "JN12KQ"},
        {"F1ABCDEFG", false, "", ""},
        {"F5AB", false, "", ""},
        {"F9NONE", false, "", ""},
        {"", false, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.callsign);
        const NameLists::Station station = lists.findStation(c.callsign);
        EXPECT_TRUE(station.result.ok());
        EXPECT_EQ(station.found, c.found);
        EXPECT_EQ(station.department, QByteArray(c.department));
        EXPECT_EQ(station.locator, QByteArray(c.locator));
    }
}

TEST_F(NameListsTest, RememberStationReplacesEveryLineOfTheCallsignInPlace)
{
    dir.write("Nomenclature.txt",
              crlf({"F5ABC      59 JN18DU", "F6XYZ      75 JN18EU", "F5ABC      62 JO10AA", "F5ABCD     80 JO10BB"}));
    ASSERT_TRUE(lists.rememberStation("F5ABC", "2a", "JN12KQ").ok());
    EXPECT_EQ(nomenclature(),
              crlf({"F5ABC      2a JN12KQ", "F6XYZ      75 JN18EU", "F5ABC      2a JN12KQ", "F5ABCD     80 JO10BB"}));

    // A new callsign goes at the end; a 12-character callsign replaces the line of its first 10.
    ASSERT_TRUE(lists.rememberStation("ON4AA", "", "JO20AA").ok());
    ASSERT_TRUE(lists.rememberStation("F1ABCDEFGH", "59", "JN18DU").ok());
    ASSERT_TRUE(lists.rememberStation("F1ABCDEFGHIJ", "62", "JO10AA").ok());
    EXPECT_EQ(nomenclature(), crlf({"F5ABC      2a JN12KQ", "F6XYZ      75 JN18EU", "F5ABC      2a JN12KQ",
                                    "F5ABCD     80 JO10BB", "ON4AA         JO20AA", "F1ABCDEFGH 62 JO10AA"}));

    // Round trip: what was written is what the look-up gives back.
    const NameLists::Station station = lists.findStation("F5ABC");
    EXPECT_EQ(station.department, "2a");
    EXPECT_EQ(station.locator, "JN12KQ");
    ASSERT_TRUE(lists.rememberStation("F6XYZ", "5", "IN88AA").ok());
    EXPECT_EQ(lists.findStation("F6XYZ").department, "05");
}

TEST_F(NameListsTest, MissingNomenclatureIsAnEmptyListAndTheFirstChangeCreatesIt)
{
    const NameLists::Station station = lists.findStation("F5ABC");
    EXPECT_EQ(station.result.errorNumber, FileResult::kNotFound);
    EXPECT_FALSE(station.found);
    EXPECT_EQ(lists.loadStations().result.errorNumber, FileResult::kNotFound);

    ASSERT_TRUE(lists.rememberStation("F5ABC", "59", "JN18DU").ok());
    EXPECT_EQ(nomenclature(), "F5ABC      59 JN18DU\r\n");
}

TEST_F(NameListsTest, UnreadableListsAreNeverOverwritten)
{
    const QByteArray stations = crlf({"F5ABC      59 JN18DU"});
    const QByteArray names = crlf({"F5ABC        59 JEAN"});
    dir.write("Nomenclature.txt", stations);
    dir.write("Liste_Prenom.txt", names);

    files.failReadsOf("Nomenclature.txt", FileResult::kPermissionDenied);
    EXPECT_EQ(lists.findStation("F5ABC").result.errorNumber, FileResult::kPermissionDenied);
    EXPECT_EQ(lists.rememberStation("F6XYZ", "75", "JN18EU").errorNumber, FileResult::kPermissionDenied);
    EXPECT_EQ(lists.loadStations().result.errorNumber, FileResult::kPermissionDenied);

    files.failReadsOf("Liste_Prenom.txt", FileResult::kPermissionDenied);
    const NameLists::FirstName found = lists.findFirstName("F5ABC");
    EXPECT_FALSE(found.found);
    EXPECT_EQ(found.message, "Attention il vous faut le fichier 'Liste_Prenom.txt'");
    EXPECT_EQ(lists.rememberFirstName("F6XYZ        75 PAUL", false).errorNumber, FileResult::kPermissionDenied);

    EXPECT_EQ(nomenclature(), stations);
    EXPECT_EQ(firstNames(), names);
    EXPECT_EQ(files.writes(), 0);
}

TEST_F(NameListsTest, FailedWritesAreReportedAndKeepTheFiles)
{
    const QByteArray stations = crlf({"F5ABC      59 JN18DU", "F6XYZ      75 JN18EU"});
    const QByteArray names = crlf({"F5ABC        59 JEAN"});
    dir.write("Nomenclature.txt", stations);
    dir.write("Liste_Prenom.txt", names);

    files.failWrites(1, FileResult::kDiskFull);
    EXPECT_EQ(lists.rememberStation("F5ABC", "62", "JO10AA").errorNumber, FileResult::kDiskFull);
    files.failWrites(1, FileResult::kPermissionDenied);
    EXPECT_EQ(lists.rememberFirstName("F5ABC        62 LUC", true).errorNumber, FileResult::kPermissionDenied);

    files.stopBeforeRename(true);
    EXPECT_FALSE(lists.rememberStation("F9NEW", "62", "JO10AA").ok());
    EXPECT_FALSE(lists.saveStations({"F1AAA      01 JN00AA"}).ok());
    EXPECT_FALSE(lists.rememberFirstName("F6XYZ        75 PAUL", false).ok());

    EXPECT_EQ(nomenclature(), stations);
    EXPECT_EQ(firstNames(), names);
    EXPECT_EQ(files.fileNames(dir.path()).size(), 2) << "no scratch file is left behind";
}

TEST_F(NameListsTest, SavingTheLoadedStationsWritesTheSameBytes)
{
    const QByteArray file = crlf({"F5ABC      59 JN18DU", "", "F6XYZ      5  IN88AA", cp("F0ÉÈ       75 JN18EU")});
    dir.write("Nomenclature.txt", file);
    const NameLists::Lines loaded = lists.loadStations();
    ASSERT_TRUE(loaded.result.ok());
    ASSERT_EQ(loaded.lines.size(), 4);
    EXPECT_EQ(loaded.lines[2], "F6XYZ      5  IN88AA");
    ASSERT_TRUE(lists.saveStations(loaded.lines).ok());
    EXPECT_EQ(nomenclature(), file);

    // An empty list is an empty file.
    ASSERT_TRUE(lists.saveStations({}).ok());
    EXPECT_EQ(nomenclature(), "");
}

// ---- Liste_Prenom.txt

TEST_F(NameListsTest, EditorSaveKeepsStationsRememberedWhileItWasOpenAndNeverRestoresARemovedOne)
{
    const auto line = [](const char* call, const char* dept, const char* loc) {
        return NameLists::stationLine(call, dept, loc);
    };
    const QList<QByteArray> atOpening = {line("F1AAA", "59", "JO10AA"), line("F1BBB", "62", "JO10BB"),
                                         line("F1CCC", "75", "JN18CC")};
    // The editor changed F1AAA and removed F1CCC; meanwhile recordings changed F1BBB and F1CCC
    // and added F1DDD.
    const QList<QByteArray> edited = {line("F1AAA", "80", "JO10AA"), line("F1BBB", "62", "JO10BB")};
    const QList<QByteArray> now = {line("F1AAA", "59", "JO10XX"), line("F1BBB", "62", "JO10ZZ"),
                                   line("F1CCC", "75", "JN18ZZ"), line("F1DDD", "44", "IN97DD")};
    EXPECT_EQ(NameLists::mergeStations(atOpening, edited, now),
              (QList<QByteArray>{line("F1AAA", "80", "JO10AA"), line("F1BBB", "62", "JO10ZZ"),
                                 line("F1DDD", "44", "IN97DD")}));
    EXPECT_EQ(NameLists::mergeStations(atOpening, edited, atOpening), edited) << "nothing changed meanwhile";
    // Another save removed F1BBB, which this editor left alone: it is not brought back.
    EXPECT_EQ(NameLists::mergeStations(atOpening, edited, {line("F1AAA", "59", "JO10AA")}),
              QList<QByteArray>{line("F1AAA", "80", "JO10AA")});
}

TEST_F(NameListsTest, FirstNameLineKeepsTheColumns)
{
    EXPECT_EQ(NameLists::firstNameLine("F5ABC", "59", "JEAN"), "F5ABC        59 JEAN");
    EXPECT_EQ(NameLists::firstNameLine("F5ABC", "", "JEAN"), "F5ABC           JEAN");
    EXPECT_EQ(NameLists::firstNameLine("F1ABCDEFGHIJ", "2a", cp("HÉLÈNE")), cp("F1ABCDEFGHIJ 2a HÉLÈNE"));
    EXPECT_EQ(NameLists::firstNameLine("F1ABCDEFGHIJK", "5", "JO"), "F1ABCDEFGHIJ 5  JO");
}

TEST_F(NameListsTest, FindFirstNameTakesTheLastLineAndUpperCasesTheName)
{
    dir.write("Liste_Prenom.txt", crlf({cp("F5ABC        59 jean-rené  "), "F6XYZ        75 PAUL",
                                        cp("F5ABC        62 Hélène"), "F1ABCDEFGHIJ 2a marc", "F5ABCD       80 LUC"}));
    struct Case {
        const char* callsign;
        bool found;
        const char* department;
        const char* firstName; // UTF-8, compared as Windows-1252
    };
    const Case cases[] = {
        {"F5ABC", true, "62", "HÉLÈNE"},
        {"F6XYZ", true, "75", "PAUL"},
        {"F5ABCD", true, "80", "LUC"},
        {"F1ABCDEFGHIJ", true, "2a", "MARC"},
        {"F1ABCDEFGHI", false, "", ""},
        {"F5AB", false, "", ""},
        {"", false, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.callsign);
        const NameLists::FirstName found = lists.findFirstName(c.callsign);
        EXPECT_TRUE(found.result.ok());
        EXPECT_TRUE(found.message.isEmpty());
        EXPECT_EQ(found.found, c.found);
        EXPECT_EQ(found.department, QByteArray(c.department));
        EXPECT_EQ(found.firstName, cp(c.firstName));
    }

    // The upper case of the first matching line alone, accents included.
    dir.write("Liste_Prenom.txt", crlf({cp("F5ABC        59 jean-rené  ")}));
    EXPECT_EQ(lists.findFirstName("F5ABC").firstName, cp("JEAN-RENÉ"));
}

TEST_F(NameListsTest, MissingFirstNameListGivesTheMessageAndTheRecordingCreatesIt)
{
    const NameLists::FirstName found = lists.findFirstName("F5ABC");
    EXPECT_EQ(found.result.errorNumber, FileResult::kNotFound);
    EXPECT_FALSE(found.found);
    EXPECT_TRUE(found.department.isEmpty());
    EXPECT_EQ(found.message, "Attention il vous faut le fichier 'Liste_Prenom.txt'");

    ASSERT_TRUE(lists.rememberFirstName(cp("F5ABC        59 HÉLÈNE"), found.found).ok());
    EXPECT_EQ(firstNames(), cp("F5ABC        59 HÉLÈNE\r\n"));
    EXPECT_EQ(lists.findFirstName("F5ABC").firstName, cp("HÉLÈNE"));
}

TEST_F(NameListsTest, RememberFirstNameReplacesInPlaceAndAddsOnlyANewCallsign)
{
    struct Case {
        const char* what;
        QByteArray file;
        QByteArray line;
        QByteArray expected;
    };
    const Case cases[] = {
        {"a known callsign under a new name: replaced, the file does not grow",
         crlf({"F6XYZ        75 PAUL", "F5ABC        59 JEAN", "F1AAA        01 LEA"}), cp("F5ABC        62 RENÉ"),
         crlf({"F6XYZ        75 PAUL", cp("F5ABC        62 RENÉ"), "F1AAA        01 LEA"})},
        {"a callsign standing twice: both lines replaced",
         crlf({"F5ABC        59 JEAN", "F6XYZ        75 PAUL", "F5ABC        62 LUC"}), "F5ABC        80 MARC",
         crlf({"F5ABC        80 MARC", "F6XYZ        75 PAUL", "F5ABC        80 MARC"})},
        {"a callsign the look-up did not find: added at the end", crlf({"F6XYZ        75 PAUL"}),
         "F5ABC        59 JEAN", crlf({"F6XYZ        75 PAUL", "F5ABC        59 JEAN"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dir.write("Liste_Prenom.txt", c.file);
        const NameLists::FirstName found = lists.findFirstName(NameLists::firstNameCallsign(c.line));
        ASSERT_TRUE(lists.rememberFirstName(c.line, found.found).ok());
        EXPECT_EQ(firstNames(), c.expected);
    }

    // The value handed over from the look-up, when the file changed in between.
    const QByteArray start = crlf({"F6XYZ        75 PAUL"});
    dir.write("Liste_Prenom.txt", start);
    ASSERT_TRUE(lists.rememberFirstName("F5ABC        59 JEAN", true).ok());
    EXPECT_EQ(firstNames(), start) << "found at the look-up but gone since: nothing written";
    ASSERT_TRUE(lists.rememberFirstName("F6XYZ        75 PIERRE", false).ok());
    EXPECT_EQ(firstNames(), crlf({"F6XYZ        75 PIERRE"})) << "not found at the look-up: never added twice";
}

TEST_F(NameListsTest, LinesWithoutACallsignAreRefused)
{
    EXPECT_FALSE(lists.rememberStation("   ", "59", "JN18DU").ok());
    EXPECT_FALSE(lists.rememberFirstName("             59 JEAN", false).ok());
    EXPECT_FALSE(dir.exists("Nomenclature.txt"));
    EXPECT_FALSE(dir.exists("Liste_Prenom.txt"));
}

} // namespace
} // namespace tv
