#include "logstore/callsign_rule.h"
#include "logstore/station_paths.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(CallsignRuleTest, OnlyStoredFormsNameFilesAndTypingGivesThem)
{
    // Nothing that could leave the directory, and no two forms naming one file where case is ignored.
    for (const char* bad :
         {"", "..", "../F0ZZZ", "F0ZZZ/P", "F0\\ZZZ", "C:F0", "F0 ZZZ", "F0.ZZZ", "f0zzz", "F0ZZZ_ABCDEFG"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(StationPaths::isSafeCallsign(QString::fromLatin1(bad)));
        EXPECT_FALSE(StationPaths("/data", bad).isValid());
    }
    for (const char* good : {"F0ZZZ", "F0ZZZ_P", "TM5JNM", "FXXXX", "F0ZZZ_ABCDEF"})
        EXPECT_TRUE(StationPaths::isSafeCallsign(QString::fromLatin1(good))) << good;

    EXPECT_EQ(callsign::typed("f0zzz/p", callsign::Kind::Station), "F0ZZZ_P");
    EXPECT_EQ(callsign::typed("f0zzz/p", callsign::Kind::Contacted), "F0ZZZ/P");
    EXPECT_EQ(callsign::typed(QString::fromUtf8("éa-z09"), callsign::Kind::Station), QString::fromUtf8("éA-Z09"));
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
