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

TEST(ClockTextTest, DateFormAndValidDate)
{
    struct Case {
        const char* text;
        bool form;
        bool valid;
    };
    for (const Case& c : {Case{"01/01/10", true, true}, Case{"31/12/99", true, true}, Case{"29/02/00", true, true},
                          Case{"29/02/96", true, true}, Case{"29/02/01", true, false}, Case{"31/06/15", true, false},
                          Case{"31/02/07", true, false}, Case{"00/00/00", true, false}, Case{"01/13/15", true, false},
                          Case{"1/1/2010", false, false}, Case{"01-01-10", false, false},
                          Case{"01/01/10 ", false, false}, Case{"", false, false}, Case{"0a/01/10", false, false},
                          Case{"01/01/1", false, false}, Case{"01/0101/", false, false}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(clocktext::isDateForm(QString::fromLatin1(c.text)), c.form);
        EXPECT_EQ(clocktext::isValidDate(QString::fromLatin1(c.text)), c.valid);
    }
    EXPECT_EQ(clocktext::calendarDate(QStringLiteral("31/12/49")), QDate(2049, 12, 31));
    EXPECT_EQ(clocktext::calendarDate(QStringLiteral("01/01/50")), QDate(1950, 1, 1));
}

TEST(ClockTextTest, TimeFormAndValidTime)
{
    struct Case {
        const char* text;
        bool form;
        bool valid;
    };
    for (const Case& c :
         {Case{"09:05", true, true}, Case{"00:00", true, true}, Case{"23:59", true, true}, Case{"24:00", true, false},
          Case{"24:30", true, false}, Case{"25:10", true, false}, Case{"12:60", true, false},
          Case{"99:99", true, false}, Case{"9:05", false, false}, Case{"09h05", false, false}, Case{"", false, false},
          Case{"09:5a", false, false}, Case{"09:050", false, false}, Case{" 9:05", false, false}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(clocktext::isTimeForm(QString::fromLatin1(c.text)), c.form);
        EXPECT_EQ(clocktext::isValidTime(QString::fromLatin1(c.text)), c.valid);
    }
    EXPECT_EQ(clocktext::minutesOfDay(QStringLiteral("23:59")), 23 * 60 + 59);
}

} // namespace
} // namespace tv
