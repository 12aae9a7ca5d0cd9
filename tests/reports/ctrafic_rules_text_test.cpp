#include "logstore/station_paths.h"
#include "reports/ctrafic_export.h"
#include "reports/report_text.h"
#include "reports/rules_text.h"
#include "tests/reports/report_fixture.h"
#include "tests/support/fakes/failing_file_system.h"
#include "tests/support/fakes/fake_printer.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::cp;

class CtraficExport : public ::testing::Test {
protected:
    test::TempProgramDir dir;
    FailingFileSystem files;
};

TEST_F(CtraficExport, CopiesTheLogByteForByte)
{
    // Whatever the log holds is copied as it is: odd line ends and a last line without one.
    const QByteArray odd = test::reports::logLines()[0] + "\r\n" + test::reports::logLines()[1] + "\nshort\r\n\r\nlast";
    const struct {
        const char* callsign;
        const char* logName; // either spelling of the suffix
        QByteArray log;
    } cases[] = {{"F4XYZ", "F4XYZ.log", odd}, {"F0ZZZ_P", "F0ZZZ_P.log", ""}, {"F1AAA", "F1AAA.Log", "line\r\n"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.logName);
        const QString callsign = QString::fromLatin1(c.callsign);
        dir.write(c.logName, c.log);
        dir.write(callsign + ".ctf", "an older export that is longer than nothing");
        const ctrafic::Outcome outcome = ctrafic::exportLog(files, StationPaths(dir.path(), callsign), true);
        ASSERT_TRUE(outcome.result.ok());
        EXPECT_EQ(dir.read(callsign + ".ctf"), c.log);
        EXPECT_EQ(outcome.message, "le fichier " + callsign + ".log a été copié en " + callsign + ".ctf");
    }
}

TEST_F(CtraficExport, MissingLogOrFailedCopyIsReportedNotCalledASuccess)
{
    ctrafic::Outcome outcome = ctrafic::exportLog(files, StationPaths(dir.path(), "F4XYZ"), true);
    EXPECT_EQ(outcome.result.errorNumber, 53);
    EXPECT_EQ(outcome.message,
              QStringLiteral("Le fichier F4XYZ.log est introuvable : rien n'a été exporté au format C_Trafic."));
    EXPECT_FALSE(dir.exists("F4XYZ.ctf"));

    dir.write("F4XYZ.log", "new\r\n");
    dir.write("F4XYZ.ctf", "old\r\n");
    files.failWrites(1, FileResult::kDiskFull);
    outcome = ctrafic::exportLog(files, StationPaths(dir.path(), "F4XYZ"), true);
    EXPECT_EQ(outcome.result.errorNumber, 61);
    EXPECT_EQ(outcome.message, QStringLiteral("Erreur N° 61 : le fichier F4XYZ.log n'a pas pu être copié en "
                                              "F4XYZ.ctf, l'exportation C_Trafic n'est pas faite."));
    EXPECT_EQ(dir.read("F4XYZ.ctf"), "old\r\n");
}

TEST_F(CtraficExport, MenuRunShowsTheOutcomeUnderTheSessionsName)
{
    test::Fixture fx;
    fx.dir.write("F4XYZ.log", "line\r\n");
    EXPECT_TRUE(ctrafic::run(fx.services(), "F4XYZ").ok());
    EXPECT_EQ(fx.dialogs.texts(), QStringList{QStringLiteral("le fichier F4XYZ.log a été copié en F4XYZ.ctf")});
    EXPECT_EQ(fx.dialogs.shown()[0].kind, FakeDialogs::Kind::Message);
    EXPECT_EQ(ctrafic::run(fx.services(), "F0ABC").errorNumber, 53);
    EXPECT_EQ(fx.dialogs.texts().size(), 2);

    // The VHF session's export leaves the HF one as it was.
    fx.dialogs.clear();
    fx.dir.write("F4XYZ.log", "vhf line\r\n");
    test::setCurrentStation(fx.settings, "F4XYZ", "VHF");
    EXPECT_TRUE(ctrafic::run(fx.services(), "F4XYZ").ok());
    EXPECT_EQ(fx.dialogs.texts(), QStringList{QStringLiteral("le fichier F4XYZ.log a été copié en F4XYZ_VHF.ctf")});
    EXPECT_EQ(fx.dir.read("F4XYZ.ctf"), "line\r\n");
}

TEST(RulesText, SixtyTwoLinesInSections)
{
    const QStringList& lines = rules::lines();
    ASSERT_EQ(lines.size(), 62);
    EXPECT_EQ(lines.first(), QString());
    EXPECT_EQ(lines.last(), QStringLiteral("Coupes attribuées si au moins 5 logs par catégorie."));

    // Each section opens after one empty line, in this order.
    const struct {
        int line; // 1-based
        const char* heading;
    } headings[] = {
        {2, "BUT : "},
        {6, "DATE : "},
        {9, "MODE : "},
        {12, "BANDE"},
        {15, "CATEGORIE:"},
        {21, "ECHANGE:"},
        {27, "POINTS QSO:"},
        {34, "MULTIPLICATEURS:"},
        {39, "Total = points QSO x ( Multis Moulins + Multis départements + Multis Pays DXCC)"},
        {41, "Envoi du compte rendu avant le 15/08/2013 à l'organisateur"},
        {49, "NOTE: "},
        {55, "RECOMPENSES:"},
    };
    int empties = 0;
    for (const QString& line : lines)
        empties += line.isEmpty() ? 1 : 0;
    EXPECT_EQ(empties, 13) << "the first line, one between sections, one inside the report lines";
    for (const auto& h : headings) {
        SCOPED_TRACE(h.heading);
        EXPECT_EQ(lines[h.line - 1], QString::fromUtf8(h.heading));
        EXPECT_TRUE(lines[h.line - 2].isEmpty());
    }
    EXPECT_EQ(lines[2], QStringLiteral("Participer à la journée nationale des Moulins de France, promouvoir le diplôme "
                                       "des Moulins et contribuer "));
    EXPECT_EQ(lines[41], QStringLiteral("Un  compte rendu par bande"));
    EXPECT_EQ(lines[42], QString());
    EXPECT_EQ(lines[45], QStringLiteral("Une feuille récapitulative, contenant vos nom, prénom, adresse, la catégorie,"
                                        "le nombre de QSO "));
    EXPECT_EQ(lines[55], QStringLiteral("Deux coupes pour la catégorie opérateur de Moulin HF en portable."));
    EXPECT_EQ(lines[60], QStringLiteral("Une coupe pour la categorie SWL F et une pour les SWL étrangers"));
}

TEST(ReportText, EventDateSuffix)
{
    const struct {
        const char* date;
        const char* suffix; // nullptr: refused
    } cases[] = {
        {"05/05/08", "05_05_08"}, {"05/05/2008", "05_05_08"}, {"21/06/15 ", "21_06_15"},
        {"21/06/15x", nullptr},   {"5/5/2008", nullptr},      {"", nullptr},
        {"aa/bb/cc", nullptr},    {"0\\/05/08", nullptr},     {"05/0:/08", nullptr},
        {"31/06/15", nullptr},    {"29/02/00", "29_02_00"},   {"29/02/2001", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.date);
        const auto suffix = reporttext::eventDateSuffix(QString::fromLatin1(c.date));
        if (c.suffix)
            EXPECT_EQ(suffix.value_or(QStringLiteral("<none>")), QString::fromLatin1(c.suffix));
        else
            EXPECT_FALSE(suffix.has_value());
    }
}

TEST(ReportText, SignOffEndsWithTheRevisionAndFieldsStayOnOneLine)
{
    EXPECT_TRUE(reporttext::signOff().endsWith("Tournevent Rev  1.1.2"));
    EXPECT_EQ(reporttext::fieldBytes(QStringLiteral("a\tb\r\nc€")), "a b  c\x80");
    EXPECT_EQ(reporttext::fieldBytes(QStringLiteral("日本")), "??");
    EXPECT_EQ(reporttext::spaces(-3), "");
}

TEST(ReportText, PrintingSetsTheFontAndRestoresIt)
{
    FakePrinter printer;
    printer.setFontName(QStringLiteral("Arial"));
    printer.setFontSize(12);
    const QList<QByteArray> lines = {" ", cp("Journée"), ""};
    EXPECT_EQ(reporttext::printLines(printer, lines), reporttext::PrintOutcome::Printed);
    ASSERT_EQ(printer.documents().size(), 1);
    EXPECT_EQ(printer.texts(0), (QStringList{" ", QStringLiteral("Journée"), ""}));
    for (const FakePrinter::Line& line : printer.documents()[0]) {
        EXPECT_EQ(line.fontName, QStringLiteral("Courier New"));
        EXPECT_EQ(line.fontSize, 10);
        EXPECT_TRUE(line.bold);
    }
    EXPECT_EQ(printer.fontName(), QStringLiteral("Arial"));
    EXPECT_EQ(printer.fontSize(), 12);
    EXPECT_FALSE(printer.bold());

    printer.answerChoice(false);
    EXPECT_EQ(reporttext::printLines(printer, lines), reporttext::PrintOutcome::Cancelled);
    EXPECT_EQ(printer.documents().size(), 1) << "a cancelled selection prints nothing";
    EXPECT_TRUE(printer.pending().isEmpty());
    EXPECT_EQ(printer.fontName(), QStringLiteral("Arial"));
    EXPECT_TRUE(reporttext::printFailureMessage(reporttext::PrintOutcome::Cancelled).isEmpty());

    printer.answerChoice(true);
    printer.failEnd(true);
    EXPECT_EQ(reporttext::printLines(printer, lines), reporttext::PrintOutcome::Failed);
    EXPECT_FALSE(reporttext::printFailureMessage(reporttext::PrintOutcome::Failed).isEmpty());
    EXPECT_EQ(printer.fontSize(), 12);
}

} // namespace
} // namespace tv
