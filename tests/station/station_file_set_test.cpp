#include "station/station_file_set.h"
#include "tests/support/test_support.h"

#include <QFile>
#include <gtest/gtest.h>

namespace tv {
namespace {

using test::crlf;
using test::qso;
using Session = StationFileSet::Session;

const QByteArray kDepartmentTemplate = "01 00000000000000000 Ain\r\n";
const QByteArray kPrefixTemplate = "F      00000000000000000  F      France\r\n";

QStringList withExtension(const QString& extension)
{
    QStringList names;
    for (const char* stem : {"", "_Departement_SSB", "_Departement_CW", "_Prefixe_SSB", "_Prefixe_CW"})
        names << "F0ZZZ" + QString(stem) + extension;
    return names;
}
const QStringList kSet = {"F0ZZZ.log", "F0ZZZ_Departement_SSB.txt", "F0ZZZ_Departement_CW.txt", "F0ZZZ_Prefixe_SSB.txt",
                          "F0ZZZ_Prefixe_CW.txt"};
const QList<QByteArray> kFresh = {"", kDepartmentTemplate, kDepartmentTemplate, kPrefixTemplate, kPrefixTemplate};

const QByteArray kHf1 = qso("21/06/15", "F5ABC", "09:41", "14 Mhz", "SSB", "59");
const QByteArray kHf2 = qso("21/06/15", "F6XYZ", "09:45", "7.0 Mhz", "CW", "62");
const QByteArray kVhf1 = qso("21/06/15", "F1AAA", "10:00", "144 Mhz", "SSB", "78", "0", "120");
const QByteArray kHf3 = qso("21/06/15", "ON4AA", "11:00", "21 Mhz", "SSB");
const QByteArray kVhf2 = qso("21/06/15", "F4BBB", "12:00", "144 Mhz", "CW", "77", "0", "35");

class StationFileSetTest : public ::testing::Test {
protected:
    test::TempProgramDir dir;
    FailingFileSystem files;
    FakeSettingsStore settings;
    FakeDialogs dialogs;

    StationFileSet set(const QString& callsign = "F0ZZZ") { return {files, settings, dir.path(), callsign}; }

    // Removes every file, then writes the templates and a station whose files hold `log` and
    // marked multiplier files, each with its own bytes.
    void install(const QByteArray& log) const
    {
        for (const QString& name : dir.files().keys())
            QFile::remove(dir.file(name));
        dir.write("FXXXX.log", "");
        dir.write("FXXXX_Departement.txt", kDepartmentTemplate);
        dir.write("FXXXX_Prefixe.txt", kPrefixTemplate);
        dir.write(kSet[0], log);
        for (int i = 1; i < kSet.size(); ++i)
            dir.write(kSet[i], "marked " + kSet[i].toLatin1());
    }

    QList<QByteArray> contents(const QStringList& names) const
    {
        QList<QByteArray> out;
        for (const QString& name : names)
            out << dir.read(name);
        return out;
    }
};

TEST_F(StationFileSetTest, CreateCopiesEachTemplateOrChangesNothing)
{
    install(crlf({kHf1}));
    dir.write("FXXXX.log", "template log\r\n");
    ASSERT_TRUE(set().create().done());
    EXPECT_EQ(contents(kSet), (QList<QByteArray>{"template log\r\n", kDepartmentTemplate, kDepartmentTemplate,
                                                 kPrefixTemplate, kPrefixTemplate}));
    EXPECT_EQ(files.writes(), 5);

    // A missing template, or a failed write of any file of the set (one of them not there yet).
    for (const QString& name : QStringList{"FXXXX.log", "FXXXX_Departement.txt", "FXXXX_Prefixe.txt"} + kSet) {
        SCOPED_TRACE(name.toStdString());
        install(crlf({kHf1}));
        QFile::remove(dir.file("F0ZZZ_Prefixe_CW.txt"));
        const bool missing = name.startsWith("FXXXX");
        if (missing)
            QFile::remove(dir.file(name));
        const auto before = dir.files();
        files.onlyPathsEndingWith(name);
        files.failWrites(missing ? 0 : 1, 61);
        const StationFileOutcome out = set().create();
        files.failWrites(0);
        EXPECT_EQ(out.failedFile, name);
        EXPECT_EQ(out.message,
                  (missing ? "Impossible de lire le fichier " + name + " : fichier introuvable (erreur N° 53)"
                           : "Impossible d'écrire le fichier " + name + " : disque plein (erreur N° 61)") +
                      "\r\nAucun fichier de la station F0ZZZ n'a été créé ni modifié.");
        EXPECT_EQ(dir.files(), before) << "a file created before the failure is removed again";
    }
}

TEST_F(StationFileSetTest, AnsweringNoChangesNothing)
{
    install(crlf({kHf1}));
    const auto before = dir.files();
    for (int i = 0; i < 3; ++i)
        dialogs.answer(false);
    EXPECT_TRUE(set().switchSession(Session::Vhf, dialogs).cancelled());
    EXPECT_TRUE(set().switchSession(Session::Hf, dialogs).cancelled());
    EXPECT_TRUE(set().reset(dialogs).cancelled());
    EXPECT_EQ(dialogs.texts(),
              (QStringList{"!!! ATTENTION !!! tout les fichiers de la station F0ZZZ vont etre sauvegardé en .hf_ puis "
                           "effacé , Continuer ?",
                           "!!! ATTENTION !!! tout les fichiers de la station F0ZZZ vont etre sauvegardé en .vhf puis "
                           "effacé , Continuer ?",
                           "!!! ATTENTION !!! tout les fichiers F0ZZZ vont etre effacé , Continuer ?"}));
    EXPECT_EQ(dir.files(), before);
    EXPECT_TRUE(settings.writes().isEmpty());
}

// HF -> VHF -> HF -> VHF with QSOs logged in each session: every QSO stays on disk.
TEST_F(StationFileSetTest, RepeatedSwitchesNeverLoseALog)
{
    install(crlf({kHf1, kHf2}));
    const QList<QByteArray> firstHf = contents(kSet);
    dialogs.answer(true);
    ASSERT_TRUE(set().switchSession(Session::Vhf, dialogs).done());
    EXPECT_EQ(dialogs.texts().size(), 1) << "the question only: no archive was kept aside";
    EXPECT_EQ(contents(withExtension(".hf_")), firstHf);
    EXPECT_EQ(contents(kSet), kFresh);
    EXPECT_EQ(settings.writes(), (QStringList{"JNM|Setup F0ZZZ|Session=VHF", "JNM|Setup F0ZZZ|bande Utilisee=0"}));
    dir.write("F0ZZZ.log", crlf({kVhf1}));
    ASSERT_TRUE(set().switchSession(Session::Hf).done());
    dir.write("F0ZZZ.log", crlf({kHf3}));
    const StationFileOutcome out = set().switchSession(Session::Vhf);
    ASSERT_TRUE(out.done());

    EXPECT_EQ(contents(withExtension(".hf_1")), firstHf) << "the first HF session is kept aside";
    EXPECT_EQ(dir.read("F0ZZZ.vhf"), crlf({kVhf1}));
    EXPECT_EQ(dir.read("F0ZZZ.hf_"), crlf({kHf3}));
    EXPECT_EQ(out.keptCopies, withExtension(".hf_1"));
    EXPECT_EQ(
        out.message,
        "Le fichier F0ZZZ.hf_ contenait déjà un log de 2 QSO, différent de celui de la session qui se termine.\r\n"
        "Pour ne pas le perdre, il a été conservé avec ses fichiers Departement et Prefixe sous les noms : "
        "F0ZZZ.hf_1, F0ZZZ_Departement_SSB.hf_1, F0ZZZ_Departement_CW.hf_1, F0ZZZ_Prefixe_SSB.hf_1 et "
        "F0ZZZ_Prefixe_CW.hf_1.\r\nLe log de la session qui se termine est sauvegardé sous F0ZZZ.hf_.");

    // The next free number.
    dir.write("F0ZZZ_Prefixe_SSB.hf_2", "taken");
    ASSERT_TRUE(set().switchSession(Session::Hf).done());
    dir.write("F0ZZZ.log", crlf({kHf1}));
    EXPECT_EQ(set().switchSession(Session::Vhf).keptCopies, withExtension(".hf_3"));
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
        install(crlf({kHf3}));
        dir.write("F0ZZZ.hf_", crlf({kHf1}));
        dir.write("F0ZZZ_Departement_SSB.hf_", "old archive");
        settings.clearWrites();
        const QList<QByteArray> live = contents(kSet);
        files.onlyPathsEndingWith(c.failing);
        files.failWrites(1, 61);
        const StationFileOutcome out = set().switchSession(Session::Vhf);
        files.failWrites(0);

        EXPECT_EQ(out.failedFile, c.failedFile);
        EXPECT_TRUE(out.message.startsWith(QString("Impossible d'écrire le fichier ") + c.failedFile +
                                           " : disque plein (erreur N° 61)\r\nLa session n'a pas été changée et "
                                           "les fichiers de la station F0ZZZ sont restés tels qu'ils étaient."))
            << out.message.toStdString();
        EXPECT_EQ(contents(kSet), live);
        EXPECT_EQ(settings.writes().mid(2),
                  (QStringList{"JNM|Setup F0ZZZ|Session=HF", "JNM|Setup F0ZZZ|bande Utilisee=0"}))
            << "the session stored first is put back";
        // The QSOs of the old archive are still on disk, under its name or in a kept copy named
        // to the operator.
        if (dir.read("F0ZZZ.hf_") != crlf({kHf1})) {
            EXPECT_EQ(dir.read("F0ZZZ.hf_1"), crlf({kHf1}));
            EXPECT_TRUE(out.message.contains("F0ZZZ.hf_1"));
        }
        if (QString(c.failing) == "_Departement_CW.hf_") { // archive files already written are put back
            EXPECT_EQ(dir.read("F0ZZZ_Departement_SSB.hf_"), "old archive");
            EXPECT_FALSE(dir.exists("F0ZZZ_Departement_CW.hf_"));
        }
    }
    // A missing file of the set, or no station at all: nothing is written.
    install(crlf({kHf1}));
    QFile::remove(dir.file("F0ZZZ_Departement_CW.txt"));
    const int writes = files.writes();
    EXPECT_EQ(set().switchSession(Session::Vhf).failedFile, "F0ZZZ_Departement_CW.txt");
    EXPECT_TRUE(set("FXXXX").switchSession(Session::Vhf).failed());
    EXPECT_EQ(files.writes(), writes);
}

TEST_F(StationFileSetTest, ResetKeepsALogThatHoldsQsosAndFailsSafely)
{
    install(crlf({kHf1, kHf2}));
    const QList<QByteArray> before = contents(kSet);
    dialogs.answer(true);
    ASSERT_TRUE(set().reset(dialogs).done());
    EXPECT_EQ(contents(kSet), kFresh);
    EXPECT_EQ(contents(withExtension(".raz")), before);
    const QString note = "Le log effacé (2 QSO) et ses fichiers Departement et Prefixe ont été conservés sous les "
                         "noms : F0ZZZ.raz, F0ZZZ_Departement_SSB.raz, F0ZZZ_Departement_CW.raz, "
                         "F0ZZZ_Prefixe_SSB.raz et F0ZZZ_Prefixe_CW.raz.";
    EXPECT_EQ(dialogs.texts().mid(1), QStringList{note});

    // The next log with QSOs takes the next number.
    dir.write("F0ZZZ.log", crlf({kHf3}));
    ASSERT_TRUE(set().reset().message.contains("F0ZZZ.raz1"));
    EXPECT_EQ(dir.read("F0ZZZ.raz1") + dir.read("F0ZZZ.raz"), crlf({kHf3}) + crlf({kHf1, kHf2}));

    // A failed write leaves the files as they were.
    install(crlf({kHf1}));
    const QList<QByteArray> live = contents(kSet);
    files.onlyPathsEndingWith("_Prefixe_CW.txt");
    files.failWrites(1, 70);
    EXPECT_EQ(set().reset().message,
              "Impossible d'écrire le fichier F0ZZZ_Prefixe_CW.txt : permission refusée (erreur N° 70)\r\nLa remise à "
              "zéro n'a pas été faite et les fichiers de la station F0ZZZ sont restés tels qu'ils étaient.");
    EXPECT_EQ(contents(kSet), live);
}

TEST_F(StationFileSetTest, BackupFollowsTheLastStateButNeverAnEmptyOrUnreadableLog)
{
    install(crlf({kHf1}));
    ASSERT_TRUE(set().backup().done());
    dir.write("F0ZZZ.log", crlf({kHf1, kHf2}));
    dir.write("F0ZZZ_Prefixe_SSB.txt", kPrefixTemplate);
    ASSERT_TRUE(set().backup().message.isEmpty());
    const QList<QByteArray> good = contents(kSet);
    EXPECT_EQ(contents(withExtension(".bak")), good);

    dir.write("F0ZZZ.log", "");
    EXPECT_EQ(set().backup().message, "Le log F0ZZZ.log ne contient aucun QSO : la copie de sécurité précédente "
                                      "(F0ZZZ.bak et ses fichiers .bak) est conservée.");
    EXPECT_EQ(contents(withExtension(".bak")), good);

    QFile::remove(dir.file("F0ZZZ.log"));
    EXPECT_EQ(set().backup().message, "Impossible de lire le fichier F0ZZZ.log : fichier introuvable (erreur N° 53)"
                                      "\r\nLa copie de sécurité n'a pas été faite : les fichiers .bak précédents "
                                      "sont conservés.");
    EXPECT_EQ(contents(withExtension(".bak")), good);
    EXPECT_EQ(StationFileSet::qsoCount("\r\n   \r\n" + kHf1 + "\r\n\r\n" + kHf2), 2);
}

TEST_F(StationFileSetTest, BackupReportsEveryFileItCouldNotCopy)
{
    install(crlf({kHf1}));
    QFile::remove(dir.file("F0ZZZ_Departement_CW.txt"));
    files.onlyPathsEndingWith("_Prefixe_SSB.bak");
    files.failWrites(1, 61);
    const StationFileOutcome out = set().backup();
    EXPECT_EQ(out.failedFile, "F0ZZZ_Departement_CW.txt");
    EXPECT_EQ(out.message,
              "La copie de sécurité est incomplète :\r\n"
              "Impossible de lire le fichier F0ZZZ_Departement_CW.txt : fichier introuvable (erreur N° 53)\r\n"
              "Impossible d'écrire le fichier F0ZZZ_Prefixe_SSB.bak : disque plein (erreur N° 61)");
    EXPECT_EQ(dir.read("F0ZZZ.bak") + dir.read("F0ZZZ_Prefixe_CW.bak"), crlf({kHf1}) + "marked F0ZZZ_Prefixe_CW.txt")
        << "the other files are still backed up";
}

} // namespace
} // namespace tv
