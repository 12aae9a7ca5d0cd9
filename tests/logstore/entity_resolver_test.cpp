// The country file as the look-up reads it, and the entity of a callsign from it or from the
// prefix file alone.

#include "logstore/country_file.h"
#include "logstore/entity_resolver.h"
#include "tests/logstore/multiplier_reference.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

// A small country file in the installed file's form: zones and other overrides after the
// prefixes, exact calls, a WAE-only entry, an entity known by exact calls only.
const QByteArray kCountryFile = "France:                   14:  27:  EU:   46.00:    -2.00:    -1.0:  F:\r\n"
                                "    F,HW(14),TM[27],=TM0BSM/LH;\r\n"
                                "Wallis & Futuna Islands:  32:  62:  OC:  -13.30:   176.20:   -12.0:  FW:\r\n"
                                "    FW,TW;\r\n"
                                "Italy:                    15:  28:  EU:   42.82:   -12.58:    -1.0:  I:\r\n"
                                "    I,=IT9ZZZ;\r\n"
                                "Sicily:                   15:  28:  EU:   37.50:   -14.00:    -1.0:  *IT9:\r\n"
                                "    IT9{EU},=IQ9XX,=IT9ZZZ;\r\n"
                                "Sardinia:                 15:  28:  EU:   40.15:    -9.27:    -1.0:  IS:\r\n"
                                "    IS0<40.1/-9.2>,IM0~-1~;\r\n"
                                "Conway Reef:              32:  56:  OC:  -22.00:  -175.00:   -12.0:  3D2/c:\r\n"
                                "    =3D2CR,=3D2C;\r\n"
                                "Fiji:                     32:  56:  OC:  -17.78:  -177.92:   -12.0:  3D2:\r\n"
                                "    3D2;\r\n";

QList<QByteArray> prefixFile(bool withConwayReef)
{
    const QByteArray marks(17, '0');
    QList<QByteArray> lines;
    if (withConwayReef)
        lines << test::prefixLine("3D2/C", marks, "3D2/C", "Conway Reef");
    lines << test::prefixLine("3D2", marks, "3D2", "Fiji")
          << test::prefixLine("FW", marks, "FW", "Wallis & Futuna Islands")
          << test::prefixLine("TM", marks, "F", "France") << test::prefixLine("F", marks, "F", "France")
          << test::prefixLine("IS0", marks, "IS0", "Sardinia")  // found by name
          << test::prefixLine("I", marks, "I", "Italia")        // found by primary prefix
          << test::prefixLine("XX9", marks, "XX9", "Testland"); // unknown to the country file
    return lines;
}

QByteArray outcome(const EntityResolver::Result& r)
{
    static const char* kKinds[] = {"", "mobile", "unknown", "no line: "};
    return kKinds[int(r.kind)] + r.code;
}

TEST(EntityResolverTest, CountryFileRulesAndTheLinesThatHoldTheMarks)
{
    const std::optional<CountryFile> countries = CountryFile::parse(kCountryFile);
    ASSERT_TRUE(countries);
    EXPECT_EQ(countries->entities().size(), 6) << "the WAE entry is no entity";
    const struct {
        const char* callsign;
        const char* withCountries;
        const char* alone;
    } cases[] = {
        {"IT9ABC", "I", "I"},
        {"IQ9XX", "I", "I"}, // WAE prefix and exact call: Italy
        {"IT9ZZZ", "I", "I"},
        {"TW2A", "F", "unknown"}, // TW is France
        {"FW1A", "FW", "FW"},
        {"HW1A", "F", "unknown"}, // "(14)" is no part of the prefix
        {"IM0AB", "IS0", "I"},
        {"IS0AB", "IS0", "IS0"}, // Sardinia by its name
        {"3D2CR", "3D2/C", "3D2"},
        {"3D2AB", "3D2", "3D2"}, // exact call; "3D2/C" matches no callsign
        {"TM0BSM/LH", "F", "F"},
        {"F/ON4XX", "F", "F"},
        {"ON4XX/F", "F", "F"},
        {"FW/F5ABC/P", "FW", "FW"},
        {"F5ABC/MM", "mobile", "mobile"},
        {"ON4XX/QRP", "unknown", "unknown"},
        {"XX9AB", "XX9", "XX9"},
    };
    const EntityResolver withCountries(&*countries, prefixFile(true));
    const EntityResolver alone(nullptr, prefixFile(true));
    for (const auto& c : cases) {
        EXPECT_EQ(outcome(withCountries.resolve(c.callsign)), c.withCountries) << c.callsign;
        EXPECT_EQ(outcome(alone.resolve(c.callsign)), c.alone) << c.callsign;
    }
    // An entity with no line of its own in an older prefix file is named by its primary prefix.
    EXPECT_EQ(outcome(EntityResolver(&*countries, prefixFile(false)).resolve("3D2C")), "no line: 3D2/c");

    for (const QByteArray text : {QByteArray(), QByteArray("not a country file;\r\n"), QByteArray("A: 1: 2;")})
        EXPECT_FALSE(CountryFile::parse(text)) << text.constData();
}

} // namespace
} // namespace tv
