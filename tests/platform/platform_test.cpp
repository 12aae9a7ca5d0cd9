#include "platform/qt_settings_store.h"
#include "tests/support/test_support.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace tv {
namespace {

// Runs `write` while no file of the process may grow past `bytes`: a disk that fills up.
template <typename Write> FileResult withFileSizeLimit(rlim_t bytes, Write write)
{
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limit = saved;
    limit.rlim_cur = bytes;
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limit);
    const FileResult result = write();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
    return result;
}

class FileSystemTest : public ::testing::Test {
protected:
    test::TempProgramDir dir;
    FailingFileSystem files; // the real file system unless told otherwise
};

TEST_F(FileSystemTest, WritesAreWholeOrLeaveTheFileAsItWas)
{
    ASSERT_TRUE(files.replace(dir.file("x.log"), "a\r\nb\r\n\xE9\r\nlonger").ok());
    ASSERT_TRUE(files.replace(dir.file("x.log"), "a\r\n\xE9").ok());
    EXPECT_EQ(dir.read("x.log"), "a\r\n\xE9");
    // Stopped before the rename, disk full at once, disk full half way.
    for (const rlim_t limit : {RLIM_INFINITY, rlim_t(0), rlim_t(1000)}) {
        SCOPED_TRACE(limit);
        files.stopBeforeRename(limit == RLIM_INFINITY);
        EXPECT_FALSE(
            withFileSizeLimit(limit, [&] { return files.replace(dir.file("x.log"), QByteArray(5000, 'n')); }).ok());
        EXPECT_EQ(dir.read("x.log"), "a\r\n\xE9");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"x.log"}) << "temporary file left behind";
    }
    // Append adds whole pieces or no part of one.
    const QByteArray line = QByteArray(199, 'a') + "\r\n";
    ASSERT_TRUE(files.append(dir.file("l.log"), line).ok()) << "the file is created";
    EXPECT_FALSE(withFileSizeLimit(line.size() + 100, [&] { return files.append(dir.file("l.log"), line); }).ok());
    ASSERT_TRUE(files.append(dir.file("l.log"), "two\r\n").ok());
    EXPECT_EQ(dir.read("l.log"), line + "two\r\n");
    EXPECT_EQ(files.size(dir.file("l.log")).value_or(-1), 206);
    if (QFile::exists("/dev/full"))
        EXPECT_EQ(files.append("/dev/full", QByteArray(300, 'x')).errorNumber, 61);
    // Missing files and read-only folders give their error numbers.
    EXPECT_EQ(files.read(dir.file("absent.log")).result.errorNumber, 53);
    EXPECT_FALSE(files.size(dir.file("absent.log")).has_value());
    dir.write("dest.txt", "precious");
    EXPECT_TRUE(files.copy(dir.file("none.txt"), dir.file("dest.txt")).notFound());
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

TEST(SettingsStoreTest, ValuesRoundTripAsTextAndAStoreThatCannotBeWrittenSaysSo)
{
    test::TempProgramDir dir;
    {
        QtSettingsStore store(dir.path());
        EXPECT_TRUE(store.setValue("JNM", "Setup ", "Indicatif Station", "F0ZZZ_P"));
        store.setValue("ZEZ", "Setup ", "Indicatif Station", "other application");
    }
    QtSettingsStore again(dir.path());
    EXPECT_EQ(again.value("JNM", "Setup ", "Indicatif Station", "FXXXX"), "F0ZZZ_P");
    EXPECT_EQ(again.value("JNM", "Setup", "Indicatif Station", "none"), "none") << "\"Setup\" is not \"Setup \"";
    EXPECT_EQ(again.value("ZEZ", "Setup ", "Indicatif Station"), "other application");
    dir.write("not-a-folder", ""); // the settings folder's parent is a file
    QtSettingsStore broken(dir.file("not-a-folder/settings"));
    EXPECT_FALSE(broken.setValue("JNM", "Setup ", "Indicatif Station", "F1AAA"));
    EXPECT_EQ(broken.value("JNM", "Setup ", "Indicatif Station", "FXXXX"), "FXXXX");
    // Booleans and numbers are stored as text.
    FakeSettingsStore store;
    store.setBool("JNM", "S", "Heure UTC", false);
    store.setInt("JNM", "S", "bande Utilisee", 3);
    EXPECT_EQ(store.value("JNM", "S", "Heure UTC") + store.value("JNM", "S", "bande Utilisee"), "False3");
    EXPECT_EQ(store.intValue("JNM", "S", "bande Utilisee", 0), 3);
    store.setValue("JNM", "S", "N", "abc");
    EXPECT_EQ(store.intValue("JNM", "S", "N", 7), 7);
    for (const auto& [stored, expected] :
         {std::pair{"True", true}, {"true", true}, {"-1", true}, {"0", false}, {"False", false}, {"garbage", true}}) {
        store.setValue("JNM", "S", "K", stored);
        EXPECT_EQ(store.boolValue("JNM", "S", "K", true), expected) << stored;
    }
}

} // namespace
} // namespace tv
