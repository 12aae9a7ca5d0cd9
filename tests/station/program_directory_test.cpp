#include "station/program_directory.h"
#include "tests/support/test_support.h"

#include <QDir>
#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(ProgramDirectoryTest, PopulateCopiesMissingFilesAndNeverOverwrites)
{
    test::TempProgramDir shipped;
    shipped.write("FXXXX.log", "");
    shipped.write("Nomenclature.txt", "shipped list\r\n");
    QDir(shipped.path()).mkdir("aide");
    shipped.write("aide/index.html", "<html/>");

    test::TempProgramDir target;
    target.write("Nomenclature.txt", "the operator's own list\r\n");
    QDir(target.path()).mkdir("aide");
    target.write("aide/index.html", "<html>an older manual</html>");
    QtFileSystem files;
    EXPECT_TRUE(programdir::populate(files, shipped.path(), target.path()).isEmpty());
    EXPECT_EQ(target.read("Nomenclature.txt"), "the operator's own list\r\n");
    EXPECT_TRUE(target.exists("FXXXX.log"));
    EXPECT_EQ(target.read("aide/index.html"), "<html/>");
}

TEST(ProgramDirectoryTest, DirArgumentChoosesTheDirectory)
{
    EXPECT_EQ(programdir::fromArguments({"tournevent", "--dir", "/tmp/station"}), "/tmp/station");
    EXPECT_EQ(programdir::fromArguments({"tournevent", "--dir=/tmp/other"}), "/tmp/other");
    EXPECT_EQ(programdir::fromArguments({"tournevent"}), programdir::defaultDir());
}

} // namespace
} // namespace tv
