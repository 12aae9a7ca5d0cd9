#pragma once

#include "reports/cli_commands.h"

namespace tv::aids {

// tournevent-cli --dir D scp TEXT [--band TEXT] [--mode SSB|CW]: the super check partial's
// suggestions for TEXT, from the master callsign file, the station's log and the nomenclature,
// the calls worked on the band and mode (those in use by default) marked.
cli::Command scpCommand();

} // namespace tv::aids
