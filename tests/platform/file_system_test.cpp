#include "tests/support/fakes/failing_file_system.h"
#include "tests/support/test_support.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace tv {
namespace {

// While alive, no file of the process may grow past `bytes`: a disk that fills up.
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

class FileSystemTest : public ::testing::Test {
protected:
    test::TempProgramDir dir;
    FailingFileSystem files; // the real file system unless told otherwise
};

TEST_F(FileSystemTest, ReplaceWritesExactBytesOrKeepsTheTargetWholeWithoutTemporaryFile)
{
    ASSERT_TRUE(files.replace(dir.file("x.log"), "a\r\nb\r\n\xE9\r\nlonger").ok());
    ASSERT_TRUE(files.replace(dir.file("x.log"), "a\r\n\xE9").ok());
    EXPECT_EQ(dir.read("x.log"), "a\r\n\xE9");

    const std::pair<const char*, rlim_t> cases[] = {
        {"stopped before the rename", RLIM_INFINITY}, {"disk full at once", 0}, {"disk full half way", 1000}};
    for (const auto& [failure, limit] : cases) {
        SCOPED_TRACE(failure);
        files.stopBeforeRename(limit == RLIM_INFINITY);
        FileResult replaced;
        {
            FileSizeLimit full(limit);
            replaced = files.replace(dir.file("x.log"), QByteArray(5000, 'n'));
        }
        EXPECT_FALSE(replaced.ok());
        EXPECT_EQ(dir.read("x.log"), "a\r\n\xE9");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"x.log"}) << "temporary file left behind";
    }
}

TEST_F(FileSystemTest, AppendAddsWholePiecesOrNoPartOfOne)
{
    const QByteArray line = QByteArray(199, 'a') + "\r\n";
    ASSERT_TRUE(files.append(dir.file("l.log"), line).ok()) << "the file is created";
    {
        FileSizeLimit limit(line.size() + 100);
        EXPECT_FALSE(files.append(dir.file("l.log"), line).ok());
    }
    ASSERT_TRUE(files.append(dir.file("l.log"), "two\r\n").ok());
    EXPECT_EQ(dir.read("l.log"), line + "two\r\n");
    EXPECT_EQ(files.size(dir.file("l.log")).value_or(-1), 206);
    if (QFile::exists("/dev/full"))
        EXPECT_EQ(files.append("/dev/full", QByteArray(300, 'x')).errorNumber, 61);
}

TEST_F(FileSystemTest, MissingFilesAndReadOnlyFoldersGiveTheirErrorNumbers)
{
    EXPECT_EQ(files.read(dir.file("absent.log")).result.errorNumber, 53);
    EXPECT_FALSE(files.size(dir.file("absent.log")).has_value());
    dir.write("dest.txt", "precious");
    EXPECT_TRUE(files.copy(dir.file("none.txt"), dir.file("dest.txt")).notFound());
    EXPECT_EQ(dir.read("dest.txt"), "precious");
    dir.write("src.txt", "new");
    EXPECT_TRUE(files.copy(dir.file("src.txt"), dir.file("dest.txt")).ok());
    EXPECT_EQ(dir.read("dest.txt"), "new");

    if (geteuid() == 0)
        GTEST_SKIP() << "root writes through read-only permissions";
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const FileResult replaced = files.replace(dir.file("dest.txt"), "newer");
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(replaced.errorNumber, 70);
    EXPECT_EQ(dir.read("dest.txt"), "new");
}

} // namespace
} // namespace tv
