#include "logstore/station_paths.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(StationPathsTest, NamesAreCallsignPlusSuffix)
{
    const StationPaths paths("/data", "F0ZZZ_P");
    EXPECT_EQ(QStringList({paths.log(), paths.departments(bands::Mode::Ssb), paths.prefixes(bands::Mode::Cw),
                           paths.absentList(), paths.prefixTemplate()}),
              QStringList({"/data/F0ZZZ_P.log", "/data/F0ZZZ_P_Departement_SSB.txt", "/data/F0ZZZ_P_Prefixe_CW.txt",
                           "/data/F0ZZZ_P_Absent.txt", "/data/FXXXX_Prefixe.txt"}));

    for (const char* bad : {"", "..", "../F0ZZZ", "F0ZZZ/P", "F0\\ZZZ", "C:F0", "F0 ZZZ", "F0\tZ", "F0.ZZZ"})
        EXPECT_FALSE(StationPaths::isSafeCallsign(QString::fromLatin1(bad))) << bad;
    for (const char* good : {"F0ZZZ", "F0ZZZ_P", "TM5JNM", "FXXXX"})
        EXPECT_TRUE(StationPaths::isSafeCallsign(QString::fromLatin1(good))) << good;
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
