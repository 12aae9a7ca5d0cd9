#include "stats/distance_stats.h"

#include "logstore/fixed_text.h"
#include "logstore/log_columns.h"

#include <cmath>

namespace tv::distancestats {

const QStringList& captions()
{
    static const QStringList texts = {
        QStringLiteral("Inf a 100 Km"),  QStringLiteral("100 a 200 Km"), QStringLiteral("200 a 300 Km"),
        QStringLiteral("300 a 400 Km"),  QStringLiteral("400 a 500 Km"), QStringLiteral("500 a 600 Km"),
        QStringLiteral("600 a 700Km"),   QStringLiteral("700 a 800 Km"), QStringLiteral("800 a 900 Km"),
        QStringLiteral("900 a 1000 Km"), QStringLiteral("Sup a 1000 Km")};
    return texts;
}

int classOf(double km)
{
    if (km > 1000)
        return kClasses - 1;
    if (km < 100)
        return 0;
    return std::min(int(std::floor(km)) / 100, kClasses - 2);
}

Counts count(const QList<QByteArray>& logLines)
{
    Counts out;
    for (const QByteArray& line : logLines) {
        const QByteArrayView band = fixedtext::fieldView(line, logcol::kBand.first, logcol::kBand.width);
        if (band != "144 Mhz" && band != "144 MHz")
            continue;
        const double km =
            fixedtext::numericValue(fixedtext::mid(line, logcol::kDistance.first, logcol::kDistance.width));
        ++out.perClass[classOf(km)];
        ++out.total;
    }
    return out;
}

} // namespace tv::distancestats
