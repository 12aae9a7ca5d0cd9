#include "platform/qt_settings_store.h"
#include "platform/settings_keys.h"
#include "tests/support/fakes/fake_settings_store.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(SettingsStoreTest, SectionsWithTrailingSpaceAndCallsignRoundTrip)
{
    QTemporaryDir dir;
    {
        QtSettingsStore store(dir.path());
        store.setValue("JNM", "Setup ", "Indicatif Station", "F0ZZZ_P");
        store.setValue("JNM", "Setup F0ZZZ_P", "Date JNM", "21/06/15");
        store.setValue("ZEZ", "Setup ", "Indicatif Station", "other application");
    }
    QtSettingsStore again(dir.path());
    EXPECT_EQ(again.value("JNM", "Setup ", "Indicatif Station", "FXXXX"), "F0ZZZ_P");
    EXPECT_EQ(again.value("JNM", "Setup F0ZZZ_P", "Date JNM"), "21/06/15");
    EXPECT_EQ(again.value("JNM", "Setup", "Indicatif Station", "none"), "none") << "\"Setup\" is not \"Setup \"";
    EXPECT_EQ(again.value("ZEZ", "Setup ", "Indicatif Station"), "other application");
    EXPECT_EQ(again.value("JNM", "Setup ", "Locator Station", "------"), "------");
}

TEST(SettingsStoreTest, AStoreThatCannotBeWrittenSaysSo)
{
    QTemporaryDir dir;
    QtSettingsStore store(dir.path());
    EXPECT_TRUE(store.setValue("JNM", "Setup ", "Indicatif Station", "F0ZZZ"));
    // A settings folder that cannot exist: its parent is a file.
    QFile blocker(dir.filePath("not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QtSettingsStore broken(dir.filePath("not-a-folder/settings"));
    EXPECT_FALSE(broken.setValue("JNM", "Setup ", "Indicatif Station", "F1AAA"));
    EXPECT_EQ(broken.value("JNM", "Setup ", "Indicatif Station", "FXXXX"), "FXXXX");
}

TEST(SettingsStoreTest, BooleansAndNumbersAreStoredAsText)
{
    FakeSettingsStore store;
    store.setBool("JNM", "Setup X", "Heure UTC", false);
    store.setInt("JNM", "Setup X", "bande Utilisee", 3);
    EXPECT_EQ(store.value("JNM", "Setup X", "Heure UTC"), "False");
    EXPECT_EQ(store.value("JNM", "Setup X", "bande Utilisee"), "3");
    EXPECT_FALSE(store.boolValue("JNM", "Setup X", "Heure UTC", true));
    EXPECT_EQ(store.intValue("JNM", "Setup X", "bande Utilisee", 0), 3);

    struct Case {
        const char* stored;
        bool expected;
    };
    for (const Case& c : {Case{"True", true}, Case{"true", true}, Case{"-1", true}, Case{"0", false},
                          Case{"False", false}, Case{"garbage", true}}) {
        SCOPED_TRACE(c.stored);
        store.setValue("JNM", "S", "K", c.stored);
        EXPECT_EQ(store.boolValue("JNM", "S", "K", true), c.expected);
    }
    store.setValue("JNM", "S", "N", "abc");
    EXPECT_EQ(store.intValue("JNM", "S", "N", 7), 7);
}

} // namespace
} // namespace tv
