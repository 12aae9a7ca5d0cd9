#include "reports/log_listing.h"
#include "tests/reports/report_fixture.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::cp;
using test::reports::logLines;
using L = QList<QByteArray>;

const QByteArray kTitle = "Journee Nationale des Moulins 21/06/15 Station F4XYZ";
const QByteArray kFileHeader =
    cp("        N°   Date   Indicatif    Dpt  QTR   Bande    Mode RstR    RstE     N° Moulin");
const QByteArray kSignOff = QByteArray(30, ' ') + cp("Document établi avec Tournevent Rev  1.1.2");

// The listing lines of the fixed log, column for column.
const QList<QByteArray> kListed = {
    "    1 21/06/15  F5ABC       75  09:41  14 Mhz    SSB  57      59                        ",
    "    2 21/06/15  F6XYZ       2a  09:50  3.5 Mhz   CW   579     599     DMF 77012         ",
    "    3 21/06/15  ON4ABC          10:02  28 Mhz    SSB  59      57      WIM 7001          ",
    "    4 21/06/15  DL1XYZ          10:15  7.0 Mhz   CW   599     599                       ",
    "    5 21/06/15  F1ABC       59  11:00  144 Mhz   SSB  55      59                        ",
    "    6 21/06/15  F4XYZ/P     77  11:30  144 Mhz   CW   599     599     DMF 77012         ",
    "    7 21/06/15  F5DEF       59  12:10  3.5 Mhz   CW   599     599     DMF 77012         ",
};

TEST(LogListing, LinesCutThePiecesInListingOrderAndNumbersAreNeverCut)
{
    const QList<QByteArray> log = logLines();
    for (int i = 0; i < log.size(); ++i)
        EXPECT_EQ(listing::line(i + 1, log[i]), kListed[i]);
    const std::pair<int, QByteArray> rows[] = {{10, "   10 "}, {99999, "99999 "}, {1234567, "1234567 "}};
    for (const auto& [row, number] : rows) {
        SCOPED_TRACE(row);
        EXPECT_EQ(listing::line(row, log[0]), number + kListed[0].mid(6));
    }
    // Short or empty lines are padded, never shifted.
    EXPECT_EQ(listing::line(3, ""), "    3 " + QByteArray(82, ' '));
    EXPECT_EQ(listing::line(1, log[0].left(40)), kListed[0].left(39) + QByteArray(49, ' '));
}

TEST(LogListing, WindowFileAndPrintLinesAndTheSavedFile)
{
    QList<QByteArray> window = {QByteArray(12, ' ') + kTitle, " ",
                                "   No   Date   Indicatif    Dpt  QTR   Bande    Mode RstR    RstE     No Moulin", " "};
    EXPECT_EQ(listing::windowLines("F4XYZ", "21/06/15", logLines()), window + kListed);
    QList<QByteArray> body;
    for (const QByteArray& l : kListed)
        body << "     " + l;
    const QList<QByteArray> fileHead = {QByteArray(15, ' ') + kTitle, "", kFileHeader, ""};
    EXPECT_EQ(listing::fileLines("F4XYZ", "21/06/15", logLines()), (fileHead + body + L{"", kSignOff, ""}));
    EXPECT_EQ(listing::fileLines("F4XYZ", "21/06/15", {}), (fileHead + L{"", kSignOff, ""}));
    const QList<QByteArray> printHead = {" ", QByteArray(15, ' ') + kTitle, " ", kFileHeader, " "};
    EXPECT_EQ(listing::printLines("F4XYZ", "21/06/15", logLines()), (printHead + body + L{" ", kSignOff}));
    // An event date that cannot name the file writes nothing.
    test::TempProgramDir dir;
    FailingFileSystem files;
    const StationPaths paths(dir.path(), "F4XYZ");
    const listing::SaveOutcome saved = listing::save(files, paths, "1/6/15", true, logLines());
    EXPECT_FALSE(saved.result.ok());
    EXPECT_EQ(saved.message, "La date de la JNM « 1/6/15 » ne permet pas de nommer le fichier : elle "
                             "doit être une date réelle écrite jj/mm/aa (menu Station).");
    EXPECT_EQ(files.writes(), 0);
}

} // namespace
} // namespace tv
