#include "rig/spot_tuning.h"

#include <QRegularExpression>

#include <array>
#include <cmath>

namespace tv::spottuning {
namespace {

struct Segment {
    Frequency low, high;
};

constexpr Frequency kKhz = 1000;
constexpr std::array kCwSegments{
    Segment{1810 * kKhz, 1838 * kKhz},       Segment{3500 * kKhz, 3570 * kKhz},
    Segment{7000 * kKhz, 7040 * kKhz},       Segment{10100 * kKhz, 10130 * kKhz},
    Segment{14000 * kKhz, 14070 * kKhz},     Segment{18068 * kKhz, 18095 * kKhz},
    Segment{21000 * kKhz, 21070 * kKhz},     Segment{24890 * kKhz, 24915 * kKhz},
    Segment{28000 * kKhz, 28070 * kKhz},     Segment{50000 * kKhz, 50100 * kKhz},
    Segment{144000 * kKhz, 144150 * kKhz},   Segment{432000 * kKhz, 432100 * kKhz},
    Segment{1296000 * kKhz, 1296150 * kKhz},
};

constexpr Frequency kUpperSidebandFrom = 10000 * kKhz;

} // namespace

std::optional<Frequency> kilohertz(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^\\d{1,9}(\\.\\d{1,3})?$"));
    const QString trimmed = text.trimmed();
    if (!number.match(trimmed).hasMatch())
        return std::nullopt;
    const double khz = trimmed.toDouble();
    if (khz <= 0)
        return std::nullopt;
    return Frequency(std::llround(khz * 1000));
}

std::optional<Frequency> displayLineFrequency(const QString& line)
{
    if (line.size() < 36)
        return std::nullopt;
    return kilohertz(line.mid(27, 9));
}

QString kilohertzText(Frequency hz)
{
    const Frequency hundreds = (hz + 50) / 100;
    return QStringLiteral("%1.%2").arg(hundreds / 10).arg(hundreds % 10);
}

RigMode spotMode(Frequency hz)
{
    for (const Segment& s : kCwSegments) {
        if (hz >= s.low && hz <= s.high)
            return RigMode::Cw;
    }
    return hz >= kUpperSidebandFrom ? RigMode::Usb : RigMode::Lsb;
}

} // namespace tv::spottuning
