#include "geo/locator.h"

#include <algorithm>
#include <cmath>

namespace tv::locator {
namespace {

bool isUpperLetter(QChar c)
{
    return c.unicode() >= 'A' && c.unicode() <= 'Z';
}

bool isDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

int digitValue(QChar c)
{
    return int(c.unicode()) - 48;
}

// The position of a locator in degrees: field, digit and sub-square at `first`, `first` + 2
// and `first` + 4 (0-based), with the field, square and sub-square sizes of that axis.
double degrees(QStringView loc, int first, double fieldSize, double origin, double subSize)
{
    const int field = letterRank(loc[first]);
    const int digit = digitValue(loc[first + 2]);
    const int sub = letterRank(loc[first + 4]);
    return fieldSize * field - origin + (fieldSize / 10) * digit + sub / subSize + 1 / (2 * subSize);
}

struct Positions {
    double lon1, lat1, lon2, lat2;
};

// The correspondent's locator as the computation takes it: blanks trimmed, the first 6
// characters kept; nothing when either locator is too short.
std::optional<Positions> positions(const QString& station, const QString& other)
{
    const QString trimmed = other.trimmed().left(6);
    if (trimmed.size() < 6 || station.size() < 6)
        return std::nullopt;
    return Positions{longitude(station), latitude(station), longitude(trimmed), latitude(trimmed)};
}

// The cosine of the central angle between the two positions.
double centralCosine(const Positions& p)
{
    return std::cos(p.lon1 - p.lon2) * std::cos(p.lat1) * std::cos(p.lat2) + std::sin(p.lat1) * std::sin(p.lat2);
}

double distanceOf(const Positions& p)
{
    const double c = arcCosine(centralCosine(p));
    return kCircumferenceKm * c / (2 * kPi);
}

int roundHalfUp(double value)
{
    return int(std::floor(value + 0.5));
}

} // namespace

bool isValidLocator(const QString& text)
{
    if (text.size() != 6)
        return false;
    return isUpperLetter(text[0]) && isUpperLetter(text[1]) && isDigit(text[2]) && isDigit(text[3]) &&
           isUpperLetter(text[4]) && isUpperLetter(text[5]);
}

int letterRank(QChar letter)
{
    const int code = letter.unicode();
    return code <= 96 ? code - 65 : code - 97;
}

double longitude(QStringView loc)
{
    if (loc.size() < 6)
        return 0;
    // 20 F - 180 + 2 D + S / 12 + 1 / 24 degrees
    return degrees(loc, 0, 20, 180, 12) * kDegreesToRadians;
}

double latitude(QStringView loc)
{
    if (loc.size() < 6)
        return 0;
    // 10 F - 90 + D + S / 24 + 1 / 48 degrees
    return degrees(loc, 1, 10, 90, 24) * kDegreesToRadians;
}

double arcCosine(double x)
{
    if (std::isnan(x))
        return kHalfPi;
    x = std::clamp(x, -1.0, 1.0);
    if (x >= 1)
        return 0;
    if (x <= -1)
        return kPi;
    return -std::atan(x / std::sqrt(1 - x * x)) + kHalfPi;
}

std::optional<double> centralAngle(const QString& station, const QString& other)
{
    const std::optional<Positions> p = positions(station, other);
    if (!p)
        return std::nullopt;
    return arcCosine(centralCosine(*p));
}

std::optional<int> distanceKm(const QString& station, const QString& other)
{
    const std::optional<Positions> p = positions(station, other);
    if (!p)
        return std::nullopt;
    return roundHalfUp(distanceOf(*p));
}

QString distanceText(const QString& station, const QString& other)
{
    const std::optional<int> km = distanceKm(station, other);
    return km ? QString::number(*km) : QString();
}

int azimuthDegrees(const QString& station, const QString& other)
{
    const std::optional<Positions> p = positions(station, other);
    if (!p)
        return 0;
    const double c = distanceOf(*p) / kEarthRadiusKm;
    const double numerator = std::sin(p->lat2) - std::sin(p->lat1) * std::cos(c);
    const double denominator = std::cos(p->lat1) * std::sin(c);
    if (c == 0 || (p->lon1 == p->lon2 && p->lat1 == p->lat2))
        return 0; // the station's own position
    double k;
    if (denominator == 0 || !std::isfinite(numerator / denominator))
        k = numerator > 0 ? 1 : numerator < 0 ? -1 : 0; // a pole: the limit of the quotient
    else
        k = numerator / denominator;
    if (k <= -1)
        k = -0.999999999;
    if (k >= 1)
        k = 0.999999999;
    double a = arcCosine(k) * kRadiansToDegrees;
    if (p->lon1 - p->lon2 > 0)
        a = 360 - a;
    if (!std::isfinite(a))
        return 0;
    return roundHalfUp(a);
}

} // namespace tv::locator
