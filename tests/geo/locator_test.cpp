#include "geo/locator.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <algorithm>

namespace tv {
namespace {

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
