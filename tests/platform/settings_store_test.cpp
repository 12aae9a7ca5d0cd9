#include "platform/qt_settings_store.h"
#include "tests/support/fakes/fake_settings_store.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(SettingsStoreTest, SectionsWithTrailingSpaceRoundTripAndAStoreThatCannotBeWrittenSaysSo)
{
    QTemporaryDir dir;
    {
        QtSettingsStore store(dir.path());
        EXPECT_TRUE(store.setValue("JNM", "Setup ", "Indicatif Station", "F0ZZZ_P"));
        store.setValue("ZEZ", "Setup ", "Indicatif Station", "other application");
    }
    QtSettingsStore again(dir.path());
    EXPECT_EQ(again.value("JNM", "Setup ", "Indicatif Station", "FXXXX"), "F0ZZZ_P");
    EXPECT_EQ(again.value("JNM", "Setup", "Indicatif Station", "none"), "none") << "\"Setup\" is not \"Setup \"";
    EXPECT_EQ(again.value("ZEZ", "Setup ", "Indicatif Station"), "other application");

    QFile blocker(dir.filePath("not-a-folder")); // the settings folder's parent is a file
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QtSettingsStore broken(dir.filePath("not-a-folder/settings"));
    EXPECT_FALSE(broken.setValue("JNM", "Setup ", "Indicatif Station", "F1AAA"));
    EXPECT_EQ(broken.value("JNM", "Setup ", "Indicatif Station", "FXXXX"), "FXXXX");
}

TEST(SettingsStoreTest, BooleansAndNumbersAreStoredAsText)
{
    FakeSettingsStore store;
    store.setBool("JNM", "S", "Heure UTC", false);
    store.setInt("JNM", "S", "bande Utilisee", 3);
    EXPECT_EQ(store.value("JNM", "S", "Heure UTC") + store.value("JNM", "S", "bande Utilisee"), "False3");
    EXPECT_EQ(store.intValue("JNM", "S", "bande Utilisee", 0), 3);
    store.setValue("JNM", "S", "N", "abc");
    EXPECT_EQ(store.intValue("JNM", "S", "N", 7), 7);
    const std::pair<const char*, bool> booleans[] = {{"True", true}, {"true", true},   {"-1", true},
                                                     {"0", false},   {"False", false}, {"garbage", true}};
    for (const auto& [stored, expected] : booleans) {
        store.setValue("JNM", "S", "K", stored);
        EXPECT_EQ(store.boolValue("JNM", "S", "K", true), expected) << stored;
    }
}

} // namespace
} // namespace tv
