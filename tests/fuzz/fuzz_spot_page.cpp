// The spot page of a spot server: its parse, then the list the cluster window shows.
#include "spots/spot_list.h"
#include "tests/fuzz/fuzz_support.h"

using namespace tv;

namespace {

void checkSpot(const Spot& spot)
{
    FUZZ_CHECK(spot.frequency > 0);
    const QString line = spotlist::displayLine(spot);
    FUZZ_CHECK(line.startsWith(QLatin1Char(' ')));
    if (spot.time.size() == 13 && spot.qrg.size() <= 8) {
        // Fixed columns: the DX call in 16-27, the QRG right-aligned in 29-36.
        FUZZ_CHECK(line.mid(15, 12) == spot.callsign.left(12).leftJustified(12, QLatin1Char(' ')));
        FUZZ_CHECK(line.mid(28, 8) == spot.qrg.rightJustified(8, QLatin1Char(' ')));
    }
    const QString mill = spotlist::millReference(spot.comment);
    FUZZ_CHECK(mill.isEmpty() || mill.size() >= 7);
}

void checkArranged(const QList<Spot>& spots, spotlist::Sort sort, const spotlist::Filter& filter)
{
    const QList<spotlist::Row> rows = spotlist::arrange(spots, sort, filter);
    FUZZ_CHECK(rows.size() <= spots.size());
    for (qsizetype i = 1; i < rows.size(); ++i)
        FUZZ_CHECK(spotlist::sortLine(rows[i - 1].spot, sort) <= spotlist::sortLine(rows[i].spot, sort));
    for (const spotlist::Row& row : rows) {
        FUZZ_CHECK(spotlist::keeps(row.spot, filter));
        FUZZ_CHECK(row.line == spotlist::displayLine(row.spot));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QList<Spot> spots = spotlist::parsePage(QByteArrayView(data, qsizetype(size)));
    for (const Spot& spot : spots)
        checkSpot(spot);
    const QString text = spots.isEmpty() ? QString() : spots.first().callsign.left(2);
    checkArranged(spots, spotlist::Sort::Date, {});
    checkArranged(spots, spotlist::Sort::Dx, {true, false, {}, false});
    checkArranged(spots, spotlist::Sort::Qrg, {true, true, text, true});
    return 0;
}
