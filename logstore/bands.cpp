#include "logstore/bands.h"

namespace tv::bands {

const QList<QByteArray>& all()
{
    static const QList<QByteArray> table = {
        "1.8 Mhz", "3.5 Mhz", "7.0 Mhz", "10 Mhz",  "14 Mhz",  "18 Mhz",  "21 Mhz", "24 Mhz", "28 Mhz",
        "50 Mhz",  "144 Mhz", "432 Mhz", "1.3 Ghz", "2.3 Ghz", "5.7 Ghz", "10 Ghz", "24 Ghz",
    };
    return table;
}

std::optional<int> indexOf(const QByteArray& band)
{
    const qsizetype at = all().indexOf(band);
    if (at < 0)
        return std::nullopt;
    return int(at);
}

std::optional<int> markColumn(const QByteArray& band, int firstColumn)
{
    const std::optional<int> index = indexOf(band);
    if (!index)
        return std::nullopt;
    return firstColumn + *index;
}

bool isHf(const QByteArray& band)
{
    return indexOf(band).value_or(kCount) <= *indexOf("28 Mhz");
}

const QList<QByteArray>& hfSession()
{
    static const QList<QByteArray> list = {"3.5 Mhz", "7.0 Mhz", "14 Mhz", "21 Mhz", "28 Mhz"};
    return list;
}

const QList<QByteArray>& vhfSession()
{
    static const QList<QByteArray> list = {"144 Mhz"};
    return list;
}

std::optional<int> hfPoints(const QByteArray& band)
{
    if (band == "3.5 Mhz" || band == "7.0 Mhz")
        return 1;
    if (band == "14 Mhz")
        return 3;
    if (band == "21 Mhz")
        return 4;
    if (band == "28 Mhz")
        return 5;
    return std::nullopt;
}

std::optional<Mode> modeOf(const QByteArray& mode)
{
    if (mode == kSsb)
        return Mode::Ssb;
    if (mode == kCw)
        return Mode::Cw;
    return std::nullopt;
}

QByteArray modeText(Mode mode)
{
    return mode == Mode::Ssb ? kSsb : kCw;
}

} // namespace tv::bands
