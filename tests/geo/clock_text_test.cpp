#include "geo/clock_text.h"
#include "tests/support/fakes/fake_clock.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(ClockTextTest, ReadingsAreTwoDigitFields)
{
    EXPECT_EQ(clocktext::dateText({2010, 1, 1, 0, 0, 0}), "01/01/10");
    EXPECT_EQ(clocktext::dateText({1999, 12, 31, 0, 0, 0}), "31/12/99");
    EXPECT_EQ(clocktext::dateText({2000, 2, 29, 0, 0, 0}), "29/02/00");
    EXPECT_EQ(clocktext::timeText({2010, 1, 1, 9, 5, 3}), "09:05:03");
    EXPECT_EQ(clocktext::timeText({2010, 1, 1, 0, 0, 0}), "00:00:00");
    EXPECT_EQ(clocktext::timeText({2010, 1, 1, 23, 59, 59}), "23:59:59");

    FakeClock clock;
    clock.set({2015, 6, 21, 23, 30, 0}, {2015, 6, 22, 1, 30, 0});
    EXPECT_EQ(clocktext::utcDate(clock), "21/06/15");
    EXPECT_EQ(clocktext::localDate(clock), "22/06/15");
    EXPECT_EQ(clocktext::time(clock, true), "23:30:00");
    EXPECT_EQ(clocktext::time(clock, false), "01:30:00");
}

TEST(ClockTextTest, DateFormCheck)
{
    struct Case {
        const char* text;
        bool ok;
    };
    for (const Case& c : {Case{"01/01/10", true}, Case{"00/00/00", true}, Case{"31/02/07", true},
                          Case{"1/1/2010", false}, Case{"01-01-10", false}, Case{"01/01/10 ", false}, Case{"", false},
                          Case{"0a/01/10", false}, Case{"01/01/1", false}, Case{"01/0101/", false}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(clocktext::isDateForm(QString::fromLatin1(c.text)), c.ok);
    }
}

TEST(ClockTextTest, TimeFormCheck)
{
    struct Case {
        const char* text;
        bool ok;
    };
    for (const Case& c :
         {Case{"09:05", true}, Case{"24:00", true}, Case{"99:99", true}, Case{"9:05", false}, Case{"09h05", false},
          Case{"", false}, Case{"09:5a", false}, Case{"09:050", false}, Case{" 9:05", false}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(clocktext::isTimeForm(QString::fromLatin1(c.text)), c.ok);
    }
}

} // namespace
} // namespace tv
