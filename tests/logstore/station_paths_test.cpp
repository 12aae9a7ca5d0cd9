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

TEST(StationPathsTest, CallsignsThatCouldLeaveTheDirectoryAreRefused)
{
    for (const char* bad : {"", "..", "../F0ZZZ", "F0ZZZ/P", "F0\\ZZZ", "C:F0", "F0 ZZZ", "F0\tZ", "F0.ZZZ"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(StationPaths::isSafeCallsign(QString::fromLatin1(bad)));
    }
    for (const char* good : {"F0ZZZ", "F0ZZZ_P", "TM5JNM", "FXXXX"})
        EXPECT_TRUE(StationPaths::isSafeCallsign(QString::fromLatin1(good)));
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
