#include "geo/locator.h"
#include "logstore/cp1252.h"
#include "logstore/entity_resolver.h"
#include "reports/adif_export.h"
#include "reports/adif_import.h"
#include "reports/edi_export.h"
#include "station/logbook.h"
#include "tests/reports/report_fixture.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::cp;

QByteArray line144(const char* call, const char* start, const char* mode, const char* dept, const char* loc,
                   const char* rstSent = "59", const char* rstReceived = "59")
{
    QsoRecord r{.date = "21/06/15", .callsign = call, .start = start, .department = dept, .locator = loc};
    r.band = "144 Mhz";
    r.mode = mode;
    r.rstSent = rstSent;
    r.rstReceived = rstReceived;
    r.points = r.distance = "999"; // never trusted: the export works the distance out again
    r.activity = "0";
    return qsoline::build(r).value();
}

TEST(EdiExport, BandFileOfAFixedVhfLog)
{
    const QList<QByteArray> log = {
        line144("F1ABC", "11:00", "SSB", "31", "JN03TJ", "59 001", "55 012"), // 610 km
        line144("G4ABC", "11:10", "CW", "", "IO91WM", "599", "579"),          // 343 km
        test::qso("21/06/15", "DL1XYZ", "11:15", "14 Mhz", "SSB"),            // not this band
        line144("HA5XYZ", "11:20", "SSB", "", "KN05QX"),                      // 1467 points
        line144("F5XYZ", "11:30", "SSB", "75", "JN18ZZ"),                     // sub-square beyond X
        line144("F1ABC", "11:40", "SSB", "31", "JN03TJ"),                     // duplicate
        line144("F1ABC", "11:50", "CW", "31", "JN03TJ"),                      // other mode: counts
        line144("F6AAA", "25:00", "SSB", "", "JN03TJ"),                       // unreadable time
    };
    const QList<QByteArray> prefixes = {"F      00000000000000000  F      France",
                                        "G      00000000000000000  G      England",
                                        "HA     00000000000000000  HA     Hungary"};
    const EntityResolver entities(nullptr, prefixes);
    edi::Station station{"F4XYZ_P",          "JN18DU", "21/06/15", QString::fromUtf8("Zoé Dupont"),
                         "1; rue du Moulin", "",       "France",   ""};
    const edi::BandFile made = edi::file(station, "144 Mhz", log, &entities);
    const QByteArray expected = LogFile::joinLines({
        "[REG1TEST;1]",
        "TName=Journee Nationale des Moulins",
        "TDate=20150621;20150621",
        "PCall=F4XYZ/P",
        "PWWLo=JN18DU",
        "PExch=",
        "PAdr1=",
        "PAdr2=",
        "PSect=",
        "PBand=144 MHz",
        "PClub=",
        "RName=Zoe Dupont",
        "RCall=F4XYZ/P",
        "RAdr1=1, rue du Moulin",
        "RAdr2=",
        "RPoCo=",
        "RCity=",
        "RCoun=France",
        "RPhon=",
        "RHBBS=",
        "MOpe1=",
        "MOpe2=",
        "STXEq=",
        "SPowe=",
        "SRXEq=",
        "SAnte=",
        "SAntH=",
        "CQSOs=5;1",
        "CQSOP=3030",
        "CWWLs=3;0;1",
        "CWWLB=0",
        "CExcs=2;0;1",
        "CExcB=0",
        "CDXCs=3;0;1",
        "CDXCB=0",
        "CToSc=3030",
        "CODXC=HA5XYZ;KN05QX;1467",
        "[Remarks]",
        "[QSORecords;6]",
        "150621;1100;F1ABC;1;59;001;55;012;31;JN03TJ;610;N;N;N;",
        "150621;1110;G4ABC;2;599;;579;;;IO91WM;343;;N;N;",
        "150621;1120;HA5XYZ;1;59;;59;;;KN05QX;1467;;N;N;",
        "150621;1130;F5XYZ;1;59;;59;;75;;0;N;;;",
        "150621;1140;F1ABC;1;59;;59;;31;JN03TJ;0;;;;D",
        "150621;1150;F1ABC;2;59;;59;;31;JN03TJ;610;;;;",
    });
    EXPECT_EQ(made.bytes, expected);
    EXPECT_EQ(made.leftOut, 1);

    // A reader written apart from the exporter, from the public layout alone, accepts the file
    // field by field and finds the same totals; it refuses a claim or a distance changed by one.
    const struct {
        QByteArray from, to;
        const char* verdict;
    } readings[] = {
        {"", "", "accepted: 5 QSOs, 3030 points, 3 squares, 2 exchanges, 3 DXCC\n"},
        {"CQSOP=3030", "CQSOP=3031", "CQSOP: claims 3031, the records give 3030\n"},
        {"JN03TJ;610;N", "JN03TJ;612;N", "line 40: 612 points, the distance gives 610\n"},
    };
    for (const auto& r : readings) {
        SCOPED_TRACE(r.verdict);
        test::TempProgramDir dir;
        dir.write("F4XYZ_P_144.edi", QByteArray(made.bytes).replace(r.from, r.to));
        QProcess reader;
        reader.start("python3", {REG1TEST_READER, dir.file("F4XYZ_P_144.edi")});
        ASSERT_TRUE(reader.waitForFinished(20000));
        const QByteArray said = reader.readAllStandardOutput();
        EXPECT_TRUE(said.startsWith(r.verdict)) << said.toStdString();
        EXPECT_EQ(reader.exitCode(), r.from.isEmpty() ? 0 : 1);
    }

    // Without its own locator the station claims no distance at all.
    station.locator = "------";
    const QByteArray unlocated = edi::file(station, "144 Mhz", log, nullptr).bytes;
    EXPECT_TRUE(unlocated.contains("\r\nPWWLo=\r\n"));
    EXPECT_TRUE(unlocated.contains("\r\nCQSOP=0\r\n"));
    EXPECT_TRUE(unlocated.contains("\r\n150621;1100;F1ABC;1;59;001;55;012;31;;0;N;;;\r\n"));
}

TEST(EdiExport, OneFilePerBandAndTheVhfSessionsLog)
{
    test::TempProgramDir dir;
    QtFileSystem files;
    const QList<QByteArray> log = {line144("F1ABC", "11:00", "SSB", "31", "JN03TJ"),
                                   test::qso("21/06/15", "F1BBB", "12:00", "432 Mhz", "SSB"),
                                   test::qso("21/06/15", "F1CCC", "12:10", "14 Mhz", "SSB")};
    const edi::Written written = edi::writeFiles(files, dir.path(), {"F4XYZ", "JN18DU"}, log, nullptr);
    ASSERT_TRUE(written.result.ok());
    EXPECT_EQ(written.written, QStringList({"F4XYZ_144.edi (1 QSO)", "F4XYZ_432.edi (1 QSO)"}));
    EXPECT_TRUE(dir.read("F4XYZ_432.edi").contains("\r\nPBand=432 MHz\r\n"));
    EXPECT_TRUE(dir.read("F4XYZ_432.edi").endsWith("[QSORecords;1]\r\n150621;1200;F1BBB;1;59;;59;;;;0;;;;\r\n"));

    // In the HF session the VHF QSOs are in the archive; without one there is nothing to export.
    const StationPaths paths(dir.path(), "F4XYZ");
    dir.write("F4XYZ.log", LogFile::joinLines({log[2]}));
    EXPECT_TRUE(edi::vhfLog(files, paths, true).lines.isEmpty());
    EXPECT_EQ(edi::outcomeText(edi::Written{}), "Aucun QSO VHF à exporter : aucun fichier EDI n'a été écrit.");
    dir.write("F4XYZ.vhf", LogFile::joinLines({log[0]}));
    EXPECT_EQ(edi::vhfLog(files, paths, true).lines, QList<QByteArray>({log[0]}));
    EXPECT_EQ(edi::vhfLog(files, paths, false).lines, QList<QByteArray>({log[2]}));
}

// A record of a file written by hand, and what the import makes of it.
struct ImportCase {
    const char* name;
    QByteArray file;
    QsoRecord expected; // fields the import sets; ignored when `refused` is given
    const char* refused = nullptr;
};

QsoRecord importedRecord(QsoRecord r)
{
    r.newDepartmentFlag = r.newPrefixFlag = " ";
    if (r.activity.isEmpty())
        r.activity = r.millReference.isEmpty() ? "0" : "1";
    return r;
}

TEST(AdifImport, FilesWrittenByHand)
{
    const QsoRecord f5abc{.date = "21/06/15",
                          .callsign = "F5ABC",
                          .start = "09:41",
                          .end = "09:43",
                          .band = "14 Mhz",
                          .mode = "SSB",
                          .rstSent = "59",
                          .rstReceived = "57",
                          .points = "3"};
    QsoRecord named = f5abc;
    named.firstName = cp("HÉLÈNE");
    QsoRecord mill = f5abc;
    mill.department = "59";
    mill.millReference = "DMF 59045";
    mill.millName = "Moulin Nord";
    QsoRecord vhf{.date = "21/06/15",
                  .callsign = "F1ABC",
                  .start = "11:00",
                  .locator = "JN03TJ",
                  .band = "144 Mhz",
                  .mode = "CW",
                  .points = "610",
                  .distance = "610",
                  .azimuth = "185"};
    const ImportCase cases[] = {
        {"lower case, any order, no header, over several lines, unknown fields",
         "<mode:3>SSB <band:3>20m\n<time_on:4>0941<call:5>f5abc <my_rig:4>FT-8\r\n<qso_date:8>20150621 "
         "<rst_rcvd:2>57<rst_sent:2>59<time_off:6>094359<eor>",
         f5abc},
        {"header, upper case, types, UTF-8 name",
         "Journal\r\n<ADIF_VER:5>3.1.4\r\n<EOH>\r\n<CALL:5:S>F5ABC<QSO_DATE:8:D>20150621<TIME_ON:4>0941"
         "<TIME_OFF:4>0943<FREQ:6>14.250<MODE:3>USB<RST_SENT:2>59<RST_RCVD:2>57<NAME:8>Hélène<EOR>",
         named},
        {"Windows-1252 name",
         "<call:5>F5ABC<qso_date:8>20150621<time_on:4>0941<time_off:4>0943<band:3>20M"
         "<mode:3>SSB<rst_sent:2>59<rst_rcvd:2>57<name:6>h\xe9l\xe8ne<eor>",
         named},
        {"the comment of this program's export",
         "<call:5>F5ABC<qso_date:8>20150621<time_on:4>0941<time_off:4>0943<band:3>20m<mode:3>SSB"
         "<rst_sent:2>59<rst_rcvd:2>57<comment:29>Dpt:59  DMF 59045 Moulin Nord<eor>",
         mill},
        {"department and mill from STATE and SIG",
         "<call:5>F5ABC<qso_date:8>20150621<time_on:4>0941<time_off:4>0943<band:3>20m<mode:3>SSB"
         "<rst_sent:2>59<rst_rcvd:2>57<state:2>59<sig:3>dmf<sig_info:5>59045<comment:11>Moulin Nord<eor>",
         [&] {
             QsoRecord r = mill;
             r.millName = "";
             return r;
         }()},
        {"this program's own fields that another program's edit no longer matches",
         "<call:5>F5ABC<qso_date:8>20150621<time_on:4>0941<time_off:4>0943<band:3>20m<mode:3>SSB<rst_sent:2>59"
         "<rst_rcvd:2>57<name:4>paul<app_tournevent_name:6>H\xc9L\xc8NE<app_tournevent_marks:2>1X<eor>",
         [&] {
             QsoRecord r = f5abc;
             r.firstName = "PAUL";
             return r;
         }()},
        {"distance worked out from the locators",
         "<call:5>F1ABC<qso_date:8>20150621<time_on:4>1100<band:2>2m"
         "<mode:2>CW<gridsquare:6>jn03tj<eor>",
         vhf},
        {"no call", "<qso_date:8>20150621<time_on:4>1100<band:2>2m<mode:2>CW<eor>", {}, "indicatif «  » invalide"},
        {"bad date",
         "<call:5>F1ABC<qso_date:8>20150231<time_on:4>1100<band:2>2m<mode:2>CW<eor>",
         {},
         "date « 20150231 » invalide"},
        {"FM",
         "<call:5>F1ABC<qso_date:8>20150621<time_on:4>1100<band:2>2m<mode:2>FM<eor>",
         {},
         "mode « FM » : le log ne tient que SSB et CW"},
        {"no band",
         "<call:5>F1ABC<qso_date:8>20150621<time_on:4>1100<freq:3>7.5<mode:2>CW<eor>",
         {},
         "bande inconnue (BAND «  », FREQ « 7.5 »)"},
        {"report too long for its column",
         "<call:5>F1ABC<qso_date:8>20150621<time_on:4>1100<band:3>20m<mode:2>CW<rst_sent:9>599599599<eor>",
         {},
         "un champ est trop long pour les colonnes 69 à 76 du log"},
    };
    for (const ImportCase& c : cases) {
        SCOPED_TRACE(c.name);
        const adifimport::Plan plan = adifimport::plan(c.file, {}, "JN18DU");
        ASSERT_TRUE(plan.error.isEmpty()) << plan.error;
        ASSERT_EQ(plan.entries.size(), 1);
        if (c.refused) {
            EXPECT_EQ(plan.entries[0].fate, adifimport::Fate::Refused);
            EXPECT_EQ(plan.entries[0].reason, QString::fromUtf8(c.refused));
        } else {
            EXPECT_EQ(plan.entries[0].fate, adifimport::Fate::Added);
            EXPECT_EQ(plan.entries[0].line, qsoline::build(importedRecord(c.expected)).value());
        }
    }
}

TEST(AdifImport, UnreadableFilesAreRefusedWhole)
{
    const struct {
        QByteArray file;
        const char* error;
    } cases[] = {
        {"<call:5>F1ABC<eor><call:x>F1ABC<eor>", "la longueur « x » du champ « call » n'est pas un nombre (octet 19)"},
        {"<call:5>F1ABC<eor><call:50>F1ABC<eor>",
         "le champ « call » annonce 50 caractères, le fichier finit avant (octet 19)"},
        {"<call:5>F1ABC<eor><call:5", "balise non fermée à l'octet 19"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        const adifimport::Plan plan = adifimport::plan(c.file, {}, "JN18DU");
        EXPECT_EQ(plan.error, QString::fromUtf8(c.error));
        EXPECT_TRUE(plan.entries.isEmpty());
    }
    const adifimport::Plan cut = adifimport::plan("<call:5>F1ABC<qso_date:8>20150621<time_on:4>1100", {}, "");
    EXPECT_TRUE(cut.entries.isEmpty());
    EXPECT_EQ(adifimport::details(cut).last(),
              "La fin du fichier n'a pas de <eor> : ses derniers champs sont ignorés.");
}

TEST(AdifImport, RoundTripThroughTheExportAndTheDuplicateRule)
{
    // A log as the entry writes it at JN18DU, with accents and a DXCC entity the operator
    // refused to count, comes back line for line.
    QList<QByteArray> log;
    for (const QByteArray& line : test::reports::logLines()) {
        QsoRecord r = qsoline::parse(line);
        if (r.band == "144 Mhz") {
            r.distance = r.points = locator::distanceText("JN18DU", QString::fromLatin1(r.locator)).toLatin1();
            r.azimuth = QByteArray::number(locator::azimuthDegrees("JN18DU", QString::fromLatin1(r.locator)));
        }
        log << qsoline::build(r).value();
    }
    QsoRecord accented = qsoline::parse(log[0]);
    accented.firstName = cp("HÉLÈNE");
    accented.newPrefixFlag = QByteArray(1, logcol::kEntityRefused);
    log[0] = qsoline::build(accented).value();
    const QByteArray file = adif::file("F4XYZ", log);
    const adifimport::Plan plan = adifimport::plan(file, {}, "JN18DU");
    EXPECT_EQ(plan.linesToAdd(), log);
    // Twice, or already in the log: nothing added. Another minute, mode or band is a QSO.
    const QByteArray one = "<call:5>F5ABC<qso_date:8>20150621<time_on:4>0941<band:3>20m<mode:3>SSB<eor>";
    const struct {
        QByteArray file;
        QList<adifimport::Fate> fates;
    } cases[] = {
        {file, QList<adifimport::Fate>(log.size(), adifimport::Fate::Duplicate)},
        {QByteArray(one).replace("F5ABC", "f5abc") + one, {adifimport::Fate::Duplicate, adifimport::Fate::Duplicate}},
        {QByteArray(one).replace("0941", "0942") + QByteArray(one).replace("0941", "0942"),
         {adifimport::Fate::Added, adifimport::Fate::Duplicate}},
        {QByteArray(one).replace("SSB", "CW").replace("<mode:3>", "<mode:2>") + QByteArray(one).replace("20m", "40m"),
         {adifimport::Fate::Added, adifimport::Fate::Added}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        const adifimport::Plan again = adifimport::plan(c.file, plan.linesToAdd(), "JN18DU");
        QList<adifimport::Fate> fates;
        for (const adifimport::Entry& e : again.entries)
            fates << e.fate;
        EXPECT_EQ(fates, c.fates);
    }
}

class ImportRun : public ::testing::Test {
protected:
    test::Fixture fx;
    Logbook book{fx.services()};
    const QByteArray existing = test::qso("21/06/15", "F1AAA", "10:00", "14 Mhz", "SSB", "59");

    void SetUp() override
    {
        fx.dir.installShippedData();
        fx.dir.installStationFiles("F0ZZZ");
        fx.dir.write("F0ZZZ.log", test::crlf({existing}));
        book.setStation("F0ZZZ");
        ASSERT_TRUE(book.load().ok());
        fx.dir.write("other.adi", "<call:5>F6BBB<qso_date:8>20150621<time_on:4>1100<band:3>20m<mode:3>SSB"
                                  "<comment:8>Dpt:75  <eor><call:5>F5CCC<qso_date:8>20150621<time_on:4>0900"
                                  "<band:3>20m<mode:3>SSB<eor><call:3>F5C<mode:2>FM<eor>");
        fx.dialogs.answerFile(fx.dir.file("other.adi"));
        fx.dialogs.answer(true);
    }
};

TEST_F(ImportRun, MergesInDateOrderAndRebuildsTheMultipliers)
{
    EXPECT_EQ(adifimport::run(fx.services(), book, "JN18DU"), 2);
    const QStringList texts = fx.dialogs.texts();
    ASSERT_EQ(texts.size(), 3);
    EXPECT_TRUE(texts[1].startsWith("other.adi : 2 QSO à ajouter, 0 déjà dans le log, 1 refusé(s)\r\n\r\n"
                                    "Ajouté : F6BBB 21/06/15 11:00 14 Mhz SSB\r\n"
                                    "Ajouté : F5CCC 21/06/15 09:00 14 Mhz SSB\r\n"
                                    "Refusé (enregistrement 3) : date «  » invalide"))
        << texts[1];
    EXPECT_EQ(texts[2], "2 QSO ajouté(s) au log.");
    const QList<QByteArray> lines = LogFile::splitLines(fx.dir.read("F0ZZZ.log"));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(qsoline::field(lines[0], logcol::kCallsign), "F5CCC");
    EXPECT_EQ(lines[1], existing);
    EXPECT_EQ(qsoline::field(lines[2], logcol::kCallsign), "F6BBB");
    EXPECT_EQ(book.lines(), lines);
    EXPECT_TRUE(fx.dir.read("F0ZZZ_Departement_SSB.txt").contains("\r\n75 00001")) << "rebuilt from the log";
}

TEST_F(ImportRun, AFailedWriteLeavesTheLogAsItWas)
{
    const QMap<QString, QByteArray> before = fx.dir.files();
    fx.files.failWrites(1);
    fx.files.onlyPathsEndingWith("F0ZZZ.log");
    EXPECT_EQ(adifimport::run(fx.services(), book, "JN18DU"), 0);
    EXPECT_EQ(fx.dialogs.last(), "Le log n'a pas pu être écrit : Erreur N° 61 (disque plein). Rien n'a été "
                                 "importé.");
    EXPECT_EQ(fx.dir.files(), before);
    EXPECT_EQ(book.lines(), QList<QByteArray>({existing}));
}

} // namespace
} // namespace tv
