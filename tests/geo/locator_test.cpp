#include "geo/locator.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <cmath>

namespace tv {
namespace {

TEST(LocatorTest, FormCheck)
{
    struct Case {
        const char* text;
        bool valid;
    };
    for (const Case& c :
         {Case{"JN18DU", true}, Case{"ZZ99ZZ", true}, Case{"AA00AA", true}, Case{"jn18du", false},
          Case{"JN18du", false}, Case{"JN18D", false}, Case{"JN18DUX", false}, Case{"JN1XDU", false},
          Case{"1N18DU", false}, Case{"JN18D1", false}, Case{"", false}, Case{" JN18DU", false}, Case{"JN18DU ", false},
          Case{"------", false}, Case{"JN18[U", false}, Case{"JN18@U", false}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(locator::isValidLocator(QString::fromLatin1(c.text)), c.valid);
    }
}

TEST(LocatorTest, LetterRankAndPositionOfTheSubSquareCentre)
{
    EXPECT_EQ(locator::letterRank('A'), 0);
    EXPECT_EQ(locator::letterRank('a'), 0);
    EXPECT_EQ(locator::letterRank('X'), 23);
    EXPECT_EQ(locator::letterRank('x'), 23);
    EXPECT_EQ(locator::letterRank('Z'), 25);

    // JN18DU: 2.2916667 degrees east, 48.8541667 degrees north.
    EXPECT_NEAR(locator::longitude(u"JN18DU") * locator::kRadiansToDegrees, 2.2916667, 1e-7);
    EXPECT_NEAR(locator::latitude(u"JN18DU") * locator::kRadiansToDegrees, 48.8541667, 1e-7);
    // The maths takes lower case as upper case.
    EXPECT_DOUBLE_EQ(locator::longitude(u"jn18du"), locator::longitude(u"JN18DU"));
    EXPECT_DOUBLE_EQ(locator::latitude(u"jn18du"), locator::latitude(u"JN18DU"));
    // South-west corner of the grid: centre of AA00AA.
    EXPECT_NEAR(locator::longitude(u"AA00AA") * locator::kRadiansToDegrees, -180 + 1.0 / 24, 1e-9);
    EXPECT_NEAR(locator::latitude(u"AA00AA") * locator::kRadiansToDegrees, -90 + 1.0 / 48, 1e-9);
    // The 10-digit pi, not the full-precision one.
    EXPECT_EQ(locator::kPi, 3.141592654);
    EXPECT_NEAR(locator::kEarthRadiusKm, 6378.39, 0.01);
    // A text too short for a position gives 0 instead of reading past its end.
    EXPECT_EQ(locator::longitude(u"JN1"), 0);
    EXPECT_EQ(locator::latitude(u""), 0);
}

TEST(LocatorTest, ArcCosineStaysDefinedAtAndBeyondItsBounds)
{
    EXPECT_NEAR(locator::arcCosine(0), locator::kHalfPi, 1e-15);
    EXPECT_NEAR(locator::arcCosine(0.5), std::acos(0.5), 1e-9);
    EXPECT_NEAR(locator::arcCosine(-0.5), std::acos(-0.5), 1e-9);
    EXPECT_EQ(locator::arcCosine(1), 0);
    EXPECT_EQ(locator::arcCosine(-1), locator::kPi);
    // Rounding can push the cosine of a zero angle a hair above 1.
    EXPECT_EQ(locator::arcCosine(1.0000000000000002), 0);
    EXPECT_EQ(locator::arcCosine(-1.0000000000000002), locator::kPi);
    EXPECT_TRUE(std::isfinite(locator::arcCosine(std::nan(""))));
    EXPECT_TRUE(std::isfinite(locator::arcCosine(INFINITY)));
}

TEST(LocatorTest, WorkedDistancesAndAzimuths)
{
    struct Case {
        const char* from;
        const char* to;
        int km;
        int degrees;
    };
    for (const Case& c :
         {Case{"JN18DU", "JN18EU", 6, 90}, Case{"JN18DU", "JN18DV", 5, 0}, Case{"JN18DU", "JN18DT", 5, 180},
          Case{"JN18DU", "JN03TJ", 610, 185}, Case{"JN03TJ", "JN18DU", 610, 5}, Case{"JN18DU", "IO91WM", 343, 331},
          Case{"JN18DU", "KN05QX", 1469, 95}}) {
        SCOPED_TRACE(std::string(c.from) + " -> " + c.to);
        EXPECT_EQ(locator::distanceKm(c.from, c.to), c.km);
        EXPECT_EQ(locator::distanceText(c.from, c.to), QString::number(c.km));
        EXPECT_EQ(locator::azimuthDegrees(c.from, c.to), c.degrees);
    }
}

TEST(LocatorTest, CorrespondentLocatorIsTrimmedAndMustKeepSixCharacters)
{
    EXPECT_EQ(locator::distanceText("JN18DU", "  JN18EU  "), "6");
    EXPECT_EQ(locator::azimuthDegrees("JN18DU", "  JN18EU  "), 90);
    EXPECT_EQ(locator::distanceText("JN18DU", "JN18EUXX"), "6") << "only the first 6 characters count";
    EXPECT_EQ(locator::distanceText("JN18DU", "JN18"), "");
    EXPECT_EQ(locator::distanceKm("JN18DU", "JN18"), std::nullopt);
    EXPECT_EQ(locator::distanceText("JN18DU", "  JN18  "), "");
    EXPECT_EQ(locator::distanceText("JN18DU", ""), "");
    EXPECT_EQ(locator::azimuthDegrees("JN18DU", "JN18"), 0);
    // No station locator yet: nothing instead of reading past the text.
    EXPECT_EQ(locator::distanceText("", "JN18EU"), "");
    EXPECT_EQ(locator::azimuthDegrees("JN1", "JN18EU"), 0);
}

TEST(LocatorTest, SamePositionAntipodesAndPolesGiveDefinedResults)
{
    // The station's own locator: no distance, azimuth 0 (the described arc cosine divides by
    // zero there).
    for (const char* loc : {"JN18DU", "AA00AA", "RR99XX", "ZZ99ZZ"}) {
        SCOPED_TRACE(loc);
        EXPECT_EQ(locator::distanceKm(loc, loc), 0);
        EXPECT_EQ(locator::azimuthDegrees(loc, loc), 0);
    }
    EXPECT_EQ(locator::distanceKm("JN18DU", "jn18du"), 0);
    EXPECT_EQ(locator::azimuthDegrees("JN18DU", "jn18du"), 0);

    // AE11DD is the antipode of JN18DU: half the circumference, cosine -1.
    EXPECT_EQ(locator::distanceKm("JN18DU", "AE11DD"), 20038);
    const int antipodeAzimuth = locator::azimuthDegrees("JN18DU", "AE11DD");
    EXPECT_GE(antipodeAzimuth, 0);
    EXPECT_LE(antipodeAzimuth, 360);

    // Near a pole (RR99XX is 1.2 minutes from the north pole) and beyond the grid's latitudes
    // (ZZ99ZZ, which the form check lets through).
    EXPECT_EQ(locator::distanceKm("RR99XX", "JN18DU"), 4583);
    EXPECT_EQ(locator::azimuthDegrees("RR99XX", "JN18DU"), 358);
}

TEST(LocatorTest, HairWestOfDueNorthRoundsTo360)
{
    // 5 minutes west, 20 degrees north: 359.7 degrees, shown as 360.
    EXPECT_EQ(locator::azimuthDegrees("JN18DU", "JP18CU"), 360);
    EXPECT_EQ(locator::azimuthDegrees("JN18DU", "JP18DU"), 0);
}

TEST(LocatorTest, EveryPairOfAGridIsFiniteSymmetricAndInRange)
{
    QStringList grid;
    for (const char* f : {"AA", "JN", "RR", "ZZ", "IO", "AR", "RA"})
        for (const char* d : {"00", "55", "99"})
            for (const char* s : {"AA", "LL", "XX", "ZZ"})
                grid << QString::fromLatin1(f) + d + s;
    for (const QString& a : grid) {
        for (const QString& b : grid) {
            const std::optional<int> ab = locator::distanceKm(a, b);
            const std::optional<int> ba = locator::distanceKm(b, a);
            ASSERT_TRUE(ab && ba);
            EXPECT_EQ(*ab, *ba) << qPrintable(a) << " " << qPrintable(b);
            EXPECT_GE(*ab, 0);
            EXPECT_LE(*ab, 20039);
            const int az = locator::azimuthDegrees(a, b);
            EXPECT_GE(az, 0) << qPrintable(a) << " " << qPrintable(b);
            EXPECT_LE(az, 360) << qPrintable(a) << " " << qPrintable(b);
        }
    }
}

} // namespace
} // namespace tv
