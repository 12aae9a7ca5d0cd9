#pragma once

#include "platform/file_system.h"
#include "platform/services.h"

#include <QString>

namespace tv {
class StationPaths;
}

// The C_Trafic export: the station log copied byte for byte to callsign + ".ctf" (callsign +
// "_VHF.ctf" in the VHF session, reportfiles::ctrafic), in one atomic copy, so a failure leaves
// any previous file of that name as it was.
namespace tv::ctrafic {

struct Outcome {
    FileResult result;
    bool readFailed = false; // the log could not be read (else a failure is the export's write)
    QString message;         // the success text, or what went wrong and that nothing was exported
};

Outcome exportLog(FileSystem& files, const StationPaths& paths, bool hfSession);

// The export as the menu runs it, for the session of the station's settings: exports, then
// shows the outcome's message (OK only).
FileResult run(const Services& services, const QString& storedCallsign);

} // namespace tv::ctrafic
