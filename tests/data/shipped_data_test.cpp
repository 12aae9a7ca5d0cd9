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

namespace tv {
namespace {

const QString kShipped = QStringLiteral(TOURNEVENT_SHIPPED_DATA_DIR);
const QByteArray kMarks(17, '0');

QByteArray shipped(const char* name)
{
    QFile f(QDir(kShipped).filePath(QString::fromLatin1(name)));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Every line ends with CR LF, and no other CR or LF stands in the file.
bool endsEveryLineWithCrLf(const QByteArray& bytes)
{
    const qsizetype ends = bytes.count("\r\n");
    return (bytes.isEmpty() || bytes.endsWith("\r\n")) && bytes.count('\n') == ends && bytes.count('\r') == ends;
}

class PrefixTemplateTest : public ::testing::Test {
protected:
    const QByteArray bytes = shipped("FXXXX_Prefixe.txt");
    const QList<QByteArray> lines = LogFile::splitLines(bytes);

    static QByteArray prefixOf(const QByteArray& line) { return line.left(6).trimmed(); }
    static QByteArray entityOf(const QByteArray& line) { return line.mid(26, 6).trimmed(); }

    // The line the program finds for a callsign or an entity code: the first one whose trimmed
    // columns 1-5 begin the text; -1 when none does.
    qsizetype match(const QByteArray& text) const
    {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QByteArray prefix = lines[i].left(5).trimmed();
            if (!prefix.isEmpty() && text.startsWith(prefix))
                return i;
        }
        return -1;
    }
};

TEST_F(PrefixTemplateTest, EveryLineHasTheLayoutAndLeadsToItsEntitysOwnLine)
{
    EXPECT_EQ(bytes.size(), 50700);
    EXPECT_TRUE(endsEveryLineWithCrLf(bytes));
    EXPECT_GT(lines.size(), 1000) << "a real DXCC list, not a stub";
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        SCOPED_TRACE(testing::Message() << "line " << i + 1 << ": " << line.constData());
        const QByteArray prefix = prefixOf(line);
        const QByteArray entity = entityOf(line);
        ASSERT_GE(line.size(), 34);
        ASSERT_FALSE(prefix.isEmpty());
        ASSERT_FALSE(entity.isEmpty());
        EXPECT_LE(prefix.size(), 5) << "the look-up reads 5 columns";
        EXPECT_EQ(line.left(33), prefix.leftJustified(7, ' ') + kMarks + "  " + entity.leftJustified(7, ' '));
        EXPECT_FALSE(line.mid(33).trimmed().isEmpty()) << "a description";
        EXPECT_LT(cp1252::firstUnencodable(cp1252::decode(line)), 0);
        for (const char ch : prefix)
            EXPECT_TRUE((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9'));
        // No earlier line begins this prefix (a shorter one would hide it, an equal one would
        // make it a duplicate); marks are kept on the entity's own line, with the same description.
        EXPECT_EQ(match(prefix), i);
        const qsizetype own = match(entity);
        ASSERT_GE(own, 0) << "entity " << entity.constData();
        EXPECT_EQ(prefixOf(lines[own]) + "|" + entityOf(lines[own]), entity + "|" + entity);
        EXPECT_EQ(lines[own].mid(33).trimmed(), line.mid(33).trimmed());
    }
}

TEST_F(PrefixTemplateTest, CallsignsResolveToTheirEntity)
{
    const struct {
        const char *callsign, *entity, *description;
    } cases[] = {
        {"F5ABC", "F", "France"},           {"TM5JNM", "F", "France"},     {"HW9A", "F", "France"},
        {"TK5XX", "TK", "Corsica"},         {"FG5XY", "FG", "Guadeloupe"}, {"FT5XA", "FT0X", "Kerguelen Islands"},
        {"EA8AB", "EA8", "Canary Islands"}, {"EA1AB", "EA", "Spain"},      {"UA9AA", "UA9", "Asiatic Russia"},
        {"ON4AA", "ON", "Belgium"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.callsign);
        const qsizetype found = match(c.callsign);
        ASSERT_GE(found, 0);
        EXPECT_EQ(entityOf(lines[found]), c.entity);
        EXPECT_EQ(lines[found].mid(33).trimmed(), c.description);
    }
}

TEST(ShippedDataTest, DepartmentTemplateHoldsTheMetropolitanDepartments)
{
    const QByteArray bytes = shipped("FXXXX_Departement.txt");
    EXPECT_TRUE(endsEveryLineWithCrLf(bytes));
    const QList<QByteArray> lines = LogFile::splitLines(bytes);
    ASSERT_EQ(lines.size(), 96);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(lines[i].constData());
        const int n = i < 19 ? int(i) + 1 : i < 21 ? 20 : int(i);
        const QByteArray code = i == 19 ? "2A" : i == 20 ? "2B" : QByteArray::number(n).rightJustified(2, '0');
        EXPECT_EQ(lines[i].left(21), code + ' ' + kMarks + ' ');
        EXPECT_EQ(lines[i].mid(21), lines[i].mid(21).trimmed());
        EXPECT_FALSE(lines[i].mid(21).isEmpty());
    }
    // Names in Windows-1252, accents included.
    for (const char* line : {"07 00000000000000000 Ardèche", "2A 00000000000000000 Corse-du-Sud",
                             "2B 00000000000000000 Haute-Corse", "21 00000000000000000 Côte-d'Or",
                             "64 00000000000000000 Pyrénées-Atlantiques", "95 00000000000000000 Val-d'Oise"})
        EXPECT_TRUE(lines.contains(cp1252::encode(QString::fromUtf8(line)))) << line;

    for (const char* name : {"FXXXX.log", "Nomenclature.txt", "Liste_Prenom.txt"})
        EXPECT_EQ(shipped(name), QByteArray()) << name << " starts empty";
    EXPECT_TRUE(shipped("LICENSE-cty.txt").contains("Jim Reisert AD1C"));
}

// Runs the prefix file generator on a country file; gives its exit code, or -1 without python3.
int runGenerator(const QString& cty, const QString& target, QByteArray* errors)
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        return -1;
    QProcess run;
    run.start(python, {QDir(kShipped).filePath(QStringLiteral("../tools/make_prefix_file.py")), QStringLiteral("--cty"),
                       cty, QStringLiteral("--output"), target});
    run.waitForFinished(120000);
    *errors = run.readAllStandardError();
    return run.exitCode();
}

TEST(PrefixGeneratorTest, RebuildsTheShippedTemplateByteForByte)
{
    const QString cty = QStringLiteral("/usr/share/hamradio-files/cty.dat");
    QFile source(cty);
    if (!source.open(QIODevice::ReadOnly) ||
        QCryptographicHash::hash(source.readAll(), QCryptographicHash::Sha256).toHex() !=
            "3aa4beefc62505a53ec539f33749d5eeb0ab09707c2200793f395bf95374b9e1")
        GTEST_SKIP() << "not the cty.dat (Debian package hamradio-files) the template was made from";
    QTemporaryDir out;
    QByteArray errors;
    const int code = runGenerator(cty, out.filePath(QStringLiteral("FXXXX_Prefixe.txt")), &errors);
    if (code < 0)
        GTEST_SKIP() << "python3 is not installed";
    EXPECT_EQ(code, 0) << errors.constData();
    QFile made(out.filePath(QStringLiteral("FXXXX_Prefixe.txt")));
    ASSERT_TRUE(made.open(QIODevice::ReadOnly));
    EXPECT_TRUE(made.readAll() == shipped("FXXXX_Prefixe.txt"));
}

TEST(PrefixGeneratorTest, FailsLoudlyOnAnUnusableCountryFile)
{
    QTemporaryDir out;
    // A country file with France alone cannot fill 50700 bytes.
    QFile cty(out.filePath(QStringLiteral("cty.dat")));
    ASSERT_TRUE(cty.open(QIODevice::WriteOnly));
    cty.write("France:                   14:  27:  EU:   46.00:    -2.00:    -1.0:  F:\n"
              "    F,HW,HX,HY,TH,TM,TO,TP,TQ,TV,TX;\n");
    cty.close();
    const QString target = out.filePath(QStringLiteral("FXXXX_Prefixe.txt"));
    QByteArray errors;
    const int code = runGenerator(cty.fileName(), target, &errors);
    if (code < 0)
        GTEST_SKIP() << "python3 is not installed";
    EXPECT_NE(code, 0);
    EXPECT_FALSE(errors.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(target)) << "no file is written when a check fails";
}

} // namespace
} // namespace tv
