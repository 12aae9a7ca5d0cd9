#include "platform/qt_settings_store.h"
#include "platform/settings_keys.h"
#include "reports/adif_export.h"
#include "reports/cli_commands.h"
#include "tests/reports/report_fixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace tv {
namespace {

using namespace test::reports;

struct CliRun {
    int code = -1; // -1: still running after a minute, -2: crashed
    QString out, err;
};

class CliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeStation(dir);
        setting(keys::kSetup, keys::kIndicatifStation, "F4XYZ");
        const QStringList station[] = {
            {keys::kDateJnm, "21/06/15"}, {keys::kSession, "HF"}, {keys::kNom, "Dupont"}, {keys::kCategorie, "3"}};
        for (const QStringList& kv : station)
            setting(section, kv[0], kv[1]);
    }
    void setting(const QString& group, const QString& key, const QString& value) const
    {
        QtSettingsStore(dir.file("settings")).setValue(keys::kJnm, group, key, value);
    }
    // Runs the command line, with "--dir <program directory>" first unless told otherwise.
    CliRun run(QStringList arguments, bool withDir = true, const QString& standardOutput = {}) const
    {
        QProcess process;
        if (!standardOutput.isEmpty())
            process.setStandardOutputFile(standardOutput);
        process.start(QStringLiteral(TOURNEVENT_CLI),
                      withDir ? QStringList{"--dir", dir.path()} + arguments : arguments);
        if (!process.waitForFinished(60000))
            return {};
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2,
                QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
    }
    test::TempProgramDir dir;
    const QString section = keys::stationSection("F4XYZ");
};

TEST_F(CliTest, ExitCodesAndTheirMessages)
{
    dir.write("F0ZZZ_P.log", logLines()[0] + "\r\n");
    const struct {
        QStringList arguments;
        bool withDir;
        int code;
        const char* out; // the start of the standard output; "" for none
        const char* err; // a part of the error output; "" for none, nullptr unchecked
    } cases[] = {{{"--help"}, false, 0, "Usage : tournevent-cli [--dir CHEMIN] [--call INDICATIF] COMMANDE", ""},
                 {{"--call=f0zzz/p", "ctrafic"}, true, 0, "le fichier F0ZZZ_P.log a été copié en F0ZZZ_P.ctf\n", ""},
                 {{"check"}, true, 0, "F4XYZ.log : 7 ligne(s), toutes bien formées\n", ""},
                 {{}, false, 2, "", "tournevent-cli : aucune commande indiquée"}, // --dir defaults to the program's own
                 {{}, true, 2, "", "tournevent-cli : aucune commande indiquée"},
                 {{"print"}, true, 2, "", "tournevent-cli : commande inconnue : print"},
                 {{"adif", "score"}, true, 2, "", "tournevent-cli : une seule commande à la fois (adif, score)"},
                 {{"--verbose", "adif"}, true, 2, "", "tournevent-cli : option inconnue : --verbose"},
                 {{"adif", "--call"}, true, 2, "", "tournevent-cli : l'option --call demande un indicatif"},
                 {{"--call", "../F4XYZ", "adif"}, true, 3, "", nullptr},
                 {{"--dir", dir.file("nowhere"), "score"}, false, 4, "", "n'existe pas"},
                 {{"--call", "F6AAA", "listing"}, true, 4, "", "Le fichier F6AAA.log est introuvable"},
                 {{"lookup"}, true, 2, "", "tournevent-cli : la commande lookup demande au moins un indicatif"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CliRun r = run(c.arguments, c.withDir);
        EXPECT_EQ(r.code, c.code);
        EXPECT_TRUE(*c.out ? r.out.startsWith(QString::fromUtf8(c.out)) : r.out.isEmpty()) << r.out;
        if (c.err)
            EXPECT_TRUE(*c.err ? r.err.contains(QString::fromUtf8(c.err)) : r.err.isEmpty()) << r.err;
    }
    EXPECT_EQ(dir.read("F0ZZZ_P.ctf"), logLines()[0] + "\r\n");
    EXPECT_FALSE(dir.exists("F4XYZ.adi")) << "a refused callsign writes nothing";
    setting(keys::kSetup, keys::kIndicatifStation, keys::kNoCallsign);
    EXPECT_TRUE(run({"score"}).err.contains("indiquez-la avec --call INDICATIF"));
    EXPECT_EQ(run({"--call", "F4XYZ", "score"}).code, 0) << "--call names the station when the settings hold none";
}

TEST_F(CliTest, TheStationComesOnlyFromReadableSettingsAndOutputThatCannotBeWrittenFails)
{
    setting(keys::kSetup, keys::kIndicatifStation, "f4xyz");
    const QByteArray settings = dir.read("settings/JNM.ini");
    const struct {
        QStringList arguments;
        QByteArray settingsFile;
        int code;
        const char* err; // a part of the error output; "" for none
    } cases[] = {{{"check"}, settings, 0, ""},
                 {{"--call", "fxxxx", "adif"}, settings, 3, "FXXXX est l'indicatif des modèles"},
                 {{"score"}, settings + "[Setup%20F4XYZ\n", 3, "JNM.ini sont endommagés"},
                 {{"--call", "F4XYZ", "check"}, settings + "[Setup%20F4XYZ\n", 3, "JNM.ini sont endommagés"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        dir.write("settings/JNM.ini", c.settingsFile);
        const CliRun r = run(c.arguments);
        EXPECT_EQ(r.code, c.code);
        EXPECT_TRUE(*c.err ? r.err.contains(QString::fromUtf8(c.err)) : r.err.isEmpty()) << r.err.toStdString();
    }
    EXPECT_FALSE(dir.exists("FXXXX.adi"));
    dir.write("settings/JNM.ini", settings);
    if (QFile::exists("/dev/full")) {
        const CliRun full = run({"check"}, true, "/dev/full");
        EXPECT_EQ(full.code, 5);
        EXPECT_EQ(full.err, "tournevent-cli : la sortie n'a pas pu être écrite.\n");
    }
}

TEST_F(CliTest, LeftoversAnInterruptedRebuildAndCrOnlyLineEnds)
{
    writeTemplates(dir);
    ASSERT_EQ(run({"rebuild"}).code, 0);
    const CliRun reference = run({"score"});
    ASSERT_EQ(reference.code, 0) << reference.err.toStdString();
    // Stopped half way: new prefix files beside old department files, the marker, a temporary file.
    dir.write("F4XYZ_Departement_SSB.txt", dir.read("FXXXX_Departement.txt"));
    dir.write("F4XYZ_Reconstruction.txt", "");
    dir.write("F4XYZ.log.tvtmp-a8Kx2Q", "half");
    dir.write("notes.txt.backup", "mine");
    const CliRun resumed = run({"score"});
    EXPECT_EQ(resumed.code, 0);
    EXPECT_EQ(resumed.out, reference.out);
    EXPECT_TRUE(resumed.err.contains("avait été interrompue : elle a été refaite")) << resumed.err.toStdString();
    EXPECT_FALSE(dir.exists("F4XYZ_Reconstruction.txt") || dir.exists("F4XYZ.log.tvtmp-a8Kx2Q"));
    EXPECT_EQ(dir.read("notes.txt.backup"), "mine");
    // Lines ended by CR alone are the same lines.
    QByteArray crOnly = dir.read("F4XYZ.log");
    dir.write("F4XYZ.log", crOnly.replace("\r\n", "\r"));
    EXPECT_EQ(run({"score"}).out, reference.out);
    EXPECT_EQ(run({"check"}).out, "F4XYZ.log : 7 ligne(s), toutes bien formées\n");
}

TEST_F(CliTest, LookupGivesEachCallsignsEntityWithoutAStation)
{
    setting(keys::kSetup, keys::kIndicatifStation, keys::kNoCallsign);
    QFile shipped(QDir(TOURNEVENT_SHIPPED_DATA_DIR).filePath("FXXXX_Prefixe.txt"));
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    dir.write("FXXXX_Prefixe.txt", shipped.readAll());
    const CliRun r = run({"lookup", "on4xxx/f", "KP3AA", "DL1ABC/MM", "QQ1QQ"});
    EXPECT_EQ(r.code, 0) << r.err;
    const QStringList lines = r.out.split('\n');
    ASSERT_EQ(lines.size(), 6) << r.out;
    EXPECT_TRUE(lines[0].startsWith(QString::fromUtf8("Entités DXCC d'après "))) << lines[0];
    EXPECT_EQ(lines.mid(1),
              QStringList({QString::fromUtf8("ON4XXX/F      F      France (française)"),
                           QString::fromUtf8("KP3AA         KP4    Puerto Rico (étrangère)"),
                           QString::fromUtf8("DL1ABC/MM     aucune entité (mobile maritime ou aéronautique)"),
                           "QQ1QQ         Prefixe Unknown", ""}));
}

TEST(CommandArgsTest, OptionsFlagsOperandsAndWhatIsLeftOver)
{
    cli::CommandArgs args({"--band", "14 Mhz", "--mills", "--qso=3", "--qso", "5-7", "F5ABC", "--pdf"});
    EXPECT_EQ(args.value("--band"), "14 Mhz");
    EXPECT_TRUE(args.flag("--mills"));
    EXPECT_FALSE(args.flag("--french"));
    EXPECT_EQ(args.values("--qso"), QStringList({"3", "5-7"}));
    EXPECT_EQ(args.operands(), QStringList{"F5ABC"});
    EXPECT_EQ(args.finish(), "option inconnue : --pdf");
    EXPECT_EQ(args.value("--pdf"), "");
    EXPECT_EQ(args.finish(), "l'option --pdf demande une valeur");
    EXPECT_EQ(cli::CommandArgs({"extra"}).finish(), "argument en trop : extra");
}

TEST_F(CliTest, ReportsOfEitherSession)
{
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"HF", "adif", "Fichier ADIF écrit : F4XYZ.adi (7 QSO)\n"},
        {"HF", "ctrafic", "le fichier F4XYZ.log a été copié en F4XYZ.ctf\n"},
        {"HF", "listing", "Le Log de F4XYZ a été sauvegardé sous le nom : F4XYZ_Log_JNM_21_06_15.txt\n"},
        {"HF", "score",
         "Station F4XYZ\nSession HF : 407 points (5 QSO, points QSO 11, multiplicateurs 37 : moulins "
         "30, départements 3, DXCC 4)\nSession VHF : 3682 points (2 QSO, points QSO 263, "
         "multiplicateurs 14 : moulins 10, départements 2, DXCC 2)\n"},
        {"VHF", "adif", "Fichier ADIF écrit : F4XYZ_VHF.adi (2 QSO)\n"},
        {"VHF", "ctrafic", "le fichier F4XYZ.log a été copié en F4XYZ_VHF.ctf\n"},
        {"VHF", "listing", "Le Log de F4XYZ a été sauvegardé sous le nom : F4XYZ_Log_JNM_VHF_21_06_15.txt\n"}};
    for (const auto& [session, command, out] : cases) {
        SCOPED_TRACE(command);
        if (QLatin1String(session) == "VHF" && !dir.exists("F4XYZ.hf_")) {
            EXPECT_EQ(dir.read("F4XYZ.adi"), adif::file("F4XYZ", logLines()));
            writeSwitchedStation(dir, false); // the HF QSOs archived, the VHF ones live
            setting(section, keys::kSession, "VHF");
        }
        const CliRun r = run({command});
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.out, QString::fromUtf8(out));
    }
    EXPECT_EQ(run({"summary"}).code, 0);
    const QByteArray sheet = dir.read("F4XYZ_Recapitulatif_JNM_21_06_15.txt");
    EXPECT_TRUE(sheet.contains("     NOM : Dupont     "));
    EXPECT_TRUE(sheet.contains("     14 Mhz SSB      1       3       0       1       1       \r\n"))
        << "the HF archive";
    EXPECT_TRUE(sheet.contains(QByteArray(20, ' ') + "TOTAL DES POINTS : 3682\r\n")) << "the VHF totals";
}

TEST_F(CliTest, DamagedLogMissingOrUnwritableFilesAndABadEventDate)
{
    const QByteArray good = logLines()[0];
    QByteArray noMarker = good, badDate = good, noSuchTime = good; // the last: a day and an hour the entry refuses
    QByteArray negative = good, tooFar = good;
    noMarker[198] = ' ';
    badDate.replace(0, 8, "21-06-15");
    noSuchTime.replace(0, 8, "31/06/15").replace(22, 5, "24:30");
    negative.replace(154, 5, "-9e99");
    tooFar.replace(154, 5, "40000");
    QList<QByteArray> log = logLines();
    log.insert(2, "short line");
    dir.write("F4XYZ.log", LogFile::joinLines(log << noMarker << badDate << noSuchTime << negative << tooFar));
    const CliRun checked = run({"check"});
    EXPECT_EQ(checked.code, 1);
    EXPECT_EQ(checked.out, "Ligne 3 mal formée : longueur 10 au lieu de 199\n"
                           "Ligne 9 mal formée : pas de « * » en colonne 199\n"
                           "Ligne 10 mal formée : date ou heure de début illisible\n"
                           "Ligne 11 mal formée : date ou heure de début illisible\n"
                           "Ligne 12 mal formée : distance « -9e99 » est négative\n"
                           "Ligne 13 mal formée : distance « 40000 » dépasse la moitié du tour de la Terre\n"
                           "F4XYZ.log : 6 ligne(s) mal formée(s) sur 13\n");
    EXPECT_EQ(run({"adif"}).out, "Fichier ADIF écrit : F4XYZ.adi (13 QSO)\n") << "every line is exported";
    // Unwritable or missing files, a bad event date.
    // A folder where the export goes: the atomic replace cannot put the file there.
    ASSERT_TRUE(QFile::remove(dir.file("F4XYZ.adi")) && QDir(dir.path()).mkdir("F4XYZ.adi"));
    CliRun r = run({"adif"});
    EXPECT_EQ(r.code, 5);
    EXPECT_TRUE(r.err.startsWith("Erreur N° ") && r.err.contains("F4XYZ.adi n'a pas pu être écrit")) << r.err;
    QFile::remove(dir.file("F4XYZ_Departement_CW.txt"));
    r = run({"score"});
    EXPECT_EQ(r.code, 4);
    EXPECT_EQ(r.err, "Le fichier F4XYZ_Departement_CW.txt est introuvable.\n");
    EXPECT_EQ(run({"summary"}).code, 4);
    EXPECT_FALSE(dir.exists("F4XYZ_Recapitulatif_JNM_21_06_15.txt"));
    writeTemplates(dir);
    r = run({"rebuild"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(dir.exists("F4XYZ_Departement_CW.txt")) << "rebuilt from the templates";
    setting(section, keys::kDateJnm, "1/6/15");
    r = run({"listing"});
    EXPECT_EQ(r.code, 3);
    EXPECT_TRUE(r.err.startsWith("La date de la JNM « 1/6/15 »"));
}

TEST_F(CliTest, EdiFilesAndAdifImport)
{
    writeTemplates(dir);
    setting(keys::kSetup, keys::kLocatorStation, "JN18DU");
    dir.write("F4XYZ.vhf", LogFile::joinLines(sessionLines(false))); // the HF session's VHF archive
    ASSERT_TRUE(QDir(dir.path()).mkdir("edi"));
    const QByteArray log = dir.read("F4XYZ.log");
    dir.write("same.adi", adif::file("F4XYZ", logLines()));
    dir.write("new.adi", "<call:5>F6NEW<qso_date:8>20150621<time_on:4>0900<band:3>40m<mode:2>CW<eor>"
                         "<call:5>F5ABC<qso_date:8>20150621<time_on:4>0941<band:3>20m<mode:3>SSB<eor>");
    const struct {
        QStringList arguments;
        int code;
        const char* out; // the end of the standard output; "" for none
        const char* err; // a part of the error output; "" for none
    } cases[] = {
        {{"edi"}, 2, "", "la commande edi demande --out DOSSIER"},
        {{"edi", "--out", dir.file("nowhere")}, 2, "", "n'existe pas"},
        {{"edi", "--out", dir.file("edi")}, 0, "Fichier(s) EDI écrit(s) : F4XYZ_144.edi (2 QSO)\n", ""},
        {{"import"}, 2, "", "la commande import demande un fichier ADIF, un seul"},
        {{"import", dir.file("none.adi")}, 4, "", "none.adi est introuvable"},
        {{"import", dir.file("same.adi")}, 0, "0 QSO à ajouter, 7 déjà dans le log, 0 refusé(s)\n", ""},
        {{"import", dir.file("new.adi"), "--dry-run"},
         0,
         "Ajouté : F6NEW 21/06/15 09:00 7.0 Mhz CW\nDéjà dans le log : F5ABC 21/06/15 09:41 14 Mhz SSB\n"
         "1 QSO à ajouter, 1 déjà dans le log, 0 refusé(s)\n",
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CliRun r = run(c.arguments);
        EXPECT_EQ(r.code, c.code);
        EXPECT_TRUE(*c.out ? r.out.endsWith(QString::fromUtf8(c.out)) : r.out.isEmpty()) << r.out;
        EXPECT_TRUE(*c.err ? r.err.contains(QString::fromUtf8(c.err)) : r.err.isEmpty()) << r.err;
    }
    EXPECT_TRUE(dir.read("edi/F4XYZ_144.edi").contains("\r\n[QSORecords;2]\r\n150621;1100;F1ABC;1;59;;55;;59;JO10AB;"));
    EXPECT_EQ(dir.read("F4XYZ.log"), log) << "nothing added by a dry run or a file already in the log";

    const CliRun added = run({"import", dir.file("new.adi")});
    EXPECT_EQ(added.code, 0) << added.err;
    EXPECT_TRUE(added.out.endsWith("1 QSO ajouté(s) au log F4XYZ.log.\n")) << added.out;
    const QList<QByteArray> lines = LogFile::splitLines(dir.read("F4XYZ.log"));
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(qsoline::field(lines[0], logcol::kCallsign), "F6NEW") << "placed in date order";
    EXPECT_TRUE(
        run({"import", dir.file("new.adi")}).out.endsWith("0 QSO à ajouter, 2 déjà dans le log, 0 refusé(s)\n"));
}

} // namespace
} // namespace tv
