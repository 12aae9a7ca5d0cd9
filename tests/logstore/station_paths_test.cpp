#include "logstore/callsign_rule.h"
#include "logstore/station_paths.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(StationPathsTest, NamesAreCallsignPlusSuffix)
{
    const StationPaths paths("/data", "F0ZZZ_P");
    EXPECT_EQ(paths.log(), "/data/F0ZZZ_P.log");
    EXPECT_EQ(paths.departments(bands::Mode::Ssb), "/data/F0ZZZ_P_Departement_SSB.txt");
    EXPECT_EQ(paths.departments(bands::Mode::Cw), "/data/F0ZZZ_P_Departement_CW.txt");
    EXPECT_EQ(paths.prefixes(bands::Mode::Cw), "/data/F0ZZZ_P_Prefixe_CW.txt");
    EXPECT_EQ(paths.absentList(), "/data/F0ZZZ_P_Absent.txt");
    EXPECT_EQ(paths.prefixTemplate(), "/data/FXXXX_Prefixe.txt");
}

TEST(CallsignRuleTest, OnlyStoredFormsNameFilesAndTypingGivesThem)
{
    // Nothing that could leave the directory, and no two forms naming one file where case is ignored.
    for (const char* bad : {"", "..", "../F0ZZZ", "F0ZZZ/P", "F0\\ZZZ", "C:F0", "F0 ZZZ", "F0\tZ", "F0.ZZZ", "f0zzz",
                            "F0-ZZZ", "F0ZZZ_ABCDEFG"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(StationPaths::isSafeCallsign(QString::fromLatin1(bad)));
        EXPECT_FALSE(StationPaths("/data", bad).isValid());
    }
    for (const char* good : {"F0ZZZ", "F0ZZZ_P", "TM5JNM", "FXXXX", "F0ZZZ_ABCDEF"})
        EXPECT_TRUE(StationPaths::isSafeCallsign(QString::fromLatin1(good))) << good;

    const struct {
        const char* typed;
        callsign::Kind kind;
        const char* entered;
    } cases[] = {
        {"f0zzz/p", callsign::Kind::Station, "F0ZZZ_P"},
        {"f0zzz/p", callsign::Kind::Contacted, "F0ZZZ/P"},
        {"éa-z09", callsign::Kind::Station, "éA-Z09"}, // only a-z change
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(callsign::typed(QString::fromUtf8(c.typed), c.kind), QString::fromUtf8(c.entered));
    }
    EXPECT_EQ(callsign::toStored("tm5/jnm/p"), "TM5_JNM_P");
    EXPECT_EQ(callsign::toShown("TM5_JNM_P"), "TM5/JNM/P");
}

TEST(StationPathsTest, ALogWrittenWithCapitalLIsTheSameLog)
{
    test::TempProgramDir dir;
    QtFileSystem files;
    const StationPaths paths(dir.path(), "F0ZZZ");
    EXPECT_EQ(paths.existingLog(files), dir.file("F0ZZZ.log"));
    dir.write("F0ZZZ.Log", "x");
    EXPECT_EQ(paths.existingLog(files), dir.file("F0ZZZ.Log"));
    dir.write("F0ZZZ.log", "y");
    EXPECT_EQ(paths.existingLog(files), dir.file("F0ZZZ.log"));
}

} // namespace
} // namespace tv
