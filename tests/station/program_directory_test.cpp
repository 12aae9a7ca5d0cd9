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

    // A shipped folder without its log template is a broken install: said, nothing copied.
    test::TempProgramDir broken;
    broken.write("Nomenclature.txt", "shipped list\r\n");
    test::TempProgramDir empty;
    const QStringList failures = programdir::populate(files, broken.path(), empty.path());
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].contains(broken.path())) << failures[0].toStdString();
    EXPECT_TRUE(empty.files().isEmpty());
}

// The shipped files of an installed program (bin/ beside share/tournevent/), of a program with
// a data/ folder beside it, and of a program run from its build folder (the source tree's).
TEST(ProgramDirectoryTest, ShippedDataIsFoundInstalledBesideOrInTheSourceTree)
{
    const QString sourceTree = QDir(QStringLiteral(TOURNEVENT_SHIPPED_DATA_DIR)).canonicalPath();
    const struct {
        const char* name;
        QStringList files;
        const char* expected; // relative to the temporary folder, empty for the source tree
    } rows[] = {
        {"installed", {"bin/", "share/tournevent/FXXXX.log"}, "share/tournevent"},
        {"beside the program", {"bin/data/FXXXX.log"}, "bin/data"},
        {"installed before beside", {"bin/data/FXXXX.log", "share/tournevent/FXXXX.log"}, "share/tournevent"},
        {"a folder without the log template", {"bin/", "share/tournevent/Nomenclature.txt"}, ""},
        {"nothing installed", {"bin/"}, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        test::TempProgramDir root;
        for (const QString& file : row.files) {
            QDir(root.path()).mkpath(QFileInfo(root.file(file)).path());
            if (!file.endsWith('/'))
                root.write(file, "");
        }
        const QString expected =
            *row.expected ? QDir(root.file(QString::fromLatin1(row.expected))).canonicalPath() : sourceTree;
        EXPECT_EQ(programdir::shippedDataDir(root.file("bin")), expected);
    }
}

TEST(ProgramDirectoryTest, DirArgumentChoosesTheDirectory)
{
    EXPECT_EQ(programdir::fromArguments({"tournevent", "--dir", "/tmp/station"}), "/tmp/station");
    EXPECT_EQ(programdir::fromArguments({"tournevent", "--dir=/tmp/other"}), "/tmp/other");
    EXPECT_EQ(programdir::fromArguments({"tournevent"}), programdir::defaultDir());
}

} // namespace
} // namespace tv
