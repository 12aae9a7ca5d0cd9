#include "logstore/log_file.h"
#include "logstore/station_paths.h"
#include "reports/adif_export.h"
#include "tests/reports/report_fixture.h"
#include "tests/support/fakes/failing_file_system.h"

#include <QDir>

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::cp;
using namespace test::reports;

// The record lines of the fixed log.
const QList<QByteArray> kRecords = {
    "<call:5>F5ABC<band:3>20m<mode:3>SSB<qso_date:8>20150621<time_on:4>0941<time_off:4>0943<rst_sent:2>59"
    "<rst_rcvd:2>57<comment:9>Dpt:75   <eor>",
    "<call:5>F6XYZ<band:3>80m<mode:2>CW<qso_date:8>20150621<time_on:4>0950<time_off:4>0952<rst_sent:3>599"
    "<rst_rcvd:3>579<comment:39>Dpt:2a  DMF 77012 Moulin de Chateauneuf<eor>",
    "<call:6>ON4ABC<band:3>10m<mode:3>SSB<qso_date:8>20150621<time_on:4>1002<time_off:4>1005<rst_sent:2>57"
    "<rst_rcvd:2>59<comment:15>Dpt:  WIM 7001 <eor>",
    "<call:6>DL1XYZ<band:3>40m<mode:2>CW<qso_date:8>20150621<time_on:4>1015<time_off:4>1016<rst_sent:3>599"
    "<rst_rcvd:3>599<comment:7>Dpt:   <eor>",
    "<call:5>F1ABC<band:2>2m<mode:3>SSB<qso_date:8>20150621<time_on:4>1100<time_off:4>1104<rst_sent:2>59"
    "<rst_rcvd:2>55<comment:9>Dpt:59   <eor>",
    "<call:7>F4XYZ/P<band:2>2m<mode:2>CW<qso_date:8>20150621<time_on:4>1130<time_off:4>1133<rst_sent:3>599"
    "<rst_rcvd:3>599<comment:39>Dpt:77  DMF 77012 Moulin de Chateauneuf<eor>",
    "<call:5>F5DEF<band:3>80m<mode:2>CW<qso_date:8>20150621<time_on:4>1210<time_off:0><rst_sent:3>599"
    "<rst_rcvd:3>599<comment:18>Dpt:59  DMF 77012 <eor>",
};

const QList<QByteArray> kHeader = {
    "Exportation du carnet de trafic J.N.M. de F4XYZ au format ADIF",
    "",
    cp("Fichier créé par le logiciel Tournevent Rev 1.1.2 <adif_ver:5>3.1.4 <programid:10>Tournevent"),
    "",
    "",
    "<eoh>",
};

TEST(AdifExport, WorkedExampleRecord)
{
    QsoRecord r;
    r.date = "12/05/08";
    r.callsign = "F5ABC";
    r.start = "09:41";
    r.end = "09:43";
    r.department = "75";
    r.band = "14 Mhz";
    r.mode = "SSB";
    r.rstSent = "59";
    r.rstReceived = "59";
    r.points = "3";
    r.activity = "0";
    EXPECT_EQ(adif::record(built(r)),
              "<call:5>F5ABC<band:3>20m<mode:3>SSB<qso_date:8>20080512<time_on:4>0941<time_off:4>0943"
              "<rst_sent:2>59<rst_rcvd:2>59<comment:9>Dpt:75   <eor>");
}

TEST(AdifExport, ValuesTheProgramCannotReadAreLeftEmpty)
{
    // The line that `check` calls unreadable: 31 June, 25:10.
    QsoRecord r = qsoline::parse(logLines().first());
    r.band = "145 Mhz";
    r.date = "31/06/15";
    r.start = "25:10";
    r.end = "";
    const QByteArray record = adif::record(built(r));
    EXPECT_FALSE(record.contains("<band:"));
    EXPECT_TRUE(record.contains("<qso_date:0><time_on:0><time_off:0><rst_sent:2>59"));

    const struct {
        QByteArray in;
        QByteArray date;
    } dates[] = {{"12/05/08", "20080512"}, {"31/12/99", "20991231"}, {"29/02/00", "20000229"}, {"29/02/01", ""},
                 {"31/06/15", ""},         {"00/01/15", ""},         {"12-05-08", ""},         {"", ""}};
    for (const auto& d : dates) {
        SCOPED_TRACE(d.in.constData());
        EXPECT_EQ(adif::date(d.in), d.date) << "the century is always 20";
    }
    const struct {
        QByteArray in;
        QByteArray time;
    } times[] = {{"00:00", "0000"}, {"23:59", "2359"}, {"24:00", ""}, {"24:30", ""}, {"09:60", ""}, {"2359", ""}};
    for (const auto& t : times) {
        SCOPED_TRACE(t.in.constData());
        EXPECT_EQ(adif::time(t.in), t.time);
    }
    for (const char* unknown : {"", "144 MHz", "14Mhz"}) {
        SCOPED_TRACE(unknown);
        EXPECT_FALSE(adif::band(unknown).has_value());
    }
    EXPECT_EQ(adif::band("14 Mhz"), "20m");
}

TEST(AdifExport, ValuesAreAsciiAndLengthsCountTheBytesWritten)
{
    EXPECT_EQ(adif::specifier("comment", cp("Châteauneuf")), "<comment:11>Chateauneuf");
    EXPECT_EQ(adif::specifier("comment", cp("Œuf 5 €")), "<comment:8>OEuf 5 ?");
    EXPECT_EQ(adif::specifier("call", ""), "<call:0>");
}

TEST(AdifExport, FileOfTheFixedLog)
{
    QList<QByteArray> lines = kHeader;
    lines << kRecords;
    EXPECT_EQ(adif::file("F4XYZ", logLines()), LogFile::joinLines(lines));
    EXPECT_EQ(adif::file("F4XYZ", {}), LogFile::joinLines(kHeader)) << "an empty log: the header only";
}

class AdifRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeStation(fx.dir);
        QDir(fx.dir.path()).mkdir(QStringLiteral("medium"));
    }
    Services services() { return fx.services(); }
    QString medium() const { return fx.dir.file(QStringLiteral("medium")); }
    QByteArray expectedFile() const
    {
        QList<QByteArray> lines = kHeader;
        lines << kRecords;
        return LogFile::joinLines(lines);
    }

    test::Fixture fx;
};

TEST_F(AdifRun, ExportThenTheQuestionOfACopy)
{
    // No copy: the file alone, an older export overwritten without asking.
    fx.dir.write("F4XYZ.adi", "old export");
    fx.dialogs.answer(false);
    EXPECT_TRUE(adif::run(services(), "F4XYZ").ok());
    EXPECT_EQ(fx.dir.read("F4XYZ.adi"), expectedFile());
    ASSERT_EQ(fx.dialogs.shown().size(), 1);
    EXPECT_EQ(fx.dialogs.shown()[0].kind, FakeDialogs::Kind::YesNo);
    EXPECT_EQ(fx.dialogs.last(), QStringLiteral("Sauvegarder également sur disquette ?"));

    // A cancelled folder choice: no copy.
    fx.dialogs.answer(true);
    EXPECT_TRUE(adif::run(services(), "F4XYZ").ok());
    EXPECT_TRUE(QDir(medium()).isEmpty());

    // The export and the log copied to the chosen folder, no message after.
    fx.dialogs.clear();
    fx.dialogs.answer(true);
    fx.dialogs.answerFolder(medium());
    EXPECT_TRUE(adif::run(services(), "F4XYZ").ok());
    EXPECT_EQ(fx.dir.read("medium/F4XYZ.adi"), expectedFile());
    EXPECT_EQ(fx.dir.read("medium/F4XYZ.log"), fx.dir.read("F4XYZ.log"));
    ASSERT_EQ(fx.dialogs.shown().size(), 2);
    EXPECT_EQ(fx.dialogs.shown()[1].kind, FakeDialogs::Kind::Folder);
}

TEST_F(AdifRun, TheVhfSessionsExportLeavesTheHfOne)
{
    fx.dir.write("F4XYZ.adi", "HF export");
    fx.dir.write("medium/F4XYZ.log", "HF log");
    test::setCurrentStation(fx.settings, "F4XYZ", "VHF");
    fx.dialogs.answer(true);
    fx.dialogs.answerFolder(medium());
    EXPECT_TRUE(adif::run(services(), "F4XYZ").ok());
    EXPECT_EQ(fx.dir.read("F4XYZ_VHF.adi"), expectedFile());
    EXPECT_EQ(fx.dir.read("medium/F4XYZ_VHF.adi"), expectedFile());
    EXPECT_EQ(fx.dir.read("medium/F4XYZ_VHF.log"), fx.dir.read("F4XYZ.log"));
    EXPECT_EQ(fx.dir.read("F4XYZ.adi"), "HF export");
    EXPECT_EQ(fx.dir.read("medium/F4XYZ.log"), "HF log");
}

TEST_F(AdifRun, CopyFailuresShowTheErrorNumberAndItsText)
{
    const struct {
        int error;
        QString message;
    } cases[] = {
        {57, QStringLiteral("Erreur 57 pas de disuette dans le lecteur")},
        {70, QStringLiteral("Erreur 70 Disquette protegée")},
        {61, QStringLiteral("Erreur 61")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        fx.dialogs.clear();
        fx.files.onlyPathsEndingWith(QStringLiteral("medium/F4XYZ.adi"));
        fx.files.failWrites(1, c.error);
        fx.dialogs.answer(true);
        fx.dialogs.answerFolder(medium());
        EXPECT_EQ(adif::run(services(), "F4XYZ").errorNumber, c.error);
        EXPECT_EQ(fx.dialogs.last(), c.message);
        EXPECT_FALSE(fx.dir.exists("medium/F4XYZ.log")) << "the export stops at the failing step";
    }
}

TEST_F(AdifRun, FailedExportKeepsThePreviousFileAndAsksNothing)
{
    fx.dir.write("F4XYZ.adi", "old export");
    fx.files.failWrites(1, FileResult::kDiskFull);
    EXPECT_EQ(adif::run(services(), "F4XYZ").errorNumber, 61);
    EXPECT_EQ(fx.dir.read("F4XYZ.adi"), "old export");
    EXPECT_EQ(fx.dialogs.texts(), QStringList{QStringLiteral("Erreur 61")});

    fx.dialogs.clear();
    EXPECT_EQ(adif::run(services(), "F0ABC").errorNumber, 53) << "a station without log";
    EXPECT_EQ(fx.dialogs.texts(), QStringList{QStringLiteral("Erreur 53")});
    EXPECT_FALSE(fx.dir.exists("F0ABC.adi"));
}

} // namespace
} // namespace tv
