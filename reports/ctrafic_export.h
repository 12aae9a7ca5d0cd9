#pragma once

#include "platform/file_system.h"
#include "platform/services.h"

#include <QString>

namespace tv {
class StationPaths;
}

// The C_Trafic export: the station log copied byte for byte to callsign + ".ctf" (one atomic
// copy, so a failure leaves any previous ".ctf" as it was).
namespace tv::ctrafic {

struct Outcome {
    FileResult result;
    QString message; // the success text, or what went wrong and that nothing was exported
};

Outcome exportLog(FileSystem& files, const StationPaths& paths);

// The export as the menu runs it: exports, then shows the outcome's message (OK only).
FileResult run(const Services& services, const QString& storedCallsign);

} // namespace tv::ctrafic
