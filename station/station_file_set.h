#pragma once

#include "logstore/station_paths.h"
#include "platform/file_system.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tv {

class Dialogs;
class SettingsStore;

// What one operation on the station's files did, for the window to show and follow.
struct StationFileOutcome {
    enum class Status { Done, Cancelled, Failed };

    Status status = Status::Done;
    FileResult result;  // the failure that stopped the operation (Failed)
    QString failedFile; // the name (without folder) of the file that failed
    // The French text for the operator: the failure, or a note saying where a copy was kept.
    // Empty when there is nothing to say.
    QString message;
    // The names (without folder) of the copies kept so that no QSO is lost.
    QStringList keptCopies;

    bool done() const { return status == Status::Done; }
    bool cancelled() const { return status == Status::Cancelled; }
    bool failed() const { return status == Status::Failed; }
};

// The five files of a station: its log, its department files and its prefix files for SSB
// and CW, created from the templates "FXXXX.log", "FXXXX_Departement.txt" and
// "FXXXX_Prefixe.txt" of the program directory.
//
// Responsibilities:
// - create the set from the templates (all five, or only the missing ones);
// - switch session: archive the set under ".hf_" (to VHF) or ".vhf" (to HF), start afresh from
//   the templates, store the session and band position;
// - reset the set to the templates;
// - copy the set to ".bak" when the program closes.
// No operation loses a QSO:
// - every file is written through FileSystem::replace; when one write fails, the files already
//   written are put back as they were (or removed when they did not exist) and the failure is
//   returned, naming the file;
// - an archive is written and read back before the live files are replaced;
// - an archive that holds QSOs is never overwritten by a different one: it is first copied to
//   the first free numbered name (CALL.hf_1, CALL_Departement_SSB.hf_1, ...);
// - a reset first copies a log that holds QSOs, with its four other files, to CALL.raz (then
//   CALL.raz1, CALL.raz2, ... when that name is taken);
// - the backup at close is skipped as a whole when the live log cannot be read, or when it
//   holds no QSO while CALL.bak holds some, so that a good backup is never replaced by an
//   empty or unreadable log.
// Collaborations: FileSystem for every access, SettingsStore for the settings written,
// StationPaths for every name, Dialogs in the overloads that ask and show themselves.
class StationFileSet {
public:
    enum class Session { Hf, Vhf };

    StationFileSet(FileSystem& files, SettingsStore& settings, QString programDir, QString storedCallsign);

    const StationPaths& paths() const { return m_paths; }

    // Copies "FXXXX.log" to CALL.log, "FXXXX_Departement.txt" to both department files and
    // "FXXXX_Prefixe.txt" to both prefix files. Every template is read first; nothing is
    // written when one is missing.
    StationFileOutcome create();
    // Creates from the templates only the files of the set that do not exist; the others are
    // kept as they are.
    StationFileOutcome createMissing();

    // The OK/Cancel question shown before a session switch.
    static QString sessionQuestion(Session target, const QString& storedCallsign);
    // The extension of the archive a switch to `target` writes: ".vhf" going to HF, ".hf_"
    // going to VHF.
    static QString archiveExtension(Session target);
    // Archives the five files, starts the new session from the templates and stores the
    // session ("HF" / "VHF") and "bande Utilisee" = "0" in the station's section, before any
    // file: a store that refuses them changes no file, and a file that fails puts them back.
    StationFileOutcome switchSession(Session target);
    // The same after asking `sessionQuestion` (Cancelled unless OK); shows the outcome's
    // message, if any.
    StationFileOutcome switchSession(Session target, Dialogs& dialogs);

    // The OK/Cancel question shown before a reset.
    static QString resetQuestion(const QString& storedCallsign);
    // Copies the templates over the five files, after keeping a log that holds QSOs.
    StationFileOutcome reset();
    // The same after asking `resetQuestion`; shows the outcome's message, if any.
    StationFileOutcome reset(Dialogs& dialogs);

    // The reminder shown when the program closes; `programDir` is where the reports are saved.
    static QString closingReminder(const QString& programDir);
    // Copies the five files to their ".bak" names (see the class comment for when it does not).
    StationFileOutcome backup();
    // Shows the closing reminder, makes the backup and shows the outcome's message, if any.
    StationFileOutcome backupAtClose(Dialogs& dialogs, const QString& programDir);

    // The settings of a station validated in the station dialog, in this order:
    // a new station: "Setup " / "Indicatif Station", "Locator Station"; then in its section
    // "Indicatif Station", "Locator Station", "Date Automatique" (True), "Heure UTC" (True),
    // "Activite0" to "Activite4", "NB Activite" (5), "bande Utilisee", "Mode Utilise",
    // "Activite" (0), "Date JNM";
    // a known station: "Setup " / "Indicatif Station", "Locator Station", and "Date JNM".
    // Both return false when the store refused a value.
    bool writeNewStationSettings(const QString& locator, const QString& eventDate);
    bool writeKnownStationSettings(const QString& locator, const QString& eventDate);

    // The number of QSOs of a log: its lines that are not blank.
    static int qsoCount(const QByteArray& logBytes);
    // "Impossible de lire le fichier NAME : reason (erreur N° n)".
    static QString readFailureText(const QString& fileName, const FileResult& result);
    // "Impossible d'écrire le fichier NAME : reason (erreur N° n)".
    static QString writeFailureText(const QString& fileName, const FileResult& result);

private:
    struct Entry;

    QStringList liveFiles() const;
    QString sectionName() const;
    StationFileOutcome refuseUnusableCallsign() const;
    bool readTemplates(QList<QByteArray>& perFile, StationFileOutcome& out, const QString& consequence) const;
    bool readEntries(const QStringList& paths, bool missingAllowed, QList<Entry>& entries, StationFileOutcome& out,
                     const QString& consequence) const;
    QString firstFreeCopyExtension(const QString& base, bool baseItself) const;
    // Writes every entry in order; on a failure, puts back those already written.
    bool writeAll(const QList<Entry>& entries, bool verify, StationFileOutcome& out, const QString& consequence);
    StationFileOutcome createFrom(bool onlyMissing);
    // "Session" and "bande Utilisee" in the station's section; false when the store refused one.
    bool storeSession(const QString& session, const QString& band);

    FileSystem& m_files;
    SettingsStore& m_settings;
    StationPaths m_paths;
};

} // namespace tv
