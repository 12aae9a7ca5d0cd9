#include "logstore/name_lists.h"
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

TEST_F(NameListsTest, LookUpTakesTheFirstLineOfTheCallsign)
{
    dir.write("Nomenclature.txt", crlf({"F6XYZ      5  IN88AA", "F5ABC      59 JN18DU", "F1ABCDEFGH 2a JN12KQ",
                                        "F5ABC      62 JO10AA", "", "F5ABCD     80 JO10BB"}));
    const char* const cases[][3] = {
        // callsign, department, locator; none found when empty
        {"F5ABC", "59", "JN18DU"},
        {"F6XYZ", "05", "IN88AA"}, // a one-character department gets its 0
        {"F5ABCD", "80", "JO10BB"},
        {"F1ABCDEFGHIJ", "2a", "JN12KQ"}, // only 10 characters told apart
        {"F1ABCDEFG", "", ""},
        {"F5AB", "", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        const NameLists::Station station = lists.findStation(c[0]);
        EXPECT_TRUE(station.result.ok());
        EXPECT_EQ(station.found, *c[1] != 0);
        EXPECT_EQ(station.department + " " + station.locator, QByteArray(c[1]) + " " + c[2]);
    }
}

TEST_F(NameListsTest, RememberStationReplacesEveryLineOfTheCallsignInPlace)
{
    dir.write("Nomenclature.txt",
              crlf({"F5ABC      59 JN18DU", "F6XYZ      75 JN18EU", "F5ABC      62 JO10AA", "F5ABCD     80 JO10BB"}));
    ASSERT_TRUE(lists.rememberStation("F5ABC", "2a", "JN12KQ").ok());
    // A new callsign goes at the end; a 12-character callsign replaces the line of its first 10.
    ASSERT_TRUE(lists.rememberStation("ON4AA", "", "JO20AA").ok());
    ASSERT_TRUE(lists.rememberStation("F1ABCDEFGH", "59", "JN18DU").ok());
    ASSERT_TRUE(lists.rememberStation("F1ABCDEFGHIJ", "62", "JO10AA").ok());
    EXPECT_EQ(nomenclature(), crlf({"F5ABC      2a JN12KQ", "F6XYZ      75 JN18EU", "F5ABC      2a JN12KQ",
                                    "F5ABCD     80 JO10BB", "ON4AA         JO20AA", "F1ABCDEFGH 62 JO10AA"}));

    // Loading and saving gives back the same bytes; an empty list is an empty file.
    const QByteArray file = crlf({"F5ABC      59 JN18DU", "", "F6XYZ      5  IN88AA", cp("F0ÉÈ       75 JN18EU")});
    dir.write("Nomenclature.txt", file);
    const NameLists::Lines loaded = lists.loadStations();
    ASSERT_TRUE(loaded.result.ok());
    EXPECT_EQ(loaded.lines.size(), 4);
    ASSERT_TRUE(lists.saveStations(loaded.lines).ok());
    EXPECT_EQ(nomenclature(), file);
    ASSERT_TRUE(lists.saveStations({}).ok());
    EXPECT_EQ(nomenclature(), "");
}

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
    // Another save removed F1BBB, which this editor left alone: it is not brought back.
    EXPECT_EQ(NameLists::mergeStations(atOpening, edited, {line("F1AAA", "59", "JO10AA")}),
              QList<QByteArray>{line("F1AAA", "80", "JO10AA")});
}

TEST_F(NameListsTest, FirstNamesTakeTheLastLineOfTheCallsignInUpperCase)
{
    EXPECT_EQ(NameLists::firstNameLine("F5ABC", "", "JEAN"), "F5ABC           JEAN");
    EXPECT_EQ(NameLists::firstNameLine("F1ABCDEFGHIJK", "2a", cp("HÉLÈNE")), cp("F1ABCDEFGHIJ 2a HÉLÈNE"));
    dir.write("Liste_Prenom.txt", crlf({cp("F5ABC        59 jean-rené  "), "F6XYZ        75 PAUL",
                                        cp("F5ABC        62 Hélène"), "F1ABCDEFGHIJ 2a marc", "F5ABCD       80 LUC"}));
    const char* const cases[][3] = {
        // callsign, department, first name (UTF-8); none found when empty
        {"F5ABC", "62", "HÉLÈNE"}, {"F5ABCD", "80", "LUC"}, {"F1ABCDEFGHIJ", "2a", "MARC"},
        {"F1ABCDEFGHI", "", ""},   {"F5AB", "", ""},        {"", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        const NameLists::FirstName found = lists.findFirstName(c[0]);
        EXPECT_TRUE(found.result.ok() && found.message.isEmpty());
        EXPECT_EQ(found.found, *c[1] != 0);
        EXPECT_EQ(found.department + " " + found.firstName, QByteArray(c[1]) + " " + cp(c[2]));
    }
    dir.write("Liste_Prenom.txt", crlf({cp("F5ABC        59 jean-rené  ")}));
    EXPECT_EQ(lists.findFirstName("F5ABC").firstName, cp("JEAN-RENÉ"));
}

TEST_F(NameListsTest, RememberFirstNameReplacesInPlaceAndAddsOnlyANewCallsign)
{
    const struct {
        const char* what;
        QByteArray file, line, expected;
    } cases[] = {
        {"a known callsign: replaced, the file does not grow",
         crlf({"F6XYZ        75 PAUL", "F5ABC        59 JEAN", "F1AAA        01 LEA"}), cp("F5ABC        62 RENÉ"),
         crlf({"F6XYZ        75 PAUL", cp("F5ABC        62 RENÉ"), "F1AAA        01 LEA"})},
        {"a callsign standing twice: both lines replaced",
         crlf({"F5ABC        59 JEAN", "F6XYZ        75 PAUL", "F5ABC        62 LUC"}), "F5ABC        80 MARC",
         crlf({"F5ABC        80 MARC", "F6XYZ        75 PAUL", "F5ABC        80 MARC"})},
        {"a callsign the look-up did not find: added at the end", crlf({"F6XYZ        75 PAUL"}),
         "F5ABC        59 JEAN", crlf({"F6XYZ        75 PAUL", "F5ABC        59 JEAN"})},
    };
    for (const auto& c : cases) {
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

TEST_F(NameListsTest, MissingListsAreCreatedByTheFirstChange)
{
    EXPECT_FALSE(lists.rememberStation("   ", "59", "JN18DU").ok()) << "no callsign";
    EXPECT_FALSE(lists.rememberFirstName("             59 JEAN", false).ok());
    const NameLists::Station station = lists.findStation("F5ABC");
    EXPECT_EQ(station.result.errorNumber, FileResult::kNotFound);
    EXPECT_FALSE(station.found);
    const NameLists::FirstName name = lists.findFirstName("F5ABC");
    EXPECT_EQ(name.result.errorNumber, FileResult::kNotFound);
    EXPECT_FALSE(name.found);
    EXPECT_EQ(name.message, "Attention il vous faut le fichier 'Liste_Prenom.txt'");
    EXPECT_EQ(files.writes(), 0);

    ASSERT_TRUE(lists.rememberStation("F5ABC", "59", "JN18DU").ok());
    ASSERT_TRUE(lists.rememberFirstName(cp("F5ABC        59 HÉLÈNE"), name.found).ok());
    EXPECT_EQ(nomenclature() + firstNames(), "F5ABC      59 JN18DU\r\n" + cp("F5ABC        59 HÉLÈNE\r\n"));
}

TEST_F(NameListsTest, UnreadableListsAndFailedWritesLeaveTheFiles)
{
    const QByteArray stations = crlf({"F5ABC      59 JN18DU"});
    const QByteArray names = crlf({"F5ABC        59 JEAN"});
    dir.write("Nomenclature.txt", stations);
    dir.write("Liste_Prenom.txt", names);

    files.failWrites(1, FileResult::kDiskFull);
    EXPECT_EQ(lists.rememberStation("F5ABC", "62", "JO10AA").errorNumber, FileResult::kDiskFull);
    files.failWrites(1, FileResult::kPermissionDenied);
    EXPECT_EQ(lists.rememberFirstName("F5ABC        62 LUC", true).errorNumber, FileResult::kPermissionDenied);
    files.stopBeforeRename(true);
    EXPECT_FALSE(lists.saveStations({"F1AAA      01 JN00AA"}).ok());
    EXPECT_FALSE(lists.rememberFirstName("F6XYZ        75 PAUL", false).ok());
    EXPECT_EQ(files.fileNames(dir.path()).size(), 2) << "no scratch file is left behind";
    files.stopBeforeRename(false);

    const int writes = files.writes();
    files.failReadsOf("Nomenclature.txt", FileResult::kPermissionDenied);
    EXPECT_EQ(lists.findStation("F5ABC").result.errorNumber, FileResult::kPermissionDenied);
    EXPECT_EQ(lists.rememberStation("F6XYZ", "75", "JN18EU").errorNumber, FileResult::kPermissionDenied);
    files.failReadsOf("Liste_Prenom.txt", FileResult::kPermissionDenied);
    EXPECT_EQ(lists.findFirstName("F5ABC").message, "Attention il vous faut le fichier 'Liste_Prenom.txt'");
    EXPECT_EQ(lists.rememberFirstName("F6XYZ        75 PAUL", false).errorNumber, FileResult::kPermissionDenied);
    EXPECT_EQ(files.writes(), writes) << "an unreadable list is never overwritten";
    EXPECT_EQ(nomenclature() + firstNames(), stations + names);
}

} // namespace
} // namespace tv
