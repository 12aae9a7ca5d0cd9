#pragma once

#include <QString>
#include <QStringList>

namespace tv {

class CountryFile;
class FileSystem;
class SettingsStore;
class StationPaths;
class StationSession;

// The start of the program, without its windows: which station is on the air, its choices,
// the marks the start leaves in the settings, and the texts the operator is shown.
namespace startup {

enum class Identity {
    Ready,     // a stored callsign that names the station's files
    NoStation, // none stored yet ("FXXXX"): first installation
    Unusable,  // a stored callsign that cannot name a file
};

// Reads the stored callsign into the session and says whether it can be used.
Identity readIdentity(const SettingsStore& settings, StationSession& session);
// What the operator is told before the station dialog opens for that identity.
QString identityText(Identity identity, const QString& storedCallsign);

// Reads the station's choices (session, locator, event date, band, mode, activity, options)
// and stores the revision and the program directory. False when the settings cannot be
// written (the operator is then told with settingsUnwritableText()).
bool begin(SettingsStore& settings, StationSession& session, const QString& programDir);

// Shown first when the station's settings cannot be read or are damaged (the program then
// goes on with the defaults, as for a first installation); empty when they read well.
QString settingsProblemText(const SettingsStore& settings);

// Puts the station's files back in order before they are read: removes the temporary files
// that writes stopped by a crash or a kill left in the program directory (nothing else), cuts
// off the half line an append stopped half way left at the end of the log, and rebuilds the
// multiplier files from the log when a change they follow was stopped half way. What the
// operator is told: nothing when there was nothing to do.
QStringList repairFiles(FileSystem& files, const StationPaths& paths, const CountryFile* countries);

// The version history shown by "Historique", each line followed by CR LF.
QString historyText();
// The reminder shown at every start.
QString reminderText();
QString firstInstallText();
// Shown when the first start's station dialog is closed without a station.
QString noStationText();
// Shown at start-up when the settings store cannot be written.
QString settingsUnwritableText();
// "A Propos de".
QString aboutText();

} // namespace startup
} // namespace tv
