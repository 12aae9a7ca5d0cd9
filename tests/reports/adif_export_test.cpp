#include "logstore/log_file.h"
#include "reports/adif_export.h"
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
});

TEST(AdifExport, FileOfTheFixedLogAndOfAnEmptyOne)
{
    EXPECT_EQ(adif::file("F4XYZ", logLines()), kFile);
    EXPECT_EQ(adif::file("F4XYZ", {}), kFile.left(kFile.indexOf("<eoh>") + 7)) << "the header only";
}

TEST(AdifExport, ValuesTheProgramCannotReadAreLeftEmptyAndTextIsAscii)
{
    QsoRecord r = qsoline::parse(logLines().first());
    r.band = "145 Mhz";
    r.date = "31/06/15";
    r.start = "25:10";
    r.end = "";
    const QByteArray record = adif::record(built(r));
    EXPECT_FALSE(record.contains("<band:"));
    EXPECT_TRUE(record.contains("<mode:3>SSB<qso_date:0><time_on:0><time_off:0><rst_sent:2>59"));

    EXPECT_EQ(adif::date("31/12/99") + adif::time("00:00") + adif::time("24:00"), "209912310000") << "century 20";
    for (const char* unknown : {"", "144 MHz", "14Mhz"})
        EXPECT_FALSE(adif::band(unknown).has_value()) << unknown;
    EXPECT_EQ(adif::specifier("comment", cp("Œuf 5 €")), "<comment:8>OEuf 5 ?") << "lengths count the bytes written";
}

class AdifRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeStation(fx.dir);
        QDir(fx.dir.path()).mkdir(QStringLiteral("medium"));
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
    QString medium() const { return fx.dir.file(QStringLiteral("medium")); }

    test::Fixture fx;
};

TEST_F(AdifRun, ExportThenTheQuestionOfACopy)
{
    fx.dir.write("F4XYZ.adi", "old export");
    fx.dialogs.answer(false);
    EXPECT_TRUE(adif::run(fx.services(), "F4XYZ").ok());
    EXPECT_EQ(fx.dir.read("F4XYZ.adi"), kFile) << "an older export is overwritten without asking";
    EXPECT_EQ(fx.dialogs.texts(), QStringList{QStringLiteral("Sauvegarder également sur disquette ?")});
    EXPECT_EQ(fx.dialogs.shown()[0].kind, FakeDialogs::Kind::YesNo);

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
    const std::pair<int, QString> copies[] = {
        {57, QStringLiteral("Erreur 57 pas de disuette dans le lecteur")},
        {70, QStringLiteral("Erreur 70 Disquette protegée")},
        {61, QStringLiteral("Erreur 61")},
    };
    for (const auto& [error, message] : copies) {
        SCOPED_TRACE(error);
        fx.files.onlyPathsEndingWith(QStringLiteral("medium/F4XYZ.adi"));
        fx.files.failWrites(1, error);
        EXPECT_EQ(run(medium()), error);
        EXPECT_EQ(fx.dialogs.last(), message);
        EXPECT_FALSE(fx.dir.exists("medium/F4XYZ.log")) << "the export stops at the failing step";
    }

    // A failed export keeps the previous file and asks nothing.
    fx.dir.write("F4XYZ.adi", "old export");
    fx.files.onlyPathsEndingWith(QString());
    fx.files.failWrites(1, FileResult::kDiskFull);
    fx.dialogs.clear();
    EXPECT_EQ(adif::run(fx.services(), "F4XYZ").errorNumber, 61);
    EXPECT_EQ(fx.dir.read("F4XYZ.adi"), "old export");
    EXPECT_EQ(fx.dialogs.texts(), QStringList{QStringLiteral("Erreur 61")});
}

} // namespace
} // namespace tv
