// The files shipped in data/ as the program finds them in its directory.

#include "logstore/cp1252.h"
#include "logstore/entity_resolver.h"
#include "logstore/log_file.h"
#include "logstore/prefix_file.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
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

// The lines of a file in which every line ends with CR LF and no other CR or LF stands.
QList<QByteArray> crlfLines(const QByteArray& bytes)
{
    const qsizetype ends = bytes.count("\r\n");
    EXPECT_TRUE(bytes.endsWith("\r\n") && bytes.count('\n') == ends && bytes.count('\r') == ends);
    return LogFile::splitLines(bytes);
}

TEST(ShippedDataTest, PrefixAndDepartmentTemplatesHaveTheLayoutTheProgramReads)
{
    const QByteArray bytes = shipped("FXXXX_Prefixe.txt");
    EXPECT_EQ(bytes.size(), PrefixFile::kExpectedSize);
    const QList<QByteArray> lines = crlfLines(bytes);
    ASSERT_GT(lines.size(), 1000) << "a real DXCC list, not a stub";
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        SCOPED_TRACE(testing::Message() << "line " << i + 1 << ": " << line.constData());
        const QByteArray prefix = PrefixFile::prefixOf(line);
        const QByteArray entity = PrefixFile::entityOf(line);
        ASSERT_FALSE(prefix.isEmpty() || entity.isEmpty() || line.mid(33).trimmed().isEmpty());
        EXPECT_EQ(line.left(33), prefix.leftJustified(7, ' ') + kMarks + "  " + entity.leftJustified(7, ' '));
        EXPECT_LT(cp1252::firstUnencodable(cp1252::decode(line)), 0);
        // A prefix, or the own line of an entity that no prefix names ("3D2/C" Conway Reef).
        EXPECT_TRUE(QRegularExpression("^[A-Z0-9]+$").match(QString::fromLatin1(prefix)).hasMatch() ||
                    (prefix == entity && prefix.contains('/')));
        // Longer prefixes first, for the programs that take the first line that matches.
        for (int k = 0; k < i; ++k)
            ASSERT_FALSE(prefix.startsWith(PrefixFile::prefixOf(lines[k]))) << "hidden by line " << k + 1;
        const int own = EntityResolver::ownLine(lines, entity);
        ASSERT_GE(own, 0) << "entity " << entity.constData();
        EXPECT_EQ(PrefixFile::entityOf(lines[own]), entity);
        EXPECT_EQ(lines[own].mid(33).trimmed(), line.mid(33).trimmed());
    }
    // The department template holds the metropolitan departments, in order.
    const QList<QByteArray> departments = crlfLines(shipped("FXXXX_Departement.txt"));
    ASSERT_EQ(departments.size(), 96);
    for (int i = 0; i < departments.size(); ++i) {
        SCOPED_TRACE(departments[i].constData());
        QByteArray code = QByteArray::number(i < 19 ? i + 1 : i).rightJustified(2, '0');
        if (i == 19 || i == 20)
            code = i == 19 ? "2A" : "2B"; // Corsica stands in place of 20
        EXPECT_EQ(departments[i].left(21), code + ' ' + kMarks + ' ');
        EXPECT_FALSE(departments[i].mid(21).isEmpty() || departments[i].mid(21) != departments[i].mid(21).trimmed());
    }
    EXPECT_EQ(departments[64], cp1252::encode("64 00000000000000000 Pyrénées-Atlantiques"));
    for (const char* name : {"FXXXX.log", "Nomenclature.txt", "Liste_Prenom.txt"})
        EXPECT_EQ(shipped(name), QByteArray()) << name << " starts empty";
    EXPECT_TRUE(shipped("LICENSE-cty.txt").contains("Jim Reisert AD1C"));
}

} // namespace
} // namespace tv
