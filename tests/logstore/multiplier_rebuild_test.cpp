#include "logstore/bands.h"
#include "logstore/log_file.h"
#include "logstore/multiplier_rebuild.h"
#include "tests/logstore/multiplier_reference.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::departmentLine;
using test::marks;
using test::prefixLine;

// A prefix template with what the rebuild must get right: a longer prefix before a shorter one,
// a special prefix of France, an entity without a line, a line without an entity code, a
// 6-character prefix that the 5-column look-up and the 6-column rebuild read differently, a
// blank prefix field, a line too short to hold marks, marks that are not "0".
const QList<QByteArray> kPrefixes = {
    prefixLine("FG", marks(), "FG", "Guadeloupe"),
    prefixLine("F", marks(), "F", "France"),
    prefixLine("TM", marks(), "F", "France, indicatif special"),
    prefixLine("ON", marks(), "ON", "Belgique"),
    prefixLine("DL", marks(4, 'x'), "DL", "Allemagne, marque illisible"),
    prefixLine("G", marks(4, '2'), "G", "Angleterre, marque 2"),
    prefixLine("VP8SGX", marks(), "VP8SG", "South Georgia, long prefix"),
    prefixLine("VP8SG", marks(), "VP8SG", "South Georgia"),
    prefixLine("ZZ", marks(), "QQ", "entity without a line"),
    prefixLine("BL", marks(), "", "no entity code"),
    prefixLine("SY", marks(), "SX", "entity whose line holds no marks"),
    "SX",
    prefixLine("", marks(), "XX", "blank prefix field"),
};

// Departments with the Corsican codes and a "2" mark that stays.
QList<QByteArray> departmentTemplate()
{
    QList<QByteArray> lines;
    for (const char* code : {"01", "02", "03", "05", "2A", "2B", "59", "75", "95"})
        lines << departmentLine(code, code == QByteArray("75") ? marks(4, '2') : marks(), test::cp("Département"));
    return lines;
}

// A log line; `count` is the count column (135).
QByteArray logLine(const QByteArray& callsign, const QByteArray& band, const QByteArray& mode,
                   const QByteArray& department = "", char count = '1')
{
    QByteArray line = test::qso("21/06/15", callsign.constData(), "09:41", band.constData(), mode.constData(),
                                department.constData());
    line[134] = count;
    return line;
}

// Every callsign on every band text in every mode, with departments and count marks in turn, and
// a few lines that are not QSOs.
QList<QByteArray> generatedLog()
{
    const QList<QByteArray> departments = QByteArray("59 01 2a 2A 2b 96 - 99 5 75 X").split(' ');
    const QByteArray counts = "1112340 ";
    QList<QByteArray> lines = {"", "short line"};
    for (const QByteArray& call : QByteArray("F5ABC FG5XY TM1JNM ON4AA DL1ABC G3XYZ VP8SGA ZZ1AA QQ1XYZ BL2AB SY1AA "
                                             "F1AAA/P -")
                                      .split(' ')) {
        for (const QByteArray& band :
             QByteArray("3.5 Mhz|7.0 Mhz|14 Mhz|144 Mhz|1.8 MHZ|14 MHz|2.3 GHZ||432 Mhz").split('|')) {
            for (const char* mode : {"SSB", "CW", "FM", "ssb", ""}) {
                const int n = int(lines.size());
                const QByteArray dep = departments[(n * 7) % departments.size()];
                lines << logLine(call == "-" ? "" : call, band, mode, dep == "-" ? "" : dep, counts[n % counts.size()]);
            }
        }
    }
    return lines;
}

const QStringList kFiles = {"F0ZZZ_Prefixe_SSB.txt", "F0ZZZ_Prefixe_CW.txt", "F0ZZZ_Absent.txt",
                            "F0ZZZ_Departement_SSB.txt", "F0ZZZ_Departement_CW.txt"};
const QList<QByteArray> kDepartments = departmentTemplate();

// What a rebuild did, in one text: the marks each multiplier file holds that its template does
// not ("F 14 Mhz", "=3" added for a mark other than "1"), the absent list and the callsigns that no
// prefix matched.
QString outcome(const test::TempProgramDir& dir, const MultiplierRebuild::Result& result)
{
    QStringList parts;
    for (int f : {0, 1, 3, 4}) {
        const QList<QByteArray>& templ = f < 3 ? kPrefixes : kDepartments;
        const int first = f < 3 ? 7 : 3; // the first mark column, 0-based
        const QList<QByteArray> lines = LogFile::splitLines(dir.read(kFiles[f]));
        QStringList marked;
        if (lines.size() != templ.size())
            marked << QStringLiteral("<%1 lines>").arg(lines.size());
        for (int i = 0; i < templ.size() && lines.size() == templ.size(); ++i) {
            for (int b = 0; b < bands::kCount && first + b < lines[i].size(); ++b) {
                const char mark = lines[i][first + b];
                if (mark != templ[i][first + b])
                    marked << QString::fromLatin1(templ[i].left(first - 1).trimmed() + ' ' + bands::all()[b]) +
                                  (mark == '1' ? QString() : QStringLiteral("=") + QChar(mark));
            }
        }
        if (!marked.isEmpty())
            parts << kFiles[f].mid(6).chopped(4) + ": " + marked.join(", ");
    }
    const QString absent = QString::fromLatin1(dir.read(kFiles[2])).replace("\r\n", " ").trimmed();
    if (!absent.isEmpty())
        parts << "absent: " + absent;
    if (!result.unmatchedCallsigns.isEmpty())
        parts << "unmatched: " + QString::fromLatin1(result.unmatchedCallsigns.join(' '));
    return parts.join("; ");
}

const QByteArray kOld = "old contents\r\n";

class MultiplierRebuildTest : public ::testing::Test {
protected:
    test::TempProgramDir dir;
    FailingFileSystem files;
    StationPaths paths{dir.path(), "F0ZZZ"};

    void SetUp() override { installTemplates(dir); }

    static void installTemplates(const test::TempProgramDir& d)
    {
        d.write("FXXXX_Prefixe.txt", LogFile::joinLines(kPrefixes));
        d.write("FXXXX_Departement.txt", LogFile::joinLines(kDepartments));
        d.write("FXXXX.log", "");
        for (int i : {0, 1, 3, 4})
            d.write(kFiles[i], kOld);
    }

    MultiplierRebuild::Result rebuild(const QList<QByteArray>& log)
    {
        return MultiplierRebuild(files, paths, nullptr).run(log);
    }

    // The per-line procedure on the same log and templates gives the same five files.
    void expectSameAsPerLine(const QList<QByteArray>& log, bool shippedTemplates = false)
    {
        test::TempProgramDir slow;
        if (shippedTemplates)
            slow.installShippedData();
        else
            installTemplates(slow);
        slow.write("F0ZZZ.log", LogFile::joinLines(log));
        test::reference::rebuildPerLine(slow.path(), "F0ZZZ");
        for (const QString& name : kFiles)
            EXPECT_EQ(dir.read(name), slow.read(name)) << name.toStdString();
    }
};

TEST_F(MultiplierRebuildTest, SameBytesAsThePerLineProcedure)
{
    for (const bool shipped : {false, true}) {
        SCOPED_TRACE(shipped ? "shipped templates" : "templates with the odd cases");

        if (shipped) {
            for (const char* name : {"FXXXX_Prefixe.txt", "FXXXX_Departement.txt"})
                files.remove(dir.file(name));
            dir.installShippedData();
        }
        const QList<QByteArray> log = generatedLog();
        const int lines = int(log.size());
        dir.write("F0ZZZ.Log", LogFile::joinLines(log)); // either spelling of the suffix
        QList<std::pair<int, int>> calls;
        MultiplierRebuild rebuilder(files, paths, nullptr);
        rebuilder.setProgress([&](int done, int total) { calls.append({done, total}); });
        const MultiplierRebuild::Result result = rebuilder.runFromLog();
        ASSERT_TRUE(result.result.ok());
        EXPECT_EQ(result.filesWritten, 5);
        EXPECT_EQ(LogFile::joinLines(result.absentLines), dir.read("F0ZZZ_Absent.txt"));
        expectSameAsPerLine(log, shipped);
        ASSERT_FALSE(calls.isEmpty());
        EXPECT_EQ(calls.first(), std::make_pair(0, lines));
        EXPECT_EQ(calls.last(), std::make_pair(lines, lines));
        for (int i = 1; i < calls.size(); ++i)
            EXPECT_GT(calls[i].first, calls[i - 1].first);
        for (const char* part : {"Prefixe_SSB:", "Prefixe_CW:", "Departement_SSB:", "Departement_CW:", "absent:"})
            EXPECT_TRUE(shipped || outcome(dir, result).contains(part)) << part << ": the log marks every file";
    }
}

TEST_F(MultiplierRebuildTest, MarksOfSmallLogs)
{
    const struct {
        const char* what;
        QList<QByteArray> log;
        const char* outcome;
    } cases[] = {
        {"entity line marked per band and mode; a special prefix marks France's line",
         {logLine("F5ABC", "14 Mhz", "SSB", "59"), logLine("TM1JNM", "3.5 Mhz", "SSB", "59"),
          logLine("FG5XY", "14 Mhz", "CW"), logLine("F6XYZ", "144 Mhz", "CW", "2a")},
         "Prefixe_SSB: F 3.5 Mhz, F 14 Mhz; Prefixe_CW: FG 14 Mhz, F 144 Mhz; Departement_SSB: 59 3.5 Mhz, 59 14 Mhz; "
         "Departement_CW: 2A 144 Mhz"},
        {"a callsign matching no prefix marks nothing, not even the entity of the QSO before",
         {logLine("F5ABC", "14 Mhz", "CW", "59"), logLine("QQ1XYZ", "7.0 Mhz", "CW", "59"),
          logLine("ON4AA", "14 Mhz", "SSB"), logLine("QQ2XYZ", "3.5 Mhz", "SSB")},
         "Prefixe_SSB: ON 14 Mhz; Prefixe_CW: F 14 Mhz; Departement_CW: 59 7.0 Mhz, 59 14 Mhz; absent: QQ1XYZ; "
         "unmatched: QQ1XYZ QQ2XYZ"},
        {"department marks keep the largest count; an unreadable prefix mark becomes 1, a 2 stays",
         {logLine("F5ABC", "7.0 Mhz", "SSB", "59", '3'), logLine("F5ABC", "7.0 Mhz", "SSB", "59", '1'),
          logLine("F5ABC", "14 Mhz", "SSB", "75", '1'), logLine("F5ABC", "14 Mhz", "SSB", "01", '0'),
          logLine("F5ABC", "14 Mhz", "SSB", "02", ' '), logLine("F5ABC", "14 Mhz", "SSB", "03", '4'),
          logLine("DL1ABC", "14 Mhz", "SSB"), logLine("G3XYZ", "14 Mhz", "SSB")},
         "Prefixe_SSB: F 7.0 Mhz, F 14 Mhz, DL 14 Mhz; Departement_SSB: 03 14 Mhz=4, 59 7.0 Mhz=3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const MultiplierRebuild::Result result = rebuild(c.log);
        ASSERT_TRUE(result.result.ok());
        EXPECT_EQ(outcome(dir, result), c.outcome);
    }
}

TEST_F(MultiplierRebuildTest, AFailureLeavesWholeFilesAndTheMarkerThatHasTheSetRebuiltAgain)
{
    const QList<QByteArray> log = generatedLog().mid(200, 100);
    dir.write("F0ZZZ.log", LogFile::joinLines(log));
    files.failWrites(1);
    files.onlyPathsEndingWith("_Absent.txt");
    const MultiplierRebuild::Result failed = rebuild(log);
    EXPECT_EQ(failed.result.errorNumber, 61);
    EXPECT_EQ(failed.failedFile, paths.absentList());
    EXPECT_EQ(failed.filesWritten, 2);
    EXPECT_EQ(files.writes(), 4) << "the marker, two files, the failed one";
    // The prefix files are the new ones; the absent list and the department files are as they
    // were; the marker says the set is mixed.
    EXPECT_NE(dir.read(kFiles[0]) + dir.read(kFiles[1]), kOld + kOld);
    EXPECT_FALSE(dir.exists(kFiles[2]));
    EXPECT_EQ(dir.read(kFiles[3]) + dir.read(kFiles[4]), kOld + kOld);
    EXPECT_TRUE(MultiplierRebuild::wasInterrupted(files, paths));
    const MultiplierRebuild::Resumed resumed = MultiplierRebuild(files, paths, nullptr).resumeIfInterrupted();
    EXPECT_TRUE(resumed.redone);
    ASSERT_TRUE(resumed.result.result.ok());
    EXPECT_EQ(files.writes(), 4 + 6);
    EXPECT_FALSE(dir.exists("F0ZZZ_Reconstruction.txt"));
    expectSameAsPerLine(log);
    EXPECT_FALSE(MultiplierRebuild(files, paths, nullptr).resumeIfInterrupted().redone);
    EXPECT_EQ(files.writes(), 4 + 6);

    // A replace interrupted before its rename leaves the old files and no marker.
    installTemplates(dir);
    files.stopBeforeRename(true);
    const MultiplierRebuild::Result interrupted = rebuild(log);
    EXPECT_EQ(interrupted.filesWritten, 0);
    EXPECT_EQ(interrupted.failedFile, paths.rebuildMarker());
    EXPECT_EQ(dir.read(kFiles[0]), kOld);
    EXPECT_FALSE(MultiplierRebuild::wasInterrupted(files, paths));

    // A missing template or log: error 53 naming it, nothing written.
    files.stopBeforeRename(false);
    const int writes = files.writes();
    files.remove(paths.departmentTemplate());
    EXPECT_EQ(rebuild(log).failedFile, paths.departmentTemplate());
    installTemplates(dir);
    files.remove(dir.file("F0ZZZ.log"));
    const MultiplierRebuild::Result noLog = MultiplierRebuild(files, paths, nullptr).runFromLog();
    EXPECT_EQ(noLog.result.errorNumber, 53);
    EXPECT_EQ(noLog.failedFile, paths.log());
    EXPECT_EQ(files.writes(), writes);
    EXPECT_EQ(dir.read(kFiles[0]), kOld);
}

} // namespace
} // namespace tv
