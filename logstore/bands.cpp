#include "logstore/bands.h"

#include <array>

namespace tv::bands {
namespace {

constexpr quint64 kMhz = 1000000;
constexpr quint64 kKhz = 1000;

const std::array<Band, kCount>& bandTable()
{
    // The band edges are those of the ADIF band list, the widest the amateur bands reach in any
    // region, so that a frequency read from a transceiver or a spot anywhere finds its band.
    static const std::array<Band, kCount> table = {{
        {"1.8 Mhz", "160m", true, 0, 1800 * kKhz, 2000 * kKhz},
        {"3.5 Mhz", "80m", true, 1, 3500 * kKhz, 4000 * kKhz},
        {"7.0 Mhz", "40m", true, 1, 7000 * kKhz, 7300 * kKhz},
        {"10 Mhz", "30m", true, 0, 10100 * kKhz, 10150 * kKhz},
        {"14 Mhz", "20m", true, 3, 14000 * kKhz, 14350 * kKhz},
        {"18 Mhz", "17m", true, 0, 18068 * kKhz, 18168 * kKhz},
        {"21 Mhz", "15m", true, 4, 21000 * kKhz, 21450 * kKhz},
        {"24 Mhz", "12m", true, 0, 24890 * kKhz, 24990 * kKhz},
        {"28 Mhz", "10m", true, 5, 28000 * kKhz, 29700 * kKhz},
        {"50 Mhz", "6m", false, 0, 50 * kMhz, 54 * kMhz},
        {kVhfBand, "2m", false, kDistancePoints, 144 * kMhz, 148 * kMhz},
        {"432 Mhz", "70cm", false, 0, 420 * kMhz, 450 * kMhz},
        {"1.3 Ghz", "23cm", false, 0, 1240 * kMhz, 1300 * kMhz},
        {"2.3 Ghz", "13cm", false, 0, 2300 * kMhz, 2450 * kMhz},
        {"5.7 Ghz", "6cm", false, 0, 5650 * kMhz, 5925 * kMhz},
        {"10 Ghz", "3cm", false, 0, 10000 * kMhz, 10500 * kMhz},
        {"24 Ghz", "1.25cm", false, 0, 24000 * kMhz, 24250 * kMhz},
    }};
    return table;
}

template <typename Keep> QList<QByteArray> textsWhere(Keep keep)
{
    QList<QByteArray> out;
    for (const Band& band : bandTable()) {
        if (keep(band))
            out << band.text;
    }
    return out;
}

} // namespace

std::span<const Band> table()
{
    return bandTable();
}

const QList<QByteArray>& all()
{
    static const QList<QByteArray> texts = textsWhere([](const Band&) { return true; });
    return texts;
}

std::optional<int> indexOf(const QByteArray& band)
{
    const qsizetype at = all().indexOf(band);
    if (at < 0)
        return std::nullopt;
    return int(at);
}

const Band* find(const QByteArray& band)
{
    const std::optional<int> index = indexOf(band);
    return index ? &bandTable()[*index] : nullptr;
}

const Band* ofFrequency(quint64 hz)
{
    for (const Band& band : bandTable()) {
        if (hz >= band.lowHz && hz <= band.highHz)
            return &band;
    }
    return nullptr;
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
    const Band* found = find(band);
    return found && found->hf;
}

const QList<QByteArray>& hfSession()
{
    static const QList<QByteArray> list = textsWhere([](const Band& b) { return b.hf && b.points > 0; });
    return list;
}

const QList<QByteArray>& vhfSession()
{
    static const QList<QByteArray> list = textsWhere([](const Band& b) { return b.points == kDistancePoints; });
    return list;
}

const QList<QByteArray>& scored()
{
    static const QList<QByteArray> list = textsWhere([](const Band& b) { return b.points != 0; });
    return list;
}

std::optional<int> hfPoints(const QByteArray& band)
{
    const Band* found = find(band);
    if (!found || !found->hf || found->points <= 0)
        return std::nullopt;
    return found->points;
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
