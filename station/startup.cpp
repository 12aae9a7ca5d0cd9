#include "station/startup.h"
#include "platform/version.h"

#include "logstore/cp1252.h"
#include "logstore/log_file.h"
#include "logstore/multiplier_rebuild.h"
#include "logstore/station_paths.h"
#include "platform/file_system.h"
#include "platform/settings_keys.h"
#include "platform/settings_store.h"
#include "station/station_session.h"

namespace tv::startup {
namespace {

QString crlfJoin(const QStringList& lines)
{
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace

Identity readIdentity(const SettingsStore& settings, StationSession& session)
{
    const QString callsign = settings.value(keys::kJnm, keys::kSetup, keys::kIndicatifStation, keys::kNoCallsign);
    session.setStation(callsign, session.locator());
    if (callsign == keys::kNoCallsign)
        return Identity::NoStation;
    return StationPaths::isSafeCallsign(callsign) ? Identity::Ready : Identity::Unusable;
}

QString identityText(Identity identity, const QString& storedCallsign)
{
    if (identity == Identity::Unusable)
        return QStringLiteral("L'indicatif enregistré « ") + storedCallsign +
               QStringLiteral(" » ne peut pas nommer un fichier : entrez l'indicatif de la station.");
    return firstInstallText();
}

bool begin(SettingsStore& settings, StationSession& session, const QString& programDir)
{
    session.readSettings();
    session.setEditMode(false);
    const QString section = keys::stationSection(session.storedCallsign());
    const bool written = settings.setValue(keys::kJnm, section, keys::kRevision, revisionText());
    settings.setValue(keys::kJnm, keys::kSetup, keys::kCheminRepertoire, programDir);
    return written;
}

QString settingsProblemText(const SettingsStore& settings)
{
    const QString problem = settings.problem(keys::kJnm);
    if (problem.isEmpty())
        return {};
    return QStringLiteral("Attention ") + problem +
           QStringLiteral(" :\r\nTournevent ne connaît ni la station, ni la date de la JNM, ni la session. "
                          "Quittez et réparez ou remplacez ce fichier avant de continuer ; ce que vous validerez "
                          "maintenant le remplacera.");
}

QStringList repairFiles(FileSystem& files, const StationPaths& paths, const CountryFile* countries)
{
    QStringList out;
    const FileSystem::Cleanup cleaned = files.removeLeftoverTemporaries(paths.directory());
    for (const QString& failure : cleaned.failures)
        out << QStringLiteral("Le fichier temporaire ") + failure + QStringLiteral(" n'a pas pu être supprimé.");
    const LogFile::Cut cut = LogFile(files, paths.existingLog(files)).cutUnfinishedLine();
    if (!cut.piece.isEmpty())
        out << (cut.result.ok()
                    ? QStringLiteral("La dernière ligne du log était incomplète (enregistrement interrompu) : "
                                     "elle a été retirée. Saisissez à nouveau ce QSO : « ")
                    : QStringLiteral("La dernière ligne du log est incomplète (enregistrement interrompu) et "
                                     "n'a pas pu être retirée (erreur N° ") +
                          QString::number(cut.result.errorNumber) + QStringLiteral(", ") + cut.result.reason() +
                          QStringLiteral(") : « ")) +
                   cp1252::decode(cut.piece.trimmed()) + QStringLiteral(" »");
    const MultiplierRebuild::Resumed resumed = MultiplierRebuild(files, paths, countries).resumeIfInterrupted();
    if (!resumed.redone)
        return out;
    if (resumed.result.result.ok())
        out << QStringLiteral("La reconstruction des fichiers de départements et de préfixes avait été interrompue : "
                              "elle a été refaite à partir du log.");
    else
        out << QStringLiteral("La reconstruction interrompue des fichiers de départements et de préfixes n'a pas pu "
                              "être refaite (") +
                   StationPaths::fileName(resumed.result.failedFile) + QStringLiteral(" : erreur N° ") +
                   QString::number(resumed.result.result.errorNumber) + QStringLiteral(", ") +
                   resumed.result.result.reason() +
                   QStringLiteral(") : le score peut être faux ; relancez « MAJ fichiers Prefixes et département a "
                                  "partir du log ».");
    return out;
}

QString historyText()
{
    static const char* const kLines[] = {
        "V1.0.0   le 30/12/2005 creation a partir de Bastidou",
        "V1.0.1 Correction erreur calcul des points en mode QSO  ",
        "V1.0.2 Gestion Imprimante automatique",
        "V1.0.3 Autorisation Moulins étrangers",
        "V1.0.4 Gestion erreur 53",
        "V1.0.5 Touche 'Entrée' autorisée en mode édition",
        "V1.0.6 MAJ pour la JNM du 24 juin 2007 + prenom automatique",
        "V1.0.7 Ajout impression etiquettes pour QSL",
        "V1.0.8 Dans Station le locator est demandé que pour la session VHF",
        "V1.0.9 Ajout Commune et CP dans récapitulatif",
        "V1.0.9 Affichage des QSO par un click sur un département + Cluster",
        "V1.1.0 Refonte de l'algorithme de calcul des points",
        "V1.1.1 Erreur feuille recapitulation : pas acces parametres moulin",
        "V1.1.2 Mise à jour JNM 21 juin 2015",
    };
    QString text;
    for (const char* line : kLines)
        text += QString::fromUtf8(line) + QStringLiteral("\r\n");
    return text;
}

QString firstInstallText()
{
    return crlfJoin({
        QStringLiteral(" Premiere installation en session HF, vous devez entrer"),
        QStringLiteral("                votre Indicatif et la date de la JNM"),
        QStringLiteral("   Pour une session VHF changez dans le menu Session"),
        QStringLiteral("puis dans station entrez Indicatif Locator et la date JNM"),
    });
}

QString settingsUnwritableText()
{
    return QStringLiteral("Attention les réglages de Tournevent ne peuvent pas être enregistrés :\r\n"
                          "l'indicatif, la session, la bande et les options choisis ne seront pas gardés "
                          "au prochain démarrage.");
}

QString noStationText()
{
    return QStringLiteral("Aucun indicatif n'a été validé : Tournevent s'arrête.\r\n"
                          "Relancez Tournevent pour identifier la station.");
}

QString aboutText()
{
    return QStringLiteral("Tournevent   Revision") + revisionText() +
           QStringLiteral("\r\nCarnet de trafic de la Journée Nationale des Moulins");
}

QString reminderText()
{
    return crlfJoin({
        QStringLiteral("                                   Avant le debut de la JNM "),
        QStringLiteral(" -1- Dans le menu 'Station' verifiez Indicatif Locator et date d'Activité "),
        QString(),
        QStringLiteral("            -2- Remettez a zero les fichiers de Tournevent   "),
        QStringLiteral("                       pour cela allez dans le menu 'Fichiers'             "),
        QStringLiteral("   puis cliquez sur 'Remise a zero des fichiers log, Departement, Prefixe'  "),
        QString(),
        QStringLiteral("                -3- Selectionnez une des session HF ou VHF  "),
        QStringLiteral("       pour cela allez dans le menu 'Session' et selectionnez 'HF' ou 'VHF'"),
        QString(),
        QStringLiteral(" Si vous contactez un Moulin n'oubliez pas de sélectionner MOULIN "),
        QStringLiteral("   dans la fenêtre activité, dans le cas contraire sélectionnez QSO"),
    });
}

} // namespace tv::startup
