#include "platform/qt_settings_store.h"
#include "tests/support/test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

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
    // Stopped before the rename, flush to disk or close failing, disk full at once, half way.
    const struct {
        int step; // 0 stop before rename, 1 flush, 2 close, 3 none
        rlim_t limit;
        int error;
    } failures[] = {{0, RLIM_INFINITY, 75}, {1, RLIM_INFINITY, 57}, {2, RLIM_INFINITY, 57}, {3, 0, 61}, {3, 1000, 61}};
    for (const auto& f : failures) {
        SCOPED_TRACE(f.step * 10000 + int(f.limit == RLIM_INFINITY ? 9999 : f.limit));
        files.stopBeforeRename(f.step == 0);
        files.failFlushToDisk(f.step == 1);
        files.failClose(f.step == 2);
        const FileResult r =
            withFileSizeLimit(f.limit, [&] { return files.replace(dir.file("x.log"), QByteArray(5000, 'n')); });
        EXPECT_EQ(r.errorNumber, f.error);
        EXPECT_EQ(dir.read("x.log"), "a\r\n\xE9");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"x.log"}) << "temporary file left behind";
    }
    files.failClose(false);
    // Append adds whole pieces or no part of one.
    const QByteArray line = QByteArray(199, 'a') + "\r\n";
    ASSERT_TRUE(files.append(dir.file("l.log"), line).ok()) << "the file is created";
    EXPECT_FALSE(withFileSizeLimit(line.size() + 100, [&] { return files.append(dir.file("l.log"), line); }).ok());
    ASSERT_TRUE(files.append(dir.file("l.log"), "two\r\n").ok());
    EXPECT_EQ(dir.read("l.log"), line + "two\r\n");
    EXPECT_EQ(files.size(dir.file("l.log")).value_or(-1), 206);
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

// A replace stopped at its rename shows its temporary file: whole, named after the target,
// with the target's permissions.
class PeekingFileSystem final : public QtFileSystem {
public:
    QMap<QString, QByteArray> seen;
    QFileDevice::Permissions permissions;

protected:
    bool readyToCommit(const QString& path) override
    {
        const QDir folder = QFileInfo(path).dir();
        for (const QString& name : folder.entryList(QDir::Files)) {
            QFile file(folder.filePath(name));
            file.open(QIODevice::ReadOnly);
            seen.insert(name, file.readAll());
            if (name != QFileInfo(path).fileName())
                permissions = file.permissions();
        }
        return true;
    }
};

TEST_F(FileSystemTest, TheTemporaryFileOfAReplaceIsWholeAndRecognisable)
{
    dir.write("x.log", "old");
    QFile::setPermissions(dir.file("x.log"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    PeekingFileSystem peeking;
    ASSERT_TRUE(peeking.replace(dir.file("x.log"), "new bytes").ok());
    ASSERT_EQ(peeking.seen.size(), 2);
    const QString temporary = peeking.seen.lastKey();
    EXPECT_TRUE(temporary.startsWith("x.log.tvtmp-") && temporary.size() == 18) << temporary.toStdString();
    EXPECT_TRUE(FileSystem::isLeftoverTemporary(temporary));
    EXPECT_EQ(peeking.seen[temporary], "new bytes");
    EXPECT_EQ(peeking.permissions,
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);
    EXPECT_EQ(dir.files(), (QMap<QString, QByteArray>{{"x.log", "new bytes"}}));
}

TEST_F(FileSystemTest, NoWriteThroughALinkOrOntoAnythingButARegularFile)
{
    dir.write("precious.txt", "keep me");
    dir.write("src.txt", "new");
    ASSERT_TRUE(QFile::link(dir.file("precious.txt"), dir.file("link.adi")));
    ASSERT_TRUE(QFile::link(dir.file("nowhere.txt"), dir.file("dangling.log")));
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.txt"));
    ASSERT_EQ(mkfifo(dir.file("pipe.log").toLocal8Bit().constData(), 0600), 0);
    const struct {
        const char* name;
        const char* reason;
    } targets[] = {{"link.adi", "link.adi est un lien symbolique"},
                   {"dangling.log", "dangling.log est un lien symbolique"},
                   {"folder.txt", "folder.txt n'est pas un fichier ordinaire"},
                   {"pipe.log", "pipe.log n'est pas un fichier ordinaire"}};
    for (const auto& t : targets) {
        const QString target = dir.file(t.name);
        const FileResult results[] = {files.replace(target, "x"), files.append(target, "x\r\n"),
                                      files.copy(dir.file("src.txt"), target)};
        for (const FileResult& r : results) {
            SCOPED_TRACE(t.name);
            EXPECT_EQ(r.errorNumber, 75);
            EXPECT_TRUE(r.reason().startsWith(QString::fromUtf8(t.reason))) << r.reason().toStdString();
        }
    }
    EXPECT_EQ(dir.read("precious.txt"), "keep me");
    EXPECT_FALSE(QFile::exists(dir.file("nowhere.txt")));
    EXPECT_EQ(QFileInfo(dir.file("link.adi")).symLinkTarget(), dir.file("precious.txt"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size(), 6)
        << "nothing created beside them";
}

TEST_F(FileSystemTest, LeftoverTemporaryFilesAreRemovedAndNothingElse)
{
    const std::pair<const char*, bool> names[] = {{"F0ZZZ.log.tvtmp-a8Kx2Q", true},
                                                  {"F0ZZZ_Prefixe_SSB.txt.tvtmp-000000", true},
                                                  {"F0ZZZ.log.Ab3dEf", true},
                                                  {"F0ZZZ_Departement_CW.txt.x1Y2z3", true},
                                                  {"settings.ini.QWERTY", true},
                                                  {"F0ZZZ.hf_1.a1b2c3", true},
                                                  {"F0ZZZ.log", false},
                                                  {"Nomenclature.txt.backup", false},
                                                  {"F0ZZZ.log.tvtmp-a8Kx2", false},
                                                  {"F0ZZZ.log.tvtmp-a8Kx2Q.txt", false},
                                                  {"photo.jpg.Ab3dEf", false},
                                                  {"F0ZZZ.log.Ab3dE!", false}};
    for (const auto& [name, leftover] : names)
        dir.write(name, "x");
    const FileSystem::Cleanup cleaned = files.removeLeftoverTemporaries(dir.path());
    EXPECT_TRUE(cleaned.failures.isEmpty());
    for (const auto& [name, leftover] : names) {
        SCOPED_TRACE(name);
        EXPECT_EQ(dir.exists(name), !leftover);
        EXPECT_EQ(cleaned.removed.contains(name), leftover);
    }
}

TEST(SettingsStoreTest, AStoreThatCannotBeReadOrIsDamagedSaysSo)
{
    const struct {
        const char* content; // of JNM.ini; nullptr: a folder in its place, "": no file
        const char* problem; // the end of problem(), "" for none
    } cases[] = {{"", ""},
                 {"[Setup%20]\nIndicatif%20Station=F1AAA\n", ""},
                 {nullptr, "ne peuvent pas être lus"},
                 {"[Setup%20]\nIndicatif%20Station=F1AAA\n[Setup%20F1AAA\nDate%20JNM=21/06/15\n", "sont endommagés"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.problem);
        test::TempProgramDir dir;
        QDir(dir.path()).mkdir("settings");
        if (!c.content)
            QDir(dir.path()).mkpath("settings/JNM.ini");
        else if (*c.content)
            dir.write("settings/JNM.ini", c.content);
        const QString problem = QtSettingsStore(dir.file("settings")).problem("JNM");
        EXPECT_TRUE(*c.problem ? problem.endsWith(QString::fromUtf8(c.problem)) : problem.isEmpty())
            << problem.toStdString();
        EXPECT_TRUE(QtSettingsStore(dir.file("settings")).problem("ZEZ").isEmpty());
    }
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
