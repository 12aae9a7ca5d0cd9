#pragma once

#include "platform/file_system.h"

#include <QString>

namespace tv {
class StationPaths;
}

// The C_Trafic export: the station log copied byte for byte to callsign + ".ctf" (one atomic
// copy, so a failure leaves any previous ".ctf" as it was).
namespace tv::ctrafic {

struct Outcome {
    FileResult result;
    QString message;  // the success text, or what went wrong and that nothing was exported
};

Outcome exportLog(FileSystem& files, const StationPaths& paths);

}  // namespace tv::ctrafic
