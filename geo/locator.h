#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Maidenhead locators: the form check, the position of a locator, and the distance and azimuth
// from the station to a correspondent.
//
// The computation is the logbook's own, kept exactly so that distances and azimuths match the
// ones already in the logs: pi is taken as 3.141592654, the earth as a sphere of circumference
// 40076.59 km, a locator stands for the centre of its sub-square, and results are rounded by
// taking the integer part of the value plus one half.
// Two identical positions, antipodes and the poles give defined results (never NaN, never an
// infinite value): the cosine of the central angle is kept within [-1, 1] and the divisions
// are guarded.
namespace tv::locator {

inline constexpr double kPi = 3.141592654;
inline constexpr double kCircumferenceKm = 40076.59;
inline constexpr double kEarthRadiusKm = kCircumferenceKm / kPi / 2;
inline constexpr double kDegreesToRadians = kPi / 180;
inline constexpr double kRadiansToDegrees = 180 / kPi;
inline constexpr double kHalfPi = kPi / 2;

// True when the text has the form of a locator: exactly 6 characters, "A"-"Z" at 1, 2, 5
// and 6, "0"-"9" at 3 and 4. Lower case fails; field letters beyond "R" and sub-square letters
// beyond "X" pass.
bool isValidLocator(const QString& text);

// The rank of a letter in the alphabet: code - 65 for codes up to 96, else code - 97, so "A"
// and "a" give 0, "X" and "x" 23.
int letterRank(QChar letter);

// Longitude (east positive) and latitude (north positive) of the centre of the sub-square, in
// radians. Characters 1, 3, 5 give the longitude, 2, 4, 6 the latitude; lower case is accepted.
// A text of fewer than 6 characters gives 0.
double longitude(QStringView locator);
double latitude(QStringView locator);

// The arc cosine as the logbook computes it: pi/2 - atan(x / sqrt(1 - x^2)), radians, 0 to
// pi. x is first kept within [-1, 1]; at -1 and 1 the result is pi and 0.
double arcCosine(double x);

// The distance in whole kilometres from the station to the correspondent. The correspondent's
// locator is trimmed of blanks and its first 6 characters used; nothing when fewer than 6
// remain (or when the station's locator has fewer than 6 characters).
std::optional<int> distanceKm(const QString& station, const QString& other);
// The angle at the earth's centre between the centres of the two squares, in radians, from
// which distanceKm takes its kilometres; nothing when either locator is too short.
std::optional<double> centralAngle(const QString& station, const QString& other);
// The same as decimal text ("610"), empty when there is no distance.
QString distanceText(const QString& station, const QString& other);

// The azimuth from the station to the correspondent in whole degrees, 0 to 360 (a
// correspondent a hair west of due north can give 360). 0 for the station's own position and
// when either locator has fewer than 6 characters.
int azimuthDegrees(const QString& station, const QString& other);

} // namespace tv::locator
