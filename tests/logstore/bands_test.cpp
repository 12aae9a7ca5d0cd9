#include "logstore/bands.h"
#include "logstore/score.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

// The ADIF format's band list (ADIF 3.1): the bands of the event's table, edges in kHz.
struct AdifBand {
    const char* name;
    quint64 lowKhz;
    quint64 highKhz;
};
constexpr AdifBand kAdifBands[] = {
    {"160m", 1800, 2000},           {"80m", 3500, 4000},        {"40m", 7000, 7300},       {"30m", 10100, 10150},
    {"20m", 14000, 14350},          {"17m", 18068, 18168},      {"15m", 21000, 21450},     {"12m", 24890, 24990},
    {"10m", 28000, 29700},          {"6m", 50000, 54000},       {"2m", 144000, 148000},    {"70cm", 420000, 450000},
    {"23cm", 1240000, 1300000},     {"13cm", 2300000, 2450000}, {"6cm", 5650000, 5925000}, {"3cm", 10000000, 10500000},
    {"1.25cm", 24000000, 24250000},
};

TEST(BandTable, AdifNamesAndRangesAgreeWithTheAdifBandList)
{
    ASSERT_EQ(bands::table().size(), std::size_t(bands::kCount));
    for (const bands::Band& band : bands::table()) {
        SCOPED_TRACE(band.text.constData());
        const AdifBand* adif = nullptr;
        for (const AdifBand& a : kAdifBands) {
            if (band.adif == a.name)
                adif = &a;
        }
        ASSERT_NE(adif, nullptr) << "not an ADIF band name: " << band.adif.constData();
        EXPECT_GE(band.lowHz, adif->lowKhz * 1000);
        EXPECT_LE(band.highHz, adif->highKhz * 1000);
        EXPECT_LT(band.lowHz, band.highHz);
    }
}

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

TEST(BandTable, SessionsAndPointsComeFromTheTable)
{
    EXPECT_EQ(bands::hfSession(), (QList<QByteArray>{"3.5 Mhz", "7.0 Mhz", "14 Mhz", "21 Mhz", "28 Mhz"}));
    EXPECT_EQ(bands::scored(), bands::hfSession() + QList<QByteArray>{bands::kVhfBand});
    EXPECT_EQ(scoring::scoredBands().size(), ScoreTally::kBands);
    EXPECT_EQ(bands::hfPoints("24 Mhz"), std::nullopt) << "HF, but not a band of the event";
    EXPECT_EQ(bands::hfPoints(bands::kVhfBand), std::nullopt);
    EXPECT_FALSE(bands::isHf("14 MHz")) << "texts are compared exactly";
}

} // namespace
} // namespace tv
