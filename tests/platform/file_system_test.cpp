#include "tests/support/fakes/failing_file_system.h"
#include "tests/support/test_support.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/resource.h>

namespace tv {
namespace {

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

class FileSystemTest : public ::testing::Test {
protected:
    test::TempProgramDir dir;
    FailingFileSystem files; // the real file system unless told otherwise
    QStringList names() const { return QDir(dir.path()).entryList(QDir::Files); }
};

TEST_F(FileSystemTest, ReplaceWritesExactBytesOrKeepsTheTargetWholeWithoutTemporaryFile)
{
    const QByteArray bytes("a\r\nb\r\n\xE9\r\n");
    ASSERT_TRUE(files.replace(dir.file("x.log"), bytes).ok());
    EXPECT_EQ(dir.read("x.log"), bytes);
    ASSERT_TRUE(files.replace(dir.file("x.log"), "short").ok());
    EXPECT_EQ(dir.read("x.log"), "short");

    const struct {
        const char* failure;
        std::function<FileResult()> replace;
    } cases[] = {
        {"stopped before the rename",
         [this] {
             files.stopBeforeRename(true);
             const FileResult r = files.replace(dir.file("x.log"), QByteArray(100000, 'x'));
             files.stopBeforeRename(false);
             return r;
         }},
        {"disk full at once",
         [this] {
             FileSizeLimit limit(0);
             return files.replace(dir.file("x.log"), QByteArray(5000, 'n'));
         }},
        {"disk full half way",
         [this] {
             FileSizeLimit limit(1000);
             return files.replace(dir.file("x.log"), QByteArray(5000, 'n'));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failure);
        EXPECT_FALSE(c.replace().ok());
        EXPECT_EQ(dir.read("x.log"), "short");
        EXPECT_EQ(names(), QStringList{"x.log"}) << "temporary file left behind";
    }
}

TEST_F(FileSystemTest, AppendAddsWholePiecesOrNoPartOfOne)
{
    const QByteArray line = QByteArray(199, 'a') + "\r\n";
    ASSERT_TRUE(files.append(dir.file("l.log"), line).ok()) << "the file is created";
    FileResult full;
    {
        FileSizeLimit limit(line.size() + 100);
        full = files.append(dir.file("l.log"), line);
    }
    EXPECT_FALSE(full.ok());
    ASSERT_TRUE(files.append(dir.file("l.log"), "two\r\n").ok());
    EXPECT_EQ(dir.read("l.log"), line + "two\r\n");
    EXPECT_EQ(files.size(dir.file("l.log")).value_or(-1), 206);
    if (QFile::exists("/dev/full"))
        EXPECT_EQ(files.append("/dev/full", QByteArray(300, 'x')).errorNumber, 61);
}

TEST_F(FileSystemTest, MissingFilesAndReadOnlyFoldersGiveTheirErrorNumbers)
{
    const FileRead read = files.read(dir.file("absent.log"));
    EXPECT_EQ(read.result.errorNumber, 53);
    EXPECT_TRUE(read.result.notFound());
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
