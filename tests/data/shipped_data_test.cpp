// The files shipped in data/ as the program finds them in its directory.

#include "logstore/cp1252.h"
#include "logstore/log_file.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

namespace tv {
namespace {

const QString kShipped = QStringLiteral(TOURNEVENT_SHIPPED_DATA_DIR);
const QByteArray kMarks(17, '0');

QByteArray shipped(const char* name)
{
    QFile f(QDir(kShipped).filePath(QString::fromLatin1(name)));
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return f.readAll();
}

// Every line ends with CR LF, and no other CR or LF stands in the file.
bool endsEveryLineWithCrLf(const QByteArray& bytes)
{
    if (!bytes.isEmpty() && !bytes.endsWith("\r\n"))
        return false;
    return bytes.count('\n') == bytes.count("\r\n") && bytes.count('\r') == bytes.count("\r\n");
}

// ---- Prefix template

class PrefixTemplateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bytes = shipped("FXXXX_Prefixe.txt");
        lines = LogFile::splitLines(bytes);
    }

    static QByteArray prefixOf(const QByteArray& line) { return line.left(6).trimmed(); }
    static QByteArray entityOf(const QByteArray& line) { return line.mid(26, 6).trimmed(); }

    // The line the program finds for a callsign or an entity code: the first one whose
    // trimmed columns 1-5 begin the text.
    std::optional<qsizetype> match(const QByteArray& text) const
    {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QByteArray prefix = lines[i].left(5).trimmed();
            if (!prefix.isEmpty() && text.startsWith(prefix))
                return i;
        }
        return std::nullopt;
    }

    QByteArray bytes;
    QList<QByteArray> lines;
};

TEST_F(PrefixTemplateTest, IsExactly50700BytesOfCrLfLines)
{
    EXPECT_EQ(bytes.size(), 50700);
    EXPECT_TRUE(endsEveryLineWithCrLf(bytes));
    EXPECT_GT(lines.size(), 1000) << "a real DXCC list, not a stub";
}

TEST_F(PrefixTemplateTest, EveryLineHasTheLayout)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        SCOPED_TRACE(testing::Message() << "line " << i + 1 << ": " << line.constData());
        ASSERT_GE(line.size(), 34);
        const QByteArray prefix = prefixOf(line);
        EXPECT_FALSE(prefix.isEmpty());
        EXPECT_LE(prefix.size(), 5) << "the look-up reads 5 columns";
        EXPECT_EQ(line.left(6), prefix.leftJustified(6, ' ')) << "left-aligned, blank-padded";
        for (const char ch : prefix)
            EXPECT_TRUE((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9'));
        EXPECT_EQ(line[6], ' ');
        EXPECT_EQ(line.mid(7, 17), kMarks);
        EXPECT_EQ(line.mid(24, 2), "  ");
        const QByteArray entity = entityOf(line);
        EXPECT_FALSE(entity.isEmpty());
        EXPECT_EQ(line.mid(26, 6), entity.leftJustified(6, ' '));
        EXPECT_EQ(line[32], ' ');
        EXPECT_FALSE(line.mid(33).trimmed().isEmpty()) << "a description";
        EXPECT_LT(cp1252::firstUnencodable(cp1252::decode(line)), 0);
    }
}

TEST_F(PrefixTemplateTest, EveryLineIsReachableAndEveryEntityLeadsToItsOwnLine)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray prefix = prefixOf(lines[i]);
        SCOPED_TRACE(prefix.constData());
        // No earlier line begins this prefix (a shorter one would hide it, an equal one
        // would make it a duplicate).
        EXPECT_EQ(match(prefix), i);
        const QByteArray entity = entityOf(lines[i]);
        const auto own = match(entity);
        ASSERT_TRUE(own.has_value()) << "entity " << entity.constData();
        EXPECT_EQ(prefixOf(lines[*own]), entity) << "marks are kept on the entity's own line";
        EXPECT_EQ(entityOf(lines[*own]), entity);
        EXPECT_EQ(lines[*own].mid(33).trimmed(), lines[i].mid(33).trimmed()) << "one description per entity";
    }
}

TEST_F(PrefixTemplateTest, CallsignsResolveToTheirEntity)
{
    struct Case {
        const char* callsign;
        const char* entity;
        const char* description;
    };
    const Case cases[] = {
        {"F5ABC", "F", "France"},
        {"TM5JNM", "F", "France"},
        {"TH1A", "F", "France"},
        {"TP2CE", "F", "France"},
        {"TQ8X", "F", "France"},
        {"TV6A", "F", "France"},
        {"TW1A", "F", "France"},
        {"HW9A", "F", "France"},
        {"HX1A", "F", "France"},
        {"HY2A", "F", "France"},
        {"TK5XX", "TK", "Corsica"},
        {"FG5XY", "FG", "Guadeloupe"},
        {"FR5AB", "FR", "Reunion Island"},
        {"FM5AA", "FM", "Martinique"},
        {"FY5KE", "FY", "French Guiana"},
        {"FO5AA", "FO", "French Polynesia"},
        {"FK8AA", "FK", "New Caledonia"},
        {"FP5AA", "FP", "St. Pierre & Miquelon"},
        {"FH4AA", "FH", "Mayotte"},
        {"FS4AA", "FS", "St. Martin"},
        {"FW5AA", "FW", "Wallis & Futuna Islands"},
        {"FT5XA", "FT0X", "Kerguelen Islands"},
        {"ON4AA", "ON", "Belgium"},
        {"DL1ABC", "DL", "Fed. Rep. of Germany"},
        {"G4ABC", "G", "England"},
        {"EA8AB", "EA8", "Canary Islands"},
        {"EA1AB", "EA", "Spain"},
        {"K1ABC", "K", "United States of America"},
        {"UA9AA", "UA9", "Asiatic Russia"},
        {"UA3AA", "UA", "European Russia"},
        {"HB9ABC", "HB", "Switzerland"},
        {"I1ABC", "I", "Italy"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.callsign);
        const auto found = match(c.callsign);
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(entityOf(lines[*found]), QByteArray(c.entity));
        EXPECT_EQ(lines[*found].mid(33).trimmed(), QByteArray(c.description));
    }
    // The France entity line itself.
    const auto france = match("F");
    ASSERT_TRUE(france.has_value());
    EXPECT_EQ(lines[*france].left(33), QByteArray("F      ") + kMarks + "  F      ");
}

// ---- Department template

TEST(DepartmentTemplateTest, HoldsTheMetropolitanDepartmentsInTheLayout)
{
    const QByteArray bytes = shipped("FXXXX_Departement.txt");
    EXPECT_TRUE(endsEveryLineWithCrLf(bytes));
    const QList<QByteArray> lines = LogFile::splitLines(bytes);
    QList<QByteArray> expectedCodes;
    for (int n = 1; n <= 95; ++n) {
        if (n == 20)
            expectedCodes << "2A"
                          << "2B";
        else
            expectedCodes << QByteArray::number(n).rightJustified(2, '0');
    }
    ASSERT_EQ(lines.size(), 96);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        SCOPED_TRACE(line.constData());
        EXPECT_EQ(line.left(2), expectedCodes[i]);
        EXPECT_EQ(line[2], ' ');
        EXPECT_EQ(line.mid(3, 17), kMarks);
        EXPECT_EQ(line[20], ' ');
        EXPECT_FALSE(line.mid(21).trimmed().isEmpty());
        EXPECT_EQ(line.mid(21), line.mid(21).trimmed());
    }
    // Names in Windows-1252, accents included.
    struct Case {
        int index;
        const char* line;
    };
    const Case names[] = {
        {0, "01 00000000000000000 Ain"},
        {1, "02 00000000000000000 Aisne"},
        {6, "07 00000000000000000 Ardèche"},
        {12, "13 00000000000000000 Bouches-du-Rhône"},
        {19, "2A 00000000000000000 Corse-du-Sud"},
        {20, "2B 00000000000000000 Haute-Corse"},
        {21, "21 00000000000000000 Côte-d'Or"},
        {22, "22 00000000000000000 Côtes-d'Armor"},
        {63, "63 00000000000000000 Puy-de-Dôme"},
        {64, "64 00000000000000000 Pyrénées-Atlantiques"},
        {90, "90 00000000000000000 Territoire de Belfort"},
        {95, "95 00000000000000000 Val-d'Oise"},
    };
    for (const Case& c : names) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(lines[c.index], cp1252::encode(QString::fromUtf8(c.line)));
    }
    EXPECT_FALSE(bytes.contains("\xC3")) << "no UTF-8 sequence";
}

// ---- The other shipped files

TEST(ShippedListsTest, LogTemplateAndNameListsStartEmpty)
{
    for (const char* name : {"FXXXX.log", "Nomenclature.txt", "Liste_Prenom.txt"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(QFileInfo(QDir(kShipped).filePath(QString::fromLatin1(name))).isFile());
        EXPECT_EQ(shipped(name), QByteArray());
    }
    const QByteArray licence = shipped("LICENSE-cty.txt");
    EXPECT_TRUE(licence.contains("Jim Reisert AD1C"));
    EXPECT_TRUE(licence.contains("Permission is hereby granted, free of charge"));
}

// ---- The generator gives the shipped file back from the country file it was made from.

TEST(PrefixGeneratorTest, RebuildsTheShippedTemplateByteForByte)
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        GTEST_SKIP() << "python3 is not installed";
    const QString cty = QStringLiteral("/usr/share/hamradio-files/cty.dat");
    QFile source(cty);
    if (!source.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "no cty.dat (Debian package hamradio-files)";
    const QByteArray digest = QCryptographicHash::hash(source.readAll(), QCryptographicHash::Sha256).toHex();
    if (digest != "3aa4beefc62505a53ec539f33749d5eeb0ab09707c2200793f395bf95374b9e1")
        GTEST_SKIP() << "the installed cty.dat is another version than the one the template was made from";

    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    const QString script = QDir(kShipped).filePath(QStringLiteral("../tools/make_prefix_file.py"));
    const QString target = out.filePath(QStringLiteral("FXXXX_Prefixe.txt"));
    QProcess run;
    run.start(python, {script, QStringLiteral("--cty"), cty, QStringLiteral("--output"), target});
    ASSERT_TRUE(run.waitForFinished(120000));
    EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().constData();
    QFile made(target);
    ASSERT_TRUE(made.open(QIODevice::ReadOnly));
    EXPECT_TRUE(made.readAll() == shipped("FXXXX_Prefixe.txt"));
}

TEST(PrefixGeneratorTest, FailsLoudlyOnAnUnusableCountryFile)
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        GTEST_SKIP() << "python3 is not installed";
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    // A country file with France alone cannot fill 50700 bytes.
    const QString cty = out.filePath(QStringLiteral("cty.dat"));
    QFile f(cty);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("France:                   14:  27:  EU:   46.00:    -2.00:    -1.0:  F:\n"
            "    F,HW,HX,HY,TH,TM,TO,TP,TQ,TV,TX;\n");
    f.close();
    const QString target = out.filePath(QStringLiteral("FXXXX_Prefixe.txt"));
    const QString script = QDir(kShipped).filePath(QStringLiteral("../tools/make_prefix_file.py"));
    QProcess run;
    run.start(python, {script, QStringLiteral("--cty"), cty, QStringLiteral("--output"), target});
    ASSERT_TRUE(run.waitForFinished(60000));
    EXPECT_NE(run.exitCode(), 0);
    EXPECT_FALSE(run.readAllStandardError().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(target)) << "no file is written when a check fails";
}

} // namespace
} // namespace tv
