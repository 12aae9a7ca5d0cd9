#include "reports/ctrafic_export.h"

#include "logstore/station_paths.h"
#include "platform/dialogs.h"
#include "reports/report_files.h"

namespace tv::ctrafic {

Outcome exportLog(FileSystem& files, const StationPaths& paths, bool hfSession)
{
    const QString call = paths.callsign();
    const QString logName = call + QStringLiteral(".log");
    const QString exportName = reportfiles::ctrafic(call, hfSession);
    const QString source = paths.existingLog(files);

    Outcome outcome;
    const FileRead log = files.read(source);
    if (!log.result.ok()) {
        outcome.result = log.result;
        outcome.readFailed = true;
        outcome.message = log.result.notFound()
                              ? QStringLiteral("Le fichier ") + logName +
                                    QStringLiteral(" est introuvable : rien n'a été exporté au format C_Trafic.")
                              : QStringLiteral("Erreur N° ") + QString::number(log.result.errorNumber) +
                                    QStringLiteral(" : le fichier ") + logName +
                                    QStringLiteral(" n'a pas pu être lu : rien n'a été exporté au format C_Trafic.");
        return outcome;
    }
    outcome.result = files.replace(paths.file(exportName), log.bytes);
    if (!outcome.result.ok()) {
        outcome.message = QStringLiteral("Erreur N° ") + QString::number(outcome.result.errorNumber) +
                          QStringLiteral(" (") + outcome.result.reason() + QStringLiteral(") : le fichier ") + logName +
                          QStringLiteral(" n'a pas pu être copié en ") + exportName +
                          QStringLiteral(", l'exportation C_Trafic n'est pas faite.");
        return outcome;
    }
    outcome.message = QStringLiteral("le fichier ") + logName + QStringLiteral(" a été copié en ") + exportName;
    return outcome;
}

FileResult run(const Services& services, const QString& storedCallsign)
{
    const Outcome outcome = exportLog(services.files, StationPaths(services.programDir, storedCallsign),
                                      reportfiles::isHfSession(services.settings, storedCallsign));
    services.dialogs.message(outcome.message);
    return outcome.result;
}

} // namespace tv::ctrafic
