#include "geo/clock_text.h"
#include "tests/support/fakes/fake_clock.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(ClockTextTest, ReadingsAreTwoDigitFields)
{
    EXPECT_EQ(clocktext::dateText({1999, 12, 31, 0, 0, 0}) + " " + clocktext::dateText({2000, 2, 9, 0, 0, 0}),
              "31/12/99 09/02/00");
    EXPECT_EQ(clocktext::timeText({2010, 1, 1, 9, 5, 3}) + " " + clocktext::timeText({2010, 1, 1, 23, 59, 59}),
              "09:05:03 23:59:59");
    FakeClock clock;
    clock.set({2015, 6, 21, 23, 30, 0}, {2015, 6, 22, 1, 30, 0});
    EXPECT_EQ(clocktext::utcDate(clock) + " " + clocktext::time(clock, true), "21/06/15 23:30:00");
    EXPECT_EQ(clocktext::localDate(clock) + " " + clocktext::time(clock, false), "22/06/15 01:30:00");
}

TEST(ClockTextTest, DateAndTimeFormsAndValidity)
{
    const struct {
        const char* text;
        bool form, valid;
    } dates[] = {{"31/12/99", true, true},    {"29/02/00", true, true},   {"29/02/96", true, true},
                 {"29/02/01", true, false},   {"31/06/15", true, false},  {"00/00/00", true, false},
                 {"01/13/15", true, false},   {"1/1/2010", false, false}, {"01-01-10", false, false},
                 {"01/01/10 ", false, false}, {"", false, false},         {"0a/01/10", false, false}},
      times[] = {{"09:05", true, true},   {"00:00", true, true},   {"23:59", true, true},   {"24:00", true, false},
                 {"12:60", true, false},  {"9:05", false, false},  {"09h05", false, false}, {"", false, false},
                 {"09:5a", false, false}, {"09:050", false, false}};
    for (const auto& c : dates) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(clocktext::isDateForm(QString::fromLatin1(c.text)), c.form);
        EXPECT_EQ(clocktext::isValidDate(QString::fromLatin1(c.text)), c.valid);
    }
    for (const auto& c : times) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(clocktext::isTimeForm(QString::fromLatin1(c.text)), c.form);
        EXPECT_EQ(clocktext::isValidTime(QString::fromLatin1(c.text)), c.valid);
    }
    EXPECT_EQ(clocktext::calendarDate(QStringLiteral("31/12/49")), QDate(2049, 12, 31));
    EXPECT_EQ(clocktext::calendarDate(QStringLiteral("01/01/50")), QDate(1950, 1, 1));
    EXPECT_EQ(clocktext::minutesOfDay(QStringLiteral("23:59")), 23 * 60 + 59);
}

} // namespace
} // namespace tv
