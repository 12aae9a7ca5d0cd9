#include "geo/clock_text.h"
#include "geo/locator.h"
#include "tests/support/fakes/fake_clock.h"

#include <QStringList>
#include <algorithm>
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

TEST(LocatorTest, FormCheck)
{
    const QStringList valid = {"JN18DU", "ZZ99ZZ", "AA00AA"};
    for (const QString& text : valid + QStringList{"jn18du", "JN18du", "JN18D", "JN18DUX", "JN1XDU", "1N18DU", "JN18D1",
                                                   "", " JN18DU", "JN18DU ", "------", "JN18[U", "JN18@U"})
        EXPECT_EQ(locator::isValidLocator(text), valid.contains(text)) << qPrintable(text);
}

TEST(LocatorTest, DistancesAndAzimuths)
{
    const struct {
        const char *from, *to;
        const char* km; // the distance text, empty when there is none
        int degrees;
    } cases[] = {{"JN18DU", "JN18EU", "6", 90},
                 {"JN18DU", "JN18DT", "5", 180},
                 {"JN18DU", "JN03TJ", "610", 185},
                 {"JN03TJ", "JN18DU", "610", 5},
                 {"JN18DU", "KN05QX", "1469", 95},
                 // The correspondent's locator is trimmed and its first 6 characters used.
                 {"JN18DU", "  JN18EU  ", "6", 90},
                 {"JN18DU", "JN18EUXX", "6", 90},
                 {"JN18DU", "  JN18  ", "", 0},
                 {"", "JN18EU", "", 0}, // no station locator yet
                 // Defined results where the arc cosine would divide by zero or leave [-1, 1].
                 {"JN18DU", "JN18DU", "0", 0},
                 {"JN18DU", "jn18du", "0", 0},
                 {"RR99XX", "JN18DU", "4583", 358},
                 {"JN18DU", "AE11DD", "20038", -1}, // the antipode: any azimuth
                 // A hair west of due north: 359.7 degrees, shown as 360.
                 {"JN18DU", "JP18CU", "2226", 360},
                 {"JN18DU", "JP18DU", "2226", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " -> " + c.to);
        EXPECT_EQ(locator::distanceText(c.from, c.to), c.km);
        EXPECT_EQ(locator::distanceKm(c.from, c.to), *c.km ? std::optional<int>(atoi(c.km)) : std::nullopt);
        const int degrees = locator::azimuthDegrees(c.from, c.to);
        EXPECT_EQ(degrees, c.degrees < 0 ? std::clamp(degrees, 0, 360) : c.degrees);
    }
}

} // namespace
} // namespace tv
