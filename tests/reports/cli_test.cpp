#include "logstore/log_file.h"
#include "platform/qt_settings_store.h"
#include "platform/settings_keys.h"
#include "reports/adif_export.h"
#include "reports/log_listing.h"
#include "tests/reports/report_fixture.h"

#include <QDir>
#include <QProcess>

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::cp;
using namespace test::reports;

struct CliRun {
    int code = -1;
    QString out;
    QString err;
};

class CliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeStation(dir);
        QtSettingsStore settings(dir.file(QStringLiteral("settings")));
        settings.setValue(keys::kJnm, keys::kSetup, keys::kIndicatifStation, QStringLiteral("F4XYZ"));
        const QString section = keys::stationSection(QStringLiteral("F4XYZ"));
        settings.setValue(keys::kJnm, section, keys::kDateJnm, QStringLiteral("21/06/15"));
        settings.setValue(keys::kJnm, section, keys::kSession, QStringLiteral("HF"));
        settings.setValue(keys::kJnm, section, keys::kNom, QStringLiteral("Dupont"));
        settings.setValue(keys::kJnm, section, keys::kCategorie, QStringLiteral("3"));
    }

    CliRun run(QStringList arguments, bool withDir = true) const
    {
        if (withDir)
            arguments = QStringList{QStringLiteral("--dir"), dir.path()} + arguments;
        QProcess process;
        process.start(QStringLiteral(TOURNEVENT_CLI), arguments);
        CliRun r;
        if (!process.waitForFinished(60000))
            return r;
        r.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        r.out = QString::fromUtf8(process.readAllStandardOutput());
        r.err = QString::fromUtf8(process.readAllStandardError());
        return r;
    }

    test::TempProgramDir dir;
};

TEST_F(CliTest, HelpInFrenchWithTheExitCodes)
{
    const CliRun r = run({QStringLiteral("--help")}, false);
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("Usage : tournevent-cli --dir CHEMIN [--call INDICATIF] COMMANDE")));
    for (const char* text : {"adif", "ctrafic", "summary", "listing", "rebuild", "score", "check", "Codes de sortie",
                             "5  écriture impossible"}) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(text)));
    }
    EXPECT_TRUE(r.err.isEmpty());
}

TEST_F(CliTest, BadCommandLinesExitWithCode2)
{
    const struct {
        QStringList arguments;
        bool withDir;
        const char* error;
    } cases[] = {
        {{}, false, "l'option --dir est obligatoire"},
        {{QStringLiteral("score")}, false, "l'option --dir est obligatoire"},
        {{}, true, "aucune commande indiquée"},
        {{QStringLiteral("print")}, true, "commande inconnue : print"},
        {{QStringLiteral("adif"), QStringLiteral("score")}, true, "une seule commande à la fois (adif, score)"},
        {{QStringLiteral("--verbose"), QStringLiteral("adif")}, true, "option inconnue : --verbose"},
        {{QStringLiteral("adif"), QStringLiteral("--call")}, true, "l'option --call demande un indicatif"},
        {{QStringLiteral("--dir")}, false, "l'option --dir demande un répertoire"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CliRun r = run(c.arguments, c.withDir);
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("tournevent-cli : ") + QString::fromUtf8(c.error)))
            << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST_F(CliTest, StationProblemsExitWithCode3Or4)
{
    CliRun r = run({QStringLiteral("--dir"), dir.file(QStringLiteral("nowhere")), QStringLiteral("score")}, false);
    EXPECT_EQ(r.code, 4);
    EXPECT_TRUE(r.err.contains(QStringLiteral("n'existe pas")));

    r = run({QStringLiteral("--call"), QStringLiteral("../F4XYZ"), QStringLiteral("adif")});
    EXPECT_EQ(r.code, 3);
    EXPECT_FALSE(dir.exists(QStringLiteral("F4XYZ.adi")));

    QtSettingsStore(dir.file(QStringLiteral("settings")))
        .setValue(keys::kJnm, keys::kSetup, keys::kIndicatifStation, keys::kNoCallsign);
    r = run({QStringLiteral("score")});
    EXPECT_EQ(r.code, 3);
    EXPECT_TRUE(r.err.contains(QStringLiteral("indiquez-la avec --call INDICATIF")));

    r = run({QStringLiteral("--call"), QStringLiteral("F4XYZ"), QStringLiteral("score")});
    EXPECT_EQ(r.code, 0) << "--call names the station when the settings hold none";
}

TEST_F(CliTest, ReportsOfAGoodLog)
{
    CliRun r = run({QStringLiteral("adif")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("Fichier ADIF écrit : F4XYZ.adi (7 QSO)\n"));
    EXPECT_EQ(dir.read(QStringLiteral("F4XYZ.adi")), adif::file(QStringLiteral("F4XYZ"), logLines()));

    r = run({QStringLiteral("ctrafic")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, QStringLiteral("le fichier F4XYZ.log a été copié en F4XYZ.ctf\n"));
    EXPECT_EQ(dir.read(QStringLiteral("F4XYZ.ctf")), dir.read(QStringLiteral("F4XYZ.log")));

    r = run({QStringLiteral("listing")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, QStringLiteral("Le Log de F4XYZ a été sauvegardé sous le nom : F4XYZ_Log_JNM_21_06_15.txt\n"));
    EXPECT_EQ(dir.read(QStringLiteral("F4XYZ_Log_JNM_21_06_15.txt")),
              LogFile::joinLines(listing::fileLines("F4XYZ", "21/06/15", logLines())));

    r = run({QStringLiteral("summary")});
    EXPECT_EQ(r.code, 0);
    const QByteArray sheet = dir.read(QStringLiteral("F4XYZ_Recapitulatif_JNM_21_06_15.txt"));
    EXPECT_TRUE(sheet.contains("     NOM : Dupont     "));
    EXPECT_TRUE(sheet.contains(cp("     Categorie : Opérateur individuel\r\n     Session : bande HF\r\n\r\n")));
    EXPECT_TRUE(sheet.contains(QByteArray(20, ' ') + "TOTAL DES POINTS : 407\r\n"));

    r = run({QStringLiteral("score")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, QStringLiteral("Station F4XYZ\n"
                                    "Session HF : 407 points (5 QSO, points QSO 11, multiplicateurs 37 : moulins 30, "
                                    "départements 3, DXCC 4)\n"
                                    "Session VHF : 3682 points (2 QSO, points QSO 263, multiplicateurs 14 : moulins "
                                    "10, départements 2, DXCC 2)\n"));

    r = run({QStringLiteral("check")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, QStringLiteral("F4XYZ.log : 7 ligne(s), toutes bien formées\n"));
}

TEST_F(CliTest, TheVhfSessionsReportsLeaveTheHfOnesAndTheSheetKeepsTheHfRows)
{
    const QStringList commands = {QStringLiteral("adif"), QStringLiteral("ctrafic"), QStringLiteral("listing"),
                                  QStringLiteral("summary")};
    const QStringList hfFiles = {QStringLiteral("F4XYZ.adi"), QStringLiteral("F4XYZ.ctf"),
                                 QStringLiteral("F4XYZ_Log_JNM_21_06_15.txt")};
    const QString sheetName = QStringLiteral("F4XYZ_Recapitulatif_JNM_21_06_15.txt");
    const auto gridOf = [](const QByteArray& sheet) { return LogFile::splitLines(sheet).mid(13, 11); };

    writeSwitchedStation(dir, true);
    for (const QString& command : commands)
        ASSERT_EQ(run({command}).code, 0) << command.toStdString();
    QList<QByteArray> hfBytes;
    for (const QString& name : hfFiles)
        hfBytes << dir.read(name);
    const QByteArray hfSheet = dir.read(sheetName);

    // The switch to VHF: the HF files go to the ".hf_" archive, the VHF QSOs are live.
    test::TempProgramDir vhfDir;
    writeSwitchedStation(vhfDir, false);
    for (const char* name : {"F4XYZ.log", "F4XYZ.hf_", "F4XYZ_Departement_SSB.txt", "F4XYZ_Departement_CW.txt",
                             "F4XYZ_Prefixe_SSB.txt", "F4XYZ_Prefixe_CW.txt"})
        dir.write(QString::fromLatin1(name), vhfDir.read(QString::fromLatin1(name)));
    QtSettingsStore(dir.file(QStringLiteral("settings")))
        .setValue(keys::kJnm, keys::stationSection(QStringLiteral("F4XYZ")), keys::kSession, QStringLiteral("VHF"));
    for (const QString& command : commands)
        ASSERT_EQ(run({command}).code, 0) << command.toStdString();

    for (int i = 0; i < hfFiles.size(); ++i)
        EXPECT_EQ(dir.read(hfFiles[i]), hfBytes[i]) << hfFiles[i].toStdString();
    EXPECT_EQ(dir.read(QStringLiteral("F4XYZ_VHF.adi")), adif::file(QStringLiteral("F4XYZ"), sessionLines(false)));
    EXPECT_EQ(dir.read(QStringLiteral("F4XYZ_VHF.ctf")), dir.read(QStringLiteral("F4XYZ.log")));
    EXPECT_TRUE(dir.exists(QStringLiteral("F4XYZ_Log_JNM_VHF_21_06_15.txt")));
    const QByteArray vhfSheet = dir.read(sheetName);
    ASSERT_EQ(gridOf(hfSheet).size(), 11);
    EXPECT_EQ(gridOf(vhfSheet), gridOf(hfSheet)) << "the sheet of either session is the whole day";
    EXPECT_TRUE(vhfSheet.contains("     Session : bande VHF\r\n"));
    EXPECT_TRUE(vhfSheet.contains(QByteArray(20, ' ') + "TOTAL DES POINTS : 3682\r\n")) << "the VHF totals";
}

TEST_F(CliTest, DamagedLogIsReportedLineByLine)
{
    QList<QByteArray> log = logLines();
    log.insert(2, "short line");
    QByteArray noMarker = logLines()[0];
    noMarker[198] = ' ';
    log << noMarker;
    QByteArray badDate = logLines()[0];
    badDate.replace(0, 8, "21-06-15");
    log << badDate;
    // A form the entry takes but a day and an hour it refuses.
    QByteArray noSuchTime = logLines()[0];
    noSuchTime.replace(0, 8, "31/06/15").replace(22, 5, "24:30");
    log << noSuchTime;
    dir.write(QStringLiteral("F4XYZ.log"), LogFile::joinLines(log));

    const CliRun r = run({QStringLiteral("check")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, QStringLiteral("Ligne 3 mal formée : longueur 10 au lieu de 199\n"
                                    "Ligne 9 mal formée : pas de « * » en colonne 199\n"
                                    "Ligne 10 mal formée : date ou heure de début illisible\n"
                                    "Ligne 11 mal formée : date ou heure de début illisible\n"
                                    "F4XYZ.log : 4 ligne(s) mal formée(s) sur 11\n"));
    // The exports still take every line as it is, leaving empty what they cannot read.
    EXPECT_EQ(run({QStringLiteral("adif")}).code, 0);
    const QByteArray adi = dir.read(QStringLiteral("F4XYZ.adi"));
    EXPECT_EQ(adi.count("<eor>"), 11);
    EXPECT_TRUE(adi.contains("<qso_date:0><time_on:0><time_off:4>0943"));
}

TEST_F(CliTest, MissingFilesExitWithCode4)
{
    QFile::remove(dir.file(QStringLiteral("F4XYZ_Departement_CW.txt")));
    CliRun r = run({QStringLiteral("score")});
    EXPECT_EQ(r.code, 4);
    EXPECT_EQ(r.err, QStringLiteral("Le fichier F4XYZ_Departement_CW.txt est introuvable.\n"));
    EXPECT_EQ(run({QStringLiteral("summary")}).code, 4);
    EXPECT_FALSE(dir.exists(QStringLiteral("F4XYZ_Recapitulatif_JNM_21_06_15.txt")));

    QFile::remove(dir.file(QStringLiteral("F4XYZ.log")));
    for (const char* command : {"adif", "ctrafic", "listing", "check"}) {
        SCOPED_TRACE(command);
        r = run({QString::fromLatin1(command)});
        EXPECT_EQ(r.code, 4);
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("Le fichier F4XYZ.log est introuvable"))) << r.err.toStdString();
    }
}

TEST_F(CliTest, FailedWriteExitsWithCode5AndKeepsWhatWasThere)
{
    // A folder where the file should go: the atomic replace cannot put the file there.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("F4XYZ.adi")));
    const CliRun r = run({QStringLiteral("adif")});
    EXPECT_EQ(r.code, 5);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("Erreur N° "))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("F4XYZ.adi n'a pas pu être écrit")));
    EXPECT_TRUE(QFileInfo(dir.file(QStringLiteral("F4XYZ.adi"))).isDir());

    QtSettingsStore(dir.file(QStringLiteral("settings")))
        .setValue(keys::kJnm, keys::stationSection(QStringLiteral("F4XYZ")), keys::kDateJnm, QStringLiteral("1/6/15"));
    const CliRun badDate = run({QStringLiteral("listing")});
    EXPECT_EQ(badDate.code, 3);
    EXPECT_TRUE(badDate.err.startsWith(QStringLiteral("La date de la JNM « 1/6/15 »")));
}

TEST_F(CliTest, CallsignOptionTakesTheStoredForm)
{
    dir.write(QStringLiteral("F0ZZZ_P.log"), logLines()[0] + "\r\n");
    const CliRun r = run({QStringLiteral("--call=f0zzz/p"), QStringLiteral("ctrafic")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, QStringLiteral("le fichier F0ZZZ_P.log a été copié en F0ZZZ_P.ctf\n"));
    EXPECT_EQ(dir.read(QStringLiteral("F0ZZZ_P.ctf")), logLines()[0] + "\r\n");
}

TEST_F(CliTest, RebuildMarksTheMultiplierFilesFromTheLog)
{
    writeTemplates(dir);
    const CliRun r = run({QStringLiteral("rebuild")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("Fichiers reconstruits à partir du log :\n")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("  F4XYZ_Departement_SSB.txt\n")));
    const QList<QByteArray> departments = LogFile::splitLines(dir.read(QStringLiteral("F4XYZ_Departement_SSB.txt")));
    ASSERT_EQ(departments.size(), 4);
    EXPECT_EQ(departments[2], department("75", marks({B14}), "Paris")) << "F5ABC, 14 Mhz SSB, department 75";
    EXPECT_EQ(departments[1], department("59", marks({B144}), "Nord"));

    QFile::remove(dir.file(QStringLiteral("FXXXX_Prefixe.txt")));
    const CliRun missing = run({QStringLiteral("rebuild")});
    EXPECT_EQ(missing.code, 4);
    EXPECT_EQ(missing.err, QStringLiteral("Le fichier FXXXX_Prefixe.txt est introuvable.\n"));
}

} // namespace
} // namespace tv
