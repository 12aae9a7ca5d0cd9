// The values read back from the settings store: the station's identity and choices, the event
// date, the transceiver, the summary sheet's operator. Input: the values, separated by NULs.
#include "geo/clock_text.h"
#include "logstore/station_paths.h"
#include "platform/settings_keys.h"
#include "reports/report_files.h"
#include "reports/report_text.h"
#include "reports/summary_sheet.h"
#include "rig/rig_settings.h"
#include "station/startup.h"
#include "station/station_session.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/support/fakes/fake_settings_store.h"

using namespace tv;

namespace {

struct Key {
    const QString& application;
    bool station; // in the station's section, else in "Setup "
    const QString& key;
};

// The keys the input fills, in order.
const Key kKeys[] = {
    {keys::kJnm, false, keys::kIndicatifStation},
    {keys::kJnm, false, keys::kLocatorStation},
    {keys::kJnm, true, keys::kSession},
    {keys::kJnm, true, keys::kDateJnm},
    {keys::kJnm, true, keys::kBandeUtilisee},
    {keys::kJnm, true, keys::kModeUtilise},
    {keys::kJnm, true, keys::kActivite},
    {keys::kJnm, true, keys::kHeureUtc},
    {keys::kJnm, true, keys::kDateAutomatique},
    {keys::kJnm, true, keys::kCategorie},
    {keys::kJnm, true, keys::kNom},
    {keys::kZez, false, keys::kTransceiver},
    {keys::kZez, false, keys::kPortCom},
    {keys::kZez, false, keys::kBaud},
    {keys::kZez, false, keys::kLiaison},
    {keys::kZez, false, keys::kHoteRigctld},
    {keys::kZez, false, keys::kPortRigctld},
};
constexpr int kKeyCount = int(std::size(kKeys));

void checkSession(const StationSession& session)
{
    FUZZ_CHECK(session.bandIndex() >= 0 && session.bandIndex() < session.bandList().size());
    FUZZ_CHECK(session.band() == session.bandList()[session.bandIndex()]);
    FUZZ_CHECK(session.modeIndex() >= 0 && session.modeIndex() < StationSession::modeList().size());
    FUZZ_CHECK(session.mode() == StationSession::modeList()[session.modeIndex()]);
    FUZZ_CHECK(session.activityIndex() >= 0 && session.activityIndex() < StationSession::activityList().size());
}

// A usable callsign names files inside the program directory only.
void checkPaths(const QString& callsign)
{
    const QString dir = QStringLiteral("/programme");
    const StationPaths paths(dir, callsign);
    QStringList all = paths.fileSet();
    all << paths.absentList() << paths.rebuildMarker() << paths.copySet(QStringLiteral(".bak"));
    for (const QString& path : all) {
        FUZZ_CHECK(path.startsWith(dir + QLatin1Char('/')));
        FUZZ_CHECK(!path.mid(dir.size() + 1).contains(QLatin1Char('/')));
        FUZZ_CHECK(!path.contains(QLatin1String("..")));
    }
}

// The report names of a usable callsign are file names of the program directory.
void checkEventDate(const QString& callsign, bool usable, const QString& date)
{
    if (clocktext::isValidDate(date))
        FUZZ_CHECK(clocktext::calendarDate(date).has_value());
    if (clocktext::isValidTime(date)) {
        const std::optional<int> minutes = clocktext::minutesOfDay(date);
        FUZZ_CHECK(minutes && *minutes >= 0 && *minutes < 24 * 60);
    }
    const std::optional<QString> suffix = reporttext::eventDateSuffix(date);
    if (!suffix)
        return;
    FUZZ_CHECK(suffix->size() == 8 && !suffix->contains(QLatin1Char('/')));
    if (!usable)
        return;
    for (const QString& name :
         {reportfiles::summarySheet(callsign, date), reportfiles::logListing(callsign, date, true),
          reportfiles::logListing(callsign, date, false)}) {
        FUZZ_CHECK(name.endsWith(*suffix + QStringLiteral(".txt")));
        FUZZ_CHECK(!name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')));
    }
}

void checkRig(const SettingsStore& settings)
{
    const RigSettings rig = rigsettings::load(settings);
    FUZZ_CHECK(rig.model >= 0 && rig.model < int(yaesu::models().size()));
    FUZZ_CHECK(rig.baud >= 0 && rigsettings::baudOf(rigsettings::baudText(rig.baud)) == rig.baud);
    FUZZ_CHECK(rig.tcpPort > 0 && !rig.host.isEmpty());
    FUZZ_CHECK(rig.baudInForce() > 0);
}

// What is stored is read back as it was.
void checkRoundTrips(FakeSettingsStore& settings, const QString& callsign, int number)
{
    const summary::Operator op = summary::loadOperator(settings, callsign);
    FUZZ_CHECK(op.category >= 0 && op.category <= 3);
    summary::storeOperator(settings, callsign, op);
    FUZZ_CHECK(summary::loadOperator(settings, callsign) == op);

    const QString section = keys::stationSection(callsign);
    settings.setInt(keys::kJnm, section, keys::kBandeUtilisee, number);
    FUZZ_CHECK(settings.intValue(keys::kJnm, section, keys::kBandeUtilisee, -1) == number);
    for (const bool b : {true, false}) {
        settings.setBool(keys::kJnm, section, keys::kHeureUtc, b);
        FUZZ_CHECK(settings.boolValue(keys::kJnm, section, keys::kHeureUtc, !b) == b);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QList<QByteArray> values = fuzz::parts(fuzz::bytesOf(data, size), kKeyCount);
    const QString callsign = QString::fromUtf8(values[0]);
    FakeSettingsStore settings;
    for (int i = 0; i < kKeyCount; ++i) {
        if (i > 0 && values[i].isEmpty())
            continue; // an absent value: the default
        const QString section = kKeys[i].station ? keys::stationSection(callsign) : keys::kSetup;
        settings.setValue(kKeys[i].application, section, kKeys[i].key, QString::fromUtf8(values[i]));
    }

    StationSession session(&settings);
    const startup::Identity identity = startup::readIdentity(settings, session);
    FUZZ_CHECK(session.storedCallsign() == callsign);
    if (identity == startup::Identity::Ready)
        checkPaths(callsign);
    startup::begin(settings, session, QStringLiteral("/programme"));
    checkSession(session);
    session.setSessionText(session.sessionText());
    checkSession(session);

    checkEventDate(callsign, identity == startup::Identity::Ready, session.eventDate());
    checkRig(settings);
    checkRoundTrips(settings, callsign, int(qHash(values[1])));
    return 0;
}
