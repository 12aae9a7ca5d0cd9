#include "logstore/station_paths.h"
#include "station/station_file_set.h"
#include "tests/support/fakes/failing_file_system.h"
#include "tests/support/test_support.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace tv {
namespace {

using test::crlf;
using test::qso;
using Session = StationFileSet::Session;

const QByteArray kDepartmentTemplate =
    crlf({"01 Ain                 00000000000000000", "02 Aisne               00000000000000000"});
const QByteArray kPrefixTemplate =
    crlf({"F    France            00000000000000000", "ON   Belgique          00000000000000000"});
const QByteArray kDepartmentMarked =
    crlf({"01 Ain                 01000000000000000", "02 Aisne               00000000000000000"});
const QByteArray kPrefixMarked =
    crlf({"F    France            01000000000000000", "ON   Belgique          00000000000000000"});

const QStringList kSetNames{"F0ZZZ.log", "F0ZZZ_Departement_SSB.txt", "F0ZZZ_Departement_CW.txt",
                            "F0ZZZ_Prefixe_SSB.txt", "F0ZZZ_Prefixe_CW.txt"};

QStringList withExtension(const QString& extension)
{
    return {"F0ZZZ" + extension, "F0ZZZ_Departement_SSB" + extension, "F0ZZZ_Departement_CW" + extension,
            "F0ZZZ_Prefixe_SSB" + extension, "F0ZZZ_Prefixe_CW" + extension};
}

class StationFileSetTest : public ::testing::Test {
protected:
    test::TempProgramDir dir;
    FailingFileSystem files;
    FakeSettingsStore settings;
    FakeDialogs dialogs;

    StationFileSet set(const QString& callsign = "F0ZZZ")
    {
        return StationFileSet(files, settings, dir.path(), callsign);
    }

    void writeTemplates() const
    {
        dir.write("FXXXX.log", "");
        dir.write("FXXXX_Departement.txt", kDepartmentTemplate);
        dir.write("FXXXX_Prefixe.txt", kPrefixTemplate);
    }

    // A station whose files hold the given log and marked multiplier files.
    void writeStation(const QByteArray& log) const
    {
        dir.write("F0ZZZ.log", log);
        dir.write("F0ZZZ_Departement_SSB.txt", kDepartmentMarked);
        dir.write("F0ZZZ_Departement_CW.txt", kDepartmentMarked + "cw");
        dir.write("F0ZZZ_Prefixe_SSB.txt", kPrefixMarked);
        dir.write("F0ZZZ_Prefixe_CW.txt", kPrefixMarked + "cw");
    }

    QList<QByteArray> contents(const QStringList& names) const
    {
        QList<QByteArray> out;
        for (const QString& name : names)
            out << dir.read(name);
        return out;
    }

    void expectFreshSet() const
    {
        EXPECT_EQ(contents(kSetNames),
                  (QList<QByteArray>{"", kDepartmentTemplate, kDepartmentTemplate, kPrefixTemplate, kPrefixTemplate}));
    }

    // Every file name of the directory, sorted.
    QStringList allFiles() const
    {
        QStringList names = QDir(dir.path()).entryList(QDir::Files);
        names.sort();
        return names;
    }
};

const QByteArray kHf1 = qso("21/06/15", "F5ABC", "09:41", "14 Mhz", "SSB", "59");
const QByteArray kHf2 = qso("21/06/15", "F6XYZ", "09:45", "7.0 Mhz", "CW", "62");
const QByteArray kVhf1 = qso("21/06/15", "F1AAA", "10:00", "144 Mhz", "SSB", "78", "0", "120");
const QByteArray kHf3 = qso("21/06/15", "ON4AA", "11:00", "21 Mhz", "SSB");
const QByteArray kVhf2 = qso("21/06/15", "F4BBB", "12:00", "144 Mhz", "CW", "77", "0", "35");

TEST_F(StationFileSetTest, CreateCopiesEachTemplateByteForByte)
{
    writeTemplates();
    dir.write("FXXXX.log", "template log\r\n");
    const StationFileOutcome out = set().create();
    ASSERT_TRUE(out.done()) << out.message.toStdString();
    EXPECT_TRUE(out.message.isEmpty());
    EXPECT_EQ(contents(kSetNames), (QList<QByteArray>{"template log\r\n", kDepartmentTemplate, kDepartmentTemplate,
                                                      kPrefixTemplate, kPrefixTemplate}));
    EXPECT_EQ(files.writes(), 5);
}

TEST_F(StationFileSetTest, CreateWithAMissingTemplateNamesItAndWritesNothing)
{
    const struct {
        const char* missing;
    } cases[] = {{"FXXXX.log"}, {"FXXXX_Departement.txt"}, {"FXXXX_Prefixe.txt"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.missing);
        writeTemplates();
        writeStation(crlf({kHf1}));
        QFile::remove(dir.file(c.missing));
        const QStringList before = allFiles();
        const StationFileOutcome out = set().create();
        EXPECT_TRUE(out.failed());
        EXPECT_EQ(out.result.errorNumber, 53);
        EXPECT_EQ(out.failedFile, c.missing);
        EXPECT_EQ(out.message, QString("Impossible de lire le fichier ") + c.missing +
                                   " : fichier introuvable (erreur N° 53)\r\nAucun fichier de la station F0ZZZ "
                                   "n'a été créé ni modifié.");
        EXPECT_EQ(allFiles(), before);
        EXPECT_EQ(dir.read("F0ZZZ.log"), crlf({kHf1}));
        EXPECT_EQ(dir.read("F0ZZZ_Departement_SSB.txt"), kDepartmentMarked);
    }
}

TEST_F(StationFileSetTest, CreateFailingOnAnyFilePutsBackTheFilesAlreadyWritten)
{
    for (int failing = 0; failing < 5; ++failing) {
        SCOPED_TRACE(kSetNames[failing].toStdString());
        writeTemplates();
        writeStation(crlf({kHf1}));
        QFile::remove(dir.file("F0ZZZ_Prefixe_CW.txt")); // one file of the set does not exist yet
        const QList<QByteArray> before = contents(kSetNames);
        const QStringList namesBefore = allFiles();

        files.onlyPathsEndingWith(kSetNames[failing]);
        files.failWrites(1, 61);
        const StationFileOutcome out = set().create();
        files.failWrites(0);

        EXPECT_TRUE(out.failed());
        EXPECT_EQ(out.result.errorNumber, 61);
        EXPECT_EQ(out.failedFile, kSetNames[failing]);
        EXPECT_EQ(out.message, "Impossible d'écrire le fichier " + kSetNames[failing] +
                                   " : disque plein (erreur N° 61)\r\nAucun fichier de la station F0ZZZ n'a été "
                                   "créé ni modifié.");
        EXPECT_EQ(contents(kSetNames), before);
        EXPECT_EQ(allFiles(), namesBefore) << "a file created before the failure is removed again";
    }
}

TEST_F(StationFileSetTest, SwitchArchivesStartsAfreshAndStoresTheSession)
{
    const struct {
        Session target;
        const char* extension;
        const char* stored;
    } cases[] = {{Session::Vhf, ".hf_", "VHF"}, {Session::Hf, ".vhf", "HF"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        writeTemplates();
        writeStation(crlf({kHf1, kHf2}));
        settings.setValue("JNM", "Setup F0ZZZ", "bande Utilisee", "3");
        const QList<QByteArray> before = contents(kSetNames);
        settings.clearWrites();

        dialogs.answer(true);
        const StationFileOutcome out = set().switchSession(c.target, dialogs);
        ASSERT_TRUE(out.done()) << out.message.toStdString();
        EXPECT_EQ(dialogs.texts(), QStringList{StationFileSet::sessionQuestion(c.target, "F0ZZZ")})
            << "the question only: no archive was kept aside";
        EXPECT_EQ(contents(withExtension(c.extension)), before);
        expectFreshSet();
        EXPECT_EQ(settings.writes(),
                  (QStringList{QString("JNM|Setup F0ZZZ|Session=") + c.stored, "JNM|Setup F0ZZZ|bande Utilisee=0"}));
        dialogs.clear();
        for (const QString& name : allFiles())
            QFile::remove(dir.file(name));
    }
}

TEST_F(StationFileSetTest, CancelledQuestionsChangeNothing)
{
    writeTemplates();
    writeStation(crlf({kHf1}));
    const QStringList names = allFiles();
    const QList<QByteArray> before = contents(names);
    dialogs.answer(false);
    EXPECT_TRUE(set().switchSession(Session::Vhf, dialogs).cancelled());
    dialogs.answer(false);
    EXPECT_TRUE(set().switchSession(Session::Hf, dialogs).cancelled());
    dialogs.answer(false);
    EXPECT_TRUE(set().reset(dialogs).cancelled());
    EXPECT_EQ(dialogs.texts(),
              (QStringList{"!!! ATTENTION !!! tout les fichiers de la station F0ZZZ vont etre sauvegardé en .hf_ puis "
                           "effacé , Continuer ?",
                           "!!! ATTENTION !!! tout les fichiers de la station F0ZZZ vont etre sauvegardé en .vhf puis "
                           "effacé , Continuer ?",
                           "!!! ATTENTION !!! tout les fichiers F0ZZZ vont etre effacé , Continuer ?"}));
    EXPECT_EQ(allFiles(), names);
    EXPECT_EQ(contents(names), before);
    EXPECT_TRUE(settings.writes().isEmpty());
    EXPECT_EQ(files.writes(), 0);
}

// HF -> VHF -> HF -> VHF with QSOs logged in each session: every QSO stays on disk.
TEST_F(StationFileSetTest, RepeatedSwitchesNeverLoseALog)
{
    writeTemplates();
    writeStation(crlf({kHf1, kHf2}));

    ASSERT_TRUE(set().switchSession(Session::Vhf).done());
    dir.write("F0ZZZ.log", crlf({kVhf1}));
    ASSERT_TRUE(set().switchSession(Session::Hf).done());
    dir.write("F0ZZZ.log", crlf({kHf3}));
    const StationFileOutcome out = set().switchSession(Session::Vhf);
    ASSERT_TRUE(out.done()) << out.message.toStdString();
    dir.write("F0ZZZ.log", crlf({kVhf2}));

    EXPECT_EQ(dir.read("F0ZZZ.hf_1"), crlf({kHf1, kHf2})) << "the first HF log is kept aside";
    EXPECT_EQ(dir.read("F0ZZZ_Departement_SSB.hf_1"), kDepartmentMarked);
    EXPECT_EQ(dir.read("F0ZZZ_Prefixe_CW.hf_1"), kPrefixMarked + "cw");
    EXPECT_EQ(dir.read("F0ZZZ.vhf"), crlf({kVhf1}));
    EXPECT_EQ(dir.read("F0ZZZ.hf_"), crlf({kHf3}));
    EXPECT_EQ(dir.read("F0ZZZ.log"), crlf({kVhf2}));

    EXPECT_EQ(out.keptCopies, withExtension(".hf_1"));
    EXPECT_EQ(
        out.message,
        "Le fichier F0ZZZ.hf_ contenait déjà un log de 2 QSO, différent de celui de la session qui se termine.\r\n"
        "Pour ne pas le perdre, il a été conservé avec ses fichiers Departement et Prefixe sous les noms : "
        "F0ZZZ.hf_1, F0ZZZ_Departement_SSB.hf_1, F0ZZZ_Departement_CW.hf_1, F0ZZZ_Prefixe_SSB.hf_1 et "
        "F0ZZZ_Prefixe_CW.hf_1.\r\nLe log de la session qui se termine est sauvegardé sous F0ZZZ.hf_.");
}

TEST_F(StationFileSetTest, KeptArchivesTakeTheNextFreeNumberAndEmptyArchivesAreNotKept)
{
    writeTemplates();
    writeStation("");
    dir.write("F0ZZZ.hf_", ""); // an empty archive is not worth keeping
    ASSERT_TRUE(set().switchSession(Session::Vhf).done());
    EXPECT_FALSE(dir.exists("F0ZZZ.hf_1"));

    dir.write("F0ZZZ.hf_", crlf({kHf1}));
    dir.write("F0ZZZ_Prefixe_SSB.hf_1", "taken");
    dir.write("F0ZZZ.log", crlf({kHf3}));
    const StationFileOutcome out = set().switchSession(Session::Vhf);
    ASSERT_TRUE(out.done());
    EXPECT_EQ(dir.read("F0ZZZ.hf_2"), crlf({kHf1}));
    EXPECT_EQ(dir.read("F0ZZZ_Prefixe_SSB.hf_1"), "taken");
    EXPECT_TRUE(out.message.contains("F0ZZZ.hf_2, F0ZZZ_Departement_SSB.hf_2"));

    // The same files archived again: nothing to keep aside.
    dir.write("F0ZZZ.log", crlf({kHf3}));
    for (const QString& name : {"F0ZZZ_Departement_SSB.txt", "F0ZZZ_Departement_CW.txt"})
        dir.write(name, kDepartmentTemplate);
    for (const QString& name : {"F0ZZZ_Prefixe_SSB.txt", "F0ZZZ_Prefixe_CW.txt"})
        dir.write(name, kPrefixTemplate);
    const StationFileOutcome again = set().switchSession(Session::Vhf);
    ASSERT_TRUE(again.done());
    EXPECT_TRUE(again.keptCopies.isEmpty());
    EXPECT_FALSE(dir.exists("F0ZZZ.hf_3"));
}

TEST_F(StationFileSetTest, FailedSwitchLeavesFilesAndSettingsAsTheyWere)
{
    const struct {
        const char* failing; // the end of the path whose write fails
        const char* failedFile;
    } cases[] = {
        {"F0ZZZ.hf_1", "F0ZZZ.hf_1"},                        // keeping the old archive aside
        {"_Departement_CW.hf_", "F0ZZZ_Departement_CW.hf_"}, // archiving
        {"_Prefixe_SSB.txt", "F0ZZZ_Prefixe_SSB.txt"},       // starting afresh
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failing);
        for (const QString& name : allFiles())
            QFile::remove(dir.file(name));
        writeTemplates();
        writeStation(crlf({kHf3}));
        dir.write("F0ZZZ.hf_", crlf({kHf1}));
        dir.write("F0ZZZ_Departement_SSB.hf_", "old archive");
        settings.clearWrites();
        const QList<QByteArray> live = contents(kSetNames);

        files.onlyPathsEndingWith(c.failing);
        files.failWrites(1, 61);
        const StationFileOutcome out = set().switchSession(Session::Vhf);
        files.failWrites(0);

        EXPECT_TRUE(out.failed());
        EXPECT_EQ(out.failedFile, c.failedFile);
        EXPECT_TRUE(out.message.startsWith(QString("Impossible d'écrire le fichier ") + c.failedFile +
                                           " : disque plein (erreur N° 61)\r\nLa session n'a pas été changée et "
                                           "les fichiers de la station F0ZZZ sont restés tels qu'ils étaient."))
            << out.message.toStdString();
        EXPECT_EQ(contents(kSetNames), live);
        EXPECT_TRUE(settings.writes().isEmpty());
        // The QSOs of the old archive are still on disk, under its name or a kept copy.
        const bool oldArchiveHere = dir.read("F0ZZZ.hf_") == crlf({kHf1});
        const bool keptAside = dir.read("F0ZZZ.hf_1") == crlf({kHf1});
        EXPECT_TRUE(oldArchiveHere || keptAside);
        if (!oldArchiveHere) {
            EXPECT_EQ(dir.read("F0ZZZ.hf_"), crlf({kHf3}));
            EXPECT_TRUE(out.message.contains("F0ZZZ.hf_1")) << "the operator is told where the old archive is";
        }
        if (QString(c.failing) == "_Departement_CW.hf_") {
            EXPECT_EQ(dir.read("F0ZZZ.hf_"), crlf({kHf1})) << "archive files already written are put back";
            EXPECT_EQ(dir.read("F0ZZZ_Departement_SSB.hf_"), "old archive");
            EXPECT_FALSE(dir.exists("F0ZZZ_Departement_CW.hf_"));
        }
    }
}

TEST_F(StationFileSetTest, SwitchNeedsEveryFileAndNamesTheOneMissing)
{
    writeTemplates();
    writeStation(crlf({kHf1}));
    QFile::remove(dir.file("F0ZZZ_Departement_CW.txt"));
    const StationFileOutcome out = set().switchSession(Session::Vhf);
    EXPECT_TRUE(out.failed());
    EXPECT_EQ(out.failedFile, "F0ZZZ_Departement_CW.txt");
    EXPECT_EQ(files.writes(), 0);
    EXPECT_FALSE(dir.exists("F0ZZZ.hf_"));
    EXPECT_TRUE(settings.writes().isEmpty());

    const StationFileOutcome noStation = set("FXXXX").switchSession(Session::Vhf);
    EXPECT_TRUE(noStation.failed());
    EXPECT_EQ(files.writes(), 0);
}

TEST_F(StationFileSetTest, ResetKeepsALogThatHoldsQsos)
{
    writeTemplates();
    writeStation(crlf({kHf1, kHf2}));
    dialogs.answer(true);
    const StationFileOutcome first = set().reset(dialogs);
    ASSERT_TRUE(first.done());
    expectFreshSet();
    EXPECT_EQ(dir.read("F0ZZZ.raz"), crlf({kHf1, kHf2}));
    EXPECT_EQ(dir.read("F0ZZZ_Departement_CW.raz"), kDepartmentMarked + "cw");
    EXPECT_EQ(first.keptCopies, withExtension(".raz"));
    const QString note = "Le log effacé (2 QSO) et ses fichiers Departement et Prefixe ont été conservés sous les "
                         "noms : F0ZZZ.raz, F0ZZZ_Departement_SSB.raz, F0ZZZ_Departement_CW.raz, "
                         "F0ZZZ_Prefixe_SSB.raz et F0ZZZ_Prefixe_CW.raz.";
    EXPECT_EQ(first.message, note);
    EXPECT_EQ(dialogs.texts(), (QStringList{StationFileSet::resetQuestion("F0ZZZ"), note}));

    // An empty log is not kept; the next log with QSOs takes the next number.
    ASSERT_TRUE(set().reset().done());
    EXPECT_FALSE(dir.exists("F0ZZZ.raz1"));
    dir.write("F0ZZZ.log", crlf({kHf3}));
    const StationFileOutcome third = set().reset();
    ASSERT_TRUE(third.done());
    EXPECT_EQ(dir.read("F0ZZZ.raz1"), crlf({kHf3}));
    EXPECT_EQ(dir.read("F0ZZZ.raz"), crlf({kHf1, kHf2}));
    EXPECT_TRUE(third.message.contains("F0ZZZ.raz1"));
}

TEST_F(StationFileSetTest, ResetRecreatesMissingFilesAndFailsSafely)
{
    writeTemplates();
    ASSERT_TRUE(set().reset().done()) << "a station whose files are gone gets them back";
    expectFreshSet();

    writeStation(crlf({kHf1}));
    const QList<QByteArray> before = contents(kSetNames);
    files.onlyPathsEndingWith("_Prefixe_CW.txt");
    files.failWrites(1, 70);
    const StationFileOutcome out = set().reset();
    EXPECT_TRUE(out.failed());
    EXPECT_EQ(out.message, "Impossible d'écrire le fichier F0ZZZ_Prefixe_CW.txt : permission refusée (erreur N° 70)"
                           "\r\nLa remise à zéro n'a pas été faite et les fichiers de la station F0ZZZ sont restés "
                           "tels qu'ils étaient.");
    EXPECT_EQ(contents(kSetNames), before);
}

TEST_F(StationFileSetTest, BackupFollowsTheLastStateButNeverAnEmptyOrUnreadableLog)
{
    writeStation(crlf({kHf1}));
    ASSERT_TRUE(set().backup().done());
    dir.write("F0ZZZ.log", crlf({kHf1, kHf2}));
    dir.write("F0ZZZ_Prefixe_SSB.txt", kPrefixTemplate);
    const StationFileOutcome done = set().backup();
    ASSERT_TRUE(done.done());
    EXPECT_TRUE(done.message.isEmpty());
    const QList<QByteArray> good = contents(withExtension(".bak"));
    EXPECT_EQ(good, contents(kSetNames));

    // Empty live log, backup holding QSOs: the whole backup is kept.
    writeStation("");
    StationFileOutcome out = set().backup();
    EXPECT_TRUE(out.done());
    EXPECT_EQ(out.message, "Le log F0ZZZ.log ne contient aucun QSO : la copie de sécurité précédente (F0ZZZ.bak et "
                           "ses fichiers .bak) est conservée.");
    EXPECT_EQ(contents(withExtension(".bak")), good);

    // Unreadable live log (here: gone): nothing is copied, the failure is reported.
    QFile::remove(dir.file("F0ZZZ.log"));
    out = set().backup();
    EXPECT_TRUE(out.failed());
    EXPECT_EQ(out.message, "Impossible de lire le fichier F0ZZZ.log : fichier introuvable (erreur N° 53)\r\nLa copie "
                           "de sécurité n'a pas été faite : les fichiers .bak précédents sont conservés.");
    EXPECT_EQ(contents(withExtension(".bak")), good);

    // An empty log with no earlier backup is backed up.
    QFile::remove(dir.file("F0ZZZ.bak"));
    dir.write("F0ZZZ.log", "");
    EXPECT_TRUE(set().backup().done());
    EXPECT_EQ(dir.read("F0ZZZ.bak"), "");
}

TEST_F(StationFileSetTest, BackupReportsEveryFileItCouldNotCopy)
{
    writeStation(crlf({kHf1}));
    QFile::remove(dir.file("F0ZZZ_Departement_CW.txt"));
    files.onlyPathsEndingWith("_Prefixe_SSB.bak");
    files.failWrites(1, 61);
    const StationFileOutcome out = set().backup();
    EXPECT_TRUE(out.failed());
    EXPECT_EQ(out.failedFile, "F0ZZZ_Departement_CW.txt");
    EXPECT_EQ(out.message,
              "La copie de sécurité est incomplète :\r\n"
              "Impossible de lire le fichier F0ZZZ_Departement_CW.txt : fichier introuvable (erreur N° 53)\r\n"
              "Impossible d'écrire le fichier F0ZZZ_Prefixe_SSB.bak : disque plein (erreur N° 61)");
    EXPECT_EQ(dir.read("F0ZZZ.bak"), crlf({kHf1})) << "the other files are still backed up";
    EXPECT_EQ(dir.read("F0ZZZ_Prefixe_CW.bak"), kPrefixMarked + "cw");
}

TEST_F(StationFileSetTest, ClosingShowsTheReminderThenBacksUp)
{
    writeStation(crlf({kHf1}));
    const StationFileOutcome out = set().backupAtClose(dialogs, dir.path());
    EXPECT_TRUE(out.done());
    ASSERT_EQ(dialogs.shown().size(), 1);
    const QStringList lines = dialogs.last().split("\r\n");
    ASSERT_EQ(lines.size(), 9);
    EXPECT_TRUE(lines[0].startsWith("N'oubliez pas d'envoyer au responsable"));
    EXPECT_TRUE(lines[0].endsWith(" les fichiers suivants :"));
    EXPECT_EQ(lines.mid(1, 7), (QStringList{"", "Fichier 1 : Exemple 'F0ZZZ_Recapitulatif_JNM_18_06_06.txt'",
                                            "Pour cela allez dans 'Recapitulatif JNM' puis 'Enregistrez'", "",
                                            "Fichier 2 : Exemple 'F0ZZZ_Log_JNM_18_06_06.txt'",
                                            "Pour cela allez dans 'Log JNM' puis 'Enregistrez'", ""}));
    EXPECT_EQ(lines[8], "Ces fichiers se trouvent dans le répertoire '" + QDir::toNativeSeparators(dir.path()) + "'");
    EXPECT_EQ(dir.read("F0ZZZ.bak"), crlf({kHf1}));
}

TEST_F(StationFileSetTest, QsoCountIgnoresBlankLines)
{
    const struct {
        QByteArray bytes;
        int count;
    } cases[] = {{"", 0},
                 {"\r\n\r\n", 0},
                 {"   \r\n", 0},
                 {crlf({kHf1}), 1},
                 {crlf({kHf1, "", kHf2}), 2},
                 {kHf1 + "\r\n" + kHf2, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.left(20).toStdString());
        EXPECT_EQ(StationFileSet::qsoCount(c.bytes), c.count);
    }
}

} // namespace
} // namespace tv
