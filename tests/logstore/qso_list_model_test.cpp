#include "logstore/qso_list_model.h"
#include "tests/support/test_support.h"

#include <QAbstractItemModelTester>
#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(QsoListModelTest, RowsShowTheFieldsAndGiveTheListEntry)
{
    QsoListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const QByteArray a = test::qso("21/06/15", "F5ABC", "09:41", "14 Mhz", "SSB", "59");
    QByteArray withName = test::qso("21/06/15", "F6XYZ", "09:45", "7.0 Mhz", "CW");
    withName.replace(110, 5, test::cp("ÉLISE"));
    model.setLines({a});
    model.appendLine(withName);

    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.data(model.index(0, 0)).toInt(), 1);
    EXPECT_EQ(model.data(model.index(0, 2)).toString() + model.data(model.index(0, 5)).toString() +
                  model.data(model.index(1, 7)).toString(),
              "F5ABC597.0 Mhz");
    EXPECT_EQ(model.data(model.index(1, 12)).toString(), QString::fromUtf8("ÉLISE"));
    EXPECT_EQ(model.entry(1), "    2 " + withName);
    EXPECT_EQ(model.data(model.index(1, 3), QsoListModel::EntryRole).toString().left(6), "    2 ");
    EXPECT_EQ(model.data(model.index(0, 3), QsoListModel::LineRole).toByteArray(), a);
}

} // namespace
} // namespace tv
