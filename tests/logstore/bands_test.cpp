#include "logstore/bands.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(BandTable, RangesAreOrderedAndDisjointAndEveryBandIsFoundByItsFrequencies)
{
    const auto table = bands::table();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const bands::Band& band = table[i];
        SCOPED_TRACE(band.text.constData());
        if (i > 0)
            EXPECT_GT(band.lowHz, table[i - 1].highHz) << "ordered, no overlap with the band before";
        for (const quint64 hz : {band.lowHz, (band.lowHz + band.highHz) / 2, band.highHz})
            EXPECT_EQ(bands::ofFrequency(hz), &band) << hz;
        EXPECT_NE(bands::ofFrequency(band.lowHz - 1), &band);
        EXPECT_NE(bands::ofFrequency(band.highHz + 1), &band);
        EXPECT_EQ(bands::find(band.text), &band);
        EXPECT_EQ(bands::indexOf(band.text), int(i)) << "the index is the mark column after the first";
    }
    EXPECT_EQ(bands::ofFrequency(14'200'000)->text, "14 Mhz");
    EXPECT_EQ(bands::ofFrequency(144'300'000)->adif, "2m");
    for (const quint64 outside : {quint64(0), quint64(1'000'000), quint64(5'000'000), quint64(30'000'000),
                                  quint64(100'000'000), quint64(30'000'000'000)})
        EXPECT_EQ(bands::ofFrequency(outside), nullptr) << outside;
}

} // namespace
} // namespace tv
