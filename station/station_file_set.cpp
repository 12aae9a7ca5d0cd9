#include "station/station_file_set.h"

#include "logstore/log_file.h"
#include "platform/dialogs.h"
#include "platform/settings_keys.h"
#include "platform/settings_store.h"

#include <QDir>

#include <utility>

namespace tv {

// One file of an operation: what it held before (if it existed) and what is written to it.
struct StationFileSet::Entry {
    QString path;
    bool exists = false;
    QByteArray before;
    QByteArray after;
};

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// "a, b, c et d".
QString listed(const QStringList& names)
{
    if (names.size() <= 1)
        return names.join(QString());
    return names.mid(0, names.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" et ") + names.last();
}

QString failureText(const QString& verb, const QString& fileName, const FileResult& result)
{
    return QStringLiteral("Impossible ") + verb + QStringLiteral(" le fichier ") + fileName + QStringLiteral(" : ") +
           result.reason() + QStringLiteral(" (erreur N° ") + QString::number(result.errorNumber) + QLatin1Char(')');
}

StationFileOutcome failedWith(const FileResult& result, const QString& path, const QString& message)
{
    StationFileOutcome out;
    out.status = StationFileOutcome::Status::Failed;
    out.result = result;
    out.failedFile = StationPaths::fileName(path);
    out.message = message;
    return out;
}

} // namespace

StationFileSet::StationFileSet(FileSystem& files, SettingsStore& settings, QString programDir, QString storedCallsign)
    : m_files(files), m_settings(settings), m_paths(std::move(programDir), std::move(storedCallsign))
{
}

QString StationFileSet::readFailureText(const QString& fileName, const FileResult& result)
{
    return failureText(QStringLiteral("de lire"), fileName, result);
}

QString StationFileSet::writeFailureText(const QString& fileName, const FileResult& result)
{
    return failureText(QStringLiteral("d'écrire"), fileName, result);
}

int StationFileSet::qsoCount(const QByteArray& logBytes)
{
    int count = 0;
    for (const QByteArray& line : LogFile::splitLines(logBytes)) {
        if (!line.trimmed().isEmpty())
            ++count;
    }
    return count;
}

QString StationFileSet::sectionName() const
{
    return keys::stationSection(m_paths.callsign());
}

QStringList StationFileSet::liveFiles() const
{
    QStringList paths = m_paths.fileSet();
    paths[0] = m_paths.existingLog(m_files);
    return paths;
}

// The files of "FXXXX" are the templates themselves, and a callsign that cannot name a file
// names no station: no operation runs for them.
StationFileOutcome StationFileSet::refuseUnusableCallsign() const
{
    const QString& call = m_paths.callsign();
    if (call != keys::kNoCallsign && m_paths.isValid())
        return {};
    StationFileOutcome out;
    out.status = StationFileOutcome::Status::Failed;
    out.result = FileResult::failure(FileResult::kAccessError, call);
    out.message = QStringLiteral("Aucune station n'est définie (indicatif « ") + call +
                  QStringLiteral(" ») : entrez d'abord l'indicatif de la station dans le menu Station.");
    return out;
}

bool StationFileSet::readEntries(const QStringList& paths, bool missingAllowed, QList<Entry>& entries,
                                 StationFileOutcome& out, const QString& consequence) const
{
    entries.clear();
    for (const QString& path : paths) {
        const FileRead in = m_files.read(path);
        Entry entry{path, in.result.ok(), in.bytes, {}};
        if (!in.result.ok() && !(missingAllowed && in.result.notFound())) {
            out = failedWith(in.result, path, readFailureText(StationPaths::fileName(path), in.result) + consequence);
            return false;
        }
        if (!in.result.ok())
            entry.before.clear();
        entries << entry;
    }
    return true;
}

bool StationFileSet::readTemplates(QList<QByteArray>& perFile, StationFileOutcome& out,
                                   const QString& consequence) const
{
    QList<Entry> templates;
    if (!readEntries({m_paths.logTemplate(), m_paths.departmentTemplate(), m_paths.prefixTemplate()}, false, templates,
                     out, consequence))
        return false;
    perFile = {templates[0].before, templates[1].before, templates[1].before, templates[2].before, templates[2].before};
    return true;
}

QString StationFileSet::firstFreeCopyExtension(const QString& base, bool baseItself) const
{
    for (int n = baseItself ? 0 : 1;; ++n) {
        const QString extension = n == 0 ? base : base + QString::number(n);
        bool free = true;
        for (const QString& path : m_paths.copySet(extension))
            free = free && !m_files.exists(path);
        if (free)
            return extension;
    }
}

bool StationFileSet::writeAll(const QList<Entry>& entries, bool verify, StationFileOutcome& out,
                              const QString& consequence)
{
    for (int i = 0; i < entries.size(); ++i) {
        const Entry& entry = entries[i];
        FileResult written = m_files.replace(entry.path, entry.after);
        bool changed = written.ok();
        if (written.ok() && verify) {
            const FileRead back = m_files.read(entry.path);
            if (!back.result.ok())
                written = back.result;
            else if (back.bytes != entry.after)
                written = FileResult::failure(FileResult::kDeviceError, QStringLiteral("read back differs"));
        }
        if (written.ok())
            continue;

        // Put back what this operation already changed.
        QStringList notRestored;
        for (int j = changed ? i : i - 1; j >= 0; --j) {
            const Entry& done = entries[j];
            FileResult undone = done.exists ? m_files.replace(done.path, done.before) : m_files.remove(done.path);
            if (!undone.ok() && !(undone.notFound() && !done.exists))
                notRestored.prepend(StationPaths::fileName(done.path));
        }
        QString message = writeFailureText(StationPaths::fileName(entry.path), written);
        if (notRestored.isEmpty())
            message += consequence;
        else
            message += kCrLf +
                       QStringLiteral("Attention : ces fichiers n'ont pas pu être remis dans leur état "
                                      "précédent : ") +
                       listed(notRestored) + QLatin1Char('.');
        out = failedWith(written, entry.path, message);
        return false;
    }
    return true;
}

StationFileOutcome StationFileSet::createFrom(bool onlyMissing)
{
    StationFileOutcome out = refuseUnusableCallsign();
    if (out.failed())
        return out;
    const QString consequence = kCrLf + QStringLiteral("Aucun fichier de la station ") + m_paths.callsign() +
                                QStringLiteral(" n'a été créé ni modifié.");
    QList<QByteArray> templates;
    if (!readTemplates(templates, out, consequence))
        return out;
    QList<Entry> live;
    if (!readEntries(liveFiles(), true, live, out, consequence))
        return out;
    QList<Entry> writes;
    for (int i = 0; i < live.size(); ++i) {
        if (onlyMissing && live[i].exists)
            continue;
        live[i].after = templates[i];
        writes << live[i];
    }
    writeAll(writes, false, out, consequence);
    return out;
}

StationFileOutcome StationFileSet::create()
{
    return createFrom(false);
}

StationFileOutcome StationFileSet::createMissing()
{
    return createFrom(true);
}

QString StationFileSet::archiveExtension(Session target)
{
    return target == Session::Hf ? QStringLiteral(".vhf") : QStringLiteral(".hf_");
}

QString StationFileSet::sessionQuestion(Session target, const QString& storedCallsign)
{
    return QStringLiteral("!!! ATTENTION !!! tout les fichiers de la station ") + storedCallsign +
           QStringLiteral(" vont etre sauvegardé en ") + archiveExtension(target) +
           QStringLiteral(" puis effacé , Continuer ?");
}

StationFileOutcome StationFileSet::switchSession(Session target)
{
    StationFileOutcome out = refuseUnusableCallsign();
    if (out.failed())
        return out;
    const QString call = m_paths.callsign();
    const QString consequence = kCrLf +
                                QStringLiteral("La session n'a pas été changée et les fichiers de la station ") + call +
                                QStringLiteral(" sont restés tels qu'ils étaient.");
    QList<Entry> live;
    if (!readEntries(liveFiles(), false, live, out, consequence))
        return out;
    QList<QByteArray> templates;
    if (!readTemplates(templates, out, consequence))
        return out;
    const QString extension = archiveExtension(target);
    QList<Entry> archive;
    if (!readEntries(m_paths.copySet(extension), true, archive, out, consequence))
        return out;
    // The session is stored before any file is written, so that the files never start a session
    // the settings do not name (the next start would take them for the other one); it is put
    // back when a file fails.
    const QString section = sectionName();
    const QString previousSession = m_settings.value(keys::kJnm, section, keys::kSession, QStringLiteral("HF"));
    const QString previousBand = m_settings.value(keys::kJnm, section, keys::kBandeUtilisee, QStringLiteral("0"));
    if (!storeSession(target == Session::Hf ? QStringLiteral("HF") : QStringLiteral("VHF"), QStringLiteral("0"))) {
        storeSession(previousSession, previousBand);
        return failedWith(FileResult::failure(FileResult::kAccessError, QString()), QString(),
                          QStringLiteral("Impossible d'enregistrer la nouvelle session dans les réglages du "
                                         "programme.") +
                              consequence);
    }

    // An archive holding QSOs that differs from the files archived now is kept aside first.
    bool identical = true;
    for (int i = 0; i < archive.size(); ++i)
        identical = identical && archive[i].exists && archive[i].before == live[i].before;
    const int archivedQsos = archive[0].exists ? qsoCount(archive[0].before) : 0;
    QString keptNote;
    if (archivedQsos > 0 && !identical) {
        const QStringList keptPaths = m_paths.copySet(firstFreeCopyExtension(extension, false));
        QList<Entry> kept;
        for (int i = 0; i < archive.size(); ++i) {
            if (archive[i].exists)
                kept << Entry{keptPaths[i], false, {}, archive[i].before};
        }
        if (!writeAll(kept, true, out, consequence)) {
            storeSession(previousSession, previousBand);
            return out;
        }
        for (const Entry& entry : kept)
            out.keptCopies << StationPaths::fileName(entry.path);
        keptNote = QStringLiteral("Le fichier ") + StationPaths::fileName(archive[0].path) +
                   QStringLiteral(" contenait déjà un log de ") + QString::number(archivedQsos) +
                   QStringLiteral(" QSO, différent de celui de la session qui se termine.") + kCrLf +
                   QStringLiteral("Pour ne pas le perdre, il a été conservé avec ses fichiers Departement et "
                                  "Prefixe sous les noms : ") +
                   listed(out.keptCopies) + QLatin1Char('.') + kCrLf +
                   QStringLiteral("Le log de la session qui se termine est sauvegardé sous ") +
                   StationPaths::fileName(archive[0].path) + QLatin1Char('.');
    }

    const QStringList kept = out.keptCopies;
    const QString keptTail = keptNote.isEmpty() ? QString() : kCrLf + kCrLf + keptNote;
    for (int i = 0; i < archive.size(); ++i)
        archive[i].after = live[i].before;
    if (!writeAll(archive, true, out, consequence)) {
        storeSession(previousSession, previousBand);
        out.keptCopies = kept;
        if (!kept.isEmpty())
            out.message += kCrLf + QStringLiteral("Une copie de l'archive précédente a été faite sous les noms : ") +
                           listed(kept) + QLatin1Char('.');
        return out;
    }
    for (int i = 0; i < live.size(); ++i)
        live[i].after = templates[i];
    if (!writeAll(live, false, out, consequence)) {
        storeSession(previousSession, previousBand);
        out.keptCopies = kept;
        out.message += keptTail;
        return out;
    }
    out.message = keptNote;
    return out;
}

bool StationFileSet::storeSession(const QString& session, const QString& band)
{
    const bool stored = m_settings.setValue(keys::kJnm, sectionName(), keys::kSession, session);
    return m_settings.setValue(keys::kJnm, sectionName(), keys::kBandeUtilisee, band) && stored;
}

StationFileOutcome StationFileSet::switchSession(Session target, Dialogs& dialogs)
{
    if (!dialogs.confirmCritical(sessionQuestion(target, m_paths.callsign()))) {
        StationFileOutcome out;
        out.status = StationFileOutcome::Status::Cancelled;
        return out;
    }
    StationFileOutcome out = switchSession(target);
    if (!out.message.isEmpty())
        dialogs.message(out.message);
    return out;
}

QString StationFileSet::resetQuestion(const QString& storedCallsign)
{
    return QStringLiteral("!!! ATTENTION !!! tout les fichiers ") + storedCallsign +
           QStringLiteral(" vont etre effacé , Continuer ?");
}

StationFileOutcome StationFileSet::reset()
{
    StationFileOutcome out = refuseUnusableCallsign();
    if (out.failed())
        return out;
    const QString consequence = kCrLf +
                                QStringLiteral("La remise à zéro n'a pas été faite et les fichiers de la station ") +
                                m_paths.callsign() + QStringLiteral(" sont restés tels qu'ils étaient.");
    QList<Entry> live;
    if (!readEntries(liveFiles(), true, live, out, consequence))
        return out;
    QList<QByteArray> templates;
    if (!readTemplates(templates, out, consequence))
        return out;

    const int qsos = live[0].exists ? qsoCount(live[0].before) : 0;
    QString keptNote;
    if (qsos > 0) {
        const QStringList keptPaths = m_paths.copySet(firstFreeCopyExtension(QStringLiteral(".raz"), true));
        QList<Entry> kept;
        for (int i = 0; i < live.size(); ++i) {
            if (live[i].exists)
                kept << Entry{keptPaths[i], false, {}, live[i].before};
        }
        if (!writeAll(kept, true, out, consequence))
            return out;
        for (const Entry& entry : kept)
            out.keptCopies << StationPaths::fileName(entry.path);
        keptNote = QStringLiteral("Le log effacé (") + QString::number(qsos) +
                   QStringLiteral(" QSO) et ses fichiers Departement et Prefixe ont été conservés sous les noms : ") +
                   listed(out.keptCopies) + QLatin1Char('.');
    }

    for (int i = 0; i < live.size(); ++i)
        live[i].after = templates[i];
    const QStringList kept = out.keptCopies;
    if (!writeAll(live, false, out, consequence)) {
        out.keptCopies = kept;
        return out;
    }
    out.message = keptNote;
    return out;
}

StationFileOutcome StationFileSet::reset(Dialogs& dialogs)
{
    if (!dialogs.confirmCritical(resetQuestion(m_paths.callsign()))) {
        StationFileOutcome out;
        out.status = StationFileOutcome::Status::Cancelled;
        return out;
    }
    StationFileOutcome out = reset();
    if (!out.message.isEmpty())
        dialogs.message(out.message);
    return out;
}

QString StationFileSet::closingReminder(const QString& programDir)
{
    const QStringList lines{
        QStringLiteral("N'oubliez pas d'envoyer au responsable des comptes rendus de la JNM désigné dans le "
                       "règlement de l'année (son nom, son indicatif et son adresse e-mail y sont donnés) "
                       "les fichiers suivants :"),
        QString(),
        QStringLiteral("Fichier 1 : Exemple 'F0ZZZ_Recapitulatif_JNM_18_06_06.txt'"),
        QStringLiteral("Pour cela allez dans 'Recapitulatif JNM' puis 'Enregistrez'"),
        QString(),
        QStringLiteral("Fichier 2 : Exemple 'F0ZZZ_Log_JNM_18_06_06.txt'"),
        QStringLiteral("Pour cela allez dans 'Log JNM' puis 'Enregistrez'"),
        QString(),
        QStringLiteral("Ces fichiers se trouvent dans le répertoire '") + QDir::toNativeSeparators(programDir) +
            QLatin1Char('\''),
    };
    return lines.join(kCrLf);
}

StationFileOutcome StationFileSet::backup()
{
    StationFileOutcome out;
    if (refuseUnusableCallsign().failed())
        return out; // no station yet: nothing of its own to back up
    const QStringList live = liveFiles();
    const QStringList backups = m_paths.copySet(QStringLiteral(".bak"));
    const QString kept = kCrLf + QStringLiteral("La copie de sécurité n'a pas été faite : les fichiers .bak "
                                                "précédents sont conservés.");

    const FileRead log = m_files.read(live[0]);
    if (!log.result.ok())
        return failedWith(log.result, live[0], readFailureText(StationPaths::fileName(live[0]), log.result) + kept);
    if (qsoCount(log.bytes) == 0) {
        const FileRead previous = m_files.read(backups[0]);
        if (!previous.result.notFound() && (!previous.result.ok() || qsoCount(previous.bytes) > 0)) {
            out.message = QStringLiteral("Le log ") + StationPaths::fileName(live[0]) +
                          QStringLiteral(" ne contient aucun QSO : la copie de sécurité précédente (") +
                          StationPaths::fileName(backups[0]) + QStringLiteral(" et ses fichiers .bak) est conservée.");
            return out;
        }
    }

    QStringList failures;
    for (int i = 0; i < live.size(); ++i) {
        FileRead in = i == 0 ? log : m_files.read(live[i]);
        FileResult written = in.result;
        QString failed = i == 0 ? QString() : readFailureText(StationPaths::fileName(live[i]), in.result);
        if (in.result.ok()) {
            written = m_files.replace(backups[i], in.bytes);
            failed = writeFailureText(StationPaths::fileName(backups[i]), written);
        }
        if (written.ok())
            continue;
        if (failures.isEmpty()) {
            out.status = StationFileOutcome::Status::Failed;
            out.result = written;
            out.failedFile = StationPaths::fileName(in.result.ok() ? backups[i] : live[i]);
        }
        failures << failed;
    }
    if (!failures.isEmpty())
        out.message = QStringLiteral("La copie de sécurité est incomplète :") + kCrLf + failures.join(kCrLf);
    return out;
}

StationFileOutcome StationFileSet::backupAtClose(Dialogs& dialogs, const QString& programDir)
{
    dialogs.message(closingReminder(programDir));
    StationFileOutcome out = backup();
    if (!out.message.isEmpty())
        dialogs.message(out.message);
    return out;
}

bool StationFileSet::writeNewStationSettings(const QString& locator, const QString& eventDate)
{
    static const QStringList activities{QStringLiteral("QSO"), QStringLiteral("DFCF"), QStringLiteral("DMF"),
                                        QStringLiteral("DIFI"), QStringLiteral("DIFM")};
    const QString& call = m_paths.callsign();
    const QString section = sectionName();
    bool kept = true;
    const auto set = [&](const QString& sectionOf, const QString& key, const QString& value) {
        kept = m_settings.setValue(keys::kJnm, sectionOf, key, value) && kept;
    };
    set(keys::kSetup, keys::kIndicatifStation, call);
    set(keys::kSetup, keys::kLocatorStation, locator);
    set(section, keys::kIndicatifStation, call);
    set(section, keys::kLocatorStation, locator);
    set(section, keys::kDateAutomatique, QStringLiteral("True"));
    set(section, keys::kHeureUtc, QStringLiteral("True"));
    for (int i = 0; i < activities.size(); ++i)
        set(section, keys::activiteN(i), activities[i]);
    set(section, keys::kNbActivite, QStringLiteral("5"));
    set(section, keys::kBandeUtilisee, QStringLiteral("0"));
    set(section, keys::kModeUtilise, QStringLiteral("0"));
    set(section, keys::kActivite, QStringLiteral("0"));
    set(section, keys::kDateJnm, eventDate);
    return kept;
}

bool StationFileSet::writeKnownStationSettings(const QString& locator, const QString& eventDate)
{
    const bool call = m_settings.setValue(keys::kJnm, keys::kSetup, keys::kIndicatifStation, m_paths.callsign());
    const bool place = m_settings.setValue(keys::kJnm, keys::kSetup, keys::kLocatorStation, locator);
    return m_settings.setValue(keys::kJnm, sectionName(), keys::kDateJnm, eventDate) && call && place;
}

} // namespace tv
