#include "tests/support/fakes/failing_file_system.h"
#include "tests/support/test_support.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace tv {
namespace {

TEST(FileSystemTest, ReplaceWritesExactBytesAndLeavesNoTemporaryFile)
{
    test::TempProgramDir dir;
    QtFileSystem files;
    const QByteArray bytes("a\r\nb\r\n\xE9\r\n");
    ASSERT_TRUE(files.replace(dir.file("x.txt"), bytes).ok());
    EXPECT_EQ(dir.read("x.txt"), bytes);
    ASSERT_TRUE(files.replace(dir.file("x.txt"), "short").ok());
    EXPECT_EQ(dir.read("x.txt"), "short");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"x.txt"});
}

TEST(FileSystemTest, ReplaceStoppedBeforeRenameKeepsTheTarget)
{
    test::TempProgramDir dir;
    dir.write("log.log", "old line\r\n");
    FailingFileSystem files;
    files.stopBeforeRename(true);
    const FileResult result = files.replace(dir.file("log.log"), QByteArray(100000, 'x'));
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(dir.read("log.log"), "old line\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"log.log"}) << "temporary file left behind";
}

TEST(FileSystemTest, ReadReportsMissingFileAsFileNotFound)
{
    test::TempProgramDir dir;
    QtFileSystem files;
    const FileRead read = files.read(dir.file("absent.log"));
    EXPECT_EQ(read.result.errorNumber, 53);
    EXPECT_TRUE(read.result.notFound());
    EXPECT_FALSE(files.size(dir.file("absent.log")).has_value());
}

TEST(FileSystemTest, WritesIntoReadOnlyFolderFailWithPermissionDenied)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes through read-only permissions";
    test::TempProgramDir dir;
    dir.write("a.txt", "kept");
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QtFileSystem files;
    const FileResult replaced = files.replace(dir.file("a.txt"), "new");
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(replaced.errorNumber, 70);
    EXPECT_EQ(dir.read("a.txt"), "kept");
}

TEST(FileSystemTest, AppendAddsWholePiecesAndCreatesTheFile)
{
    test::TempProgramDir dir;
    QtFileSystem files;
    ASSERT_TRUE(files.append(dir.file("l.log"), "one\r\n").ok());
    ASSERT_TRUE(files.append(dir.file("l.log"), "two\r\n").ok());
    EXPECT_EQ(dir.read("l.log"), "one\r\ntwo\r\n");
    EXPECT_EQ(files.size(dir.file("l.log")).value_or(-1), 10);
}

TEST(FileSystemTest, AppendOnAFullDeviceLeavesNoPartialLine)
{
    QtFileSystem files;
    if (!QFile::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    const FileResult result = files.append("/dev/full", QByteArray(300, 'x'));
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.errorNumber, 61);
}

// While alive, no file of the process may grow past `bytes`: a disk that fills up half way.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_saved{};
    void (*m_handler)(int) = nullptr;
};

TEST(FileSystemTest, ReplaceOnADiskThatFillsUpFailsAndKeepsTheTarget)
{
    test::TempProgramDir dir;
    const QByteArray old(50, 'o');
    dir.write("x.log", old);
    QtFileSystem files;
    for (rlim_t room : {rlim_t(0), rlim_t(1000)}) {
        SCOPED_TRACE(room);
        FileResult result;
        {
            FileSizeLimit limit(room);
            result = files.replace(dir.file("x.log"), QByteArray(5000, 'n'));
        }
        EXPECT_FALSE(result.ok());
        EXPECT_EQ(dir.read("x.log"), old);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"x.log"});
    }
}

TEST(FileSystemTest, AppendOnADiskThatFillsUpLeavesNoPartOfThePiece)
{
    test::TempProgramDir dir;
    const QByteArray line = QByteArray(199, 'a') + "\r\n";
    dir.write("x.log", line);
    QtFileSystem files;
    FileResult result;
    {
        FileSizeLimit limit(line.size() + 100);
        result = files.append(dir.file("x.log"), line);
    }
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(dir.read("x.log"), line);
}

TEST(FileSystemTest, CopyFailsOnMissingSourceAndKeepsDestination)
{
    test::TempProgramDir dir;
    dir.write("dest.txt", "precious");
    QtFileSystem files;
    EXPECT_TRUE(files.copy(dir.file("none.txt"), dir.file("dest.txt")).notFound());
    EXPECT_EQ(dir.read("dest.txt"), "precious");
    dir.write("src.txt", "new");
    EXPECT_TRUE(files.copy(dir.file("src.txt"), dir.file("dest.txt")).ok());
    EXPECT_EQ(dir.read("dest.txt"), "new");
}

} // namespace
} // namespace tv
