#include "geo/locator.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace tv {
namespace {

TEST(LocatorTest, FormCheck)
{
    const QStringList valid = {"JN18DU", "ZZ99ZZ", "AA00AA"};
    for (const QString& text : valid + QStringList{"jn18du", "JN18du", "JN18D", "JN18DUX", "JN1XDU", "1N18DU", "JN18D1",
                                                   "", " JN18DU", "JN18DU ", "------", "JN18[U", "JN18@U"})
        EXPECT_EQ(locator::isValidLocator(text), valid.contains(text)) << qPrintable(text);
}

TEST(LocatorTest, PositionIsTheCentreOfTheSubSquare)
{
    const struct {
        const char* locator;
        double east, north; // degrees
    } cases[] = {{"JN18DU", 2.2916667, 48.8541667},
                 {"AA00AA", -180 + 1.0 / 24, -90 + 1.0 / 48},
                 {"RR99XX", 179.9583333, 89.9791667},
                 {"JN1", 0, 0}}; // too short: 0 instead of reading past the end
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locator);
        EXPECT_NEAR(locator::longitude(QString(c.locator)) * 180 / 3.141592654, c.east, 1e-7);
        EXPECT_NEAR(locator::latitude(QString(c.locator)) * 180 / 3.141592654, c.north, 1e-7);
    }
}

TEST(LocatorTest, ArcCosineStaysDefinedAtAndBeyondItsBounds)
{
    const double pi = 3.141592654;
    const std::pair<double, double> cases[] = {{0, pi / 2}, {0.5, std::acos(0.5)},   {-0.5, std::acos(-0.5)}, {1, 0},
                                               {-1, pi},    {1.0000000000000002, 0}, {-1.0000000001, pi}};
    for (const auto& [x, angle] : cases)
        EXPECT_NEAR(locator::arcCosine(x), angle, 1e-9) << x;
    EXPECT_TRUE(std::isfinite(locator::arcCosine(std::nan(""))));
    EXPECT_TRUE(std::isfinite(locator::arcCosine(INFINITY)));
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
                 // Defined results where the described arc cosine divides by zero or leaves [-1, 1].
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
