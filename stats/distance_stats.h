#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <array>

// The 144 MHz QSOs of the log counted by distance class of 100 km.
namespace tv::distancestats {

inline constexpr int kClasses = 11;

// The captions of the classes, from "Inf a 100 Km" to "Sup a 1000 Km".
const QStringList& captions();

// The class (0 to 10) of a distance in km: below 100 is 0; 100 to 199 is 1, and so on; 900 to
// 1000 is 9 (1000 km included); above 1000 is 10.
int classOf(double km);

struct Counts {
    std::array<int, kClasses> perClass{};
    int total = 0;
};

// Counts the lines whose band (columns 50-57, trimmed) is "144 Mhz" or "144 MHz"; the distance
// is the numeric value of columns 155-159, 0 when empty or not a number.
Counts count(const QList<QByteArray>& logLines);

} // namespace tv::distancestats
