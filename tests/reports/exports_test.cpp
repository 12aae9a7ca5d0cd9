#include "reports/adif_export.h"
#include "reports/ctrafic_export.h"
#include "reports/report_text.h"
#include "tests/reports/report_fixture.h"

#include <QDir>

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::cp;
using namespace test::reports;

// The export of the fixed log.
const QByteArray kFile = LogFile::joinLines({
    "Exportation du carnet de trafic J.N.M. de F4XYZ au format ADIF",
    "",
    cp("Fichier créé par le logiciel Tournevent Rev 1.1.2 <adif_ver:5>3.1.4 <programid:10>Tournevent"),
    "",
    "",
    "<eoh>",
    "<call:5>F5ABC<band:3>20m<mode:3>SSB<qso_date:8>20150621<time_on:4>0941<time_off:4>0943<rst_sent:2>59"
    "<rst_rcvd:2>57<comment:9>Dpt:75   <name:4>JEAN<app_tournevent_marks:2>10<eor>",
    "<call:5>F6XYZ<band:3>80m<mode:2>CW<qso_date:8>20150621<time_on:4>0950<time_off:4>0952<rst_sent:3>599"
    "<rst_rcvd:3>579<comment:39>Dpt:2a  DMF 77012 Moulin de Chateauneuf"
    "<app_tournevent_marks:2>10<app_tournevent_mill:21>" +
        cp("Moulin de Châteauneuf<eor>"),
    "<call:6>ON4ABC<band:3>10m<mode:3>SSB<qso_date:8>20150621<time_on:4>1002<time_off:4>1005<rst_sent:2>57"
    "<rst_rcvd:2>59<comment:15>Dpt:  WIM 7001 <app_tournevent_marks:2>10<eor>",
    "<call:6>DL1XYZ<band:3>40m<mode:2>CW<qso_date:8>20150621<time_on:4>1015<time_off:4>1016<rst_sent:3>599"
    "<rst_rcvd:3>599<comment:7>Dpt:   <name:4>HANS<app_tournevent_marks:2>10<eor>",
    "<call:5>F1ABC<band:2>2m<mode:3>SSB<qso_date:8>20150621<time_on:4>1100<time_off:4>1104<rst_sent:2>59"
    "<rst_rcvd:2>55<comment:9>Dpt:59   <gridsquare:6>JO10AB<distance:3>215"
    "<app_tournevent_marks:2>10<eor>",
    "<call:7>F4XYZ/P<band:2>2m<mode:2>CW<qso_date:8>20150621<time_on:4>1130<time_off:4>1133<rst_sent:3>599"
    "<rst_rcvd:3>599<comment:39>Dpt:77  DMF 77012 Moulin de Chateauneuf"
    "<gridsquare:6>JN18CT<distance:2>48<app_tournevent_marks:2>10<app_tournevent_mill:21>" +
        cp("Moulin de Châteauneuf<eor>"),
    "<call:5>F5DEF<band:3>80m<mode:2>CW<qso_date:8>20150621<time_on:4>1210<time_off:0><rst_sent:3>599"
    "<rst_rcvd:3>599<comment:18>Dpt:59  DMF 77012 <app_tournevent_marks:2>10<eor>",
});

TEST(AdifExport, FileOfTheFixedLogAndValuesItCannotRead)
{
    EXPECT_EQ(adif::file("F4XYZ", logLines()), kFile);
    EXPECT_EQ(adif::file("F4XYZ", {}), kFile.left(kFile.indexOf("<eoh>") + 7)) << "the header only";
    // Values the program cannot read are left empty; the text is ASCII.
    QsoRecord r = qsoline::parse(logLines().first());
    r.band = "145 Mhz";
    r.date = "31/06/15";
    r.start = "25:10";
    r.end = "";
    const QByteArray record = adif::record(qsoline::build(r).value());
    EXPECT_FALSE(record.contains("<band:"));
    EXPECT_TRUE(record.contains("<mode:3>SSB<qso_date:0><time_on:0><time_off:0><rst_sent:2>59"));
    EXPECT_EQ(adif::date("31/12/99") + adif::time("00:00") + adif::time("24:00"), "209912310000") << "century 20";
    EXPECT_EQ(adif::specifier("comment", cp("Œuf 5 €")), "<comment:8>OEuf 5 ?") << "lengths count the bytes written";
}

class AdifRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeStation(fx.dir);
        QDir(fx.dir.path()).mkdir("medium");
    }
    // Answers "yes" to the copy, then picks the folder (or cancels it with an empty one).
    int run(const QString& folder)
    {
        fx.dialogs.clear();
        fx.dialogs.answer(true);
        if (!folder.isEmpty())
            fx.dialogs.answerFolder(folder);
        return adif::run(fx.services(), "F4XYZ").errorNumber;
    }
    QString medium() const { return fx.dir.file("medium"); }
    test::Fixture fx;
};

TEST_F(AdifRun, ExportThenTheQuestionOfACopy)
{
    fx.dir.write("F4XYZ.adi", "old export");
    fx.dialogs.answer(false);
    EXPECT_TRUE(adif::run(fx.services(), "F4XYZ").ok());
    EXPECT_EQ(fx.dir.read("F4XYZ.adi"), kFile) << "an older export is overwritten without asking";
    EXPECT_EQ(fx.dialogs.texts(), QStringList{"Sauvegarder également sur disquette ?"});
    EXPECT_EQ(fx.dialogs.shown()[0].kind, FakeDialogs::Kind::YesNo);
    const int records = int(fx.dir.read("F4XYZ.log").count("\r\n"));
    EXPECT_EQ(fx.dialogs.progressSteps(), (QList<std::pair<int, int>>{{0, records}, {records, records}}))
        << "the progress window starts and ends";
    EXPECT_EQ(run(QString()), 0);
    EXPECT_TRUE(QDir(medium()).isEmpty()) << "a cancelled folder choice copies nothing";
    EXPECT_EQ(run(medium()), 0);
    EXPECT_EQ(fx.dir.read("medium/F4XYZ.adi"), kFile);
    EXPECT_EQ(fx.dir.read("medium/F4XYZ.log"), fx.dir.read("F4XYZ.log"));
    EXPECT_EQ(fx.dialogs.shown().size(), 2) << "no message after the copy";
    // The VHF session's export leaves the HF one.
    fx.dir.write("F4XYZ.adi", "HF export");
    test::setCurrentStation(fx.settings, "F4XYZ", "VHF");
    EXPECT_EQ(run(medium()), 0);
    EXPECT_EQ(fx.dir.read("F4XYZ_VHF.adi"), kFile);
    EXPECT_EQ(fx.dir.read("medium/F4XYZ_VHF.adi"), kFile);
    EXPECT_EQ(fx.dir.read("medium/F4XYZ_VHF.log"), fx.dir.read("F4XYZ.log"));
    EXPECT_EQ(fx.dir.read("F4XYZ.adi"), "HF export");
}

TEST_F(AdifRun, FailuresShowTheErrorNumberAndItsText)
{
    const QString copy = "\r\nLe fichier " + QDir::toNativeSeparators(medium() + "/F4XYZ.adi") + " : ";
    const std::pair<int, QString> copies[] = {
        {57, "Erreur 57 pas de disuette dans le lecteur" + copy + "erreur de lecture ou d'écriture sur le disque"},
        {70, "Erreur 70 Disquette protegée" + copy + "permission refusée"},
        {61, "Erreur 61" + copy + "disque plein"}};
    for (const auto& [error, message] : copies) {
        SCOPED_TRACE(error);
        fx.files.onlyPathsEndingWith("medium/F4XYZ.adi");
        fx.files.failWrites(1, error);
        EXPECT_EQ(run(medium()), error);
        EXPECT_EQ(fx.dialogs.last(), message + ", l'exportation s'est arrêtée là.");
        EXPECT_FALSE(fx.dir.exists("medium/F4XYZ.log")) << "the export stops at the failing step";
    }
    // A failed export asks nothing.
    fx.files.onlyPathsEndingWith(QString());
    fx.files.failWrites(1, FileResult::kDiskFull);
    fx.dialogs.clear();
    EXPECT_EQ(adif::run(fx.services(), "F4XYZ").errorNumber, 61);
    EXPECT_EQ(fx.dialogs.texts(),
              QStringList{"Erreur 61\r\nLe fichier F4XYZ.adi : disque plein, l'exportation s'est arrêtée là."});
}

TEST(CtraficExport, CopiesTheLogByteForByteOrSaysWhyNot)
{
    test::TempProgramDir dir;
    FailingFileSystem files;
    // Whatever the log holds is copied as it is: odd line ends and a last line without one.
    const std::pair<const char*, QByteArray> cases[] = {{"F4XYZ.log", logLines()[0] + "\r\nx\nshort\r\n\r\nlast"},
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
    // A log missing or unreadable (a failed read, not a failed export), a disk full.
    dir.write("F0ZZZ.log", "line\r\n");
    files.failReadsOf("F0ZZZ.log", FileResult::kDeviceError);
    const struct {
        const char* callsign;
        int error;
        bool readFailed;
        const char* message;
    } failures[] = {
        {"F6AAA", 53, true, "Le fichier F6AAA.log est introuvable : rien n'a été exporté au format C_Trafic."},
        {"F0ZZZ", 57, true,
         "Erreur N° 57 : le fichier F0ZZZ.log n'a pas pu être lu : rien n'a été exporté au format C_Trafic."},
        {"F1AAA", 61, false,
         "Erreur N° 61 (disque plein) : le fichier F1AAA.log n'a pas pu être copié en F1AAA.ctf, l'exportation "
         "C_Trafic n'est "
         "pas faite."}};
    for (const auto& f : failures) {
        SCOPED_TRACE(f.callsign);
        files.failWrites(1, FileResult::kDiskFull);
        files.onlyPathsEndingWith(".ctf");
        const ctrafic::Outcome outcome = ctrafic::exportLog(files, StationPaths(dir.path(), f.callsign), true);
        EXPECT_EQ(outcome.result.errorNumber, f.error);
        EXPECT_EQ(outcome.readFailed, f.readFailed);
        EXPECT_EQ(outcome.message, QString::fromUtf8(f.message));
        files.failWrites(0);
    }
    EXPECT_FALSE(dir.exists("F6AAA.ctf") || dir.exists("F0ZZZ.ctf"));
    EXPECT_EQ(dir.read("F1AAA.ctf"), "line\r\n");
    // The menu shows the outcome under the session's name.
    test::Fixture fx;
    fx.dir.write("F4XYZ.log", "vhf line\r\n");
    fx.dir.write("F4XYZ.ctf", "line\r\n");
    test::setCurrentStation(fx.settings, "F4XYZ", "VHF");
    EXPECT_TRUE(ctrafic::run(fx.services(), "F4XYZ").ok());
    EXPECT_EQ(fx.dialogs.texts(), QStringList{"le fichier F4XYZ.log a été copié en F4XYZ_VHF.ctf"});
    EXPECT_EQ(fx.dir.read("F4XYZ.ctf"), "line\r\n") << "the HF export is left as it was";
}

TEST(ReportText, FileNameSuffixFieldsAndPrinting)
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
    EXPECT_EQ(reporttext::fieldBytes("a\tb\r\nc€"), "a b  c\x80");
    EXPECT_EQ(reporttext::fieldBytes("日本"), "??");
    // Printing sets the font and restores it.
    FakePrinter printer;
    printer.setFontName("Arial");
    printer.setFontSize(12);
    const QList<QByteArray> lines = {" ", cp("Journée")};
    EXPECT_EQ(reporttext::printLines(printer, lines), reporttext::PrintOutcome::Printed);
    EXPECT_EQ(printer.texts(0), (QStringList{" ", "Journée"}));
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
