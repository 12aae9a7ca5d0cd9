#include "logstore/station_paths.h"
#include "reports/ctrafic_export.h"
#include "reports/report_text.h"
#include "tests/reports/report_fixture.h"
#include "tests/support/fakes/failing_file_system.h"
#include "tests/support/fakes/fake_printer.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(CtraficExport, CopiesTheLogByteForByteOrSaysWhyNot)
{
    test::TempProgramDir dir;
    FailingFileSystem files;
    // Whatever the log holds is copied as it is: odd line ends and a last line without one.
    const std::pair<const char*, QByteArray> cases[] = {
        {"F4XYZ.log", test::reports::logLines()[0] + "\r\nx\nshort\r\n\r\nlast"},
        {"F0ZZZ_P.log", ""},
        {"F1AAA.Log", "line\r\n"}};
    for (const auto& [logName, log] : cases) {
        SCOPED_TRACE(logName);
        const QString callsign = QString::fromLatin1(logName).section('.', 0, 0);
        dir.write(logName, log);
        dir.write(callsign + ".ctf", "an older export that is longer than nothing");
        const ctrafic::Outcome outcome = ctrafic::exportLog(files, StationPaths(dir.path(), callsign), true);
        ASSERT_TRUE(outcome.result.ok());
        EXPECT_EQ(dir.read(callsign + ".ctf"), log);
        EXPECT_EQ(outcome.message, "le fichier " + callsign + ".log a été copié en " + callsign + ".ctf");
    }

    ctrafic::Outcome outcome = ctrafic::exportLog(files, StationPaths(dir.path(), "F6AAA"), true);
    EXPECT_EQ(outcome.result.errorNumber, 53);
    EXPECT_EQ(outcome.message,
              QStringLiteral("Le fichier F6AAA.log est introuvable : rien n'a été exporté au format C_Trafic."));
    EXPECT_FALSE(dir.exists("F6AAA.ctf"));

    files.failWrites(1, FileResult::kDiskFull);
    outcome = ctrafic::exportLog(files, StationPaths(dir.path(), "F1AAA"), true);
    EXPECT_EQ(outcome.message, QStringLiteral("Erreur N° 61 : le fichier F1AAA.log n'a pas pu être copié en "
                                              "F1AAA.ctf, l'exportation C_Trafic n'est pas faite."));
    EXPECT_EQ(dir.read("F1AAA.ctf"), "line\r\n");
}

TEST(CtraficExport, MenuRunShowsTheOutcomeUnderTheSessionsName)
{
    test::Fixture fx;
    fx.dir.write("F4XYZ.log", "line\r\n");
    EXPECT_TRUE(ctrafic::run(fx.services(), "F4XYZ").ok());
    EXPECT_EQ(ctrafic::run(fx.services(), "F0ABC").errorNumber, 53);
    EXPECT_EQ(fx.dialogs.texts().size(), 2);
    EXPECT_EQ(fx.dialogs.shown()[0].text, QStringLiteral("le fichier F4XYZ.log a été copié en F4XYZ.ctf"));

    fx.dialogs.clear();
    fx.dir.write("F4XYZ.log", "vhf line\r\n");
    test::setCurrentStation(fx.settings, "F4XYZ", "VHF");
    EXPECT_TRUE(ctrafic::run(fx.services(), "F4XYZ").ok());
    EXPECT_EQ(fx.dialogs.texts(), QStringList{QStringLiteral("le fichier F4XYZ.log a été copié en F4XYZ_VHF.ctf")});
    EXPECT_EQ(fx.dir.read("F4XYZ.ctf"), "line\r\n") << "the HF export is left as it was";
}

TEST(ReportText, EventDateSuffixSignOffAndFieldBytes)
{
    // A day and month of two digits, a year of two or four, a real date; nullptr: refused.
    const std::pair<const char*, const char*> cases[] = {
        {"05/05/2008", "05_05_08"}, {"21/06/15 ", "21_06_15"}, {"29/02/00", "29_02_00"}, {"21/06/15x", nullptr},
        {"5/5/2008", nullptr},      {"0\\/05/08", nullptr},    {"31/06/15", nullptr},    {"29/02/2001", nullptr}};
    for (const auto& [date, suffix] : cases) {
        SCOPED_TRACE(date);
        EXPECT_EQ(reporttext::eventDateSuffix(QString::fromLatin1(date)),
                  suffix ? std::optional<QString>(QString::fromLatin1(suffix)) : std::nullopt);
    }
    EXPECT_TRUE(reporttext::signOff().endsWith("Tournevent Rev  1.1.2"));
    EXPECT_EQ(reporttext::fieldBytes(QStringLiteral("a\tb\r\nc€")), "a b  c\x80");
    EXPECT_EQ(reporttext::fieldBytes(QStringLiteral("日本")), "??");
}

TEST(ReportText, PrintingSetsTheFontAndRestoresIt)
{
    FakePrinter printer;
    printer.setFontName(QStringLiteral("Arial"));
    printer.setFontSize(12);
    const QList<QByteArray> lines = {" ", test::cp("Journée")};
    EXPECT_EQ(reporttext::printLines(printer, lines), reporttext::PrintOutcome::Printed);
    EXPECT_EQ(printer.texts(0), (QStringList{" ", QStringLiteral("Journée")}));
    for (const FakePrinter::Line& line : printer.documents()[0])
        EXPECT_EQ(line.fontName + QString::number(line.fontSize) + QString::number(line.bold), "Courier New101");
    EXPECT_EQ(printer.fontName() + QString::number(printer.fontSize()) + QString::number(printer.bold()), "Arial120");

    printer.answerChoice(false);
    EXPECT_EQ(reporttext::printLines(printer, lines), reporttext::PrintOutcome::Cancelled);
    EXPECT_EQ(printer.documents().size(), 1) << "a cancelled selection prints nothing";
    EXPECT_TRUE(reporttext::printFailureMessage(reporttext::PrintOutcome::Cancelled).isEmpty());

    printer.answerChoice(true);
    printer.failEnd(true);
    EXPECT_EQ(reporttext::printLines(printer, lines), reporttext::PrintOutcome::Failed);
    EXPECT_FALSE(reporttext::printFailureMessage(reporttext::PrintOutcome::Failed).isEmpty());
    EXPECT_EQ(printer.fontSize(), 12);
}

} // namespace
} // namespace tv
