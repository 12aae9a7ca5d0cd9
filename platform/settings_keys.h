#pragma once

#include <QString>

// Settings applications, sections and keys, exactly as the store keeps them.
namespace tv::keys {

// Applications.
inline const QString kJnm = QStringLiteral("JNM");
inline const QString kZez = QStringLiteral("ZEZ");
inline const QString kAssistant = QStringLiteral("Assistant");

// The installation section of "JNM" (with its trailing space); the station section is the
// same word followed by the stored callsign.
inline const QString kSetup = QStringLiteral("Setup ");
inline QString stationSection(const QString& storedCallsign)
{
    return kSetup + storedCallsign;
}

// "Setup " section.
inline const QString kIndicatifStation = QStringLiteral("Indicatif Station");
inline const QString kLocatorStation = QStringLiteral("Locator Station");
inline const QString kCheminRepertoire = QStringLiteral("Chemin Repertoire");

// Station section.
inline const QString kSession = QStringLiteral("Session");
inline const QString kBandeUtilisee = QStringLiteral("bande Utilisee");
inline const QString kModeUtilise = QStringLiteral("Mode Utilise");
inline const QString kActivite = QStringLiteral("Activite");
inline const QString kHeureUtc = QStringLiteral("Heure UTC");
inline const QString kDateAutomatique = QStringLiteral("Date Automatique");
inline const QString kDateJnm = QStringLiteral("Date JNM");
inline const QString kRevision = QStringLiteral("Revision");
inline const QString kNbActivite = QStringLiteral("NB Activite");
inline QString activiteN(int n)
{
    return QStringLiteral("Activite%1").arg(n);
}

// Summary sheet operator fields (station section).
inline const QString kNom = QStringLiteral("Nom");
inline const QString kPrenom = QStringLiteral("Prenom");
inline const QString kIndicatif = QStringLiteral("Indicatif");
inline const QString kAdresse1 = QStringLiteral("Adresse 1");
inline const QString kAdresse2 = QStringLiteral("Adresse 2");
inline const QString kPays = QStringLiteral("Pays");
inline const QString kReference = QStringLiteral("Reference");
inline const QString kCommune = QStringLiteral("Commune");
inline const QString kOperateurs = QStringLiteral("Operateurs");
inline const QString kCategorie = QStringLiteral("Categorie");

// "Transceiver": in application "Assistant", section "Setup ", the label window's transceiver
// text; in application "ZEZ", section "Setup ", the Yaesu model index ("2" by default).
inline const QString kTransceiver = QStringLiteral("Transceiver");
// "Assistant" application, "Setup " section: the label window's antenna.
inline const QString kAntenne = QStringLiteral("Antenne");

// "ZEZ" application, "Setup " section: the cluster window and the transceiver.
inline const QString kBandeCluster = QStringLiteral("bande Cluster");     // first band list index
inline const QString kBandeCluster1 = QStringLiteral("bande Cluster 1");  // second band list index
inline const QString kServeurCluster = QStringLiteral("Serveur Cluster"); // spot server or telnet://host:port
inline const QString kPortCom = QStringLiteral("Port Com");               // port name, "0" for none
inline const QString kBaud = QStringLiteral("Baud");                      // "9600,n,8,1", "0" for none
inline const QString kLiaison = QStringLiteral("Liaison Emetteur");       // "Yaesu" or "rigctld"
inline const QString kHoteRigctld = QStringLiteral("Hote rigctld");
inline const QString kPortRigctld = QStringLiteral("Port rigctld");
inline const QString kLiaisonYaesu = QStringLiteral("Yaesu");
inline const QString kLiaisonRigctld = QStringLiteral("rigctld");

// Defaults.
inline const QString kNoCallsign = QStringLiteral("FXXXX");
inline const QString kNoLocator = QStringLiteral("------");
inline const QString kDefaultEventDate = QStringLiteral("01/01/06");

} // namespace tv::keys
