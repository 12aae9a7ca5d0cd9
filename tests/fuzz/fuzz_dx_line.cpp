// The "DX de" lines of a telnet DX cluster. Input: five bytes of the clock (day, month,
// year, hour, minute), then the line.
#include "spots/spot_list.h"
#include "spots/telnet_spot_source.h"
#include "tests/fuzz/fuzz_support.h"

#include <QDate>

using namespace tv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 5)
        return 0;
    CalendarTime now;
    now.day = 1 + data[0] % 28;
    now.month = 1 + data[1] % 12;
    now.year = 2001 + data[2] % 98;
    now.hour = data[3] % 24;
    now.minute = data[4] % 60;
    const QString line = QString::fromUtf8(reinterpret_cast<const char*>(data + 5), qsizetype(size - 5));
    const std::optional<Spot> spot = TelnetSpotSource::parseLine(line, now);
    if (!spot)
        return 0;
    FUZZ_CHECK(!spot->callsign.isEmpty() && !spot->spotter.isEmpty());
    FUZZ_CHECK(spot->frequency > 0);
    // The QRG has one decimal and names the frequency to within its last digit.
    const qsizetype point = spot->qrg.indexOf(QLatin1Char('.'));
    FUZZ_CHECK(point > 0 && point == spot->qrg.size() - 2);
    bool ok = false;
    const double khz = spot->qrg.toDouble(&ok);
    FUZZ_CHECK(ok && std::abs(khz * 1000.0 - double(spot->frequency)) <= 50.0 + khz * 1e-9);
    // "yy-MM-dd hhmm", the day of the clock or the day before.
    FUZZ_CHECK(spot->time.size() == 13);
    const QDate day = QDate::fromString(QStringLiteral("20") + spot->time.left(8), QStringLiteral("yyyy-MM-dd"));
    const QDate today(now.year, now.month, now.day);
    FUZZ_CHECK(day == today || day == today.addDays(-1));
    FUZZ_CHECK(spotlist::displayLine(*spot).mid(1, 13) == spot->time);
    return 0;
}
