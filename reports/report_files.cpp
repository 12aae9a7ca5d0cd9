#include "reports/report_files.h"

#include "logstore/station_paths.h"
#include "platform/settings_keys.h"
#include "platform/settings_store.h"
#include "reports/report_text.h"
#include "station/station_file_set.h"

namespace tv::reportfiles {

bool isHfSession(const SettingsStore& settings, const QString& storedCallsign)
{
    return settings.value(keys::kJnm, keys::stationSection(storedCallsign), keys::kSession, QStringLiteral("HF")) ==
           QLatin1String("HF");
}

QString sessionTag(bool hfSession)
{
    return hfSession ? QString() : QStringLiteral("_VHF");
}

QString summarySheet(const QString& storedCallsign, const QString& eventDate)
{
    const auto suffix = reporttext::eventDateSuffix(eventDate);
    if (!suffix)
        return {};
    return storedCallsign + QStringLiteral("_Recapitulatif_JNM_") + *suffix + QStringLiteral(".txt");
}

QString logListing(const QString& storedCallsign, const QString& eventDate, bool hfSession)
{
    const auto suffix = reporttext::eventDateSuffix(eventDate);
    if (!suffix)
        return {};
    return storedCallsign + QStringLiteral("_Log_JNM") + sessionTag(hfSession) + QLatin1Char('_') + *suffix +
           QStringLiteral(".txt");
}

QString adif(const QString& storedCallsign, bool hfSession)
{
    return storedCallsign + sessionTag(hfSession) + QStringLiteral(".adi");
}

QString ctrafic(const QString& storedCallsign, bool hfSession)
{
    return storedCallsign + sessionTag(hfSession) + QStringLiteral(".ctf");
}

QString logCopy(const QString& storedCallsign, bool hfSession)
{
    return storedCallsign + sessionTag(hfSession) + QStringLiteral(".log");
}

QString otherSessionLog(const StationPaths& paths, bool hfSession)
{
    // The archive a switch into the live session made of the session before it.
    const auto live = hfSession ? StationFileSet::Session::Hf : StationFileSet::Session::Vhf;
    return paths.copySet(StationFileSet::archiveExtension(live)).first();
}

} // namespace tv::reportfiles
