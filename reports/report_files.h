#pragma once

#include <QString>

namespace tv {

class SettingsStore;
class StationPaths;

// The names of the report files, built in one place for the windows and the command line.
//
// The summary sheet counts the whole day, both sessions: one file per station and event date,
// CALL_Recapitulatif_JNM_dd_mm_yy.txt. The log listing, the ADIF file and the C_Trafic file are
// made from the live log, which holds one session: the HF session's keep the plain names
// (CALL_Log_JNM_dd_mm_yy.txt, CALL.adi, CALL.ctf), the VHF session's carry "_VHF"
// (CALL_Log_JNM_VHF_dd_mm_yy.txt, CALL_VHF.adi, CALL_VHF.ctf), so that neither session's
// report replaces the other's. Names are without folder; CALL is the stored callsign.
namespace reportfiles {

// The station works in the HF session: its "Session" setting is "HF" (the default); any
// other text is the VHF session, as the summary sheet and the main window read it.
bool isHfSession(const SettingsStore& settings, const QString& storedCallsign);

// "" in the HF session, "_VHF" in the VHF session.
QString sessionTag(bool hfSession);

// Empty when the event date cannot name a file (reporttext::eventDateSuffix).
QString summarySheet(const QString& storedCallsign, const QString& eventDate);
QString logListing(const QString& storedCallsign, const QString& eventDate, bool hfSession);

QString adif(const QString& storedCallsign, bool hfSession);
QString ctrafic(const QString& storedCallsign, bool hfSession);
// The name under which the log goes beside the ADIF file on a removable medium.
QString logCopy(const QString& storedCallsign, bool hfSession);

// The path of the other session's archived log: CALL.vhf while in the HF session (written when
// the station switched from VHF to HF), CALL.hf_ while in the VHF session.
QString otherSessionLog(const StationPaths& paths, bool hfSession);

} // namespace reportfiles
} // namespace tv
