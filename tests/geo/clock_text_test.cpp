#include "geo/clock_text.h"
#include "tests/support/fakes/fake_clock.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(ClockTextTest, ReadingsAreTwoDigitFields)
{
    EXPECT_EQ(clocktext::dateText({2010, 1, 1, 0, 0, 0}), "01/01/10");
    EXPECT_EQ(clocktext::dateText({1999, 12, 31, 0, 0, 0}), "31/12/99");
    EXPECT_EQ(clocktext::timeText({2010, 1, 1, 9, 5, 3}), "09:05:03");
    EXPECT_EQ(clocktext::timeText({2010, 1, 1, 0, 0, 0}), "00:00:00");

    FakeClock clock;
    clock.set({2015, 6, 21, 23, 30, 0}, {2015, 6, 22, 1, 30, 0});
    EXPECT_EQ(clocktext::date(clock, true) + " " + clocktext::time(clock, true), "21/06/15 23:30:00");
    EXPECT_EQ(clocktext::date(clock, false) + " " + clocktext::time(clock, false), "22/06/15 01:30:00");
}

TEST(ClockTextTest, DateAndTimeFormChecks)
{
    const QStringList dates = {"01/01/10", "00/00/00", "31/02/07"};
    const QStringList times = {"09:05", "24:00", "99:99"};
    for (const QString& text : dates + times +
                                   QStringList{"1/1/2010", "01-01-10", "01/01/10 ", "", "0a/01/10", "01/01/1",
                                               "01/0101/", "9:05", "09h05", "09:5a", "09:050", " 9:05", "0905:"}) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(clocktext::isDateForm(text), dates.contains(text));
        EXPECT_EQ(clocktext::isTimeForm(text), times.contains(text));
    }
}

} // namespace
} // namespace tv
