// The activation map: ranks and counts from log lines, the shipped outlines, the SVG written,
// and `tournevent-cli map` run as the operator runs it.

#include "logstore/log_columns.h"
#include "platform/qt_settings_store.h"
#include "platform/settings_keys.h"
#include "stats/activation_map.h"
#include "tests/support/test_support.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QXmlStreamReader>

namespace tv {
namespace {

using namespace activationmap;

// A mill QSO (activity 1) with its count code at column 135.
QByteArray mill(const char* band, const char* mode, const char* department, char count = '1')
{
    QByteArray line = test::qso("21/06/15", "F5ABC", "09:41", band, mode, department, "1");
    line[logcol::kCount.index()] = count;
    return line;
}

const QList<QByteArray> kLog = {
    mill("14 Mhz", "SSB", "59"),
    mill("14 Mhz", "SSB", "59"),
    mill("14 Mhz", "SSB", "2a"),
    mill("14 Mhz", "SSB", "2B", '3'),
    mill("14 Mhz", "SSB", "2b"),
    mill("14 Mhz", "SSB", ""),        // counts, colours nothing
    mill("14 Mhz", "SSB", "20"),      // no department on the map
    mill("14 Mhz", "SSB", "05", '9'), // a code outside 1-4 colours nothing
    mill("14 Mhz", "CW", "77", '4'),
    mill("7.0 Mhz", "SSB", "77", '2'),
    test::qso("21/06/15", "F6XYZ", "10:00", "14 Mhz", "SSB", "62", "0"), // not a mill
};

TEST(ActivationMapTest, RanksAndCountsOfAFixedLog)
{
    const struct {
        const char* band;
        const char* mode;
        int matching;
        int coloured;
        QHash<int, int> ranks; // every department not listed stays uncoloured
    } cases[] = {
        {"14 Mhz", "SSB", 8, 3, {{59, 1}, {kCorseDuSud, 1}, {kHauteCorse, 3}}},
        {"14 Mhz", "CW", 1, 1, {{77, 4}}},
        {"7.0 Mhz", "SSB", 1, 1, {{77, 2}}},
        {"7.0 Mhz", "CW", 0, 0, {}},
        {"14 MHz", "SSB", 0, 0, {}}, // band texts are compared as written
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.band) + " " + c.mode);
        const Colouring colouring = colour(kLog, c.band, c.mode);
        EXPECT_EQ(colouring.matchingQsos, c.matching);
        EXPECT_EQ(colouring.colouredDepartments(), c.coloured);
        for (int n = 0; n < kNumbers; ++n)
            EXPECT_EQ(colouring.rank[n], c.ranks.value(n)) << n;
    }
    EXPECT_EQ(colour(kLog, "14 Mhz", "SSB").departmentsOfRank(1), 2);
}

TEST(ActivationMapTest, DepartmentCodes)
{
    const struct {
        QByteArray code;
        std::optional<int> number;
    } cases[] = {{"01", 1},  {"95", 95}, {"2a", 96}, {"2A", 96}, {"2b", 97}, {"2B", 97}, {"00", {}},
                 {"20", {}}, {"96", {}}, {" 5", {}}, {"5 ", {}}, {"2C", {}}, {"", {}},   {"059", {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code.toStdString());
        EXPECT_EQ(departmentNumber(c.code), c.number);
        if (c.number)
            EXPECT_EQ(departmentId(*c.number), c.code.toUpper()) << "the map's id";
    }
    EXPECT_EQ(departmentLabel(kHauteCorse), "2b");
}

TEST(ActivationMapTest, OutlineBoundsOfStraightLinePaths)
{
    const struct {
        const char* path;
        std::optional<QRectF> bounds;
    } cases[] = {
        {"m 10,10 5,0 0,5 z m 2,2 1,1 z", QRectF(10, 10, 5, 5)}, // z returns to 10,10
        {"M 0 0 L 10 -5 H 20 V 3 Z", QRectF(0, -5, 20, 8)},
        {"M1e1,2 l-1-1", QRectF(9, 1, 1, 1)},
        {"M 0 0 C 1 1 2 2 3 3", std::nullopt},
        {"M 0", std::nullopt},
        {"10 10", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(outlineBounds(c.path), c.bounds);
    }
}

TEST(ActivationMapTest, ShippedMapHoldsEveryDepartmentOnce)
{
    const FranceMap& map = FranceMap::shipped();
    EXPECT_EQ(map.viewBox, QRectF(0, 0, 613, 585));
    QSet<QByteArray> ids; // each a department (the reader refuses any other)
    for (const FranceMap::Department& d : map.departments) {
        ids.insert(d.id);
        EXPECT_TRUE(map.viewBox.adjusted(-1, -1, 1, 1).contains(d.bounds)) << d.id.toStdString();
    }
    EXPECT_EQ(ids.size(), 96);
    // Paris lies inside its three neighbours; Corsica at the bottom right.
    auto bounds = [&](const char* id) {
        return std::find_if(map.departments.begin(), map.departments.end(), [&](auto& d) { return d.id == id; })
            ->bounds;
    };
    EXPECT_TRUE(bounds("92").united(bounds("93")).united(bounds("94")).contains(bounds("75")));
    EXPECT_GT(bounds("2A").center().x(), 0.9 * 613);
    EXPECT_GT(bounds("2A").center().y(), 0.9 * 585);
}

TEST(ActivationMapTest, SvgKeepsEveryIdWithItsFill)
{
    const FranceMap& map = FranceMap::shipped();
    const Colouring colouring = colour(kLog, "14 Mhz", "SSB");
    const QByteArray document = svg(map, colouring, {0xF0F0F0, QStringLiteral("JNM F4ABC - 14 Mhz SSB : <8> & co")});
    const QHash<QByteArray, QByteArray> coloured = {{"59", "#FFC0C0"}, {"2A", "#FFC0C0"}, {"2B", "#80FFFF"}};

    QXmlStreamReader xml(document);
    QSet<QByteArray> ids;
    QStringList uses, texts;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto attributes = xml.attributes();
        if (xml.name() == QLatin1String("path")) {
            const QByteArray id = attributes.value("id").toLatin1();
            EXPECT_FALSE(ids.contains(id)) << id.toStdString();
            ids.insert(id);
            EXPECT_EQ(attributes.value("fill").toLatin1(), coloured.value(id, "#F0F0F0")) << id.toStdString();
        } else if (xml.name() == QLatin1String("use")) {
            uses << attributes.value("xlink:href").toString();
        } else if (xml.name() == QLatin1String("text")) {
            texts << xml.readElementText();
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString();
    EXPECT_EQ(ids.size(), 96);
    EXPECT_EQ(uses, QStringList({"#75", "#92", "#93", "#94"}));
    // Every number once (Paris and its neighbours in the inset only), then title and attribution.
    EXPECT_EQ(texts.size(), 96 + 2);
    EXPECT_TRUE(texts.contains("2a") && texts.contains("2b") && texts.contains("75"));
    EXPECT_TRUE(texts.contains("JNM F4ABC - 14 Mhz SSB : <8> & co"));
    EXPECT_EQ(texts.last(), attribution());

    // Without its footer the map keeps its own height; the fills and the lines drawn apart, at
    // the same size, make the whole map.
    const struct {
        SvgOptions::Layer layer;
        bool footer;
        const char* height;
        int filled; // paths with their colour
        int texts;
    } parts[] = {{SvgOptions::Layer::Whole, false, "585.00", 96, 96},
                 {SvgOptions::Layer::Fills, true, "609.00", 96, 0},
                 {SvgOptions::Layer::Lines, true, "609.00", 0, 96 + 2}};
    for (const auto& p : parts) {
        SCOPED_TRACE(int(p.layer));
        const QByteArray part = svg(map, colouring, {0xF0F0F0, "titre", p.footer, p.layer});
        EXPECT_TRUE(part.contains("height=\"" + QByteArray(p.height) + '"'));
        EXPECT_EQ(part.count(R"(fill="none" d=)"), 96 - p.filled);
        EXPECT_EQ(part.count("<text"), p.texts);
        EXPECT_EQ(part.count("<use"), 4);
    }

    // Read back, the document gives the same outlines.
    QString error;
    const FranceMap again = FranceMap::parse(document, &error);
    ASSERT_EQ(again.departments.size(), map.departments.size()) << error;
    for (qsizetype i = 0; i < map.departments.size(); ++i) {
        EXPECT_EQ(again.departments[i].outline, map.departments[i].outline);
        EXPECT_EQ(again.departments[i].bounds, map.departments[i].bounds);
    }
}

TEST(ActivationMapTest, UnreadableMapsAreRefusedWithTheirReason)
{
    const struct {
        QByteArray svg;
        const char* error;
    } cases[] = {
        {"<svg viewBox=\"0 0 10 10\"><path id=\"99\" d=\"M 0 0 L 1 1\"/></svg>", "département « 99 » illisible"},
        {"<svg viewBox=\"0 0 10 10\"><path id=\"01\" d=\"M 0 0 Q 1 1 2 2\"/></svg>", "département « 01 » illisible"},
        {"<svg viewBox=\"0 0 10 10\"></svg>", "aucun département"},
        {"<svg viewBox=\"0 0 10 10\"><path id=\"01\" d=\"M 0 0 L 1 1\"/>", nullptr}, // unterminated
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.svg.toStdString());
        QString error;
        EXPECT_TRUE(FranceMap::parse(c.svg, &error).departments.isEmpty());
        if (c.error)
            EXPECT_EQ(error, QString::fromUtf8(c.error));
        else
            EXPECT_FALSE(error.isEmpty());
    }
}

TEST(ActivationMapTest, TitleAndFileName)
{
    EXPECT_EQ(title("F4ABC/P", "14 Mhz", "SSB", colour(kLog, "14 Mhz", "SSB")),
              QStringLiteral("JNM F4ABC/P - 14 Mhz SSB : 8 activations, 3 départements contactés"));
    EXPECT_EQ(fileName("F4ABC_P", "3.5 Mhz", "CW", "png"), QStringLiteral("F4ABC_P_Carte_3.5Mhz_CW.png"));
}

// The command line, run as the operator runs it.
class MapCliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QtSettingsStore settings(dir.file("settings"));
        settings.setValue(keys::kJnm, keys::kSetup, keys::kIndicatifStation, "F4XYZ");
        settings.setValue(keys::kJnm, keys::stationSection("F4XYZ"), keys::kSession, "HF");
        dir.write("F4XYZ.log", test::crlf({kLog[0], kLog[2], kLog[3], kLog[8]}));
    }
    test::CliRun run(const QStringList& arguments) const { return test::runCli(dir, QStringList{"map"} + arguments); }
    test::TempProgramDir dir;
};

TEST_F(MapCliTest, WritesTheSvgAndThePng)
{
    const test::CliRun r = run({"--band", "14 Mhz", "--mode", "SSB", "--svg", "carte.svg", "--png", "carte.png"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Carte écrite : carte.svg (3 activation(s), 3 département(s) contacté(s))\n"
                     "Carte écrite : carte.png (3 activation(s), 3 département(s) contacté(s))\n");
    const QByteArray written = dir.read("carte.svg");
    EXPECT_TRUE(written.contains(R"(<path id="59" fill="#FFC0C0")"));
    EXPECT_TRUE(written.contains(R"(<path id="2B" fill="#80FFFF")"));
    EXPECT_TRUE(written.contains(R"(<path id="77" fill="#FFFFFF")")) << "CW only";
    EXPECT_TRUE(written.contains("JNM F4XYZ - 14 Mhz SSB : 3 activations, 3 départements contactés"));
    // PNG signature, then the IHDR chunk: twice the map's 613 x 609 units.
    const QByteArray png = dir.read("carte.png");
    ASSERT_GE(png.size(), 24);
    EXPECT_EQ(png.left(16), QByteArray("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16));
    EXPECT_EQ(png.mid(16, 8), QByteArray("\0\0\x04\xca\0\0\x04\xc2", 8));
}

TEST_F(MapCliTest, RefusesBadOptionsAndReportsFailures)
{
    const struct {
        QStringList arguments;
        int code;
        const char* message;
    } cases[] = {
        {{"--mode", "SSB", "--svg", "a.svg"}, 2, "la commande map demande --band"},
        {{"--band", "14 MHz", "--mode", "SSB", "--svg", "a.svg"}, 2, "bande inconnue : 14 MHz"},
        {{"--band", "14 Mhz", "--mode", "FM", "--svg", "a.svg"}, 2, "la commande map demande --mode SSB ou --mode CW"},
        {{"--band", "14 Mhz", "--mode", "CW"}, 2, "la commande map demande --svg FICHIER ou --png FICHIER"},
        {{"--band", "14 Mhz", "--mode", "CW", "--svg", "a.svg", "extra"}, 2, "argument en trop : extra"},
        {{"--band", "14 Mhz", "--mode", "CW", "--svg", "nowhere/a.svg"}, 5, "n'a pas pu être écrit"},
        {{"--call", "F6AAA", "--band", "14 Mhz", "--mode", "CW", "--svg", "a.svg"}, 4, "F6AAA.log est introuvable"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const test::CliRun r = run(c.arguments);
        EXPECT_EQ(r.code, c.code);
        EXPECT_TRUE(r.out.isEmpty()) << r.out;
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err;
        EXPECT_FALSE(dir.exists("a.svg"));
    }
}

} // namespace
} // namespace tv
