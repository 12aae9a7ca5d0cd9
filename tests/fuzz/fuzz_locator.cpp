// The locator check, and distance and azimuth between two locators. Input: the station's
// locator, NUL, the correspondent's (UTF-8).
#include "geo/locator.h"
#include "tests/fuzz/fuzz_support.h"

#include <cmath>

using namespace tv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QList<QByteArray> in = fuzz::parts(fuzz::bytesOf(data, size), 2);
    const QString station = QString::fromUtf8(in[0]);
    const QString other = QString::fromUtf8(in[1]);

    for (const QString& text : {station, other}) {
        if (locator::isValidLocator(text)) {
            FUZZ_CHECK(text.size() == 6 && text == text.toUpper());
            const double lon = locator::longitude(text), lat = locator::latitude(text);
            FUZZ_CHECK(std::isfinite(lon) && std::isfinite(lat));
        }
        for (const QChar c : text)
            locator::letterRank(c);
    }
    const double x = in[0].isEmpty() ? 0.0 : (static_cast<unsigned char>(in[0][0]) - 128) / 100.0;
    const double angle = locator::arcCosine(x);
    FUZZ_CHECK(angle >= 0 && angle <= locator::kPi);

    const std::optional<int> km = locator::distanceKm(station, other);
    const QString text = locator::distanceText(station, other);
    if (km) {
        FUZZ_CHECK(*km >= 0 && *km <= 20100);
        FUZZ_CHECK(text == QString::number(*km));
    } else {
        FUZZ_CHECK(text.isEmpty());
    }
    const int azimuth = locator::azimuthDegrees(station, other);
    FUZZ_CHECK(azimuth >= 0 && azimuth <= 360);
    return 0;
}
